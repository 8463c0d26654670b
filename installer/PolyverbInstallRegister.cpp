// The registration of the design package with the chosen Delphi versions, the last step of
// a run: its entry in each version's list of known packages, and off its list of disabled
// ones; an uninstall takes the entry away again. An entry counts as the package's whatever its
// spelling (Detection.h): a registration leaves one, its own, and an uninstall leaves none.

#include "installer/DelphiVersions.h"
#include "installer/Detection.h"
#include "installer/PolyverbInstallMain.h"
#include "package/PathOps.h"
#include "package/UnitVersion.h"
#include "platform/FileNames.h"
#include "platform/Machine.h"
#include "platform/Status.h"
#include "platform/Unicode.h"
#include "toolkit/model/Exceptions.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("PolyverbInstallRegister.cpp 1.0");

// The data of a package list entry; Delphi shows it as the package's description.
constexpr const char* kProductName = "Zav Polyverb";

// An entry taken away in the registrations' one change.
platform::RegistryWrite Removal(const std::string& Key, const std::string& Name) {
  platform::RegistryWrite removal{.subKey = Key, .value = {}, .remove = true};
  removal.value.name = Name;
  return removal;
}

}  // namespace

void TPolyverbInstallForm::RegistryStep() {
  // The design package is registered where the run put it: in that version's Bin folder.
  auto packagePath = [&](const TDelphiVersion& Version) {
    return ExpandFileNameByDir(Version.DesignPackage, (this->*Version.LocationBox)->Hint());
  };
  auto registerBoxChosen = [&](const TDelphiVersion& Version) {
    const TCheckBox* box = this->*Version.RegisterBox;
    return box->Enabled() && box->Checked();
  };
  if (InstallMode) {
    std::vector<TPackageEntry> entries;
    for (const TDelphiVersion& version : kDelphiVersions) {
      if (this->*version.Present && registerBoxChosen(version))
        entries.push_back({version.KnownPackagesKey, packagePath(version)});
    }
    RegisterPackages(entries);
  } else {
    // An uninstall removes the entry of every version in the distribution, whatever boxes.
    for (const TDelphiVersion& version : kDelphiVersions) {
      if (this->*version.Present) SetPackageEntry(version.KnownPackagesKey, packagePath(version));
    }
  }
  for (const TDelphiVersion& version : kDelphiVersions) {
    if (this->*version.Present && registerBoxChosen(version)) {
      SetPackageEntry(version.DisabledPackagesKey, packagePath(version));
    }
  }
}

TRunStep TPolyverbInstallForm::PackageStep(const char* Kind, const TPackageEntry& Entry) {
  return TRunStep{.Kind = Kind,
                  .File = platform::ExtractFileName(Entry.PackagePath),
                  .Source = platform::ExtractFileDir(Entry.PackagePath),
                  .Target = "HKEY_CURRENT_USER\\" + Entry.Key};
}

