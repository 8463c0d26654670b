#pragma once

// --detect: what the distribution folder holds and what the prefix has, without a run. The
// same detection the window's start-up makes (Detection.h), for every Delphi version, with
// where our package stands in its lists. Reads only: nothing on the machine changes.

#include <iosfwd>

// Prints the detection as text, or with Json as one JSON object (the README gives the keys);
// returns the exit code: 0, or kExitFailed for a prefix a run would refuse (its report still
// printed) or a program folder without a Windows name (nothing printed), or kExitOutputLost
// when Out did not take the report (said on standard error).
int RunDetect(bool AsJson, std::ostream& Out);
