#include "installer/DetectReport.h"

#include <iostream>
#include <ostream>
#include <string>
#include <vector>

#include "installer/CommandLine.h"
#include "installer/Detection.h"
#include "installer/JsonFields.h"
#include "package/PathOps.h"
#include "package/UnitVersion.h"
#include "platform/Machine.h"
#include "toolkit/model/Exceptions.h"
#include "toolkit/model/Registry.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("DetectReport.cpp 1.0");

std::string YesNo(bool Value) {
  return Value ? "yes" : "no";
}

struct TVersionReport {
  const TDelphiVersion* Version;
  bool InDistribution;
  TDelphiFound Found;
  TPackageEntries Entries;
};

std::vector<TVersionReport> DetectVersions() {
  TRegistry registry;
  std::vector<TVersionReport> reports;
  for (const TDelphiVersion& version : kDelphiVersions) {
    TVersionReport report{
        &version, DesignPackagePresent(version), FindDelphi(registry, version), {}};
    // Registered from its Bin folder, as a run registers it.
    if (report.Found.Installed) {
      report.Entries = FindPackageEntries(
          registry, version, ExpandFileNameByDir(version.DesignPackage, report.Found.BinFolder));
    }
    reports.push_back(report);
  }
  return reports;
}

std::string MissingHives(const std::vector<std::string>& Hives) {
  std::string names;
  for (const std::string& hive : Hives)
    names += (names.empty() ? "" : ", ") + hive;
  return names;
}

void PrintText(std::ostream& Out, const std::string& Distribution,
               const platform::WinePrefix& Prefix, const std::vector<std::string>& Missing,
               const std::vector<TVersionReport>& Reports) {
  Out << "Distribution folder: " << Distribution << '\n';
  Out << "Wine prefix: " << Prefix.folder() << '\n';
  if (!Missing.empty()) Out << "  not a Wine prefix: it lacks " << MissingHives(Missing) << '\n';
  for (const TVersionReport& report : Reports) {
    Out << "Delphi " << report.Version->Number << '\n';
    Out << "  design package " << report.Version->DesignPackage << ": "
        << (report.InDistribution ? "in the distribution" : "not in the distribution") << '\n';
    Out << "  installed: " << YesNo(report.Found.Installed) << '\n';
    if (!report.Found.Installed) continue;
    Out << "  program: " << report.Found.Program << '\n';
    Out << "  Bin folder: " << report.Found.BinFolder << '\n';
    Out << "  package registered: " << YesNo(report.Entries.Registered) << '\n';
    Out << "  package disabled: " << YesNo(report.Entries.Disabled) << '\n';
  }
}

json Json(const std::string& Distribution, const platform::WinePrefix& Prefix,
          const std::vector<std::string>& Missing, const std::vector<TVersionReport>& Reports) {
  json versions = json::array();
  for (const TVersionReport& report : Reports) {
    versions.push_back({{"version", report.Version->Number},
                        {"package", std::string(report.Version->DesignPackage)},
                        {"in_distribution", report.InDistribution},
                        {"installed", report.Found.Installed},
                        {"program", OrNull(report.Found.Program)},
                        {"bin_folder", OrNull(report.Found.BinFolder)},
                        {"registered", report.Entries.Registered},
                        {"disabled", report.Entries.Disabled}});
  }
  return {{"type", "detection"},
          {"distribution", Distribution},
          {"prefix", Prefix.folder()},
          {"missing_hives", Missing},
          {"delphi", versions}};
}

}  // namespace

int RunDetect(bool AsJson, std::ostream& Out) {
  const platform::WinePrefix& prefix = platform::Machine::Current().prefix();
  const std::vector<std::string> missing = prefix.MissingHives();
  std::string distribution;
  try {
    distribution = RemoveBackslash(GetApplicationDir());
  } catch (const Exception& E) {
    std::cerr << "PolyverbSetup: " << E.Message << '\n';
    return kExitFailed;
  }
  const std::vector<TVersionReport> reports = DetectVersions();
  if (AsJson) {
    Out << Json(distribution, prefix, missing, reports)
               .dump(-1, ' ', false, json::error_handler_t::replace)
        << std::endl;
  } else {
    PrintText(Out, distribution, prefix, missing, reports);
    Out.flush();
  }
  return kExitCompleted;
}