// The registrations of all chosen versions go into the user's hive as one change: one durable
// save instead of one for each version. Their lines follow that save, so that none says
// "registered" before its entry is on disk; a save that fails fails each of them.
// Another entry naming the same package (`$(DELPHI)\Bin\...`, a short name) would have Delphi
// meet the package twice: it goes in the same change, and each one gone is a step of its own.
void TPolyverbInstallForm::RegisterPackages(const std::vector<TPackageEntry>& Entries) {
  struct TOutcome {
    TRunStep Step;
    std::string PackagePath;
    bool Written = false;              // part of the one change; otherwise Step.Reason says why not
    std::vector<TRunStep> Removals{};  // the other entries of the package, in the same change
  };
  std::vector<TOutcome> outcomes;
  std::vector<platform::RegistryWrite> writes;
  for (const TPackageEntry& entry : Entries) {
    TOutcome outcome{PackageStep("register-package", entry), entry.PackagePath};
    FRegistry->CloseKey();
    FRegistry->SetRootKey(HKEY_CURRENT_USER);
    // A Delphi that has never started has no package list yet; it is not ours to make.
    if (!FRegistry->OpenKey(entry.Key, false)) {
      if (FRegistry->LastError() == platform::ErrorCode::NotFound) continue;
      outcome.Step.Reason = FRegistry->LastErrorMsg();
    } else if (!FileExist(entry.PackagePath)) {
      // An entry names a package that is there: one whose copy failed is not registered (its
      // copy's line says why).
      outcome.Step.Reason = "The design package " + entry.PackagePath +
                            " is not in the Bin folder: a package is registered only where "
                            "the run has put it";
    } else {
      outcome.Step.Changed = !EntryInPlace(entry.PackagePath);
      outcome.Written = true;
      writes.push_back(
          {entry.Key, platform::RegValue::String(entry.PackagePath, std::string(kProductName))});
      for (const std::string& other : EntriesNaming(*FRegistry, entry.PackagePath)) {
        // The registry tells names apart without case: one that differs in case is ours.
        if (platform::EqualNoCase(other, entry.PackagePath)) continue;
        writes.push_back(Removal(entry.Key, other));
        TRunStep removal = PackageStep("unregister-package", {entry.Key, other});
        removal.Changed = true;
        outcome.Removals.push_back(std::move(removal));
      }
    }
    outcomes.push_back(std::move(outcome));
  }
  FRegistry->CloseKey();
  // Refused: a Wine server owns the registry, the disk is full, the hive cannot be replaced.
  const platform::Status saved =
      platform::Machine::Current().registry().WriteValues(HKEY_CURRENT_USER, writes, false);
  for (TOutcome& outcome : outcomes) {
    const bool registered = outcome.Written && saved;
    if (outcome.Written && !saved) {
      outcome.Step.Changed = false;
      outcome.Step.Reason =
          "Failed to set data for '" + outcome.PackagePath + "': " + saved.message();
    }
    const std::string packageName = outcome.Step.File;
    AddStep(std::move(outcome.Step), registered ? "PackageRegistered" : "EPackageRegister",
            {packageName});
    // Gone only with the change that registered the package; the list shows no line for them.
    if (!registered) continue;
    for (const TRunStep& removal : outcome.Removals)
      TellStep(removal);
  }
}

// Takes the package's entries off a package list: an uninstall's, or the disabled list of a
// version just registered, which enables the package. Every entry that names the package goes,
// whatever its spelling: one left behind would name a package that is gone, or keep it off.
void TPolyverbInstallForm::SetPackageEntry(const std::string& Key, const std::string& PackagePath) {
  const bool enabling = BtnInstall->Checked();
  const char* kind = enabling ? "enable-package" : "unregister-package";
  // The list says the package could not be taken off; standard error says why. Taking the
  // entry off the disabled list while installing is part of registering it, which was listed.
  auto failed = [&](const TRunStep& Step, const std::string& Reason) {
    if (enabling) return;
    TRunStep failure = Step;
    failure.Reason = Reason;
    AddStep(std::move(failure), "EPackageUnregister", {platform::ExtractFileName(PackagePath)});
  };
  // A key or value that is simply not there is no failure; one nobody could read is.
  auto notThere = [&] { return FRegistry->LastError() == platform::ErrorCode::NotFound; };

  FRegistry->CloseKey();
  FRegistry->SetRootKey(HKEY_CURRENT_USER);
  // A Delphi that has never started has no package list yet; it is not ours to make.
  if (!FRegistry->OpenKey(Key, false)) {
    if (!notThere()) failed(PackageStep(kind, {Key, PackagePath}), FRegistry->LastErrorMsg());
    return;
  }
  const std::vector<std::string> names = EntriesNaming(*FRegistry, PackagePath);
  // Taking away an entry that is not there is no failure; a list nobody could read is, which
  // the registry tells when asked for the entry itself.
  if (names.empty() && !FRegistry->ValueExists(PackagePath) && !notThere()) {
    failed(PackageStep(kind, {Key, PackagePath}), FRegistry->LastErrorMsg());
  }
  for (const std::string& name : names) {
    TRunStep removal = PackageStep(kind, {Key, name});
    // One that stays because the registry refused the change is a failure: the user would
    // otherwise believe it gone.
    if (!FRegistry->DeleteValue(name)) {
      failed(removal, FRegistry->LastErrorMsg());
      continue;
    }
    // The list shows no line for an entry taken away; the machine changed all the same.
    removal.Changed = true;
    TellStep(removal);
  }
}

bool TPolyverbInstallForm::EntryInPlace(const std::string& PackagePath) {
  if (!FRegistry->ValueExists(PackagePath)) return false;
  try {
    return FRegistry->ReadString(PackagePath) == kProductName;
  } catch (const Exception&) {
    // Not text: the registration writes it anew.
    return false;
  }
}
