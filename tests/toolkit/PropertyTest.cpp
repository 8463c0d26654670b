#include <gtest/gtest.h>

#include "tests/toolkit/SampleComponents.h"

namespace {

class PropertyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = new TSampleForm(nullptr);
    form->SetName("Form1");
    sample = new TSampleComponent(form);
    sample->SetName("First");
  }
  void TearDown() override { form->Free(); }

  PPropInfo Prop(const char* name) const { return GetPropInfo(sample, name); }

  TSampleForm* form = nullptr;
  TSampleComponent* sample = nullptr;
};

TEST_F(PropertyTest, MetadataKnowsKindsTypeNamesAndAccess) {
  EXPECT_EQ(Prop("Count")->Kind(), tkInteger);
  EXPECT_EQ(Prop("Count")->TypeName(), "Integer");
  EXPECT_EQ(Prop("caption")->Kind(), tkLString);  // names ignore case
  EXPECT_EQ(Prop("Enabled")->TypeName(), "Boolean");
  EXPECT_EQ(Prop("Mode")->Kind(), tkEnumeration);
  EXPECT_EQ(Prop("Mode")->TypeName(), "TSampleMode");
  EXPECT_EQ(Prop("Options")->Kind(), tkSet);
  EXPECT_EQ(Prop("Options")->TypeName(), "TSampleOptions");
  EXPECT_EQ(Prop("Ratio")->Kind(), tkFloat);
  EXPECT_EQ(Prop("Letter")->Kind(), tkChar);
  EXPECT_EQ(Prop("Data")->Kind(), tkVariant);
  EXPECT_EQ(Prop("Buddy")->TypeName(), "TSampleComponent");
  EXPECT_EQ(Prop("Lines")->TypeName(), "TStrings");
  EXPECT_EQ(Prop("OnCheck")->Kind(), tkMethod);
  EXPECT_EQ(Prop("OnCheck")->TypeName(), "TSampleCheckEvent");
  EXPECT_EQ(Prop("Count")->Index, PropNoIndex);
  EXPECT_EQ(PropNoIndex, -2147483647 - 1);
  EXPECT_EQ(Prop("Nothing"), nullptr);
  EXPECT_EQ(GetEnumName(TypeInfo<TTypeKind>(), tkLString), "tkLString");
  EXPECT_EQ(GetEnumValue(TypeInfo<TSampleMode>(), "SMSLOW"), smSlow);
  EXPECT_EQ(GetEnumValue(TypeInfo<TSampleMode>(), "smNone"), -1);
}

TEST_F(PropertyTest, DefaultsAndStoredDecideWhatIsWritten) {
  EXPECT_TRUE(IsDefaultPropValue(sample, Prop("Count")));  // 3 is the declared default
  sample->Count = 4;
  EXPECT_FALSE(IsDefaultPropValue(sample, Prop("Count")));
  EXPECT_TRUE(IsDefaultPropValue(sample, Prop("Caption")));  // empty string, no default
  EXPECT_FALSE(IsDefaultPropValue(sample, Prop("Always")));  // ordinal without a default
  EXPECT_TRUE(IsDefaultPropValue(sample, Prop("Ratio")));    // 0
  EXPECT_TRUE(IsDefaultPropValue(sample, Prop("Options")));  // [soBold]
  EXPECT_FALSE(IsStoredProp(sample, Prop("Hidden")));
  EXPECT_FALSE(IsStoredProp(sample, Prop("Level")));
  sample->Level = 1;
  EXPECT_TRUE(IsStoredProp(sample, Prop("Level")));
}

TEST_F(PropertyTest, TextFormsOfEveryKind) {
  sample->Options = {soItalic, soBold};
  EXPECT_EQ(GetPropText(sample, Prop("Options")), "[soBold, soItalic]");
  EXPECT_EQ(GetPropText(sample, Prop("Enabled")), "True");
  EXPECT_EQ(GetPropText(sample, Prop("Mode")), "smFast");
  sample->Ratio = 0.25;
  EXPECT_EQ(GetPropText(sample, Prop("Ratio")), "0.25");
  sample->SetBuddy(sample);
  EXPECT_EQ(GetPropText(sample, Prop("Buddy")), "First");

  SetPropText(sample, Prop("Options"), "[]");
  EXPECT_TRUE(sample->Options.Empty());
  SetPropText(sample, Prop("Options"), "soUnderline,SOITALIC");
  EXPECT_EQ(sample->Options, (TSampleOptions{soItalic, soUnderline}));
  SetPropText(sample, Prop("Mode"), "smslow");
  EXPECT_EQ(sample->Mode, smSlow);
  SetPropText(sample, Prop("Enabled"), "false");
  EXPECT_FALSE(sample->Enabled);
  SetPropText(sample, Prop("Count"), "-$10");
  EXPECT_EQ(sample->Count, -16);
  SetPropText(sample, Prop("Ratio"), "1.5E3");
  EXPECT_DOUBLE_EQ(sample->Ratio, 1500);
  SetPropText(sample, Prop("Buddy"), "");
  EXPECT_EQ(sample->Buddy(), nullptr);
  SetPropText(sample, Prop("OnChange"), "FirstChange");
  EXPECT_EQ(sample->OnChange.Name, "FirstChange");
  sample->OnChange(sample);
  EXPECT_EQ(form->Events, std::vector<std::string>{"FirstChange(First)"});
}

