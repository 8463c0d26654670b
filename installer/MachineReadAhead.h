#pragma once

// The start-up's read of the machine's registry, in a file of its own so that a program that
// only looks up the Delphi keys (the benchmark) links it without the installer's form.

// Starts reading the machine's registry on another thread, so that what follows (the window
// system, fonts) runs meanwhile: only what the lookups of the Delphi versions' keys meet.
// CreateSetupForm does it first; a second call is harmless.
void StartReadingTheMachine();
