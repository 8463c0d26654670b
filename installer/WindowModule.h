#pragma once

// The window's module: the setup program built with its widgets, kept beside the program as
// PolyverbSetupWindow.so and loaded only when the window is to be shown.

// The module's file name, beside the program.
inline constexpr const char* kWindowModuleName = "PolyverbSetupWindow.so";
// The entry the module offers, with main's own arguments.
inline constexpr const char* kWindowModuleEntry = "PolyverbSetupWindowMain";

// Loads the module and runs the program there for main's arguments; returns its exit code. A
// module that cannot be loaded is reported on standard error, with the run's failure code.
int RunInWindowModule(int argc, char** argv);
