#include "tests/controls/MRUComboBoxForm.h"

#include "controls/ControlsClasses.h"
#include "tests/support/toolkit/FormDriver.h"
#include "tests/support/toolkit/InstallerFormText.h"
#include "toolkit/model/ClassBuilder.h"
#include "toolkit/model/ClassRegistry.h"

const char* const kBuiltInHistory =
    "C:\\Programme\\Zav Polyverb;C:\\Zav Polyverb;C:\\Programme\\Polyverb;C:\\Polyverb;C:\\Zav;";

TClass TMRUComboBoxProbe::StaticClass() {
  return DefineClass<TMRUComboBoxProbe>("TMRUComboBoxProbe",
                                        [](ClassBuilder<TMRUComboBoxProbe>&) {});
}

void TMRUComboBoxProbe::ButtonClick() {
  if (Log != nullptr) Log->push_back("Button " + ComboBox()->Text() + " | " + CommittedText());
}

TClass TMRUComboBoxForm::StaticClass() {
  return DefineClass<TMRUComboBoxForm>("TMRUComboBoxForm", [](ClassBuilder<TMRUComboBoxForm>& c) {
    c.Field("BtnFolder", &TMRUComboBoxForm::BtnFolder);
    c.Field("FolderSelect", &TMRUComboBoxForm::FolderSelect);
    c.Field("BtnOK", &TMRUComboBoxForm::BtnOK);
    c.Method("FolderChange", &TMRUComboBoxForm::FolderChange);
    c.Method("FolderEnter", &TMRUComboBoxForm::FolderEnter);
    c.Method("FolderExit", &TMRUComboBoxForm::FolderExit);
    c.Method("FolderValidate", &TMRUComboBoxForm::FolderValidate);
    c.Method("BtnOKClick", &TMRUComboBoxForm::BtnOKClick);
  });
}

void TMRUComboBoxForm::FolderChange(TObject* Sender) {
  auto* field = static_cast<TMRUComboBoxProbe*>(Sender);
  Log.push_back("Change " + field->CommittedText());
}

void TMRUComboBoxForm::FolderEnter(TObject* Sender) {
  Log.push_back("Enter " + static_cast<TComponent*>(Sender)->Name());
}

void TMRUComboBoxForm::FolderExit(TObject* Sender) {
  Log.push_back("Exit " + static_cast<TComponent*>(Sender)->Name());
}

void TMRUComboBoxForm::FolderValidate(TObject*, std::string& Text, bool& Valid) {
  Log.push_back("Validate " + Text);
  if (Validation) Validation(Text, Valid);
}

void TMRUComboBoxForm::BtnOKClick(TObject*) {
  Log.push_back("Click BtnOK");
}

std::string MRUComboBoxFormText(const std::string& FieldLines, const std::string& FieldClass) {
  TInstallerFormText form{.Name = "MRUComboBoxForm", .ClientHeight = 121};
  form.Objects = FolderCheckBoxText("  ", "State = cbChecked\nTabOrder = 0\n") +
                 "  object FolderSelect: " + FieldClass + R"(
    Left = 16
    Top = 49
    Width = 457
    Height = 25
    Hint = 'This folder is used to save all installation files'
    ButtonCaption = '...'
    ButtonNumGlyphs = 1
    ButtonVisible = True
    DropDownCount = 8
    History = 
      'C:\Programme\Zav Polyverb;C:\Zav Polyverb;C:\Programme\Polyverb;C:\' +
      'Polyverb;C:\Zav;'
    HistoryListCount = 8
    OnChange = FolderChange
    OnEnter = FolderEnter
    OnExit = FolderExit
    OnValidate = FolderValidate
    ParentShowHint = False
    ShowHint = True
    TabOrder = 1
)" + FieldLines + R"(  end
  object BtnOK: TButton
    Left = 369
    Top = 84
    Width = 128
    Height = 32
    Caption = '&Continue'
    Cancel = True
    Default = True
    TabOrder = 2
    OnClick = BtnOKClick
  end
)";
  return InstallerFormText(form);
}

TMRUComboBoxForm* BuildMRUComboBoxForm(const std::string& FieldLines) {
  RegisterControlsClasses();
  RegisterClass(TMRUComboBoxProbe::StaticClass());
  auto* form = toolkit_test::BuildForm<TMRUComboBoxForm>(MRUComboBoxFormText(FieldLines));
  form->FolderSelect->Log = &form->Log;
  return form;
}
