#include "installer/Unattended.h"

#include <algorithm>
#include <memory>
#include <ostream>

#include "installer/DelphiVersions.h"
#include "installer/PolyverbInstallMain.h"
#include "installer/ProgramStart.h"
#include "package/UnitVersion.h"
#include "package/Utils.h"
#include "toolkit/forms/Forms.h"
#include "toolkit/forms/WidgetSystem.h"
#include "toolkit/model/ScopeGuards.h"
#include "toolkit/visual/Messages.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("Unattended.cpp 1.0");

bool Contains(const std::vector<int>& Versions, int Version) {
  return std::find(Versions.begin(), Versions.end(), Version) != Versions.end();
}

platform::Status NotAllowed(const std::string& Sentence) {
  return {platform::ErrorCode::AccessDenied, Sentence};
}

// A check box set by program counts as a click on it, as the window's rules need.
void SetBox(TCheckBox* Box, bool Checked) {
  if (Box->Checked() != Checked) Box->SetChecked(Checked);
}

// The boxes of the versions in Wanted checked, all others unchecked. A box that is disabled
// here cannot be checked by a user either.
platform::Status SetVersionBoxes(TPolyverbInstallForm& Form, const std::vector<int>& Wanted,
                                 TCheckBox* TPolyverbInstallForm::*TDelphiVersion::*Box,
                                 const std::string& Option, const std::string& Why) {
  for (const TDelphiVersion& version : kDelphiVersions) {
    TCheckBox* box = Form.*(version.*Box);
    const bool wanted = Contains(Wanted, version.Number);
    if (wanted && !box->Enabled()) {
      return NotAllowed(Option + " " + std::to_string(version.Number) +
                        " cannot be chosen: " + Why + ".");
    }
    if (box->Enabled()) SetBox(box, wanted);
  }
  return platform::Status::Ok();
}

void ChooseLanguage(TPolyverbInstallForm& Form, const std::string& Language) {
  TLangComboBox* box = Form.LangComboBox;
  const int index = box->Items()->IndexOf(Language);
  if (index < 0 || index == box->ItemIndex()) return;
  // What the box hears when the user picks an entry.
  box->SetItemIndex(index);
  box->Perform(CN_COMMAND, MakeWParam(0, CBN_SELCHANGE));
}

int ExitCodeOf(TPolyverbInstallForm::TRunOutcome Outcome) {
  switch (Outcome) {
    case TPolyverbInstallForm::TRunOutcome::Completed:
      return kExitCompleted;
    case TPolyverbInstallForm::TRunOutcome::CompletedWithErrors:
      return kExitCompletedWithErrors;
    default:
      return kExitFailed;
  }
}

}  // namespace

platform::Status ApplyCommandLine(TPolyverbInstallForm& Form, const TCommandLine& Line) {
  // In the order a user goes through the window: the mode decides which register boxes can
  // be enabled, the location boxes decide it too.
  if (Line.Uninstall) Form.BtnUninstall->SetChecked(true);
  if (Line.Language) ChooseLanguage(Form, *Line.Language);
  if (Line.Folder) Form.FolderSelect->SetText(*Line.Folder);
  if (Line.NoFolder) SetBox(Form.BtnFolder, false);
  if (Line.NoWindows) SetBox(Form.BtnWindows, false);
  if (Line.Bin) {
    platform::Status set =
        SetVersionBoxes(Form, *Line.Bin, &TDelphiVersion::LocationBox, "--bin",
                        "that Delphi version is not installed in this prefix, or the "
                        "distribution holds no package for it");
    if (!set) return set;
  }
  if (Line.Register) {
    platform::Status set = SetVersionBoxes(
        Form, *Line.Register, &TDelphiVersion::RegisterBox, "--register",
        "its Bin folder is not chosen, or that Delphi version is not installed in this prefix");
    if (!set) return set;
  }
  if (!Form.ButtonPanel->Buttons()->GetItem(TPolyverbInstallForm::kContinueButton)->Enabled()) {
    return NotAllowed(
        "Nothing is left to install into: the installation folder, the Windows "
        "folder and every Bin folder are left out.");
  }
  return platform::Status::Ok();
}

int RunUnattended(const TCommandLine& Line, std::ostream& StatusOut, std::ostream& ErrorOut) {
  UseOffscreenWidgetSystem();
  Application->SetPresenter(std::make_unique<TConsolePresenter>(ErrorOut));
  CreateSetupForm();
  // The form goes as at the end of the window, whatever happens here.
  const ScopeExit formEnd([] { DeleteClass(PolyverbInstallForm); });
  if (!PolyverbInstallForm->FReady) return kExitFailed;

  if (platform::Status applied = ApplyCommandLine(*PolyverbInstallForm, Line); !applied) {
    ErrorOut << "PolyverbSetup: " << applied.message() << '\n';
    PolyverbInstallForm->FSaveSettings = false;
    return kExitBadCommandLine;
  }
  PolyverbInstallForm->OnStatusLine = [&StatusOut](const std::string& StatusLine) {
    StatusOut << StatusLine << std::endl;  // at once: a script may be watching
  };
  PolyverbInstallForm->OnReason = [&ErrorOut](const std::string& Reason) {
    ErrorOut << "PolyverbSetup: " << Reason << std::endl;
  };
  PolyverbInstallForm->ButtonPanel->Buttons()
      ->GetItem(TPolyverbInstallForm::kContinueButton)
      ->Click();
  return ExitCodeOf(PolyverbInstallForm->RunOutcome());
}
