#pragma once

// TPolyverbInstallForm: the setup program's one window. Built hidden from its form
// description; while it is built (FormCreate) it finds which design packages the
// distribution folder holds and which Delphi versions the machine has, and prefills the
// options. FReady tells program start whether there is anything to show.
//
// The options depend on each other (UpdateControls):
// - the folder field takes part only while BtnFolder is checked;
// - a register box (BtnD3..BtnD5) can be enabled only in install mode and while its
//   version's location box is checked; disabling it remembers its check in its Tag and
//   clears it, enabling it again restores the remembered check;
// - Continue is enabled while at least one target (the folder or a location box) is checked.
//
// The location boxes hold their full folder in Hint; their caption shows it shortened.

#include "installer/FolderField.h"
#include "package/ButtonPanel.h"
#include "package/LangComboBox.h"
#include "package/Polyverb.h"
#include "package/SuperForm.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Registry.h"
#include "toolkit/StdCtrls.h"

class TPolyverbInstallForm : public TSuperForm {
  TOOLKIT_CLASS(TPolyverbInstallForm, TSuperForm)

  // Reads the form description: Loaded on every component, then FormCreate.
  explicit TPolyverbInstallForm(TComponent* AOwner);

  TPolyverb* Polyverb = nullptr;
  TLangComboBox* LangComboBox = nullptr;
  TLabel* LabelLang = nullptr;
  TPanel* PanelMain = nullptr;
  TButtonPanel* ButtonPanel = nullptr;
  TGroupBox* GroupMode = nullptr;
  TRadioButton* BtnInstall = nullptr;
  TRadioButton* BtnUninstall = nullptr;
  TGroupBox* GroupFolder = nullptr;
  TCheckBox* BtnFolder = nullptr;
  TFolderField* FolderSelect = nullptr;
  TGroupBox* GroupDir = nullptr;
  TCheckBox* BtnWindows = nullptr;
  TCheckBox* BtnD3Dir = nullptr;
  TCheckBox* BtnD4Dir = nullptr;
  TCheckBox* BtnD5Dir = nullptr;
  TGroupBox* GroupReg = nullptr;
  TCheckBox* BtnD3 = nullptr;
  TCheckBox* BtnD4 = nullptr;
  TCheckBox* BtnD5 = nullptr;

  // The distribution folder holds the design package of Delphi 3, 4, 5.
  bool FD3Present = false;
  bool FD4Present = false;
  bool FD5Present = false;
  // Made by FormCreate, freed with the form; the runs use it too.
  TRegistry* FRegistry = nullptr;
  // Start-up succeeded: the window may be shown.
  bool FReady = false;

  void FormCreate(TObject* Sender);
  void FormDestroy(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void PolyverbChange(TObject* Sender);
  void BtnInstallClick(TObject* Sender);
  void BtnClick(TObject* Sender);
  void ButtonPanelCloseClick(TObject* Sender);
  void ButtonPanelContinueClick(TObject* Sender);

  // Derives the dependent states from the boxes the user sets.
  void UpdateControls();

 private:
  void DetectDelphiFolder(TCheckBox* LocationBox, const std::string& Key,
                          const std::string& ValueName);
  void SetRegisterBox(bool Wanted, TCheckBox* Box);
  // BtnWindows shows the Windows folder in full and what goes there.
  void ComposeWindowsCaption();
};

extern TPolyverbInstallForm* PolyverbInstallForm;
