#pragma once

// The setup program's command line. Without arguments the program shows its window; with
// --unattended it performs one run without it, the options set as a user would set them in
// the window (see CommandLineHelp for what each does). --log keeps a record of either. Each
// option is one row of CommandLineOptions.h, which the parser and --help read.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Status.h"

struct TCommandLine {
  bool Help = false;
  bool Unattended = false;
  bool Uninstall = false;
  std::optional<std::string> Language;  // "English" or "Deutsch"
  std::optional<std::string> Folder;    // typed into the folder field
  bool NoFolder = false;
  bool NoWindows = false;
  // The Delphi versions whose box to check, all others unchecked; unset: as the window has them.
  std::optional<std::vector<int>> Bin;
  std::optional<std::vector<int>> Register;
  // What a script asks of the run beyond the window's options.
  bool Json = false;               // JSON Lines on standard output in place of the lines
  std::optional<std::string> Log;  // a file to append the run's record to
  bool NoRemember = false;         // keep the remembered folders and language as they are
  bool DryRun = false;             // the run's plan: the same run over an overlay of the machine
  bool Detect = false;             // what the distribution and the prefix hold; no run
};

// The arguments after the program's name. A bad command line is an InvalidName error whose
// message is one sentence for the user.
platform::Result<TCommandLine> ParseCommandLine(std::span<const std::string> Args);

// What --help prints: the options and the exit codes.
std::string CommandLineHelp();

// The exit codes of a program start.
constexpr int kExitCompleted = 0;            // the run had no error line (or --help)
constexpr int kExitFailed = 1;               // start-up ended with its message, or the run
                                             // ended with "EUnknownError"; --detect: a
                                             // prefix a run refuses
constexpr int kExitBadCommandLine = 2;       // nothing was done
constexpr int kExitCompletedWithErrors = 3;  // the run went through with error lines
constexpr int kExitNotAllowed = 4;           // an option this machine does not allow;
                                             // nothing was done
constexpr int kExitOutputLost = 5;           // what was asked to be written was not: the
                                             // log after its first line, --help's text or
                                             // --detect's report (a run went to its end)
