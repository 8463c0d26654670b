#include "installer/RunLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <ostream>

#include "installer/CommandLine.h"
#include "installer/ControlBytes.h"
#include "package/UnitVersion.h"

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

// Why a log cannot be written, as a user reads it.
std::string LogError(int Error) {
  // What open() says of a FIFO without a reader ("No such device or address") names nothing
  // the user could look for.
  if (Error == ENXIO) return "no program reads from it";
  return std::strerror(Error);
}

}  // namespace

TRunLog::TRunLog(const std::string& File)
    : FFile(File), FRunId("[" + std::to_string(::getpid()) + "] ") {
  // O_NONBLOCK only for the opening: a FIFO without a reader fails at once (ENXIO) instead of
  // holding the start until one comes. Never O_TRUNC: a log is only ever appended to.
  FOut.fd =
      ::open(File.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
  int error = FOut.fd < 0 ? errno : 0;
  if (error == 0) {
    // The lines are written as they are said; a reader that is slow holds the run, as a
    // terminal would, rather than losing a line.
    const int flags = ::fcntl(FOut.fd, F_GETFL);
    if (flags < 0 || ::fcntl(FOut.fd, F_SETFL, flags & ~O_NONBLOCK) != 0) error = errno;
  }
  if (error != 0) {
    FStatus = {
        platform::ErrorCode::AccessDenied,
        "The log " + EscapeControlBytes(File) + " cannot be written: " + LogError(error) + "."};
  }
}

void TRunLog::Begin(std::span<const std::string> Args) {
  std::string line = Now() + " PolyverbSetup";
  for (const std::string& arg : Args)
    line += " " + EscapeControlBytes(arg);
  WriteLine(line);
  FBegun = true;
}

void TRunLog::Step(const TRunStep& Step) {
  FCounts.Count(Step);
  // A step the list does not show is named by what it did.
  // A dry run's steps are marked as the plan they are.
  WriteLine(
      std::string(Step.Planned ? "  [plan] " : "  ") +
      EscapeControlBytes(Step.Text.empty() ? "(" + Step.Kind + " " + Step.File + ")" : Step.Text));
  if (!Step.Reason.empty()) WriteLine("    " + EscapeControlBytes(Step.Reason));
}

void TRunLog::End(const TRunEnd& End) {
  std::string line = Now() + (End.Planned ? " planned run, " : " ") + End.Outcome + ", exit code " +
                     std::to_string(End.ExitCode) + ": " + std::to_string(FCounts.Steps) +
                     " steps, " + std::to_string(FCounts.Failed) + " failed, " +
                     (FCounts.Changes > 0 ? std::to_string(FCounts.Changes) + " changes"
                                          : std::string("nothing changed"));
  if (!End.Reason.empty()) line += "; " + EscapeControlBytes(End.Reason);
  WriteLine(line);
}

void TRunLog::WriteLine(const std::string& Line) {
  if (!FStatus) return;
  // At once and whole, in one write: the record is there up to the last step even if the
  // run never ends, and a line of another run sharing the file never lands inside it.
  if (const int error = platform::WriteAll(FOut.fd, FRunId + Line + '\n')) {
    FStatus = {platform::ErrorCode::IoError,
               FBegun ? "The log " + EscapeControlBytes(FFile) + " could not be written: " +
                            LogError(error) + "; its record of this run is incomplete."
                      : "The log " + EscapeControlBytes(FFile) +
                            " cannot be written: " + LogError(error) + "."};
  }
}

int LogKept(const TRunLog& Log, int ExitCode, std::ostream& ErrorOut) {
  if (Log.status()) return ExitCode;
  ErrorOut << "PolyverbSetup: " << Log.status().message() << '\n';
  ErrorOut.flush();
  return ExitCode == kExitCompleted ? kExitOutputLost : ExitCode;
}
