#pragma once

// The file functions of the Windows API and of the classic runtime, as the setup program
// calls them, on the machine in use (Machine::Current()): each answers true or false, as
// those functions do, and keeps the reason of its last failure for whoever wants to tell
// the user more (LastFileError, the counterpart of GetLastError).

#include <cstdint>
#include <string_view>

#include "platform/Files.h"
#include "platform/Status.h"

namespace platform {

// The Windows names of the attribute bits.
inline constexpr std::uint32_t FILE_ATTRIBUTE_READONLY = faReadOnly;
inline constexpr std::uint32_t FILE_ATTRIBUTE_NORMAL = faNormal;

// Copies a file; with FailIfExists false an existing target is replaced. A failed copy
// leaves the target as it was.
bool CopyFileA(std::string_view ExistingFileName, std::string_view NewFileName, bool FailIfExists);
// FILE_ATTRIBUTE_NORMAL clears the read-only attribute, FILE_ATTRIBUTE_READONLY sets it.
bool SetFileAttributesA(std::string_view FileName, std::uint32_t Attributes);
// A file, not a folder; a read-only file is refused.
bool DeleteFile(std::string_view FileName);
// An empty folder, its last level only.
bool RemoveDir(std::string_view Dir);
// A folder with every missing level; true when it exists afterwards.
bool ForceDirectories(std::string_view Dir);
// Whether two paths name one existing file (another spelling, a link, another drive onto
// the same folder).
bool SameFile(std::string_view A, std::string_view B);

// Why the last of the calls above failed on this thread; success after a call that worked.
const Status& LastFileError();

}  // namespace platform
