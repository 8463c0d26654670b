// The run of the setup window: what Continue does, in install and in uninstall mode.

#include <iostream>
#include <utility>

#include "installer/DelphiVersions.h"
#include "installer/PolyverbInstallMain.h"
#include "package/Errors.h"
#include "package/Msg.h"
#include "package/PathOps.h"
#include "package/UnitVersion.h"
#include "platform/FileApi.h"
#include "platform/FileNames.h"
#include "platform/Machine.h"
#include "platform/StringFunctions.h"
#include "toolkit/forms/Forms.h"
#include "toolkit/model/Exceptions.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("PolyverbInstallRun.cpp 1.0");

// Every version-specific set and placement belongs to one of these.
constexpr int kVersionIndependent = 0;

// Why Folder, which DirExist did not find, is no folder: in the machine's own words where it
// has more to say than that nothing is there.
std::string FolderMissing(const std::string& Folder) {
  const platform::Result<std::uint32_t> attributes =
      platform::Machine::Current().files().GetAttributes(Folder);
  if (attributes) return Folder + " is a file, not a folder";
  if (attributes.status().code() == platform::ErrorCode::NotFound) {
    return "The folder " + Folder + " does not exist";
  }
  return attributes.status().message();
}

}  // namespace

void TPolyverbInstallForm::ButtonPanelContinueClick(TObject*) {
  const TCursor savedCursor = Screen->Cursor();
  bool completed = false;
  try {
    RunSteps();
    completed = true;
  } catch (...) {
    // The user sees only that the run could not finish; whoever reports it can say why.
    FRunEndReason = "the run ended early: " + CurrentExceptionMessage();
    TellReason(FRunEndReason);
  }
  if (!completed) FRunOutcome = TRunOutcome::Failed;
  EndRun(savedCursor);
  ShowRunEnd(completed);
}

void TPolyverbInstallForm::RunSteps() {
  BeginRun();
  InstallationFolderStep();
  TargetFolderSteps();
  RegistryStep();
}

// The window turns into the status list: nothing can be changed, closed or started again
// until the run is over, and Continue never comes back, as one start performs one run.
void TPolyverbInstallForm::BeginRun() {
  FRunOutcome = TRunOutcome::Completed;
  Screen->SetCursor(crHourGlass);
  SetEnabled(false);
  TButtonCollection* buttons = ButtonPanel->Buttons();
  buttons->GetItem(kCloseButton)->SetBool(kButtonItemEnabled, false);
  buttons->GetItem(kContinueButton)->SetBool(kButtonItemVisible, false);
  PanelMain->SetEnabled(false);
  PanelMain->Hide();

  StatusLog = new TRichEdit(this);
  StatusLog->SetAlign(alClient);
  StatusLog->SetReadOnly(true);
  StatusLog->SetScrollBars(ssBoth);
  StatusLog->SetWordWrap(false);
  StatusLog->SetColor(Color());
  StatusLog->SetParent(this);

  ReportAllFailures = true;
  InstallMode = BtnInstall->Checked();
  AddStatus(InstallMode ? "InstStatus" : "UninstStatus");
  AddStatusLine("");
}

void TPolyverbInstallForm::InstallationFolderStep() {
  if (!BtnFolder->Checked()) return;
  // The result does not matter: a refused text leaves the folder committed before.
  (void)FolderSelect->ApplyText();
  const std::string folder = FolderSelect->FileName();
  // Started from the installation folder itself: there is nothing to copy there, and an
  // uninstall must not take the distribution away. The step is left out without a line, as
  // for the folder's own name, under every name it has (a link, another drive onto it): one
  // folder, one result, never a line per file that could not be copied onto itself.
  const std::string distribution = RemoveBackslash(GetApplicationDir());
  if (platform::SameText(RemoveBackslash(folder), distribution) ||
      platform::SameFile(RemoveBackslash(folder), distribution)) {
    return;
  }
  if (!PrepareInstallationFolder(folder)) return;
  ProcessPlacements(InstallFolderPlacements, folder);
  ReportAllFailures = false;
  ProcessPlacements(InstallFolderOptionalPlacements, folder);
  ReportAllFailures = true;
  if (!InstallMode) RemoveInstallationFolder(folder);
}

