#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "package/Errors.h"
#include "package/Polyverb.h"
#include "tests/package/PolyverbSamples.h"

namespace {

// A form as the installer's is built: the language component holds the message table and
// the translated captions and hints of the form, of a control and of a button bar's items.
std::string FormText(const std::string& polyverbExtra = "", const std::string& before = "",
                     const std::string& after = "") {
  return "object LangForm: TSampleLangForm\n" + before + "  object Polyverb: TPolyverb\n" +
         polyverbExtra +
         "    OnChange = PolyverbChange\n"
         "    Strings = <\n"
         "      item\n"
         "        Key = 'RTOnly'\n"
         "        English = '(Runtime packages only)'\n"
         "        Deutsch = '(nur Laufzeit-Packages)'\n"
         "      end\n"
         "      item\n"
         "        Key = 'DirCreated'\n"
         "        English = 'Directory ''%s'' created.'\n"
         "      end>\n"
         "    Translations = <\n"
         "      item\n"
         "        Target = 'Caption'\n"
         "        English = 'Setup'\n"
         "      end\n"
         "      item\n"
         "        Target = 'BtnInstall.Caption'\n"
         "        English = 'Install'\n"
         "        Deutsch = 'Installieren'\n"
         "      end\n"
         "      item\n"
         "        Target = 'FolderSelect.Hint'\n"
         "        English = 'This folder is used'\n"
         "        Deutsch = 'Dieses Verzeichnis wird verwendet'\n"
         "      end\n"
         "      item\n"
         "        Target = 'ButtonPanel.Buttons[1].Caption'\n"
         "        English = 'Close'\n"
         "        Deutsch = 'Schlie\xC3\x9F"
         "en'\n"
         "      end>\n"
         "  end\n"
         "  object BtnInstall: TSampleControl\n"
         "    Caption = 'built-in'\n"
         "  end\n"
         "  object FolderSelect: TSampleControl\n"
         "  end\n"
         "  object ButtonPanel: TSampleButtonBar\n"
         "    Buttons = <\n"
         "      item\n"
         "        Caption = 'Continue'\n"
         "      end\n"
         "      item\n"
         "      end>\n"
         "  end\n" +
         after + "end\n";
}

class PolyverbTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterPolyverbSamples(); }

  TSampleLangForm* Read(const std::string& text) {
    form_.reset(new TSampleLangForm(nullptr));
    ReadComponentText(form_.get(), text);
    return form_.get();
  }

  struct FreeForm {
    void operator()(TComponent* form) const { form->Free(); }
  };
  std::unique_ptr<TSampleLangForm, FreeForm> form_;
};

TEST_F(PolyverbTest, TheFormShowsItsLanguageOnceLoaded) {
  TSampleLangForm* form = Read(FormText());
  EXPECT_EQ(form->Polyverb->Language(), "English");
  EXPECT_EQ(form->Caption, "Setup");
  EXPECT_EQ(form->BtnInstall->Caption, "Install");
  EXPECT_EQ(form->FolderSelect->Hint, "This folder is used");
  EXPECT_EQ(form->ButtonPanel->ButtonCaption(1), "Close");
  EXPECT_EQ(form->ButtonPanel->ButtonCaption(0), "Continue");  // not translated: left alone
  EXPECT_TRUE(form->Changes.empty());  // starting in a language is no change

  TSampleLangForm* german = Read(FormText("    Language = 'Deutsch'\n"));
  EXPECT_EQ(german->BtnInstall->Caption, "Installieren");
  EXPECT_EQ(german->ButtonPanel->ButtonCaption(1),
            "Schlie\xC3\x9F"
            "en");
  EXPECT_TRUE(german->Changes.empty());
}