TEST_F(PropertyTest, ConversionErrorsNameThePropertyAndTheText) {
  struct Case {
    const char* prop;
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"Count", "ten", "'ten' is not a valid value for property Count (Integer)"},
      {"Count", "2147483648", "'2147483648' is not a valid value for property Count (Integer)"},
      {"Mode", "smNone", "'smNone' is not a valid value for property Mode (TSampleMode)"},
      {"Options", "[soBold, soStrike]",
       "'[soBold, soStrike]' is not a valid value for property Options (TSampleOptions)"},
      {"Enabled", "yes", "'yes' is not a valid value for property Enabled (Boolean)"},
      {"Ratio", "1,5", "'1,5' is not a valid value for property Ratio (Double)"},
      {"Letter", "ab", "'ab' is not a valid value for property Letter (Char)"},
      {"Buddy", "Nobody", "'Nobody' is not a valid value for property Buddy (TSampleComponent)"},
      {"OnCheck", "FirstChange",
       "'FirstChange' is not a valid value for property OnCheck (TSampleCheckEvent)"},
  };
  for (const Case& c : cases) {
    try {
      SetPropText(sample, Prop(c.prop), c.text);
      ADD_FAILURE() << c.prop << " took " << c.text;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message, c.message);
    }
  }
  EXPECT_EQ(sample->Count, 3);  // nothing changed
}

TEST_F(PropertyTest, VariantsByNameAndPath) {
  EXPECT_EQ(GetPropValue(sample, "Count"), Variant(3));
  EXPECT_EQ(GetPropValue(sample, "Enabled"), Variant(true));
  EXPECT_EQ(GetPropValue(sample, "Mode"), Variant("smFast"));
  EXPECT_EQ(GetPropValue(sample, "Font.Name"), Variant("Sans"));
  SetPropValue(sample, "Count", Variant("12"));  // a string is read as the text form
  EXPECT_EQ(sample->Count, 12);
  SetPropValue(sample, "Count", Variant(2.0));
  EXPECT_EQ(sample->Count, 2);
  SetPropValue(sample, "Mode", Variant(2));
  EXPECT_EQ(sample->Mode, smCareful);
  SetPropValue(sample, "Font.Size", Variant(11));
  EXPECT_EQ(sample->Font()->Size, 11);
  SetPropValue(sample, "Caption", Variant(42));
  EXPECT_EQ(sample->Caption, "42");
  EXPECT_THROW(SetPropValue(sample, "Mode", Variant(3)), EConvertError);  // out of range
  EXPECT_THROW(SetPropValue(sample, "Buddy", Variant(5)), EConvertError);
  EXPECT_THROW(SetPropValue(sample, "Lines", Variant(form)), EConvertError);  // wrong class
  EXPECT_THROW(GetPropValue(sample, "Colour"), EPropertyError);
  EXPECT_EQ(VarToStr(GetPropValue(sample, "Buddy")), "");
}

TEST(VariantTest, TextFormsAndConversions) {
  EXPECT_EQ(VarToStr(Variant()), "");
  EXPECT_EQ(VarToStr(Variant::Null()), "");
  EXPECT_EQ(VarToStr(Variant(true)), "True");
  EXPECT_EQ(VarToStr(Variant(-7)), "-7");
  EXPECT_EQ(Variant("12").AsInteger(), 12);
  EXPECT_EQ(Variant("True").AsBoolean(), true);
  EXPECT_THROW(Variant("x").AsFloat(), EVariantError);
}

TEST(FloatTextTest, WritesAsTheClassicWriterDoes) {
  EXPECT_EQ(FloatToStr(1.5), "1.5");
  EXPECT_EQ(FloatToStr(2), "2");
  EXPECT_EQ(FloatToStr(-0.001), "-0.001");
  EXPECT_EQ(FloatToStr(0.00001), "0.00001");
  EXPECT_EQ(FloatToStr(0.000001), "1E-6");
  EXPECT_EQ(FloatToStr(123456789012345.0), "123456789012345");
  EXPECT_EQ(FloatToStr(1e15), "1E15");
  EXPECT_EQ(FloatToStr(1.0 / 3), "0.333333333333333");
  double value = 0;
  EXPECT_TRUE(TryStrToFloat("1E15", value));
  EXPECT_FALSE(TryStrToFloat("inf", value));
  EXPECT_FALSE(TryStrToFloat("1e999", value));
}

}  // namespace
