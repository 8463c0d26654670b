#include "installer/CommandLineOptions.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "installer/ControlBytes.h"
#include "package/UnitVersion.h"
#include "platform/StringFunctions.h"
#include "platform/Unicode.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("CommandLineOptions.cpp 1.0");

using platform::Status;

Status Bad(const std::string& Sentence) {
  return {platform::ErrorCode::InvalidName, Sentence};
}

template <bool TCommandLine::*Flag>
Status SetFlag(TCommandLine& Line, std::string_view, const std::string&) {
  Line.*Flag = true;
  return Status::Ok();
}

// "3,5" or "none"; each version at most once.
platform::Result<std::vector<int>> ParseVersions(std::string_view Option, const std::string& Text) {
  std::vector<int> versions;
  if (platform::SameText(Text, "none")) return versions;
  const std::string expected =
      std::string(Option) +
      " takes Delphi versions separated by commas (3, 4 or 5), or none; not " +
      QuotedArgument(Text) + ".";
  size_t start = 0;
  for (;;) {
    const size_t comma = Text.find(',', start);
    const std::string item = platform::Trim(std::string_view(Text).substr(
        start, comma == std::string::npos ? std::string::npos : comma - start));
    if (item != "3" && item != "4" && item != "5") return Bad(expected);
    const int version = item[0] - '0';
    if (std::find(versions.begin(), versions.end(), version) != versions.end()) {
      return Bad(std::string(Option) + " names Delphi " + item + " twice.");
    }
    versions.push_back(version);
    if (comma == std::string::npos) return versions;
    start = comma + 1;
  }
}

template <std::optional<std::vector<int>> TCommandLine::*Versions>
Status SetVersions(TCommandLine& Line, std::string_view Option, const std::string& Value) {
  platform::Result<std::vector<int>> versions = ParseVersions(Option, Value);
  if (!versions) return versions.status();
  Line.*Versions = std::move(versions).value();
  return Status::Ok();
}

Status SetLanguage(TCommandLine& Line, std::string_view Option, const std::string& Value) {
  // The names the language box shows.
  for (const char* language : {"English", "Deutsch"}) {
    if (platform::SameText(Value, language)) {
      Line.Language = language;
      return Status::Ok();
    }
  }
  return Bad(std::string(Option) + " takes English or Deutsch; not " + QuotedArgument(Value) + ".");
}

Status SetFolder(TCommandLine& Line, std::string_view Option, const std::string& Value) {
  if (platform::Trim(Value).empty()) {
    return Bad(std::string(Option) + " needs a folder, such as C:\\Zav.");
  }
  // A Windows name is Unicode text: bytes that are no UTF-8 would name another folder than
  // the one meant, so they are refused rather than replaced.
  if (!platform::IsValidUtf8(Value)) {
    return Bad(std::string(Option) +
               " needs a folder name in UTF-8; the one given holds other bytes.");
  }
  Line.Folder = Value;
  return Status::Ok();
}

Status SetLog(TCommandLine& Line, std::string_view Option, const std::string& Value) {
  if (Value.empty()) {
    return Bad(std::string(Option) + " needs a file to append the record of the run to.");
  }
  Line.Log = Value;
  return Status::Ok();
}