TEST_F(PolyverbTest, ChangingTheLanguageTranslatesEverythingBeforeOnChange) {
  TSampleLangForm* form = Read(FormText());
  form->Polyverb->SetLanguage("Deutsch");
  EXPECT_EQ(form->BtnInstall->Caption, "Installieren");
  EXPECT_EQ(form->FolderSelect->Hint, "Dieses Verzeichnis wird verwendet");
  EXPECT_EQ(form->Caption, "Setup");  // no German text: the English one
  // The handler ran once and already saw the translated caption.
  EXPECT_EQ(form->Changes, std::vector<std::string>{"Deutsch: Installieren"});

  form->Polyverb->SetLanguage("deutsch");  // the same language, in other letters
  EXPECT_EQ(form->Changes.size(), 1u);
  EXPECT_EQ(form->Polyverb->Language(), "Deutsch");

  form->Polyverb->SetLanguageIndex(0);
  EXPECT_EQ(form->BtnInstall->Caption, "Install");
  EXPECT_EQ(form->Changes.back(), "English: Install");
}

TEST_F(PolyverbTest, AnUnknownLanguageIsRefusedAndChangesNothing) {
  TSampleLangForm* form = Read(FormText());
  try {
    form->Polyverb->SetLanguage("Klingon");
    FAIL() << "an unknown language was taken";
  } catch (const EPolyverbError& error) {
    EXPECT_NE(error.Message.find("Klingon"), std::string::npos);
    EXPECT_NE(error.Message.find("English, Deutsch"), std::string::npos);
  }
  EXPECT_THROW(form->Polyverb->SetLanguageIndex(2), EPolyverbError);
  EXPECT_EQ(form->Polyverb->Language(), "English");
  EXPECT_TRUE(form->Changes.empty());

  // In a form description it is a read error that names the line.
  try {
    Read(FormText("    Language = 'Klingon'\n"));
    FAIL() << "an unknown language was read";
  } catch (const EReadError& error) {
    EXPECT_EQ(error.Line, 3);
  }
}

TEST_F(PolyverbTest, GetStringGivesTheCurrentLanguageAndShowsWhatIsMissing) {
  TSampleLangForm* form = Read(FormText());
  TPolyverb* polyverb = form->Polyverb;
  EXPECT_EQ(polyverb->GetString("RTOnly"), "(Runtime packages only)");
  EXPECT_EQ(polyverb->GetString("rtonly"), "(Runtime packages only)");
  polyverb->SetLanguage("Deutsch");
  EXPECT_EQ(polyverb->GetString("RTOnly"), "(nur Laufzeit-Packages)");
  EXPECT_EQ(polyverb->GetString("DirCreated"), "Directory '%s' created.");  // untranslated
  EXPECT_EQ(polyverb->GetString("NoFiles"), "[NoFiles]");
}

// As a settings component loads the stored language from its Loaded: before the language
// component has loaded, the language is remembered and applied once; after it, it is a
// change like any other.
TEST_F(PolyverbTest, ALanguageSetWhileTheFormLoadsIsInEffectWhenLoadingEnds) {
  const std::string loader =
      "  object Loader: TSampleLanguageLoader\n"
      "    Polyverb = Polyverb\n"
      "    Stored = 'Deutsch'\n"
      "  end\n";

  TSampleLangForm* loadedFirst = Read(FormText("", loader, ""));
  EXPECT_EQ(loadedFirst->BtnInstall->Caption, "Installieren");
  EXPECT_TRUE(loadedFirst->Changes.empty());

  TSampleLangForm* loadedLast = Read(FormText("", "", loader));
  EXPECT_EQ(loadedLast->BtnInstall->Caption, "Installieren");
  EXPECT_EQ(loadedLast->Changes, std::vector<std::string>{"Deutsch: Installieren"});
}

