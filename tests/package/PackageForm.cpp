#include "tests/package/PackageForm.h"

#include "tests/support/toolkit/InstallerFormText.h"
#include "toolkit/model/ClassBuilder.h"

namespace {

std::string PolyverbText(const std::string& language) {
  return "  object Polyverb: TPolyverb\n"
         "    Language = '" +
         language +
         "'\n"
         "    Translations = <\n"
         "      item\n"
         "        Target = 'LabelLang.Caption'\n"
         "        English = 'Language:'\n"
         "        Deutsch = 'Sprache:'\n"
         "      end\n"
         "      item\n"
         "        Target = 'ButtonPanel.Buttons[0].Caption'\n"
         "        English = '&Continue'\n"
         "        Deutsch = '&Weiter'\n"
         "      end\n"
         "      item\n"
         "        Target = 'ButtonPanel.Buttons[1].Caption'\n"
         "        English = 'Close'\n"
         "        Deutsch = 'Schlie\xC3\x9F"
         "en'\n"
         "      end>\n"
         "  end\n";
}

// The button bar and the folder check box are the installer's; the language controls the package's.
std::string ControlsText() {
  return "  object ButtonPanel: TButtonPanel\n" + ButtonBarBounds("    ") + R"(    TabOrder = 0
    Buttons = <
      item
        Caption = '&Continue'
        Kind = bkOK
        OnClick = ButtonPanelContinueClick
      end
      item
        Caption = 'Close'
        Kind = bkCancel
        OnClick = ButtonPanelCloseClick
      end>
  end
)" + LanguageLabelText("  ") +
         R"(  object LangComboBox: TLangComboBox
    Left = 352
    Top = 24
    Width = 145
    Height = 21
    Polyverb = Polyverb
    TabOrder = 1
  end
)" + FolderCheckBoxText("  ", "TabOrder = 2\n");
}

}  // namespace

TClass TPackageForm::StaticClass() {
  return DefineClass<TPackageForm>("TPackageForm", [](ClassBuilder<TPackageForm>& c) {
    c.Field("Polyverb", &TPackageForm::Polyverb);
    c.Field("LangComboBox", &TPackageForm::LangComboBox);
    c.Field("LabelLang", &TPackageForm::LabelLang);
    c.Field("BtnFolder", &TPackageForm::BtnFolder);
    c.Field("ButtonPanel", &TPackageForm::ButtonPanel);
    c.Method("ButtonPanelContinueClick", &TPackageForm::ButtonPanelContinueClick);
    c.Method("ButtonPanelCloseClick", &TPackageForm::ButtonPanelCloseClick);
  });
}

void TPackageForm::ButtonPanelContinueClick(TObject* Sender) {
  Clicks.push_back("Continue " + dynamic_cast<TComponent*>(Sender)->Name());
}

void TPackageForm::ButtonPanelCloseClick(TObject* Sender) {
  Clicks.push_back("Close " + dynamic_cast<TComponent*>(Sender)->Name());
}

std::string PackageFormText(bool PolyverbFirst, const std::string& Language) {
  const std::string polyverb = PolyverbText(Language);
  return InstallerFormText({
      .Name = "PackageForm",
      .Objects = (PolyverbFirst ? polyverb : "") + ControlsText() + (PolyverbFirst ? "" : polyverb),
  });
}
