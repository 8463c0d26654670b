#include "installer/Unattended.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <ostream>

#include "installer/DelphiVersions.h"
#include "installer/PlanLines.h"
#include "installer/PolyverbInstallMain.h"
#include "installer/ProgramStart.h"
#include "installer/RunLog.h"
#include "installer/RunReport.h"
#include "package/UnitVersion.h"
#include "package/Utils.h"
#include "platform/Machine.h"
#include "toolkit/forms/Forms.h"
#include "toolkit/forms/WidgetSystem.h"
#include "toolkit/model/ScopeGuards.h"
#include "toolkit/visual/Messages.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("Unattended.cpp 1.0");

// A dry run's messages are marked as its lines are: the end it tells of is the plan's.
class TPlanPresenter : public TConsolePresenter {
 public:
  using TConsolePresenter::TConsolePresenter;
  int MessageBox(const TMessageBoxRequest& Request) override {
    // Messages of a start-up still reading its form come before any language is chosen.
    const bool chosen = PolyverbInstallForm != nullptr && PolyverbInstallForm->Polyverb != nullptr;
    const std::string language = chosen ? PolyverbInstallForm->Polyverb->Language() : "";
    TMessageBoxRequest marked = Request;
    marked.Caption = PlanLine(language, Request.Caption);
    return TConsolePresenter::MessageBox(marked);
  }
};

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

}  // namespace

TRunEnd EndOfRun(const TPolyverbInstallForm& Form) {
  if (!Form.FReady) return {"start-up-failed", kExitFailed, Form.StartUpFailure()};
  switch (Form.RunOutcome()) {
    case TPolyverbInstallForm::TRunOutcome::Completed:
      return {"completed", kExitCompleted, ""};
    case TPolyverbInstallForm::TRunOutcome::CompletedWithErrors:
      return {"completed-with-errors", kExitCompletedWithErrors, ""};
    case TPolyverbInstallForm::TRunOutcome::Failed:
      return {"failed", kExitFailed, Form.RunEndReason()};
    case TPolyverbInstallForm::TRunOutcome::NotRun:
      break;
  }
  return {"not-run", kExitFailed, ""};
}

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

namespace {

// The program start itself, up to the form's end (which keeps the remembered settings):
// how it ended.
TRunEnd RunForm(const TCommandLine& Line, std::optional<TRunReport>& Report,
                std::ostream& StatusOut, std::ostream& ErrorOut, TRunLog* Log) {
  UseHeadlessWidgetSystem();
  if (Line.DryRun) {
    Application->SetPresenter(std::make_unique<TPlanPresenter>(ErrorOut));
  } else {
    Application->SetPresenter(std::make_unique<TConsolePresenter>(ErrorOut));
  }
  CreateSetupForm();
  // The form goes as at the end of the window, whatever happens here.
  const ScopeExit formEnd([] { DeleteClass(PolyverbInstallForm); });
  if (!PolyverbInstallForm->FReady) return EndOfRun(*PolyverbInstallForm);
  if (Line.NoRemember) PolyverbInstallForm->FSaveSettings = false;

  if (platform::Status applied = ApplyCommandLine(*PolyverbInstallForm, Line); !applied) {
    ErrorOut << "PolyverbSetup: " << applied.message() << '\n';
    PolyverbInstallForm->FSaveSettings = false;
    return {"not-allowed", kExitNotAllowed, applied.message()};
  }
  // With --json the report takes standard output's place; the lines are in it.
  if (!Report) {
    const std::string language = PolyverbInstallForm->Polyverb->Language();
    if (Line.DryRun) StatusOut << PlanHeading(language) << std::endl;
    PolyverbInstallForm->OnStatusLine = [&StatusOut, &Line,
                                         language](const std::string& StatusLine) {
      // At once: a script may be watching.
      StatusOut << (Line.DryRun ? PlanLine(language, StatusLine) : StatusLine) << std::endl;
    };
  }
  PolyverbInstallForm->OnReason = [&ErrorOut](const std::string& Reason) {
    ErrorOut << "PolyverbSetup: " << Reason << std::endl;
  };
  PolyverbInstallForm->OnStep = [&](TRunStep Step) {
    Step.Planned = Line.DryRun;
    if (Report) Report->Step(Step);
    if (Log != nullptr) Log->Step(Step);
  };
  PolyverbInstallForm->ButtonPanel->Buttons()
      ->GetItem(TPolyverbInstallForm::kContinueButton)
      ->Click();
  return EndOfRun(*PolyverbInstallForm);
}

}  // namespace

int RunUnattended(const TCommandLine& Line, std::ostream& StatusOut, std::ostream& ErrorOut,
                  TRunLog* Log) {
  // A dry run is this very run over a machine that keeps its changes to itself, the settings
  // the form saves when it goes included: the scope outlasts the form.
  std::optional<platform::Machine::Scope> overlay;
  if (Line.DryRun) {
    overlay.emplace(
        platform::Machine::Use(platform::Machine::Overlay(platform::Machine::Current())));
  }
  std::optional<TRunReport> report;
  if (Line.Json) report.emplace(StatusOut, Line.Uninstall ? "uninstall" : "install");
  TRunEnd end = RunForm(Line, report, StatusOut, ErrorOut, Log);
  // The last word comes after everything the start does, the settings the form kept as it
  // went included: a summary that says 0 is never followed by a kill in the middle of work.
  // The log's end is written first, so that the summary can say whether the log is whole.
  end.Planned = Line.DryRun;
  if (Log != nullptr) {
    Log->End(end);
    end.ExitCode = LogKept(*Log, end.ExitCode, ErrorOut);
    if (!Log->status() && end.Reason.empty()) end.Reason = Log->status().message();
  }
  if (report) report->End(end);
  return end.ExitCode;
}
