// The setup program's start-up, up to its window shown, as a process of its own: what the
// program's main does before it waits for the user (the widget system, the installer form
// built hidden with its start-up detection, the window shown and painted), on Qt's
// offscreen platform, and then the end at once. scripts/bench.sh times it beside
// bare_window, the least a Qt Widgets program does to show a window.
//
//   setup_shown --dist DIR [--phases]
//
// DIR is the distribution folder the program would be started from; the Wine prefix is the
// program's (WINEPREFIX, else ~/.wine). --phases tells on standard error how long each part
// took. The exit code is 0 only when the window was shown.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "installer/PolyverbInstallMain.h"
#include "installer/ProgramStart.h"
#include "platform/Machine.h"
#include "toolkit/forms/Forms.h"
#include "toolkit/forms/Presenter.h"
#include "toolkit/forms/WidgetSystem.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point Start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - Start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const bool phases = argc == 4 && std::strcmp(argv[3], "--phases") == 0;
  if ((argc != 3 && !phases) || std::strcmp(argv[1], "--dist") != 0) {
    std::fprintf(stderr, "usage: setup_shown --dist DIR [--phases]\n");
    return 2;
  }
  const Clock::time_point start = Clock::now();
  const platform::Result<std::string> dist =
      platform::Machine::Current().prefix().ToWindowsPath(argv[2]);
  if (!dist) {
    std::fprintf(stderr, "setup_shown: %s\n", dist.status().message().c_str());
    return 2;
  }
  platform::Machine::Current().SetApplicationDir(*dist);

  UseOffscreenWidgetSystem();
  StartReadingTheMachine();  // as CreateSetupForm does first, before the widget system starts
  // A start-up that fails says why on standard error instead of in a box nobody can close.
  Application->SetPresenter(std::make_unique<TConsolePresenter>(std::cerr));
  InitWidgetSystem();
  const double widgetSystem = MillisecondsSince(start);
  // What RunSetupProgram does before its message loop.
  CreateSetupForm();
  if (!PolyverbInstallForm->FReady) return 1;
  const double formBuilt = MillisecondsSince(start);
  PolyverbInstallForm->Show();
  ProcessWidgetEvents();
  const double shown = MillisecondsSince(start);
  if (phases) {
    std::fprintf(stderr, "widget system %.1f ms, form built %.1f ms, window shown %.1f ms\n",
                 widgetSystem, formBuilt - widgetSystem, shown - formBuilt);
  }
  // Ended here, not by unwinding: the span measured is the start-up, as for bare_window.
  std::_Exit(PolyverbInstallForm->Visible() ? 0 : 1);
}
