#include "installer/SetupMain.h"

#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>

#include "installer/CommandLine.h"
#include "installer/CommandLineOptions.h"
#include "installer/DetectReport.h"
#include "installer/OutputDelivery.h"
#include "installer/PolyverbInstallMain.h"
#include "installer/ProgramStart.h"
#include "installer/RunLog.h"
#include "installer/Unattended.h"
#include "toolkit/forms/Forms.h"
#include "toolkit/forms/Presenter.h"
#include "toolkit/forms/WidgetSystem.h"

namespace {

// The one rule for which command lines the window runs: the program without widgets hands
// these to the window's module, and the module runs them here.
bool AsksForWindow(const TCommandLine& Line) {
  return !Line.Help && RunModeOf(Line) == kWindowMode;
}

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
  if (!display && end.Reason.empty()) end.Reason = "there is no display to show the window on";
  if (Log != nullptr) {
    Log->End(end);
    end.ExitCode = LogKept(*Log, end.ExitCode, std::cerr);
  }
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
    return Delivered(std::cout, std::cerr, "The help") ? kExitCompleted : kExitOutputLost;
  }
  if (line->Detect) return RunDetect(line->Json, std::cout);
  // The log is opened, and its record begun, before anything is done: one that cannot be
  // written refuses the start.
  std::optional<TRunLog> log;
  if (line->Log) {
    log.emplace(*line->Log);
    if (log->status()) log->Begin(Args);
    if (!log->status()) {
      std::cerr << "PolyverbSetup: " << log->status().message() << '\n';
      return kExitBadCommandLine;
    }
  }
  TRunLog* const logged = log ? &*log : nullptr;
  // Nothing but the end of the options (`--`), or only --log: as without arguments.
  if (AsksForWindow(*line)) return RunWindow(logged);
  return RunUnattended(line.value(), std::cout, std::cerr, logged);
}

}  // namespace

int RunSetup(const std::vector<std::string>& Args) {
  const int exitCode = Args.empty() ? RunWindow() : RunCommandLine(Args);
  DoneWidgetSystem();
  return exitCode;
}

bool RunNeedsWindow(const std::vector<std::string>& Args) {
  if (Args.empty()) return true;
  const platform::Result<TCommandLine> line = ParseCommandLine(Args);
  return line && AsksForWindow(*line);
}
