#pragma once

// Output that is the point of a command (--help's text, --detect's report) is never lost
// without a word, as a run's status lines may be when their reader goes away: the run is
// what a run was asked for, the text is what these were asked for.

#include <iosfwd>
#include <string>

// Flushes Out and tells whether it took everything written to it; if not, says on ErrorOut
// what was lost (What: "the help") and why.
bool Delivered(std::ostream& Out, std::ostream& ErrorOut, const std::string& What);
