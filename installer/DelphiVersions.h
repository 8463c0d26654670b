#pragma once

// What the setup window knows of each Delphi version: its design package, the boxes of the
// window that stand for it, where it records its program (below HKEY_LOCAL_MACHINE) and
// where it keeps its package lists (below HKEY_CURRENT_USER).

#include <span>
#include <string_view>

#include "installer/FileSets.h"
#include "installer/PolyverbInstallMain.h"

struct TDelphiVersion {
  int Number;
  std::string_view DesignPackage;
  bool TPolyverbInstallForm::*Present;
  TCheckBox* TPolyverbInstallForm::*LocationBox;
  TCheckBox* TPolyverbInstallForm::*RegisterBox;
  const char* Key;
  const char* ValueName;
  const char* KnownPackagesKey;
  const char* DisabledPackagesKey;
  std::span<const TPlacement> BinFolderPlacements;
};

inline constexpr TDelphiVersion kDelphiVersions[] = {
    {3, D3DesignFiles[0], &TPolyverbInstallForm::FD3Present, &TPolyverbInstallForm::BtnD3Dir,
     &TPolyverbInstallForm::BtnD3, "Software\\Borland\\Delphi\\3.0", "Delphi 3",
     "Software\\Borland\\Delphi\\3.0\\Known Packages",
     "Software\\Borland\\Delphi\\3.0\\Disabled Packages", D3BinFolderPlacements},
    {4, D4DesignFiles[0], &TPolyverbInstallForm::FD4Present, &TPolyverbInstallForm::BtnD4Dir,
     &TPolyverbInstallForm::BtnD4, "Software\\Borland\\Delphi\\4.0", "Delphi 4",
     "Software\\Borland\\Delphi\\4.0\\Known Packages",
     "Software\\Borland\\Delphi\\4.0\\Disabled Packages", D4BinFolderPlacements},
    {5, D5DesignFiles[0], &TPolyverbInstallForm::FD5Present, &TPolyverbInstallForm::BtnD5Dir,
     &TPolyverbInstallForm::BtnD5, "Software\\Borland\\Delphi\\5.0", "App",
     "Software\\Borland\\Delphi\\5.0\\Known Packages",
     "Software\\Borland\\Delphi\\5.0\\Disabled Packages", D5BinFolderPlacements},
};
