#pragma once

// --detect: what the distribution folder holds and what the prefix has, without a run. The
// same detection the window's start-up makes (Detection.h), for every Delphi version, with
// where our package stands in its lists. Reads only: nothing on the machine changes.

#include <iosfwd>

// Prints the detection as text, or with Json as one JSON object (the README gives the keys);
// returns the exit code, 0.
int RunDetect(bool AsJson, std::ostream& Out);
