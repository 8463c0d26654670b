#pragma once

// Path operations on Windows path strings, resolved on the machine in use
// (platform::Machine::Current(): the Wine prefix, and the program's own folder on it).
//
// Folders returned here follow two conventions the callers rely on:
// - GetApplicationDir ends with a backslash ("Z:\dist\"), so a file name can follow it
//   directly; callers that compare folders drop it first with RemoveBackslash.
// - GetWindowsDir has none ("C:\windows"), as Windows gives it, because it is shown
//   as it is.
// Nothing here throws except GetApplicationDir and ExpandApplicationDir, when the program's
// own folder cannot be named on the machine: without it there is nothing to install from.

#include <string>
#include <string_view>

// The program's folder with a trailing backslash.
std::string GetApplicationDir();
// The running program's file name, without its folder ("PolyverbSetup"); empty when the
// system cannot tell.
std::string GetApplicationFileName();
// The Windows folder, without a trailing backslash.
std::string GetWindowsDir();

// FileName made absolute against the program's folder (an absolute name stands for itself).
std::string ExpandApplicationDir(std::string_view FileName);
// FileName made absolute against Dir and normalised: `\` separators, `.` and `..` resolved,
// an absolute FileName stands for itself. An empty Dir names no folder, so FileName comes
// back unchanged and every file operation on it fails; a folder nobody chose is never
// guessed. A name that cannot be resolved comes back as Dir and FileName joined by one
// backslash, so the operation that uses it reports the problem.
std::string ExpandFileNameByDir(std::string_view FileName, std::string_view Dir);

// Path without one trailing backslash; any other path unchanged. A drive root loses its
// backslash too ("C:\" becomes "C:"): the result is for comparing and showing folders.
std::string RemoveBackslash(std::string_view Path);

// Whether a file (not a folder) or a folder exists. False for a name that is not a valid
// absolute Windows path.
bool FileExist(std::string_view FileName);
bool DirExist(std::string_view Dir);
// Creates Dir with every missing level; true when the folder exists afterwards. A caller
// that tells why it failed calls platform::ForceDirectories, which says.
bool CreateDirRecurse(std::string_view Dir);
