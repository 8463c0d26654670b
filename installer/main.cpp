// The setup program. It runs from its distribution folder and installs into the Wine
// prefix named by WINEPREFIX (else ~/.wine), as Wine itself does.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "installer/CommandLine.h"
#include "installer/DetectReport.h"
#include "installer/PolyverbInstallMain.h"
#include "installer/ProgramStart.h"
#include "installer/RunLog.h"
#include "installer/Unattended.h"
#include "toolkit/forms/Forms.h"
#include "toolkit/forms/Presenter.h"
#include "toolkit/forms/WidgetSystem.h"

namespace {

// Log, if given, follows the window's run as it follows an unattended one.
int RunWindow(TRunLog* Log = nullptr) {
  std::function<void(TPolyverbInstallForm&)> whenShown;
  if (Log != nullptr) {
    whenShown = [Log](TPolyverbInstallForm& Form) {
      Form.OnStep = [Log](const TRunStep& Step) { Log->Step(Step); };
    };
  }
  const bool display = DisplayAvailable();
  if (!display) {
    // Without a display the start-up still runs, so its messages reach the terminal.
    UseHeadlessWidgetSystem();
    Application->SetPresenter(std::make_unique<TConsolePresenter>(std::cerr));
    whenShown = [](TPolyverbInstallForm&) {
      std::fprintf(stderr,
                   "PolyverbSetup: there is no display to show the window on "
                   "(--unattended runs without one; --help says how).\n");
      Application->Terminate();
    };
  }
  TRunEnd end;
  const int shown =
      RunSetupProgram(whenShown, [&end](TPolyverbInstallForm& Form) { end = EndOfRun(Form); });
  // Without a display nothing could be chosen, let alone installed.
  end.ExitCode = display ? shown : kExitFailed;
  if (Log != nullptr) Log->End(end);
  return end.ExitCode;
}

int RunCommandLine(const std::vector<std::string>& Args) {
  const platform::Result<TCommandLine> line = ParseCommandLine(Args);
  if (!line) {
    std::cerr << "PolyverbSetup: " << line.status().message() << '\n';
    return kExitBadCommandLine;
  }
  if (line->Help) {
    std::cout << CommandLineHelp();
    return kExitCompleted;
  }
  if (line->Detect) return RunDetect(line->Json, std::cout);
  // The log is opened before anything is done: one that cannot be written refuses the start.
  std::optional<TRunLog> log;
  if (line->Log) {
    log.emplace(*line->Log);
    if (!log->status()) {
      std::cerr << "PolyverbSetup: " << log->status().message() << '\n';
      return kExitBadCommandLine;
    }
    log->Begin(Args);
  }
  TRunLog* const logged = log ? &*log : nullptr;
  // Nothing but the end of the options (`--`), or only --log: as without arguments.
  if (!line->Unattended) return RunWindow(logged);
  return RunUnattended(line.value(), std::cout, std::cerr, logged);
}

// A standard stream that was closed when the program started (`>&-`) would give its number to
// the first file the run opens, and the status lines would be written into that file: each
// closed one is opened on /dev/null instead, so that what is said there is simply lost.
void KeepStandardStreamsApart() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int opened = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    // The lowest free number is the one just found closed; anything else is not ours to keep.
    if (opened >= 0 && opened != fd) ::close(opened);
  }
}

}  // namespace

int main(int argc, char** argv) {
  KeepStandardStreamsApart();
  // A reader that goes away (`| head -1`, `| grep -q`) must not end the run halfway: the write
  // fails instead, the stream stops taking text, and the run goes to its end as before.
  std::signal(SIGPIPE, SIG_IGN);
  // Writing past a file size limit (ulimit -f) would end the program by a signal, halfway
  // through a run; ignored, the write fails instead, and the run reports that one file as it
  // reports any other failed copy or registry write, then goes on.
  std::signal(SIGXFSZ, SIG_IGN);
  const std::vector<std::string> args(argv + 1, argv + argc);
  const int exitCode = args.empty() ? RunWindow() : RunCommandLine(args);
  DoneWidgetSystem();
  return exitCode;
}
