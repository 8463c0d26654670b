#pragma once

// Splitting file names the way the classic runtime does: purely on the text, with `\` and
// the drive colon as delimiters. Nothing here looks at the disk or normalises the path.

#include <string>
#include <string_view>

namespace platform {

// The part after the last `\` or `:` ("C:\a\b.txt" -> "b.txt").
std::string ExtractFileName(std::string_view fileName);

// Everything up to and including the last `\` or `:` ("C:\a\b.txt" -> "C:\a\").
std::string ExtractFilePath(std::string_view fileName);

// As ExtractFilePath without the trailing backslash, except where it is part of a root:
// "C:\a\b.txt" -> "C:\a", "C:\b.txt" -> "C:\", "\b.txt" -> "\".
std::string ExtractFileDir(std::string_view fileName);

// The extension with its dot, or empty; it starts at the last `.` after the last `\` or `:`.
std::string ExtractFileExt(std::string_view fileName);

// Replaces the extension, or adds one; `extension` includes its dot (".cfg").
std::string ChangeFileExt(std::string_view fileName, std::string_view extension);

}  // namespace platform
