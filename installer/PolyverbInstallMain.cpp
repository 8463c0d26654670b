#include "installer/PolyverbInstallMain.h"

#include <cstdio>

#include "installer/DelphiVersions.h"
#include "installer/Detection.h"
#include "package/Msg.h"
#include "package/PathOps.h"
#include "package/ShortPath.h"
#include "package/UnitVersion.h"
#include "package/Utils.h"
#include "platform/FileNames.h"
#include "platform/Machine.h"
#include "toolkit/model/ClassBuilder.h"
#include "toolkit/model/ScopeGuards.h"

// The form description, PolyverbInstallMain.dfm, compiled in.
extern const char* const kPolyverbInstallMainForm;

// The window's module holds a copy of its own (it links the layers again): each sets and reads
// only its own.
TPolyverbInstallForm* PolyverbInstallForm = nullptr;

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("PolyverbInstallMain.cpp 1.0");

// The width a location box's caption has room for.
constexpr int kFolderCaptionLength = 35;

// The message boxes of start-up: an error, with the box's own caption and OK.
void ShowError(const std::string& Text) {
  Msg(Text, "", kMsgError, {}, 0);
}

}  // namespace

TClass TPolyverbInstallForm::StaticClass() {
  return DefineClass<TPolyverbInstallForm>(
      "TPolyverbInstallForm", [](ClassBuilder<TPolyverbInstallForm>& c) {
        c.Field("Polyverb", &TPolyverbInstallForm::Polyverb);
        c.Field("LangComboBox", &TPolyverbInstallForm::LangComboBox);
        c.Field("LabelLang", &TPolyverbInstallForm::LabelLang);
        c.Field("PanelMain", &TPolyverbInstallForm::PanelMain);
        c.Field("ButtonPanel", &TPolyverbInstallForm::ButtonPanel);
        c.Field("GroupMode", &TPolyverbInstallForm::GroupMode);
        c.Field("BtnInstall", &TPolyverbInstallForm::BtnInstall);
        c.Field("BtnUninstall", &TPolyverbInstallForm::BtnUninstall);
        c.Field("GroupFolder", &TPolyverbInstallForm::GroupFolder);
        c.Field("BtnFolder", &TPolyverbInstallForm::BtnFolder);
        c.Field("FolderSelect", &TPolyverbInstallForm::FolderSelect);
        c.Field("Config", &TPolyverbInstallForm::Config);
        c.Field("ConfigLang", &TPolyverbInstallForm::ConfigLang);
        c.Field("GroupDir", &TPolyverbInstallForm::GroupDir);
        c.Field("BtnWindows", &TPolyverbInstallForm::BtnWindows);
        c.Field("BtnD3Dir", &TPolyverbInstallForm::BtnD3Dir);
        c.Field("BtnD4Dir", &TPolyverbInstallForm::BtnD4Dir);
        c.Field("BtnD5Dir", &TPolyverbInstallForm::BtnD5Dir);
        c.Field("GroupReg", &TPolyverbInstallForm::GroupReg);
        c.Field("BtnD3", &TPolyverbInstallForm::BtnD3);
        c.Field("BtnD4", &TPolyverbInstallForm::BtnD4);
        c.Field("BtnD5", &TPolyverbInstallForm::BtnD5);
        c.Method("FormCreate", &TPolyverbInstallForm::FormCreate);
        c.Method("FormDestroy", &TPolyverbInstallForm::FormDestroy);
        c.Method("FormCloseQuery", &TPolyverbInstallForm::FormCloseQuery);
        c.Method("PolyverbChange", &TPolyverbInstallForm::PolyverbChange);
        c.Method("BtnInstallClick", &TPolyverbInstallForm::BtnInstallClick);
        c.Method("BtnClick", &TPolyverbInstallForm::BtnClick);
        c.Method("ButtonPanelCloseClick", &TPolyverbInstallForm::ButtonPanelCloseClick);
        c.Method("ButtonPanelContinueClick", &TPolyverbInstallForm::ButtonPanelContinueClick);
      });
}

TPolyverbInstallForm::TPolyverbInstallForm(TComponent* AOwner) : TSuperForm(AOwner) {
  ReadForm(kPolyverbInstallMainForm);
}

void TPolyverbInstallForm::FormCreate(TObject*) {
  try {
    if (!MachineIsPrefix()) return;
    bool anyPresent = false;
    for (const TDelphiVersion& version : kDelphiVersions) {
      this->*version.Present = DesignPackagePresent(version);
      anyPresent = anyPresent || this->*version.Present;
    }
    if (!anyPresent) {
      std::string names;
      for (const TDelphiVersion& version : kDelphiVersions) {
        if (!names.empty()) names += ", ";
        names += version.DesignPackage;
      }
      FailStartUp(Polyverb->GetString("NoFiles"),
                  "No files to install found: the folder " + RemoveBackslash(GetApplicationDir()) +
                      " holds none of the design packages " + names);
      return;
    }
    BtnWindows->SetHint(GetWindowsDir());
    ComposeWindowsCaption();
    FRegistry = new TRegistry();
    for (const TDelphiVersion& version : kDelphiVersions) {
      if (!(this->*version.Present)) continue;
      TCheckBox* locationBox = this->*version.LocationBox;
      TCheckBox* registerBox = this->*version.RegisterBox;
      DetectDelphiFolder(locationBox, version);
      registerBox->SetChecked(locationBox->Enabled());
      registerBox->SetEnabled(locationBox->Enabled());
    }
    FReady = true;
  } catch (...) {
    // Whatever failed, the user learns only that the setup cannot go on; the window stays
    // hidden and the program ends. The reason goes to standard error, so that whoever
    // reports the problem can say what it was.
    const std::string reason = "the start-up failed: " + CurrentExceptionMessage();
    std::fprintf(stderr, "PolyverbSetup: %s\n", reason.c_str());
    FailStartUp(Polyverb->GetString("EUnknownError"), reason);
  }
}

