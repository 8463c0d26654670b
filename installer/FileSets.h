#pragma once

// What a run puts where: the product's eleven file sets, and for each kind of target folder
// the sets it receives, in the order a run handles them. Names are bare file names of the
// distribution folder. Both runs walk the same tables, copying or deleting.

#include <array>
#include <span>
#include <string_view>

using TFileSet = std::span<const std::string_view>;

// Delphi's own runtime packages of each version (a distribution may lack them)...
inline constexpr std::array<std::string_view, 2> D3VclFiles = {"vcl30.dpl", "vcl30.de"};
inline constexpr std::array<std::string_view, 2> D4VclFiles = {"vcl40.bpl", "vcl40.de"};
inline constexpr std::array<std::string_view, 2> D5VclFiles = {"vcl50.bpl", "vcl50.de"};
// ...and the product's.
inline constexpr std::array<std::string_view, 3> D3PackageFiles = {
    "ZavPolyverb30.dpl", "ZavPolyverb30.dcp", "ZavPolyverb30.dcu"};
inline constexpr std::array<std::string_view, 3> D4PackageFiles = {
    "ZavPolyverb40.bpl", "ZavPolyverb40.dcp", "ZavPolyverb40.dcu"};
inline constexpr std::array<std::string_view, 3> D5PackageFiles = {
    "ZavPolyverb50.bpl", "ZavPolyverb50.dcp", "ZavPolyverb50.dcu"};
inline constexpr std::array<std::string_view, 1> D3DesignFiles = {"ZavPolyverb30Design.dpl"};
inline constexpr std::array<std::string_view, 1> D4DesignFiles = {"ZavPolyverb40Design.bpl"};
inline constexpr std::array<std::string_view, 1> D5DesignFiles = {"ZavPolyverb50Design.bpl"};
inline constexpr std::array<std::string_view, 2> HelpFiles = {"ZavPolyverbEng.hlp",
                                                              "ZavPolyverbGer.hlp"};
inline constexpr std::array<std::string_view, 7> ExtraFiles = {
    "Polyverb - History.txt", "Polyverb.int", "Demo.zip", "Demo.exe", "Install.exe",
    "ReadMeEng.txt",          "ReadMeGer.txt"};

// One set for one target. Version: the Delphi version whose design package must be in the
// distribution for the set to be handled, 0 for every distribution.
struct TPlacement {
  int Version;
  TFileSet Set;
};

// The installation folder: the product, then (placed separately, because failures there are
// reported only for files the distribution holds) Delphi's own runtime packages.
inline constexpr TPlacement InstallFolderPlacements[] = {
    {3, D3PackageFiles}, {3, D3DesignFiles}, {4, D4PackageFiles}, {4, D4DesignFiles},
    {5, D5PackageFiles}, {5, D5DesignFiles}, {0, HelpFiles},      {0, ExtraFiles}};
inline constexpr TPlacement InstallFolderOptionalPlacements[] = {
    {3, D3VclFiles}, {4, D4VclFiles}, {5, D5VclFiles}};

// The Windows folder receives the runtime packages only.
inline constexpr TPlacement WindowsFolderPlacements[] = {
    {3, D3PackageFiles}, {4, D4PackageFiles}, {5, D5PackageFiles}};

// A Delphi version's Bin folder: that version's packages and the help.
inline constexpr TPlacement D3BinFolderPlacements[] = {
    {3, D3PackageFiles}, {3, D3DesignFiles}, {3, HelpFiles}};
inline constexpr TPlacement D4BinFolderPlacements[] = {
    {4, D4PackageFiles}, {4, D4DesignFiles}, {4, HelpFiles}};
inline constexpr TPlacement D5BinFolderPlacements[] = {
    {5, D5PackageFiles}, {5, D5DesignFiles}, {5, HelpFiles}};
