#pragma once

// Short (8.3) names as Wine gives them, and a path written with them read back as the long path
// Wine would open.
//
// Wine keeps no short names on disk. It makes one up for each long name from the name alone:
// its first letters, a hash of the whole name and the first letters of its extension ("Program
// Files" is "PROG~FBU", "ZavPolyverb50Design.bpl" is "ZAVP~ROP.BPL"). A name looked up in a
// folder is matched against each entry's long name and that made-up name, so Windows' numbered
// short names ("PROGRA~1") name nothing on a prefix unless an entry bears that very name.

#include <string>
#include <string_view>

#include "platform/WinPath.h"
#include "platform/WinePrefix.h"

namespace platform {

// Whether `name` is a valid 8.3 name without spaces (ASCII only): a name Wine gives no other
// short name, and the only kind of name it looks up among short names.
bool IsShortName(std::string_view name);

// The short name Wine gives the entry `name` in a folder listing, upper case; empty for a name
// that is a short name itself.
std::string WineShortName(std::string_view name);

// Whether `written`, looked up in a folder, finds the entry `name`: its long name in any case,
// or the short name Wine gives it.
bool AnswersTo(std::string_view name, std::string_view written);

// `path` with each name written as a short name replaced by the entry it finds in its folder on
// disk, as Wine finds it: an entry of that very name first, else the first in the folder's order
// that answers to it. A name no entry answers to stays as written.
WinPath LongPath(const WinePrefix& prefix, const WinPath& path);

}  // namespace platform
