#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "tests/support/TestNames.h"
#include "toolkit/model/Classes.h"

namespace {

std::string Reformat(const std::string& text) {
  return FormatComponentText(text);
}

TEST(FormTextTest, StringsJoinPartsCodesAndPluses) {
  const TTextObject root = ParseFormText(
      "object A: T\n"
      "  S = 'It''s'#13#10'ok' +\n"
      "    ' more'#$41\n"
      "  U = '\xC3\xA4'#8364\n"
      "end");
  EXPECT_EQ(root.Properties[0].Value.Text, "It's\r\nok moreA");
  EXPECT_EQ(root.Properties[1].Value.Text, "\xC3\xA4\xE2\x82\xAC");  // UTF-8 both ways
  EXPECT_EQ(Reformat("object A: T\n  S = 'It''s'#13#10'ok'\nend"),
            "object A: T\n  S = 'It'#39's'#13#10'ok'\nend\n");
}

TEST(FormTextTest, LongStringsAreSplitIntoLinesOf64Characters) {
  const std::string text(70, 'x');
  EXPECT_EQ(Reformat("object A: T\n  S = '" + text + "'\nend"),
            "object A: T\n"
            "  S = \n"
            "    '" +
                std::string(64, 'x') +
                "' +\n"
                "    'xxxxxx'\n"
                "end\n");
  // Characters, not bytes, are counted: 64 umlauts fit on one line.
  std::string umlauts;
  for (int i = 0; i < 64; ++i)
    umlauts += "\xC3\xA4";
  EXPECT_EQ(Reformat("object A: T\n  S = '" + umlauts + "'\nend"),
            "object A: T\n  S = '" + umlauts + "'\nend\n");
}

TEST(FormTextTest, ValuesOfEveryKindKeepTheirLayout) {
  const std::string text =
      "object Form1: TForm1\n"
      "  Left = -8\n"
      "  Scale = 1.25\n"
      "  Size = 2s\n"
      "  Font.Name = 'Arial'\n"
      "  Anchors = []\n"
      "  Style = [fsBold, fsItalic]\n"
      "  Lines.Strings = (\n"
      "    'a'\n"
      "    (\n"
      "      1\n"
      "      2))\n"
      "  Empty = ()\n"
      "  Columns = <\n"
      "    item [2]\n"
      "      Width = 5\n"
      "    end\n"
      "    item\n"
      "    end>\n"
      "  Data = {0A0B}\n"
      "  Ref = Form2.Button1\n"
      "  object TLabel\n"
      "  end\n"
      "end\n";
  EXPECT_EQ(Reformat(text), text);
  const std::string bytes(40, '\x11');
  TTextObject root = ParseFormText("object A: T\nend");
  TTextProperty blob;
  blob.Name = "Blob";
  blob.Value.Kind = TTextValue::vkBinary;
  blob.Value.Text = bytes;
  root.Properties.push_back(blob);
  EXPECT_EQ(FormatFormText(root),
            "object A: T\n"
            "  Blob = {\n"
            "    " +
                std::string(64, '1') +
                "\n"
                "    " +
                std::string(16, '1') +
                "}\n"
                "end\n");
}

TEST(FormTextTest, AcceptsOtherLineBreaksCaseAndSigns) {
  EXPECT_EQ(Reformat("\xEF\xBB\xBFOBJECT a: t\r\n  X = +5\r\n  Y = $FF\r\nEnd\r\n"),
            "object a: t\n  X = 5\n  Y = 255\nend\n");
}

struct SyntaxError {
  const char* text;
  const char* message;
  int line;
  int column;
};

void PrintTo(const SyntaxError& Case, std::ostream* os) {
  *os << testing::PrintToString(Case.text);
}

std::string CaseName(const testing::TestParamInfo<SyntaxError>& Info) {
  const SyntaxError& c = Info.param;
  return testsupport::TestNameFrom(std::string(c.message) + " on line " + std::to_string(c.line) +
                                   " column " + std::to_string(c.column));
}

class FormSyntaxErrorTest : public ::testing::TestWithParam<SyntaxError> {};

TEST_P(FormSyntaxErrorTest, NamesLineAndColumn) {
  const SyntaxError& bad = GetParam();
  try {
    ParseFormText(bad.text);
    ADD_FAILURE() << "no error";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message, std::string(bad.message) + " on line " + std::to_string(bad.line) +
                             ", column " + std::to_string(bad.column));
    EXPECT_EQ(e.Line, bad.line);
    EXPECT_EQ(e.Column, bad.column);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Errors, FormSyntaxErrorTest,
    ::testing::Values(
        SyntaxError{"", "'object' expected", 1, 1},
        SyntaxError{"object A: T\n  X = 1\n", "'end' expected", 3, 1},
        SyntaxError{"object A: T\n  X = \n  Y = 2\nend", "Identifier expected", 3, 5},
        SyntaxError{"object A: T\n  X = 'a' +\nend", "String expected", 3, 1},
        SyntaxError{"object A: T\n  X = #55296\nend", "Invalid character code", 2, 7},
        SyntaxError{"object A: T\n  X = 99999999999999999999\nend", "Invalid integer", 2, 7},
        SyntaxError{"object A: T\n  X = 12ab\nend", "Invalid number", 2, 7},
        SyntaxError{"object A: T\n  X = {0A1}\nend", "Invalid binary value", 2, 10},
        SyntaxError{"object A: T\n  X = [a b]\nend", "',' expected", 2, 10},
        SyntaxError{"object A: T\n  X = <thing>\nend", "'item' expected", 2, 8},
        SyntaxError{"object A: T\n  object B: T\n  end\n  X = 1\nend", "'end' expected", 4, 3},
        SyntaxError{"object A: T\n  S = '\xC3\xA4\xC3\xA4' \xC3\xA4\nend", "Identifier expected", 2,
                    12},
        SyntaxError{"object A: T\nend\nobject", "End of text expected", 3, 1}),
    CaseName);

TEST(FormTextTest, DeepNestingIsRefused) {
  std::string text = "object A: T\n  X = ";
  text += std::string(1000, '(');
  EXPECT_THROW(ParseFormText(text), EReadError);
}

}  // namespace
