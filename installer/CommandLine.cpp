#include "installer/CommandLine.h"

#include <algorithm>

#include "installer/ControlBytes.h"
#include "package/UnitVersion.h"
#include "platform/StringFunctions.h"
#include "platform/Unicode.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("CommandLine.cpp 1.0");

platform::Status Bad(const std::string& Sentence) {
  return {platform::ErrorCode::InvalidName, Sentence};
}

// An argument in quotes as it can be shown in one line.
std::string Quoted(std::string_view Text) {
  return "\"" + EscapeControlBytes(Text) + "\"";
}

// "3,5" or "none"; each version at most once.
platform::Result<std::vector<int>> ParseVersions(const std::string& Option,
                                                 const std::string& Text) {
  std::vector<int> versions;
  if (platform::SameText(Text, "none")) return versions;
  const std::string expected =
      Option + " takes Delphi versions separated by commas (3, 4 or 5), or none; not " +
      Quoted(Text) + ".";
  size_t start = 0;
  for (;;) {
    const size_t comma = Text.find(',', start);
    const std::string item = platform::Trim(std::string_view(Text).substr(
        start, comma == std::string::npos ? std::string::npos : comma - start));
    if (item != "3" && item != "4" && item != "5") return Bad(expected);
    const int version = item[0] - '0';
    if (std::find(versions.begin(), versions.end(), version) != versions.end()) {
      return Bad(Option + " names Delphi " + item + " twice.");
    }
    versions.push_back(version);
    if (comma == std::string::npos) return versions;
    start = comma + 1;
  }
}

platform::Result<std::string> ParseLanguage(const std::string& Text) {
  // The names the language box shows.
  for (const char* language : {"English", "Deutsch"}) {
    if (platform::SameText(Text, language)) return std::string(language);
  }
  return Bad("--language takes English or Deutsch; not " + Quoted(Text) + ".");
}

bool TakesValue(std::string_view Option) {
  return Option == "--language" || Option == "--folder" || Option == "--bin" ||
         Option == "--register" || Option == "--log";
}

// Applies one option; Value is set exactly for the options that take one.
platform::Status Apply(TCommandLine& Line, const std::string& Option, const std::string& Value) {
  if (Option == "--help") {
    Line.Help = true;
  } else if (Option == "--unattended") {
    Line.Unattended = true;
  } else if (Option == "--uninstall") {
    Line.Uninstall = true;
  } else if (Option == "--no-folder") {
    Line.NoFolder = true;
  } else if (Option == "--no-windows") {
    Line.NoWindows = true;
  } else if (Option == "--json") {
    Line.Json = true;
  } else if (Option == "--no-remember") {
    Line.NoRemember = true;
  } else if (Option == "--dry-run") {
    Line.DryRun = true;
  } else if (Option == "--detect") {
    Line.Detect = true;
  } else if (Option == "--log") {
    if (Value.empty()) return Bad("--log needs a file to append the record of the run to.");
    Line.Log = Value;
  } else if (Option == "--language") {
    platform::Result<std::string> language = ParseLanguage(Value);
    if (!language) return language.status();
    Line.Language = language.value();
  } else if (Option == "--folder") {
    if (platform::Trim(Value).empty()) return Bad("--folder needs a folder, such as C:\\Zav.");
    // A Windows name is Unicode text: bytes that are no UTF-8 would name another folder than
    // the one meant, so they are refused rather than replaced.
    if (!platform::IsValidUtf8(Value)) {
      return Bad("--folder needs a folder name in UTF-8; the one given holds other bytes.");
    }
    Line.Folder = Value;
  } else {
    platform::Result<std::vector<int>> versions = ParseVersions(Option, Value);
    if (!versions) return versions.status();
    (Option == "--bin" ? Line.Bin : Line.Register) = versions.value();
  }
  return platform::Status::Ok();
}

bool IsKnown(std::string_view Option) {
  return TakesValue(Option) || Option == "--help" || Option == "--unattended" ||
         Option == "--uninstall" || Option == "--no-folder" || Option == "--no-windows" ||
         Option == "--json" || Option == "--no-remember" || Option == "--dry-run" ||
         Option == "--detect";
}

// Combinations that cannot mean anything.
platform::Status CheckCombination(const TCommandLine& Line, bool AnyOption,
                                  const std::vector<std::string>& Seen) {
  if (Line.Help) return platform::Status::Ok();
  // A detection runs nothing: there are no options of a run to set, no record of a run to
  // keep, and no window; its report comes as text or, with --json, as one object.
  if (Line.Detect) {
    for (const std::string& option : Seen) {
      if (option != "--detect" && option != "--json" && option != "--unattended") {
        return Bad(option +
                   " cannot be used with --detect: a detection runs nothing and only reports "
                   "what the distribution and the prefix hold (--json for JSON).");
      }
    }
    return platform::Status::Ok();
  }
  // The window has no lines on standard output for --json to replace, and its user sees the
  // folders and the language it would keep.
  if (AnyOption && !Line.Unattended) {
    return Bad(
        "Options other than --help, --log and --detect work only with --unattended; started "
        "without arguments the program shows its window.");
  }
  if (Line.Folder && Line.NoFolder) return Bad("--folder and --no-folder exclude each other.");
  if (Line.Uninstall && Line.Register && !Line.Register->empty()) {
    return Bad(
        "--register cannot be used with --uninstall: an uninstall removes the "
        "registration of every version and registers none.");
  }
  return platform::Status::Ok();
}

}  // namespace

