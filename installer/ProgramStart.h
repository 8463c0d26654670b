#pragma once

// The setup program's start, shared by the program and by whatever runs it another way
// (the screenshot tool, the tests).

#include <functional>

#include "installer/MachineReadAhead.h"

class TPolyverbInstallForm;

// Registers every class the installer's form description names (the package's components,
// the selection controls, the configuration component). A second call is harmless.
void RegisterSetupClasses();

// Sets the application title and builds the installer form hidden as the main form
// (PolyverbInstallForm); its start-up has run when this returns, and FReady tells whether it
// succeeded (a failed one has shown why).
void CreateSetupForm();

// Sets the application title, builds the installer form hidden and shows it only when its
// start-up succeeded; otherwise ends without ever showing it (start-up has shown why).
// Then runs the message loop until the window is closed, and frees the form.
// WhenShown, if given, runs once the window is shown, before the loop; WhenDone, if given,
// once the loop has ended (or start-up failed), before the form goes.
// Returns the exit code: 0 after a shown window was closed, 1 when start-up failed, so
// that a script that runs the setup learns that nothing could be installed.
int RunSetupProgram(const std::function<void(TPolyverbInstallForm&)>& WhenShown = nullptr,
                    const std::function<void(TPolyverbInstallForm&)>& WhenDone = nullptr);
