#pragma once

// Every unit records its source revision line once at start, so that a core dump or
// a debugger shows which revision of each unit the program was built from:
//
//   namespace {
//   [[maybe_unused]] const bool kUnitVersion = UnitVersion("PolyverbInstallMain.cpp 1.4");
//   }
//
// Nothing in the program reads the lines back.

#include <string>
#include <string_view>
#include <vector>

// Records Line; returns true so the call can initialise a constant at namespace scope.
bool UnitVersion(std::string_view Line);

// The lines recorded so far, in the order the units started.
std::vector<std::string> UnitVersions();
