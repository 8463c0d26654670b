// make_demo: makes a distribution folder and a Wine prefix with Delphi installed, to try the
// setup program by hand against a known machine.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "tests/support/DemoMachine.h"

namespace {

namespace fs = std::filesystem;
using testsupport::DelphiInstall;
using testsupport::ProgramValue;

constexpr const char* kUsage =
    "usage: make_demo --dist DIR [--packages LIST] [--no-vcl-files] [--program FILE]\n"
    "                 --prefix DIR [--installed LIST]\n"
    "  --dist DIR        the distribution folder to make (or fill)\n"
    "  --packages LIST   Delphi versions whose files it holds, e.g. 3,4,5 (the default)\n"
    "  --no-vcl-files    leave out Delphi's own runtime packages (vcl30.dpl and so on)\n"
    "  --program FILE    the setup program to copy into it\n"
    "  --prefix DIR      the Wine prefix to make (or extend)\n"
    "  --installed LIST  Delphi versions installed in it, default 3,4,5; an entry may say how\n"
    "                    its program value looks: 4=empty, 4=missing, 4=dword, or\n"
    "                    4=C:\\Delphi4\\Bin\\delphi32.exe\n"
    "An empty LIST stands for none.\n";

struct Options {
  std::string dist;
  std::string prefix;
  std::string program;
  std::vector<int> packages{3, 4, 5};
  std::vector<DelphiInstall> installed{{.version = 3}, {.version = 4}, {.version = 5}};
  bool vclFiles = true;
  bool help = false;
};

std::vector<std::string> Split(std::string_view text) {
  std::vector<std::string> parts;
  if (text.empty()) return parts;
  for (size_t start = 0;;) {
    const size_t comma = text.find(',', start);
    parts.emplace_back(text.substr(start, comma - start));
    if (comma == std::string_view::npos) return parts;
    start = comma + 1;
  }
}

std::optional<int> ParseVersion(std::string_view text) {
  if (text.size() != 1 || !testsupport::IsDelphiVersion(text[0] - '0')) return std::nullopt;
  return text[0] - '0';
}

// "3,4" -> {3, 4}; an empty text is no version at all.
std::string ParsePackages(std::string_view text, std::vector<int>& versions) {
  versions.clear();
  for (const std::string& part : Split(text)) {
    const std::optional<int> version = ParseVersion(part);
    if (!version) return "--packages: \"" + part + "\" is not 3, 4 or 5";
    if (std::find(versions.begin(), versions.end(), *version) != versions.end())
      return "--packages: " + part + " is named twice";
    versions.push_back(*version);
  }
  return {};
}

// "4", "4=empty", "4=missing", "4=dword" or "4=<program path>".
std::string ParseInstall(const std::string& entry, DelphiInstall& install) {
  const size_t equals = entry.find('=');
  const std::optional<int> version = ParseVersion(std::string_view(entry).substr(0, equals));
  if (!version) return "--installed: \"" + entry + "\" does not start with 3, 4 or 5";
  install = DelphiInstall{.version = *version};
  if (equals == std::string::npos) return {};
  const std::string how = entry.substr(equals + 1);
  if (how == "empty") {
    install.value = ProgramValue::Empty;
  } else if (how == "missing") {
    install.value = ProgramValue::Missing;
  } else if (how == "dword") {
    install.value = ProgramValue::NotText;
  } else if (how.empty()) {
    return "--installed: \"" + entry + "\" names no program";
  } else {
    install.programPath = how;
  }
  return {};
}

std::string ParseInstalled(std::string_view text, std::vector<DelphiInstall>& installs) {
  installs.clear();
  for (const std::string& entry : Split(text)) {
    DelphiInstall install;
    if (std::string error = ParseInstall(entry, install); !error.empty()) return error;
    for (const DelphiInstall& other : installs) {
      if (other.version == install.version)
        return "--installed: Delphi " + std::to_string(install.version) + " is named twice";
    }
    installs.push_back(install);
  }
  return {};
}

// An empty text when the arguments make sense, else what is wrong with them.
std::string ParseArguments(const std::vector<std::string_view>& args, Options& options) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "-h" || arg == "--help") {
      options.help = true;
      return {};
    }
    if (arg == "--no-vcl-files") {
      options.vclFiles = false;
      continue;
    }
    if (arg != "--dist" && arg != "--prefix" && arg != "--program" && arg != "--packages" &&
        arg != "--installed") {
      return "unknown argument \"" + std::string(arg) + "\"";
    }
    if (i + 1 == args.size()) return std::string(arg) + " needs a value";
    const std::string_view value = args[++i];
    std::string error;
    if (arg == "--dist") options.dist = value;
    if (arg == "--prefix") options.prefix = value;
    if (arg == "--program") options.program = value;
    if (arg == "--packages") error = ParsePackages(value, options.packages);
    if (arg == "--installed") error = ParseInstalled(value, options.installed);
    if (!error.empty()) return error;
  }
  if (options.dist.empty()) return "--dist is missing";
  if (options.prefix.empty()) return "--prefix is missing";
  std::error_code ec;
  if (!options.program.empty() && !fs::is_regular_file(options.program, ec))
    return "--program: " + options.program + " is not a file";
  return {};
}