TEST_F(PolyverbTest, ListenersHearEveryChangeBeforeOnChangeUntilTheyGo) {
  TSampleLangForm* form = Read(FormText());
  TPolyverb* polyverb = form->Polyverb;
  std::vector<std::string> heard;
  auto* chooser = new TComponent(form);
  auto* other = new TComponent(nullptr);  // owned elsewhere: told through free notification
  polyverb->AddChangeListener(chooser, [&](TObject*) { heard.push_back("chooser"); });
  polyverb->AddChangeListener(other, [&](TObject* sender) {
    heard.push_back("other " + dynamic_cast<TPolyverb*>(sender)->Language());
  });
  polyverb->OnChange = [&](TObject*) { heard.push_back("OnChange"); };

  polyverb->SetLanguage("Deutsch");
  EXPECT_EQ(heard, (std::vector<std::string>{"chooser", "other Deutsch", "OnChange"}));

  heard.clear();
  chooser->Free();
  other->Free();
  polyverb->SetLanguage("English");
  EXPECT_EQ(heard, std::vector<std::string>{"OnChange"});
}

TEST_F(PolyverbTest, AListenerMayRemoveAnotherWhileBeingTold) {
  TSampleLangForm* form = Read(FormText());
  TPolyverb* polyverb = form->Polyverb;
  auto* first = new TComponent(form);
  auto* second = new TComponent(form);
  int secondCalls = 0;
  polyverb->AddChangeListener(first, [&](TObject*) { second->Free(); });
  polyverb->AddChangeListener(second, [&](TObject*) { ++secondCalls; });
  polyverb->SetLanguage("Deutsch");
  EXPECT_EQ(secondCalls, 0);
}

TEST_F(PolyverbTest, AListenerOutlivingTheLanguageComponentIsLeftAlone) {
  auto* polyverb = new TPolyverb(nullptr);
  auto* chooser = new TComponent(nullptr);
  polyverb->AddChangeListener(chooser, [](TObject*) {});
  polyverb->Free();
  chooser->Free();  // must not reach back into the freed component
}

TEST_F(PolyverbTest, AMisspeltTargetIsNamedAfterEveryoneElseHeardOfTheChange) {
  TSampleLangForm* form = Read(FormText());
  auto* item = static_cast<TPolyverbTranslation*>(form->Polyverb->Translations()->Add());
  item->Target = "BtnInstal.Caption";
  item->English = "x";
  auto* second = static_cast<TPolyverbTranslation*>(form->Polyverb->Translations()->Add());
  second->Target = "ButtonPanel.Buttons[5].Caption";

  try {
    form->Polyverb->SetLanguage("Deutsch");
    FAIL() << "a misspelt target went unnoticed";
  } catch (const EPolyverbError& error) {
    EXPECT_NE(error.Message.find("BtnInstal.Caption"), std::string::npos);
    EXPECT_NE(error.Message.find("Buttons[5]"), std::string::npos);
  }
  EXPECT_EQ(form->Polyverb->Language(), "Deutsch");
  EXPECT_EQ(form->BtnInstall->Caption, "Installieren");
  EXPECT_EQ(form->Changes.size(), 1u);
}

TEST_F(PolyverbTest, AMisspeltTargetInTheFormFailsTheLoad) {
  const std::string bad =
      "    Translations = <\n"
      "      item\n"
      "        Target = 'Nowhere.Caption'\n"
      "      end>\n";
  EXPECT_THROW(Read("object LangForm: TSampleLangForm\n"
                    "  object Polyverb: TPolyverb\n" +
                    bad + "  end\nend\n"),
               EPolyverbError);
}

TEST_F(PolyverbTest, TheTablesAreWrittenBackAsTheyWereRead) {
  TSampleLangForm* form = Read(FormText("    Language = 'Deutsch'\n"));
  const std::string written = WriteComponentText(form);
  EXPECT_NE(written.find("Language = 'Deutsch'"), std::string::npos);
  EXPECT_NE(written.find("Target = 'ButtonPanel.Buttons[1].Caption'"), std::string::npos);

  TSampleLangForm* again = Read(written);
  EXPECT_EQ(WriteComponentText(again), written);
  EXPECT_EQ(again->Polyverb->GetString("RTOnly"), "(nur Laufzeit-Packages)");
  EXPECT_EQ(again->Polyverb->Translations()->Count(), 4);

  // English is the default and is left out.
  again->Polyverb->SetLanguage("English");
  EXPECT_EQ(WriteComponentText(again).find("Language ="), std::string::npos);
}

}  // namespace
