#pragma once

// The display form of a path that has to fit a caption or a status line.

#include <cstddef>
#include <string>
#include <string_view>

// Path shortened to at most MaxLength characters (UTF-8 characters, not bytes). The rule:
// 1. A path that fits is returned unchanged.
// 2. Otherwise folders are dropped from the middle: the drive part ("C:\", or "\\server\share\")
//    stays, "...\" stands for what is dropped, and as many of the last names follow as fit:
//    "C:\Program Files\Borland\Delphi 5\Bin" with 30 gives "C:\...\Borland\Delphi 5\Bin".
// 3. When not even the last name fits that way, the end of the path is kept behind "...",
//    after the drive part where there is room for it: "C:\...older Name".
// 4. Below 4 characters there is no room for "..." and some text, so the last MaxLength
//    characters are returned.
std::string ShortPath(std::string_view Path, std::ptrdiff_t MaxLength);
