#pragma once

// The files of the machine in use (Machine::Current()), as the layers above the platform
// reach them: the Windows API's and the classic runtime's names where the setup program
// calls those functions. Every call that can fail answers a Status (or a Result) whose
// message names the path and says why; a Status tests true for success, as the Windows
// functions' answer does. The questions (whether a file exists, whether two paths are one
// file) answer false as well when the path cannot be examined.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/Status.h"

namespace platform {

// The Windows name of the attribute value the setup program gives its copies.
inline constexpr std::uint32_t FILE_ATTRIBUTE_NORMAL = faNormal;

// Copies a file; with FailIfExists false an existing target is replaced. A failed copy
// leaves the target as it was.
Status CopyFileA(std::string_view ExistingFileName, std::string_view NewFileName,
                 bool FailIfExists);
// The same, telling whether the target already held the source's bytes.
Status CopyFileA(std::string_view ExistingFileName, std::string_view NewFileName, bool FailIfExists,
                 FileSystem::CopyReport& Report);
// FILE_ATTRIBUTE_NORMAL clears the read-only attribute, faReadOnly sets it.
Status SetFileAttributesA(std::string_view FileName, std::uint32_t Attributes);
// A file, not a folder; a read-only file is refused.
Status DeleteFile(std::string_view FileName);
// An empty folder, its last level only.
Status RemoveDir(std::string_view Dir);
// A folder with every missing level; success when it exists afterwards.
Status ForceDirectories(std::string_view Dir);

// The whole content of a file (FileSystem::ReadFile).
Result<std::string> ReadFile(std::string_view FileName);
// Changes a file safely under the lock all our processes share (FileSystem::RewriteFile).
Status RewriteFile(std::string_view FileName, const FileSystem::FileChange& Change);

// Whether a file (not a folder), or a folder, exists.
bool FileExists(std::string_view FileName);
bool DirectoryExists(std::string_view Dir);
// Whether two paths name one existing file (another spelling, a link, another drive onto
// the same folder).
bool SameFile(std::string_view A, std::string_view B);

}  // namespace platform