// Whether the run can work in the installation folder: installing creates it where
// needed, uninstalling needs it to be there.
bool TPolyverbInstallForm::PrepareInstallationFolder(const std::string& Folder) {
  if (!InstallMode) {
    if (DirExist(Folder)) return true;
    AddStep({.Kind = "find-folder", .Target = Folder, .Reason = FolderMissing(Folder)},
            "EDirNotFound", {Folder});
    return false;
  }
  if (DirExist(Folder)) {
    AddStep({.Kind = "find-folder", .Target = Folder}, "DirAlreadyExists", {Folder});
    return true;
  }
  // CreateDirRecurse, with the reason when it fails.
  const platform::Status created = platform::ForceDirectories(Folder);
  if (created) {
    AddStep({.Kind = "create-folder", .Target = Folder, .Changed = true}, "DirCreated", {Folder});
    return true;
  }
  AddStep({.Kind = "create-folder", .Target = Folder, .Reason = created.message()}, "EDirCreate",
          {Folder});
  return false;
}

// Only the folder itself goes, and only when nothing is left in it: whatever else the user
// keeps there stays, and so do the levels above it.
void TPolyverbInstallForm::RemoveInstallationFolder(const std::string& Folder) {
  if (const platform::Status removed = platform::RemoveDir(Folder)) {
    AddStep({.Kind = "delete-folder", .Target = Folder, .Changed = true}, "DirDeleted", {Folder});
  } else {
    AddStep({.Kind = "delete-folder", .Target = Folder, .Reason = removed.message()}, "EDirDelete",
            {Folder});
  }
}

void TPolyverbInstallForm::TargetFolderSteps() {
  if (BtnWindows->Checked()) ProcessPlacements(WindowsFolderPlacements, BtnWindows->Hint());
  for (const TDelphiVersion& version : kDelphiVersions) {
    // A disabled location box names a Delphi that was not found, whatever its check says.
    const TCheckBox* locationBox = this->*version.LocationBox;
    if (this->*version.Present && locationBox->Enabled() && locationBox->Checked()) {
      ProcessPlacements(version.BinFolderPlacements, locationBox->Hint());
    }
  }
}

void TPolyverbInstallForm::ProcessPlacements(std::span<const TPlacement> Placements,
                                             const std::string& Folder) {
  for (const TPlacement& placement : Placements) {
    if (placement.Version == kVersionIndependent || VersionPresent(placement.Version)) {
      ProcessFileSet(placement.Set, Folder);
    }
  }
}

void TPolyverbInstallForm::ProcessFileSet(TFileSet Set, const std::string& Folder) {
  for (std::string_view name : Set)
    ProcessFile(name, Folder);
}

void TPolyverbInstallForm::ProcessFile(std::string_view Name, const std::string& Folder) {
  if (InstallMode) {
    CopyToFolder(Name, Folder);
  } else {
    DeleteFromFolder(Name, Folder);
  }
  // The user watches the list grow.
  Application->ProcessMessages();
}

void TPolyverbInstallForm::CopyToFolder(std::string_view Name, const std::string& Folder) {
  const std::string target = ExpandFileNameByDir(Name, Folder);
  const std::string source = ExpandApplicationDir(Name);
  const std::string name(Name);
  TRunStep step{.Kind = "copy-file",
                .File = name,
                .Source = RemoveBackslash(GetApplicationDir()),
                .Target = RemoveBackslash(Folder)};
  // The copy is made even over the same bytes, as the window's run makes it; it only does
  // not count as a change then. A target that could not be compared is a change.
  platform::FileSystem::CopyReport report;
  const platform::Status copied = platform::CopyFileA(source, target, false, report);
  if (copied) {
    // A copy from a read-only medium would be read-only too; the installed file is not.
    (void)platform::SetFileAttributesA(target, platform::FILE_ATTRIBUTE_NORMAL);
    step.Changed = !report.replacedSameBytes;
    AddStep(std::move(step), "FileCopied", {name, RemoveBackslash(Folder)});
  } else if (ReportAllFailures || FileExist(source)) {
    step.Reason = copied.message();
    AddStep(std::move(step), "EFileCopy", {name, RemoveBackslash(Folder)});
  }
}