platform::Result<TCommandLine> ParseCommandLine(std::span<const std::string> Args) {
  TCommandLine line;
  std::vector<std::string> seen;
  bool anyOption = false;
  for (size_t i = 0; i < Args.size(); ++i) {
    // The options end here; the program takes nothing else.
    if (Args[i] == "--") {
      if (i + 1 < Args.size()) return Bad("Unknown argument " + Quoted(Args[i + 1]) + " after --.");
      break;
    }
    std::string option = Args[i] == "-h" ? std::string("--help") : Args[i];
    std::optional<std::string> value;
    if (const size_t equals = option.find('='); option.starts_with("--") && equals != option.npos) {
      value = option.substr(equals + 1);
      option.resize(equals);
    }
    if (!IsKnown(option)) {
      return Bad("Unknown argument " + Quoted(Args[i]) + "; --help lists the options.");
    }
    if (std::find(seen.begin(), seen.end(), option) != seen.end()) {
      return Bad(option + " is given twice.");
    }
    seen.push_back(option);
    if (TakesValue(option) && !value) {
      // An empty shell variable leaves the option without its value, and the next option
      // would be taken in its place: a value that looks like an option must be attached.
      if (i + 1 == Args.size() || Args[i + 1].starts_with("--")) {
        return Bad(option + " needs a value; --help says which.");
      }
      value = Args[++i];
    } else if (!TakesValue(option) && value) {
      return Bad(option + " takes no value.");
    }
    if (platform::Status applied = Apply(line, option, value.value_or("")); !applied) {
      return applied;
    }
    if (option != "--unattended" && option != "--help" && option != "--log" &&
        option != "--detect") {
      anyOption = true;
    }
  }
  if (platform::Status combination = CheckCombination(line, anyOption, seen); !combination) {
    return combination;
  }
  return line;
}

std::string CommandLineHelp() {
  return R"(Usage: PolyverbSetup
       PolyverbSetup --unattended [options]
       PolyverbSetup --detect [--json]

Without arguments the setup window opens. With --unattended the program performs one run
without a window, as if the options below had been set in the window and Continue pressed.
Each status line is printed to standard output as it is added; message boxes go to standard
error. It installs into the Wine prefix named by WINEPREFIX (else ~/.wine), from the folder
the program is in. Each option is optional; the default is what the window offers.

  --uninstall             uninstall instead of install
  --language LANGUAGE     English or Deutsch, as chosen in the language box
  --folder PATH           the installation folder, a Windows path of the prefix (C:\Zav);
                          without it the one installed into last, at first
                          C:\Programme\Zav Polyverb (in either language)
  --no-folder             leave the installation folder out
  --no-windows            leave the Windows folder out
  --bin LIST              the Delphi Bin folders to install into, such as 4,5; none for none
  --register LIST         the Delphi versions to register with (install only), such as 5;
                          none for none
  --json                  print the run as JSON Lines in place of the status lines: one
                          object for each step, then one that sums the run up (the README
                          gives the keys)
  --log FILE              append a dated record of the run to FILE: the command line, each
                          status line with its reason, the outcome; also with the window
                          (PolyverbSetup --log FILE). Each line begins with the process id
                          ([4711]), so that runs sharing FILE can be told apart. A FILE
                          that cannot be opened or written at the start (a FIFO nobody
                          reads, a full disk) is a bad command line; one that fails later
                          gives exit code 5
  --no-remember           leave the remembered folder history and language as they were
  --dry-run               do the whole run without changing anything (no file, folder,
                          registry value or remembered setting): it reads the prefix and
                          keeps its own changes to itself, so each step says what the run
                          would do and which steps would fail, and the exit code is the one
                          the run would give. The status lines come after a first line
                          that says so, each marked [plan] ([Plan] in German); with --json
                          every object has "planned": true; with --log the record is of a
                          planned run
  --detect                no run: print what the distribution folder holds and what the
                          prefix has (each Delphi version, its program and Bin folder,
                          whether the package is registered there and whether disabled);
                          with --json as one object. Nothing changes; exit code 0, or 1
                          for a prefix a run refuses (a hive missing or system.reg
                          unreadable; the report is printed all the same). Takes no other
                          option but --json
  --help, -h              this text
  --                      ends the options

With --uninstall, --bin names the Bin folders to delete the files from (the package is
unregistered from every Delphi version all the same). The status lines come in the
remembered language, the one the window showed last, unless --language is given.

A value that begins with -- is taken only as --option=value (--folder=--x): on its own it
would be the next option, as when an empty shell variable leaves an option without its value.

Exit codes (a dry run gives the code the run would give):
  0  the run completed without an error line (or --help; --detect on a prefix a run can use)
  1  the start-up ended with its message (no prefix, a system.reg that cannot be read, no
     files to install, an unknown error), or the run ended with "An unknown installation
     error has occured."; --detect: a prefix a run refuses, or a program folder without a
     Windows name
  2  a bad command line (an unknown option, a missing or wrong value, options that exclude
     each other, a log that cannot be opened or written at the start); nothing was done
  3  the run completed with at least one error line
  4  an option this machine does not allow (a Delphi version that is not installed here or
     has no package in the distribution, nothing left to install into); nothing was done
  5  what was asked to be written was not: the log broke off during the run (which went to
     its end; 5 only where the run would give 0), or this text or --detect's report could
     not be written to standard output
)";
}
