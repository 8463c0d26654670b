#include "installer/RunLog.h"

#include <cerrno>
#include <cstring>
#include <ctime>

#include "package/UnitVersion.h"
#include "platform/HexDigits.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("RunLog.cpp 1.0");

// Now, as the reader's clock shows it, with its offset: "2024-05-01 14:03:07 +0200".
std::string Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[64];
  return std::string(text, std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S %z", &local));
}

// A name or reason may hold a line break: one entry stays one line, its control characters
// shown as \xNN. Other bytes go in as they are.
std::string OneLine(const std::string& Text) {
  std::string line;
  for (const char c : Text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) {
      line += "\\x";
      platform::AppendHexByte(line, byte);
    } else {
      line += c;
    }
  }
  return line;
}

}  // namespace

TRunLog::TRunLog(const std::string& File) : FOut(File, std::ios::app | std::ios::binary) {
  if (!FOut.is_open()) {
    FOpened = {platform::ErrorCode::AccessDenied,
               "The log " + OneLine(File) + " cannot be written: " + std::strerror(errno) + "."};
  }
}

void TRunLog::Begin(std::span<const std::string> Args) {
  std::string line = Now() + " PolyverbSetup";
  for (const std::string& arg : Args)
    line += " " + OneLine(arg);
  WriteLine(line);
}

void TRunLog::Step(const TRunStep& Step) {
  FCounts.Count(Step);
  // A step the list does not show is named by what it did.
  // A dry run's steps are marked as the plan they are.
  WriteLine(std::string(Step.Planned ? "  [plan] " : "  ") +
            OneLine(Step.Text.empty() ? "(" + Step.Kind + " " + Step.File + ")" : Step.Text));
  if (!Step.Reason.empty()) WriteLine("    " + OneLine(Step.Reason));
}

void TRunLog::End(const TRunEnd& End) {
  std::string line = Now() + (End.Planned ? " planned run, " : " ") + End.Outcome + ", exit code " +
                     std::to_string(End.ExitCode) + ": " + std::to_string(FCounts.Steps) +
                     " steps, " + std::to_string(FCounts.Failed) + " failed, " +
                     (FCounts.Changes > 0 ? std::to_string(FCounts.Changes) + " changes"
                                          : std::string("nothing changed"));
  if (!End.Reason.empty()) line += "; " + OneLine(End.Reason);
  WriteLine(line);
}

void TRunLog::WriteLine(const std::string& Line) {
  // At once: the record is there up to the last step even if the run never ends. A write
  // that fails later (a full disk) is lost as standard output's would be; the run goes on.
  FOut << Line << '\n' << std::flush;
}
