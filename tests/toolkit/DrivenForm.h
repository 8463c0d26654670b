#pragma once

// A form that uses every control class of the toolkit, built from its description, and
// records what its handlers saw, for the tests that drive it with real input.

#include <string>
#include <vector>

#include "toolkit/forms/Dialogs.h"
#include "toolkit/forms/Forms.h"
#include "toolkit/visual/Buttons.h"
#include "toolkit/visual/ComCtrls.h"
#include "toolkit/visual/ExtCtrls.h"
#include "toolkit/visual/StdCtrls.h"

// A combo box that reports its list notifications, as a control above the toolkit does.
class TNotifyingComboBox : public TComboBox {
  TOOLKIT_CLASS(TNotifyingComboBox, TComboBox)

  explicit TNotifyingComboBox(TComponent* AOwner) : TComboBox(AOwner) {}

  std::vector<std::string>* Log = nullptr;

 protected:
  void CNCommand(TMessage& Message) override;
};

class TDrivenForm : public TForm {
  TOOLKIT_CLASS(TDrivenForm, TForm)

  explicit TDrivenForm(TComponent* AOwner);

  TPanel* PanelButtons = nullptr;
  TBitBtn* BtnOK = nullptr;
  TBitBtn* BtnClose = nullptr;
  TPanel* PanelMain = nullptr;
  TGroupBox* GroupMode = nullptr;
  TRadioButton* BtnInstall = nullptr;
  TRadioButton* BtnUninstall = nullptr;
  TLabel* LabelLang = nullptr;
  TNotifyingComboBox* ComboLang = nullptr;
  TGroupBox* GroupFolder = nullptr;
  TCheckBox* BtnFolder = nullptr;
  TComboBox* ComboFolder = nullptr;
  TSpeedButton* BtnBrowse = nullptr;
  TRichEdit* StatusLog = nullptr;
  TOpenDialog* OpenDialog = nullptr;
  TSaveDialog* SaveDialog = nullptr;

  std::vector<std::string> Events;
  bool AllowClose = false;

  void FormCreate(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void ControlEnter(TObject* Sender);
  void ControlExit(TObject* Sender);
  void ControlClick(TObject* Sender);
  void ComboKeyPress(TObject* Sender, char& Key);
  void BtnOKClick(TObject* Sender);
  void BtnBrowseClick(TObject* Sender);
};

extern const std::string kDrivenFormText;
