#pragma once

// A form of the installer's shape, built from its description with the package's visual
// components: the language component translating a label and the button captions, the
// language combo box, a check box to hold the focus, and the button panel whose items are
// bound to the form's handlers by name. The handlers record who called them.

#include <string>
#include <vector>

#include "package/ButtonPanel.h"
#include "package/LangComboBox.h"
#include "package/Polyverb.h"
#include "package/SuperForm.h"
#include "toolkit/visual/StdCtrls.h"

class TPackageForm : public TSuperForm {
  TOOLKIT_CLASS(TPackageForm, TSuperForm)

  explicit TPackageForm(TComponent* AOwner) : TSuperForm(AOwner) {}

  TPolyverb* Polyverb = nullptr;
  TLangComboBox* LangComboBox = nullptr;
  TLabel* LabelLang = nullptr;
  TCheckBox* BtnFolder = nullptr;
  TButtonPanel* ButtonPanel = nullptr;

  // "Continue ButtonPanel", "Close ButtonPanel": the handler and its Sender's name.
  std::vector<std::string> Clicks;

  void ButtonPanelContinueClick(TObject* Sender);
  void ButtonPanelCloseClick(TObject* Sender);
};

// The form's description; Polyverb is placed after LangComboBox (the reference is read
// before the component it names) unless PolyverbFirst.
std::string PackageFormText(bool PolyverbFirst = false, const std::string& Language = "English");
