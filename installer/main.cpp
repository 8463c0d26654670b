// The setup program. It runs from its distribution folder and installs into the Wine
// prefix named by WINEPREFIX (else ~/.wine), as Wine itself does.

#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>

#include "installer/PolyverbInstallMain.h"
#include "installer/ProgramStart.h"
#include "toolkit/Forms.h"
#include "toolkit/Presenter.h"
#include "toolkit/WidgetSystem.h"

int main() {
  std::function<void(TPolyverbInstallForm&)> whenShown;
  const bool display = DisplayAvailable();
  if (!display) {
    // Without a display the start-up still runs, so its messages reach the terminal.
    UseOffscreenWidgetSystem();
    Application->SetPresenter(std::make_unique<TConsolePresenter>(std::cerr));
    whenShown = [](TPolyverbInstallForm&) {
      std::fprintf(stderr, "PolyverbSetup: there is no display to show the window on.\n");
      Application->Terminate();
    };
  }
  const int exitCode = RunSetupProgram(whenShown);
  DoneWidgetSystem();
  // Without a display nothing could be chosen, let alone installed.
  return display ? exitCode : 1;
}
