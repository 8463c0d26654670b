#pragma once

// The run without the window: the same form, built hidden with the toolkit that draws nothing
// (so it needs no display, and loads no Qt), its options set as a user's clicks would set
// them, and Continue pressed through the same handler. Status lines go to standard output as
// they are added, message boxes to standard error.

#include <iosfwd>

#include "installer/CommandLine.h"
#include "installer/RunStep.h"

class TPolyverbInstallForm;
class TRunLog;

// Sets Line's options on the form as the user would. An option this machine does not allow
// (a box that is disabled here, Continue not enabled afterwards) is an error whose message
// is one sentence for the user; the form may then hold some of the options.
platform::Status ApplyCommandLine(TPolyverbInstallForm& Form, const TCommandLine& Line);

// How the form's program start ended, with the exit code an unattended start gives it.
TRunEnd EndOfRun(const TPolyverbInstallForm& Form);

// One unattended program start: returns the exit code (see CommandLine.h). Standard output
// carries the status lines, or the JSON report with --json; Log, if given, is told the run
// too. The report's summary is the last thing the start does, after the form has gone and
// kept the remembered settings.
int RunUnattended(const TCommandLine& Line, std::ostream& StatusOut, std::ostream& ErrorOut,
                  TRunLog* Log = nullptr);
