// The registration of the design package with the chosen Delphi versions, the last step of
// a run: its entry in each version's list of known packages, and off its list of disabled
// ones; an uninstall takes the entry away again.

#include "installer/DelphiVersions.h"
#include "installer/PolyverbInstallMain.h"
#include "package/PathOps.h"
#include "package/UnitVersion.h"
#include "platform/FileNames.h"
#include "platform/Status.h"
#include "toolkit/model/Exceptions.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("PolyverbInstallRegister.cpp 1.0");

// The data of a package list entry; Delphi shows it as the package's description.
constexpr const char* kProductName = "Zav Polyverb";

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
  // An uninstall removes the entry of every version in the distribution, whatever boxes.
  for (const TDelphiVersion& version : kDelphiVersions) {
    if (this->*version.Present && (!InstallMode || registerBoxChosen(version))) {
      SetPackageEntry(version.KnownPackagesKey, packagePath(version));
    }
  }
  InstallMode = false;
  for (const TDelphiVersion& version : kDelphiVersions) {
    if (this->*version.Present && registerBoxChosen(version)) {
      SetPackageEntry(version.DisabledPackagesKey, packagePath(version));
    }
  }
}

void TPolyverbInstallForm::SetPackageEntry(const std::string& Key, const std::string& PackagePath) {
  const std::string packageName = platform::ExtractFileName(PackagePath);
  // Taking the entry off the disabled list while installing enables the package.
  const char* kind = InstallMode             ? "register-package"
                     : BtnInstall->Checked() ? "enable-package"
                                             : "unregister-package";
  const TRunStep step{.Kind = kind,
                      .File = packageName,
                      .Source = platform::ExtractFileDir(PackagePath),
                      .Target = "HKEY_CURRENT_USER\\" + Key};
  // The list says the entry could not be changed; standard error says why. Taking the entry
  // off the disabled list while installing is part of registering it, which was listed.
  auto failed = [&](const std::string& Reason) {
    TRunStep failure = step;
    failure.Reason = Reason;
    if (InstallMode) {
      AddStep(std::move(failure), "EPackageRegister", {packageName});
    } else if (!BtnInstall->Checked()) {
      AddStep(std::move(failure), "EPackageUnregister", {packageName});
    }
  };
  // A key or value that is simply not there is no failure; one nobody could read is.
  auto notThere = [&] { return FRegistry->LastError() == platform::ErrorCode::NotFound; };

  FRegistry->CloseKey();
  FRegistry->SetRootKey(HKEY_CURRENT_USER);
  // A Delphi that has never started has no package list yet; it is not ours to make.
  if (!FRegistry->OpenKey(Key, false)) {
    if (!notThere()) failed(FRegistry->LastErrorMsg());
    return;
  }
  if (InstallMode) {
    TRunStep registration = step;
    registration.Changed = !EntryInPlace(PackagePath);
    const platform::Status written = WritePackageEntry(PackagePath);
    if (!written) {
      registration.Changed = false;
      registration.Reason = written.message();
    }
    AddStep(std::move(registration), written ? "PackageRegistered" : "EPackageRegister",
            {packageName});
    return;
  }
  // Taking away an entry that is not there is no failure. One that stays because the
  // registry refused the change is: the user would otherwise believe it gone.
  if (!FRegistry->ValueExists(PackagePath)) {
    if (!notThere()) failed(FRegistry->LastErrorMsg());
    return;
  }
  if (!FRegistry->DeleteValue(PackagePath)) {
    failed(FRegistry->LastErrorMsg());
    return;
  }
  // The list shows no line for an entry taken away; the machine changed all the same.
  TRunStep removal = step;
  removal.Changed = true;
  TellStep(removal);
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

// An entry names a package that is there: one whose copy failed is not registered (the
// line says so; there is no further reason to tell).
platform::Status TPolyverbInstallForm::WritePackageEntry(const std::string& PackagePath) {
  if (!FileExist(PackagePath)) return {platform::ErrorCode::NotFound, ""};
  try {
    FRegistry->WriteString(PackagePath, kProductName);
  } catch (const ERegistryException& E) {
    // Refused: a Wine server owns the registry, the disk is full, the hive cannot be replaced.
    // The line says the package is not registered; standard error says why.
    return {platform::ErrorCode::AccessDenied, E.Message};
  }
  return platform::Status::Ok();
}
