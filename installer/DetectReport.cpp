#include "installer/DetectReport.h"

#include <algorithm>
#include <iostream>
#include <ostream>
#include <string>
#include <vector>

#include "installer/CommandLine.h"
#include "installer/Detection.h"
#include "installer/JsonFields.h"
#include "installer/OutputDelivery.h"
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

// What the prefix's hives let the detection say.
struct TPrefixReport {
  const platform::WinePrefix* Prefix;
  std::vector<std::string> Missing;
  std::vector<platform::HiveFault> Unreadable;

  bool Readable(const char* Hive) const {
    return std::none_of(Unreadable.begin(), Unreadable.end(),
                        [Hive](const platform::HiveFault& Fault) { return Fault.hive == Hive; });
  }
  // Whether Delphi can be found, and our entries told, at all: otherwise "no" would be a guess.
  bool MachineKnown() const { return Readable(platform::WinePrefix::kMachineHive); }
  bool UserKnown() const { return Readable(platform::WinePrefix::kUserHive); }
  // A prefix a run works on, as the start-up judges it: every hive there, the machine's
  // readable (an unreadable user.reg fails only the registration steps).
  bool Usable() const { return Missing.empty() && MachineKnown(); }
};

// A hive that cannot be read is not read at all: what it would tell is unknown anyway, and a
// FIFO in its place would hold the detection.
std::vector<TVersionReport> DetectVersions(const TPrefixReport& Prefix) {
  TRegistry registry;
  std::vector<TVersionReport> reports;
  for (const TDelphiVersion& version : kDelphiVersions) {
    TVersionReport report{&version, DesignPackagePresent(version), {}, {}};
    if (Prefix.MachineKnown()) report.Found = FindDelphi(registry, version);
    // Registered from its Bin folder, as a run registers it.
    if (report.Found.Installed && Prefix.UserKnown()) {
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

std::string YesNoUnknown(bool Known, bool Value) {
  return Known ? YesNo(Value) : "unknown";
}

void PrintText(std::ostream& Out, const std::string& Distribution, const TPrefixReport& Prefix,
               const std::vector<TVersionReport>& Reports) {
  Out << "Distribution folder: " << Distribution << '\n';
  Out << "Wine prefix: " << Prefix.Prefix->folder() << '\n';
  if (!Prefix.Missing.empty()) {
    Out << "  not a Wine prefix: it lacks " << MissingHives(Prefix.Missing) << '\n';
  }
  for (const platform::HiveFault& fault : Prefix.Unreadable) {
    Out << "  "
        << (fault.hive == platform::WinePrefix::kMachineHive ? "not a usable Wine prefix: " : "")
        << fault.hive << " cannot be read (" << fault.reason << ")\n";
  }
  for (const TVersionReport& report : Reports) {
    Out << "Delphi " << report.Version->Number << '\n';
    Out << "  design package " << report.Version->DesignPackage << ": "
        << (report.InDistribution ? "in the distribution" : "not in the distribution") << '\n';
    Out << "  installed: " << YesNoUnknown(Prefix.MachineKnown(), report.Found.Installed) << '\n';
    if (!report.Found.Installed) continue;
    Out << "  program: " << report.Found.Program << '\n';
    Out << "  Bin folder: " << report.Found.BinFolder << '\n';
    Out << "  package registered: " << YesNoUnknown(Prefix.UserKnown(), report.Entries.Registered)
        << '\n';
    Out << "  package disabled: " << YesNoUnknown(Prefix.UserKnown(), report.Entries.Disabled)
        << '\n';
  }
}

// A value the hives could not tell is null, never a guessed false.
json Known(bool IsKnown, bool Value) {
  return IsKnown ? json(Value) : json(nullptr);
}

json Json(const std::string& Distribution, const TPrefixReport& Prefix,
          const std::vector<TVersionReport>& Reports) {
  // Where our package would be registered from is the machine hive's to say.
  const bool entriesKnown = Prefix.MachineKnown() && Prefix.UserKnown();
  json versions = json::array();
  for (const TVersionReport& report : Reports) {
    versions.push_back({{"version", report.Version->Number},
                        {"package", std::string(report.Version->DesignPackage)},
                        {"in_distribution", report.InDistribution},
                        {"installed", Known(Prefix.MachineKnown(), report.Found.Installed)},
                        {"program", OrNull(report.Found.Program)},
                        {"bin_folder", OrNull(report.Found.BinFolder)},
                        {"registered", Known(entriesKnown, report.Entries.Registered)},
                        {"disabled", Known(entriesKnown, report.Entries.Disabled)}});
  }
  json unreadable = json::array();
  for (const platform::HiveFault& fault : Prefix.Unreadable)
    unreadable.push_back({{"hive", fault.hive}, {"reason", fault.reason}});
  return {{"type", "detection"},
          {"distribution", Distribution},
          {"prefix", Prefix.Prefix->folder()},
          {"missing_hives", Prefix.Missing},
          {"unreadable_hives", unreadable},
          {"delphi", versions}};
}

}  // namespace

int RunDetect(bool AsJson, std::ostream& Out) {
  const platform::WinePrefix& prefix = platform::Machine::Current().prefix();
  const TPrefixReport prefixReport{&prefix, prefix.MissingHives(), prefix.UnreadableHives()};
  std::string distribution;
  try {
    distribution = RemoveBackslash(GetApplicationDir());
  } catch (const Exception& E) {
    std::cerr << "PolyverbSetup: " << E.Message << '\n';
    return kExitFailed;
  }
  const std::vector<TVersionReport> reports = DetectVersions(prefixReport);
  if (AsJson) {
    Out << Json(distribution, prefixReport, reports)
               .dump(-1, ' ', false, json::error_handler_t::replace)
        << '\n';
  } else {
    PrintText(Out, distribution, prefixReport, reports);
  }
  if (!Delivered(Out, std::cerr, "The detection's report")) return kExitOutputLost;
  // The report is all there; that a run could not start here is its exit code.
  return prefixReport.Usable() ? kExitCompleted : kExitFailed;
}
