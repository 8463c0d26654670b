#include "installer/CommandLine.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "installer/CommandLineOptions.h"
#include "package/UnitVersion.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("CommandLine.cpp 1.0");

platform::Status Bad(const std::string& Sentence) {
  return {platform::ErrorCode::InvalidName, Sentence};
}

// The row of an option as the user spelled it, or nullptr.
const TCommandLineOption* FindOption(std::string_view Spelling) {
  for (const TCommandLineOption& option : CommandLineOptions()) {
    if (option.Name == Spelling || (!option.Alias.empty() && option.Alias == Spelling)) {
      return &option;
    }
  }
  return nullptr;
}

// Why Option cannot be given in Mode, in one sentence. Every row may be given in a run
// without the window, so Mode is the window's or a detection's.
std::string NotInMode(const TCommandLineOption& Option, TRunMode Mode) {
  if (Mode == kDetectMode) {
    return std::string(Option.Name) +
           " cannot be used with --detect: a detection runs nothing and only reports what the "
           "distribution and the prefix hold (--json for JSON).";
  }
  return "Options other than --help, --log and --detect work only with --unattended; started "
         "without arguments the program shows its window.";
}

// The options Seen, each where its row allows it and with nothing its row excludes.
platform::Status CheckCombination(const TCommandLine& Line,
                                  const std::vector<const TCommandLineOption*>& Seen) {
  if (Line.Help) return platform::Status::Ok();
  const TRunMode mode = RunModeOf(Line);
  for (const TCommandLineOption* option : Seen) {
    if ((option->Modes & mode) == 0) return Bad(NotInMode(*option, mode));
  }
  // In the rows' order, so that a line with two faults is refused for the same one whatever
  // the order it names them in.
  for (const TCommandLineOption& option : CommandLineOptions()) {
    if (option.Excludes == nullptr || std::find(Seen.begin(), Seen.end(), &option) == Seen.end()) {
      continue;
    }
    if (const std::string_view excluded = option.Excludes(Line); !excluded.empty()) {
      return Bad(std::string(excluded));
    }
  }
  return platform::Status::Ok();
}

// One line of --help's list: the option as it is written, then its text from column 26.
std::string HelpEntry(std::string Spelling, std::string_view Text) {
  constexpr size_t kTextColumn = 26;
  const std::string indent(kTextColumn, ' ');
  Spelling.insert(0, "  ");
  Spelling.resize(std::max(kTextColumn, Spelling.size() + 1), ' ');
  std::string entry = std::move(Spelling);
  for (size_t start = 0;;) {
    const size_t end = Text.find('\n', start);
    entry += Text.substr(start, end == std::string_view::npos ? end : end - start);
    entry += '\n';
    if (end == std::string_view::npos) return entry;
    entry += indent;
    start = end + 1;
  }
}

std::string OptionList() {
  std::string list;
  for (const TCommandLineOption& option : CommandLineOptions()) {
    if (option.Help.empty()) continue;
    std::string spelling(option.Name);
    if (!option.Alias.empty()) spelling += ", " + std::string(option.Alias);
    if (!option.Value.empty()) spelling += " " + std::string(option.Value);
    list += HelpEntry(std::move(spelling), option.Help);
  }
  return list + HelpEntry("--", "ends the options");
}

}  // namespace

platform::Result<TCommandLine> ParseCommandLine(std::span<const std::string> Args) {
  TCommandLine line;
  std::vector<const TCommandLineOption*> seen;
  for (size_t i = 0; i < Args.size(); ++i) {
    // The options end here; the program takes nothing else.
    if (Args[i] == "--") {
      if (i + 1 < Args.size()) {
        return Bad("Unknown argument " + QuotedArgument(Args[i + 1]) + " after --.");
      }
      break;
    }
    std::string_view spelling = Args[i];
    std::optional<std::string> value;
    if (const size_t equals = spelling.find('=');
        spelling.starts_with("--") && equals != spelling.npos) {
      value = spelling.substr(equals + 1);
      spelling = spelling.substr(0, equals);
    }
    const TCommandLineOption* const option = FindOption(spelling);
    if (option == nullptr) {
      return Bad("Unknown argument " + QuotedArgument(Args[i]) + "; --help lists the options.");
    }
    const std::string name(option->Name);
    if (std::find(seen.begin(), seen.end(), option) != seen.end()) {
      return Bad(name + " is given twice.");
    }
    seen.push_back(option);
    const bool takesValue = !option->Value.empty();
    if (takesValue && !value) {
      // An empty shell variable leaves the option without its value, and the next option
      // would be taken in its place: a value that looks like an option must be attached.
      if (i + 1 == Args.size() || Args[i + 1].starts_with("--")) {
        return Bad(name + " needs a value; --help says which.");
      }
      value = Args[++i];
    } else if (!takesValue && value) {
      return Bad(name + " takes no value.");
    }
    if (platform::Status set = option->Set(line, option->Name, value.value_or("")); !set) {
      return set;
    }
  }
  if (platform::Status combination = CheckCombination(line, seen); !combination) {
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

)" + OptionList() +
         R"(
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
