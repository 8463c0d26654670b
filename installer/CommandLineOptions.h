#pragma once

// The options of the setup program's command line, one row each. The parser, its checks of
// which options go together, and --help are all read from these rows: an option is added or
// changed here and nowhere else.

#include <span>
#include <string>
#include <string_view>

#include "installer/CommandLine.h"
#include "platform/Status.h"

// What a command line asks for: --detect a report, else --unattended a run without the
// window, else the window. The modes are bits, so that a row can name several.
enum TRunMode : unsigned {
  kWindowMode = 1u << 0,
  kUnattendedMode = 1u << 1,
  kDetectMode = 1u << 2,
};
constexpr unsigned kEveryMode = kWindowMode | kUnattendedMode | kDetectMode;

TRunMode RunModeOf(const TCommandLine& Line);

struct TCommandLineOption {
  std::string_view Name;        // "--bin"
  std::string_view Alias = {};  // a second spelling, given on its own ("-h"); empty: none
  std::string_view Value = {};  // the value's name in --help ("LIST"); empty: takes no value
  unsigned Modes = 0;           // the TRunMode bits of the modes it may be given in
  // Sets in Line what the option says; Value is empty for an option that takes none. A value
  // that means nothing is refused in one sentence that names Option.
  platform::Status (*Set)(TCommandLine& Line, std::string_view Option,
                          const std::string& Value) = nullptr;
  // Given this option, what else in Line makes the line mean nothing: the sentence that says
  // so, or empty.
  std::string_view (*Excludes)(const TCommandLine& Line) = nullptr;
  // Its text in --help, each line broken where --help breaks it, without the indent; empty
  // for an option the usage lines name.
  std::string_view Help = {};
};

// The rows in the order --help lists them.
std::span<const TCommandLineOption> CommandLineOptions();

// An argument in quotes as one line of a sentence, its control bytes escaped.
std::string QuotedArgument(std::string_view Argument);