void TPolyverbInstallForm::FailStartUp(const std::string& Text, std::string Reason) {
  FStartUpFailure = std::move(Reason);
  ShowError(Text);
}

// A folder that Wine has not made a prefix holds no Delphi, and a run would make one of it
// (drive_c, a user.reg): whatever WINEPREFIX names, even /, so it is refused here, before
// anything is written, the settings included.
// A machine hive that cannot be read is refused the same way: every Delphi would look
// uninstalled, and a run would "complete" having installed into none of them.
bool TPolyverbInstallForm::MachineIsPrefix() {
  const platform::WinePrefix& prefix = platform::Machine::Current().prefix();
  const std::vector<std::string> missing = prefix.MissingHives();
  if (!missing.empty()) {
    FSaveSettings = false;
    std::string names;
    for (const std::string& hive : missing)
      names += (names.empty() ? "" : ", ") + hive;
    FailStartUp(
        FormatText("ENoPrefix", {prefix.folder(), names}),
        "The folder '" + prefix.folder() + "' is not a Wine prefix: " + names + " not found");
    return false;
  }
  // An unreadable user.reg leaves the rest of a run possible: its registration steps say why
  // they failed.
  for (const platform::HiveFault& fault : prefix.UnreadableHives()) {
    if (fault.hive != platform::WinePrefix::kMachineHive) continue;
    FSaveSettings = false;
    FailStartUp(FormatText("EPrefixUnreadable", {prefix.folder(), fault.hive, fault.reason}),
                "The folder '" + prefix.folder() + "' is not a usable Wine prefix: " + fault.hive +
                    " cannot be read (" + fault.reason + ")");
    return false;
  }
  return true;
}

void TPolyverbInstallForm::DetectDelphiFolder(TCheckBox* LocationBox,
                                              const TDelphiVersion& Version) {
  const TDelphiFound found = FindDelphi(*FRegistry, Version);
  if (!found.Installed) return;
  LocationBox->SetCaption(ShortPath(found.BinFolder, kFolderCaptionLength));
  LocationBox->SetHint(found.BinFolder);
  LocationBox->SetChecked(true);
  LocationBox->SetEnabled(true);
}

void TPolyverbInstallForm::FormDestroy(TObject*) {
  DeleteClass(FRegistry);
  if (!FSaveSettings) return;
  // Whether the settings could be kept changes nothing for the user: the next start shows the
  // history and the language that were kept last.
  (void)Config->Save();
  (void)ConfigLang->Save();
}

void TPolyverbInstallForm::FormCloseQuery(TObject*, bool& CanClose) {
  // A run disables the form; closing meanwhile would pull the form away under it.
  CanClose = Enabled();
}

void TPolyverbInstallForm::PolyverbChange(TObject*) {
  ComposeWindowsCaption();
}

void TPolyverbInstallForm::BtnInstallClick(TObject*) {
  GroupReg->SetEnabled(BtnInstall->Checked());
  UpdateControls();
}

void TPolyverbInstallForm::BtnClick(TObject*) {
  UpdateControls();
}

void TPolyverbInstallForm::ButtonPanelCloseClick(TObject*) {
  Close();
}

void TPolyverbInstallForm::UpdateControls() {
  FolderSelect->SetEnabled(BtnFolder->Checked());
  SetRegisterBox(BtnD3Dir->Checked(), BtnD3);
  SetRegisterBox(BtnD4Dir->Checked(), BtnD4);
  SetRegisterBox(BtnD5Dir->Checked(), BtnD5);
  const bool anyTarget = BtnFolder->Checked() || BtnD3Dir->Checked() || BtnD4Dir->Checked() ||
                         BtnD5Dir->Checked() || BtnWindows->Checked();
  ButtonPanel->Buttons()->GetItem(kContinueButton)->SetBool(kButtonItemEnabled, anyTarget);
}

void TPolyverbInstallForm::SetRegisterBox(bool Wanted, TCheckBox* Box) {
  Wanted = Wanted && GroupReg->Enabled();
  if (Wanted == Box->Enabled()) return;
  if (Wanted) {
    Box->SetChecked(Box->Tag() != 0);
  } else {
    Box->SetTag(Box->Checked() ? 1 : 0);
    Box->SetChecked(false);
  }
  Box->SetEnabled(Wanted);
}

void TPolyverbInstallForm::ComposeWindowsCaption() {
  BtnWindows->SetCaption(BtnWindows->Hint() + " " + Polyverb->GetString("RTOnly"));
}