// --unattended and --detect choose the mode, so they may be given in any; --help is taken
// whatever else the line holds.
constexpr TCommandLineOption kOptions[] = {
    // No text of its own: the usage lines name it.
    {.Name = "--unattended", .Modes = kEveryMode, .Set = SetFlag<&TCommandLine::Unattended>},
    {.Name = "--uninstall",
     .Modes = kUnattendedMode,
     .Set = SetFlag<&TCommandLine::Uninstall>,
     .Help = "uninstall instead of install"},
    {.Name = "--language",
     .Value = "LANGUAGE",
     .Modes = kUnattendedMode,
     .Set = SetLanguage,
     .Help = "English or Deutsch, as chosen in the language box"},
    {.Name = "--folder",
     .Value = "PATH",
     .Modes = kUnattendedMode,
     .Set = SetFolder,
     .Help = "the installation folder, a Windows path of the prefix (C:\\Zav);\n"
             "without it the one installed into last, at first\n"
             "C:\\Programme\\Zav Polyverb (in either language)"},
    {.Name = "--no-folder",
     .Modes = kUnattendedMode,
     .Set = SetFlag<&TCommandLine::NoFolder>,
     .Excludes = [](const TCommandLine& Line) -> std::string_view {
       return Line.Folder ? "--folder and --no-folder exclude each other." : "";
     },
     .Help = "leave the installation folder out"},
    {.Name = "--no-windows",
     .Modes = kUnattendedMode,
     .Set = SetFlag<&TCommandLine::NoWindows>,
     .Help = "leave the Windows folder out"},
    {.Name = "--bin",
     .Value = "LIST",
     .Modes = kUnattendedMode,
     .Set = SetVersions<&TCommandLine::Bin>,
     .Help = "the Delphi Bin folders to install into, such as 4,5; none for none"},
    {.Name = "--register",
     .Value = "LIST",
     .Modes = kUnattendedMode,
     .Set = SetVersions<&TCommandLine::Register>,
     // "--register none" says what an uninstall does anyway.
     .Excludes = [](const TCommandLine& Line) -> std::string_view {
       return Line.Uninstall && Line.Register && !Line.Register->empty()
                  ? "--register cannot be used with --uninstall: an uninstall removes the "
                    "registration of every version and registers none."
                  : "";
     },
     .Help = "the Delphi versions to register with (install only), such as 5;\n"
             "none for none"},
    // The window has no lines on standard output for --json to replace.
    {.Name = "--json",
     .Modes = kUnattendedMode | kDetectMode,
     .Set = SetFlag<&TCommandLine::Json>,
     .Help = "print the run as JSON Lines in place of the status lines: one\n"
             "object for each step, then one that sums the run up (the README\n"
             "gives the keys)"},
    // A detection runs nothing, so there is no run to keep a record of.
    {.Name = "--log",
     .Value = "FILE",
     .Modes = kWindowMode | kUnattendedMode,
     .Set = SetLog,
     .Help = "append a dated record of the run to FILE: the command line, each\n"
             "status line with its reason, the outcome; also with the window\n"
             "(PolyverbSetup --log FILE). Each line begins with the process id\n"
             "([4711]), so that runs sharing FILE can be told apart. A FILE\n"
             "that cannot be opened or written at the start (a FIFO nobody\n"
             "reads, a full disk) is a bad command line; one that fails later\n"
             "gives exit code 5"},
    // The window's user sees the folders and the language it would keep.
    {.Name = "--no-remember",
     .Modes = kUnattendedMode,
     .Set = SetFlag<&TCommandLine::NoRemember>,
     .Help = "leave the remembered folder history and language as they were"},
    {.Name = "--dry-run",
     .Modes = kUnattendedMode,
     .Set = SetFlag<&TCommandLine::DryRun>,
     .Help = "do the whole run without changing anything (no file, folder,\n"
             "registry value or remembered setting): it reads the prefix and\n"
             "keeps its own changes to itself, so each step says what the run\n"
             "would do and which steps would fail, and the exit code is the one\n"
             "the run would give. The status lines come after a first line\n"
             "that says so, each marked [plan] ([Plan] in German); with --json\n"
             "every object has \"planned\": true; with --log the record is of a\n"
             "planned run"},
    {.Name = "--detect",
     .Modes = kEveryMode,
     .Set = SetFlag<&TCommandLine::Detect>,
     .Help = "no run: print what the distribution folder holds and what the\n"
             "prefix has (each Delphi version, its program and Bin folder,\n"
             "whether the package is registered there and whether disabled);\n"
             "with --json as one object. Nothing changes; exit code 0, or 1\n"
             "for a prefix a run refuses (a hive missing or system.reg\n"
             "unreadable; the report is printed all the same). Takes no other\n"
             "option but --json"},
    {.Name = "--help",
     .Alias = "-h",
     .Modes = kEveryMode,
     .Set = SetFlag<&TCommandLine::Help>,
     .Help = "this text"},
};

// The rows' own rules, so that a mistake in one stops the build.
constexpr bool WellFormed(std::span<const TCommandLineOption> Options) {
  for (size_t i = 0; i < Options.size(); ++i) {
    const TCommandLineOption& option = Options[i];
    if (!option.Name.starts_with("--") || option.Set == nullptr) return false;
    // Every option means something to a run without the window, or chooses the mode: a line
    // with --unattended refuses an option only for what else it holds.
    if ((option.Modes & kUnattendedMode) == 0) return false;
    for (size_t j = 0; j < i; ++j) {
      if (Options[j].Name == option.Name) return false;
      if (!option.Alias.empty() && Options[j].Alias == option.Alias) return false;
    }
  }
  return true;
}
static_assert(WellFormed(kOptions));

}  // namespace

TRunMode RunModeOf(const TCommandLine& Line) {
  if (Line.Detect) return kDetectMode;
  return Line.Unattended ? kUnattendedMode : kWindowMode;
}

std::span<const TCommandLineOption> CommandLineOptions() {
  return kOptions;
}

std::string QuotedArgument(std::string_view Argument) {
  return "\"" + EscapeControlBytes(Argument) + "\"";
}
