#include "platform/ShortNames.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/Unicode.h"

namespace platform {

namespace {

// What no 8.3 name may hold; a space is allowed inside one, but Wine gives such a name a short
// name all the same, so here it counts as not short.
constexpr std::string_view kNotInShortName = "*?<>|\"+=,;[]:/\\ ";

// A character Wine replaces by '_' when it makes up a short name.
bool NotForShortName(char16_t c) {
  return c > 0x7F || c == '~' || c == '.' ||
         kNotInShortName.find(static_cast<char>(c)) != std::string_view::npos;
}

char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The first entry of host folder `folder`, in the folder's order, that `written` finds.
std::optional<std::string> FindAnswering(const std::string& folder, std::string_view written) {
  DIR* listing = ::opendir(folder.c_str());
  if (listing == nullptr) return std::nullopt;
  const auto close = [](DIR* d) { ::closedir(d); };
  const std::unique_ptr<DIR, decltype(close)> closing(listing, close);
  while (const dirent* entry = ::readdir(listing)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (AnswersTo(name, written)) return std::string(name);
  }
  return std::nullopt;
}

}  // namespace

bool IsShortName(std::string_view name) {
  if (name.empty() || name.size() > 12 || name.front() == '.') return false;
  size_t dot = std::string_view::npos;
  for (size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c > 0x7F || kNotInShortName.find(static_cast<char>(c)) != std::string_view::npos)
      return false;
    if (c != '.') continue;
    if (dot != std::string_view::npos) return false;
    dot = i;
  }
  if (dot == std::string_view::npos) return name.size() <= 8;
  const size_t extension = name.size() - dot - 1;
  return dot <= 8 && extension >= 1 && extension <= 3;
}

std::string WineShortName(std::string_view name) {
  if (IsShortName(name)) return {};
  const std::u16string units = Utf8ToUtf16(name);
  if (units.empty()) return {};

  // The hash runs over the name without case, each unit mixed with the one after it.
  std::uint32_t hash = 0xBEEF;
  for (size_t i = 0; i + 1 < units.size(); ++i) {
    hash = ((hash << 3) ^ (hash >> 5) ^ FoldCase(units[i]) ^
            (static_cast<std::uint32_t>(FoldCase(units[i + 1])) << 8)) &
           0xFFFF;
  }
  hash = ((hash << 3) ^ (hash >> 5) ^ FoldCase(units.back())) & 0xFFFF;

  // The extension begins at the last dot that is neither the first nor the last unit.
  size_t extension = std::u16string::npos;
  for (size_t i = 1; i + 1 < units.size(); ++i) {
    if (units[i] == '.') extension = i;
  }
  const size_t stem = extension == std::u16string::npos ? units.size() : extension;

  std::string shortName;
  for (size_t i = 0; i < stem && shortName.size() < 4; ++i)
    shortName += NotForShortName(units[i]) ? '_' : static_cast<char>(units[i]);
  // Padded to five with '~', so that a short name always holds one.
  shortName.resize(5, '~');
  static constexpr char kHashLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
  shortName += kHashLetters[(hash >> 10) & 0x1F];
  shortName += kHashLetters[(hash >> 5) & 0x1F];
  shortName += kHashLetters[hash & 0x1F];
  if (extension != std::u16string::npos) {
    shortName += '.';
    for (size_t i = extension + 1; i < units.size() && i <= extension + 3; ++i)
      shortName += NotForShortName(units[i]) ? '_' : static_cast<char>(units[i]);
  }
  for (char& c : shortName)
    c = Upper(c);
  return shortName;
}

bool AnswersTo(std::string_view name, std::string_view written) {
  if (EqualNoCase(name, written)) return true;
  // A made-up short name is always a short name itself, so only such a name can equal one.
  const std::string shortName = WineShortName(name);
  return !shortName.empty() && EqualNoCase(shortName, written);
}

WinPath LongPath(const WinePrefix& prefix, const WinPath& path) {
  WinPath longPath = WinPath::DriveRoot(path.drive());
  for (const std::string& name : path.components()) {
    std::string found = name;
    // Every made-up short name holds a '~': a name without one is found by its long name,
    // which the prefix's own lookup does.
    if (name.find('~') != std::string::npos && IsShortName(name)) {
      const Result<std::string> folder = prefix.ToHostPath(longPath);
      struct stat info {};
      if (folder && ::lstat((*folder + "/" + name).c_str(), &info) != 0) {
        if (std::optional<std::string> entry = FindAnswering(*folder, name)) found = *entry;
      }
    }
    // An entry whose name Windows cannot spell is no folder a Windows path goes through.
    if (found != name && !CheckFileName(found)) return path;
    Result<WinPath> next = longPath.Join(found);
    if (!next) return path;
    longPath = std::move(next).value();
  }
  return longPath;
}

}  // namespace platform
