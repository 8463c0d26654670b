// The window's module: the setup program with its widgets, entered from the program when the
// window is to be shown. It runs the whole command line itself (the log, the start-up, the
// window), in its own copy of the program's state.

#include <string>
#include <vector>

#include "installer/SetupMain.h"

extern "C" __attribute__((visibility("default"))) int PolyverbSetupWindowMain(int argc,
                                                                              char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return RunSetup(args);
}
