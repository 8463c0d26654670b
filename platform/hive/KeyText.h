#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// The key lines of a hive file and the options that follow them: "[path] N", "#time=",
// "#class=", "#link"; and the header Wine writes at the top of the file.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/hive/Hive.h"

namespace platform {

inline constexpr std::string_view kHiveSignature = "WINE REGISTRY Version 2";

// Reads a key line whose content starts at its '[': the unescaped path (components
// separated by single backslashes) into `path`. False when there is no closing ']'
// (Wine: "Malformed key").
bool ParseKeyLine(std::string_view content, std::u16string& path);

// The " N" after a key line's ']', read as sscanf(" %u") reads it: decimal, with an
// optional sign, cut to 32 bits.
std::optional<uint32_t> ParseKeySeconds(std::string_view afterPath);

// Splits a key path into its components. Empty components (doubled, leading or trailing
// backslashes) name no key of their own, as in Wine's loader.
void SplitKeyPath(std::u16string_view path, std::vector<std::u16string_view>& components);
std::vector<std::u16string_view> SplitKeyPath(std::u16string_view path);

// "#time=<hex>": the loader reads hex digits up to the first other byte.
FileTime ParseTimeOption(std::string_view content);
// "#class=\"...\"": nothing when the quotes are missing.
std::optional<std::u16string> ParseClassOption(std::string_view content);

// The lines Wine writes for a key before its values, each with its line end:
// "[path] N", "#time=...", and "#class=..." / "#link" when they apply. `escapedPath` is
// already escaped (components joined by "\\\\").
void AppendKeyHeader(std::string& out, std::string_view escapedPath, FileTime time,
                     const std::u16string* className, bool link);

// The header of a new hive file. `relativeTo` is the branch, e.g. "REGISTRY\\Machine".
std::string NewHiveHeader(std::string_view relativeTo, std::string_view arch);

}  // namespace platform
