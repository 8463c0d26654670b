#pragma once

// A form of the installer's shape around a history combo box, built from its description and
// driven with real input offscreen: a check box before the field and a button after it that is
// both the default and the cancel button, so that Enter, Escape and Tab have somewhere else to go.
// Every handler writes one line into Log, so a test compares a whole sequence of events.

#include <functional>
#include <string>
#include <vector>

#include "controls/MRUComboBox.h"
#include "toolkit/forms/Forms.h"
#include "toolkit/visual/StdCtrls.h"

// The history combo box as a descendant sees it: the committed value, programmatic values
// and the button's click.
class TMRUComboBoxProbe : public TCustomMRUComboBox {
  TOOLKIT_CLASS(TMRUComboBoxProbe, TCustomMRUComboBox)

  explicit TMRUComboBoxProbe(TComponent* AOwner) : TCustomMRUComboBox(AOwner) {}

  using TCustomMRUComboBox::CommittedText;
  using TCustomMRUComboBox::SetCurrentText;

  std::vector<std::string>* Log = nullptr;

 protected:
  // "Button <field text> | <committed value>": what a dialog opened here would start from.
  void ButtonClick() override;
};

class TMRUComboBoxForm : public TForm {
  TOOLKIT_CLASS(TMRUComboBoxForm, TForm)

  explicit TMRUComboBoxForm(TComponent* AOwner) : TForm(AOwner) {}

  TCheckBox* BtnFolder = nullptr;
  TMRUComboBoxProbe* FolderSelect = nullptr;
  TButton* BtnOK = nullptr;

  std::vector<std::string> Log;
  // Decides OnValidate; by default every text is accepted as it is.
  std::function<void(std::string& Text, bool& Valid)> Validation;

  void FolderChange(TObject* Sender);
  void FolderEnter(TObject* Sender);
  void FolderExit(TObject* Sender);
  void FolderValidate(TObject* Sender, std::string& Text, bool& Valid);
  void BtnOKClick(TObject* Sender);
};

// The installer's field: Left 16, Top 49, 457 by 25, "..." on a focusable button, the five
// built-in folders. Extra lines go into the field's object (e.g. "    ButtonTabStop = False\n").
std::string MRUComboBoxFormText(const std::string& FieldLines = "",
                                const std::string& FieldClass = "TMRUComboBoxProbe");

// The built-in history of the installer's folder field.
extern const char* const kBuiltInHistory;

// Registers the form's classes and the controls; builds the form, leaving it unshown, with
// the probe logging its button into the form's Log.
TMRUComboBoxForm* BuildMRUComboBoxForm(const std::string& FieldLines = "");
