#pragma once

// What a hive slice must answer as the whole file does: every key on the way to a wanted key
// and below one, with its spelling, values, link and class, and the names of its subkeys.
// Header only, for the tests and the fuzz target alike.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Unicode.h"
#include "platform/hive/Hive.h"
#include "platform/hive/Slicing.h"

namespace testsupport {

// The slice as the slicer makes it fed one line at a time, without passing over the lines it
// drops: what SliceHiveText must give.
inline std::optional<std::string> SliceLineByLine(std::string_view text,
                                                  const platform::HiveKeyPaths& keys) {
  platform::HiveSlicer slicer(keys);
  for (size_t pos = 0; pos < text.size();) {
    const size_t newline = text.find('\n', pos);
    const size_t end = newline == std::string_view::npos ? text.size() : newline + 1;
    if (!slicer.Feed(text.substr(pos, end - pos))) break;
    pos = end;
  }
  return slicer.Finish();
}

// The differences found, one line each: none when the slice stands for the file.
inline std::vector<std::string> SliceDifferences(const platform::Hive& whole,
                                                 const platform::Hive& slice,
                                                 const platform::HiveKeyPaths& keys) {
  using platform::Hive;
  std::vector<std::string> differences;
  // Whether one path starts with the other, names compared as the registry compares them.
  auto related = [&](const std::vector<std::string>& path) {
    for (const std::vector<std::string>& key : keys) {
      size_t same = 0;
      while (same < key.size() && same < path.size() &&
             platform::EqualNoCase(key[same], path[same]))
        ++same;
      if (same == key.size() || same == path.size()) return true;
    }
    return false;
  };
  struct Pending {
    Hive::KeyId whole;
    Hive::KeyId slice;
    std::vector<std::string> path;
  };
  std::vector<Pending> pending{{Hive::kRoot, Hive::kRoot, {}}};
  while (!pending.empty()) {
    const Pending at = std::move(pending.back());
    pending.pop_back();
    std::string name;
    for (const std::string& part : at.path)
      name += "\\" + part;
    if (whole.KeyName(at.whole) != slice.KeyName(at.slice))
      differences.push_back(name + ": spelled " + slice.KeyName(at.slice));
    if (whole.IsLink(at.whole) != slice.IsLink(at.slice))
      differences.push_back(name + ": link or not");
    if (whole.ClassName(at.whole) != slice.ClassName(at.slice))
      differences.push_back(name + ": class");
    const std::vector<const platform::RegValue*> values = whole.Values(at.whole);
    const std::vector<const platform::RegValue*> sliced = slice.Values(at.slice);
    bool sameValues = values.size() == sliced.size();
    for (size_t i = 0; sameValues && i < values.size(); ++i)
      sameValues = values[i]->name == sliced[i]->name && values[i]->type == sliced[i]->type &&
                   values[i]->data == sliced[i]->data;
    if (!sameValues) differences.push_back(name + ": values");
    const std::vector<std::string> children = whole.SubKeyNames(at.whole);
    if (children != slice.SubKeyNames(at.slice)) differences.push_back(name + ": subkeys");
    for (const std::string& child : children) {
      std::vector<std::string> path = at.path;
      path.push_back(child);
      if (!related(path)) continue;
      const std::optional<Hive::KeyId> inWhole = whole.FindChild(at.whole, child);
      const std::optional<Hive::KeyId> inSlice = slice.FindChild(at.slice, child);
      if (inWhole && inSlice) pending.push_back({*inWhole, *inSlice, std::move(path)});
    }
  }
  return differences;
}

}  // namespace testsupport