// Copies the program (and its window's module) into the folder; both stay as they were built.
bool CopyProgram(const std::string& program, const std::string& folder) {
  const platform::Status copied = testsupport::CopySetupProgram(program, folder);
  if (!copied) {
    std::fprintf(stderr, "make_demo: %s\n", copied.message().c_str());
    return false;
  }
  std::printf("  %s (the setup program)\n", fs::path(program).filename().string().c_str());
  return true;
}

bool MakeDistribution(const Options& options) {
  const auto written = testsupport::MakeDistribution(
      options.dist, options.packages, testsupport::DistributionOptions{options.vclFiles});
  if (!written) {
    std::fprintf(stderr, "make_demo: %s\n", written.status().message().c_str());
    return false;
  }
  std::printf("Distribution folder %s:\n", options.dist.c_str());
  for (const std::string& name : *written)
    std::printf("  %s\n", name.c_str());
  return options.program.empty() || CopyProgram(options.program, options.dist);
}

std::string Describe(const DelphiInstall& install) {
  const testsupport::DelphiRegistration where = testsupport::DelphiRegistrationOf(install.version);
  std::string text =
      std::string("HKEY_LOCAL_MACHINE\\") + where.key + ", value \"" + where.valueName + "\" ";
  switch (install.value) {
    case ProgramValue::Path:
      return text + "= \"" +
             (install.programPath.empty() ? testsupport::DefaultDelphiProgram(install.version)
                                          : install.programPath) +
             "\"";
    case ProgramValue::Empty:
      return text + "empty";
    case ProgramValue::Missing:
      return text + "missing (the key alone)";
    case ProgramValue::NotText:
      return text + "a DWORD, not text";
  }
  return text;
}

bool MakePrefix(const Options& options) {
  if (platform::Status made = testsupport::MakeDelphiPrefix(options.prefix, options.installed);
      !made) {
    std::fprintf(stderr, "make_demo: %s\n", made.message().c_str());
    return false;
  }
  std::printf("Wine prefix %s:\n", options.prefix.c_str());
  if (options.installed.empty()) std::printf("  no Delphi installed\n");
  for (const DelphiInstall& install : options.installed)
    std::printf("  Delphi %d: %s\n", install.version, Describe(install).c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  if (std::string error = ParseArguments(args, options); !error.empty()) {
    std::fprintf(stderr, "make_demo: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  if (options.help) {
    std::printf("%s", kUsage);
    return 0;
  }
  if (!MakeDistribution(options) || !MakePrefix(options)) return 1;
  return 0;
}
