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
//
// Continue performs the one run of a program start (install or uninstall): the options give
// way to the status list StatusLog, the file sets go to (or leave) the chosen folders, the
// design package is entered into (or removed from) the chosen Delphi versions' package lists,
// and every step is one line of the list. A failed step is a line and the run goes on; only
// an exception ends it early, with the "EUnknownError" box.

#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/ConfigFile.h"
#include "controls/FileSelect.h"
#include "installer/FileSets.h"
#include "installer/RunStep.h"
#include "package/ButtonPanel.h"
#include "package/LangComboBox.h"
#include "package/Polyverb.h"
#include "package/SuperForm.h"
#include "toolkit/model/Registry.h"
#include "toolkit/visual/ComCtrls.h"
#include "toolkit/visual/ExtCtrls.h"
#include "toolkit/visual/StdCtrls.h"

struct TDelphiVersion;

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
  TFileSelect* FolderSelect = nullptr;
  TGroupBox* GroupDir = nullptr;
  TCheckBox* BtnWindows = nullptr;
  TCheckBox* BtnD3Dir = nullptr;
  TCheckBox* BtnD4Dir = nullptr;
  TCheckBox* BtnD5Dir = nullptr;
  TGroupBox* GroupReg = nullptr;
  TCheckBox* BtnD3 = nullptr;
  TCheckBox* BtnD4 = nullptr;
  TCheckBox* BtnD5 = nullptr;
  // The folder history and the language, kept in the per-user registry between starts.
  TConfigFile* Config = nullptr;
  TConfigFile* ConfigLang = nullptr;

  // The distribution folder holds the design package of Delphi 3, 4, 5.
  bool FD3Present = false;
  bool FD4Present = false;
  bool FD5Present = false;
  // Made by FormCreate, freed with the form; the runs use it too.
  TRegistry* FRegistry = nullptr;
  // The items of ButtonPanel.
  static constexpr int kContinueButton = 0;
  static constexpr int kCloseButton = 1;
  // Start-up succeeded: the window may be shown.
  bool FReady = false;
  // Why the start-up failed (FReady false), in English, for the report and the log; the
  // message box said it in the chosen language.
  const std::string& StartUpFailure() const { return FStartUpFailure; }
  // The form keeps the folder history and the language when it goes. A command line that was
  // refused turns it off: nothing at all is written then.
  bool FSaveSettings = true;
  // The status list of the run: made by the run in place of the options, kept by the form.
  TRichEdit* StatusLog = nullptr;

  // Told every status line the moment it is added, so that a run can be followed outside
  // the window (the unattended mode prints them).
  std::function<void(const std::string& Line)> OnStatusLine;
  // Told why a step failed (the machine's own reason; the status line says what failed), and
  // why a run ended early. Unset, the reasons go to standard error.
  std::function<void(const std::string& Reason)> OnReason;
  // Told every step of the run as it happens (after its status line, before its reason):
  // the report and the log of a scripted run listen here.
  std::function<void(const TRunStep& Step)> OnStep;

  // How the one run of this program start went.
  enum class TRunOutcome {
    NotRun,
    Completed,            // no error line
    CompletedWithErrors,  // at least one error line
    Failed,               // an exception ended it early
  };
  TRunOutcome RunOutcome() const { return FRunOutcome; }
  // Why the run ended early (Failed); empty otherwise.
  const std::string& RunEndReason() const { return FRunEndReason; }

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

  // The steps of the run: every name of Set, then one name, into (or out of) Folder.
  void ProcessFileSet(TFileSet Set, const std::string& Folder);
  void ProcessFile(std::string_view Name, const std::string& Folder);
  // Deletes every entry that names PackagePath (Detection.h) from the registry key Key below
  // HKEY_CURRENT_USER; a key that does not exist is passed over.
  void SetPackageEntry(const std::string& Key, const std::string& PackagePath);

 private:
  // Says so and keeps nothing when the machine's folder is no Wine prefix, or one whose
  // machine hive cannot be read.
  bool MachineIsPrefix();
  // Ends the start-up with the message box Text; Reason is StartUpFailure.
  void FailStartUp(const std::string& Text, std::string Reason);
  void DetectDelphiFolder(TCheckBox* LocationBox, const TDelphiVersion& Version);
  void SetRegisterBox(bool Wanted, TCheckBox* Box);
  // BtnWindows shows the Windows folder in full and what goes there.
  void ComposeWindowsCaption();

  // The run, step by step.
  void BeginRun();
  void RunSteps();
  void InstallationFolderStep();
  bool PrepareInstallationFolder(const std::string& Folder);
  void RemoveInstallationFolder(const std::string& Folder);
  void TargetFolderSteps();
  void RegistryStep();
  void EndRun(TCursor SavedCursor);
  void ShowRunEnd(bool Completed);
  // Places each set whose version is in the distribution.
  void ProcessPlacements(std::span<const TPlacement> Placements, const std::string& Folder);
  void CopyToFolder(std::string_view Name, const std::string& Folder);
  void DeleteFromFolder(std::string_view Name, const std::string& Folder);
  // An entry of a package list: the list's key below HKEY_CURRENT_USER and the package.
  struct TPackageEntry {
    std::string Key;
    std::string PackagePath;
  };
  // Writes the entries into their lists, all in one change of the registry.
  void RegisterPackages(const std::vector<TPackageEntry>& Entries);
  static TRunStep PackageStep(const char* Kind, const TPackageEntry& Entry);
  // The entry is there with the data a registration writes.
  bool EntryInPlace(const std::string& PackagePath);
  bool VersionPresent(int Version) const;
  // The text of Key in the chosen language with Args filled in.
  std::string FormatText(const std::string& Key, std::initializer_list<std::string> Args);
  // Adds the text of Key, filled with Args, as one line of the status list; returns it.
  std::string AddStatus(const std::string& Key, std::initializer_list<std::string> Args = {});
  // A step with its line (Key: failed when it is an error text), then its reason.
  void AddStep(TRunStep Step, const std::string& Key, std::initializer_list<std::string> Args);
  // A step the list does not show.
  void TellStep(const TRunStep& Step);
  void AddStatusLine(const std::string& Line);
  void TellReason(const std::string& Reason);

  // State of the run.
  bool InstallMode = false;
  bool ReportAllFailures = true;
  TRunOutcome FRunOutcome = TRunOutcome::NotRun;
  std::string FRunEndReason;
  std::string FStartUpFailure;
};

extern TPolyverbInstallForm* PolyverbInstallForm;
