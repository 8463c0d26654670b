#pragma once

// What the setup program does with its command line, whichever build of it runs: the program
// without widgets for everything but the window, the window's module for the window.

#include <string>
#include <vector>

// Runs the program for Args (the arguments after the program's name) and returns its exit
// code; the widget system, if one started, is gone when it returns.
int RunSetup(const std::vector<std::string>& Args);

// Whether Args ask for the window: none at all, only --log, or nothing but the end of the
// options. A line that does not parse asks for none; RunSetup says what is wrong with it.
bool RunNeedsWindow(const std::vector<std::string>& Args);