void TPolyverbInstallForm::DeleteFromFolder(std::string_view Name, const std::string& Folder) {
  const std::string target = ExpandFileNameByDir(Name, Folder);
  if (!FileExist(target)) return;
  // A target folder that is the distribution under another name (a link, another drive)
  // would lose the files an installation needs: they are never deleted, and that is said.
  platform::Status deleted(platform::ErrorCode::AccessDenied,
                           target + " is the distribution's own file, which stays");
  if (!platform::SameFile(target, ExpandApplicationDir(Name))) {
    // Read-only files are deleted too; if this fails, the deletion says so.
    (void)platform::SetFileAttributesA(target, platform::FILE_ATTRIBUTE_NORMAL);
    deleted = platform::DeleteFile(target);
  }
  TRunStep step{
      .Kind = "delete-file", .File = std::string(Name), .Target = platform::ExtractFileDir(target)};
  if (deleted) {
    step.Changed = true;
    AddStep(std::move(step), "FileDeleted", {target});
  } else if (ReportAllFailures) {
    step.Reason = deleted.message();
    AddStep(std::move(step), "EFileDelete", {target});
  }
}

bool TPolyverbInstallForm::VersionPresent(int Version) const {
  for (const TDelphiVersion& version : kDelphiVersions) {
    if (version.Number == Version) return this->*version.Present;
  }
  return false;
}

void TPolyverbInstallForm::EndRun(TCursor SavedCursor) {
  SetEnabled(true);
  ButtonPanel->Buttons()->GetItem(kCloseButton)->SetBool(kButtonItemEnabled, true);
  Screen->SetCursor(SavedCursor);
  AddStatusLine("");
  AddStatus("Finished");
}

void TPolyverbInstallForm::ShowRunEnd(bool Completed) {
  if (!Completed) {
    Msg(Polyverb->GetString("EUnknownError"), "", kMsgError, {}, 0);
    return;
  }
  const char* key = BtnInstall->Checked() ? "InstallationCompleted" : "DeinstallationCompleted";
  Msg(Polyverb->GetString(key), "", kMsgInformation, {}, 0);
}

std::string TPolyverbInstallForm::FormatText(const std::string& Key,
                                             std::initializer_list<std::string> Args) {
  std::vector<platform::FormatArg> args(Args.begin(), Args.end());
  platform::Result<std::string> text = platform::Format(Polyverb->GetString(Key), args);
  if (!text) throw ECriticalError("The text \"" + Key + "\": " + text.status().message());
  return std::move(text).value();
}

std::string TPolyverbInstallForm::AddStatus(const std::string& Key,
                                            std::initializer_list<std::string> Args) {
  std::string line = FormatText(Key, Args);
  // The texts of failed steps are the ones whose keys begin with "E".
  if (Key.starts_with('E') && FRunOutcome == TRunOutcome::Completed) {
    FRunOutcome = TRunOutcome::CompletedWithErrors;
  }
  AddStatusLine(line);
  return line;
}

void TPolyverbInstallForm::AddStep(TRunStep Step, const std::string& Key,
                                   std::initializer_list<std::string> Args) {
  Step.Text = AddStatus(Key, Args);
  Step.Ok = !Key.starts_with('E');
  if (!Step.Ok) Step.ErrorKey = Key;
  TellStep(Step);
  if (!Step.Reason.empty()) TellReason(Step.Reason);
}

void TPolyverbInstallForm::TellStep(const TRunStep& Step) {
  if (OnStep) OnStep(Step);
}

// The list says what failed, in the user's language; why it failed is the machine's own
// reason, for whoever looks further (standard error, beside the unattended run's list).
void TPolyverbInstallForm::TellReason(const std::string& Reason) {
  if (OnReason) {
    OnReason(Reason);
  } else {
    std::cerr << "PolyverbSetup: " << Reason << '\n';
  }
}

void TPolyverbInstallForm::AddStatusLine(const std::string& Line) {
  // The list exists from the run's first line on; an exception before that still ends the
  // run properly, with nothing to list.
  if (StatusLog == nullptr) return;
  StatusLog->Lines()->Add(Line);
  if (OnStatusLine) OnStatusLine(Line);
}
