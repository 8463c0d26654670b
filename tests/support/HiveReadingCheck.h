#pragma once

// What a hive whose keys are read as needed must answer as the same file with every key read
// at once: the whole tree (spelling, values, link, class, subkeys, times), the faults, and
// the text after the same changes. Header only, for the tests and the fuzz target alike.

#include <optional>
#include <string>
#include <vector>

#include "platform/hive/Document.h"
#include "platform/hive/Hive.h"
#include "platform/hive/Scanning.h"
#include "tests/support/HiveSliceCheck.h"

namespace testsupport {

// Whether loading the text reads no key: its key lines come in Wine's order.
inline bool LoadsWithoutReadingKeys(const std::string& text) {
  platform::HiveDocument doc;
  doc.text = text;
  doc.keys.emplace_back();
  platform::ScanHiveText(doc, platform::Hive::KeyReading::AsNeeded);
  return doc.keys.size() == 1;
}

// The differences found, one line each: none when the two readings agree.
inline std::vector<std::string> KeyReadingDifferences(const std::string& text) {
  using platform::Hive;
  Hive atOnce = Hive::Parse(text, Hive::KeyReading::AtOnce);
  Hive asNeeded = Hive::Parse(text, Hive::KeyReading::AsNeeded);
  std::vector<std::string> differences;
  auto sameText = [&](const char* when) {
    if (atOnce.Render() != asNeeded.Render()) differences.push_back(std::string(when) + "text");
  };
  // Changes first, while most of the file is unread.
  auto deleteValues = [](Hive& hive) {
    const std::vector<std::string> tops = hive.SubKeyNames(Hive::kRoot);
    if (tops.empty()) return;
    // A key whose subkeys are still unread, left without values. (A name that cannot be looked
    // up, such as one holding a backslash, leaves this out.)
    const std::optional<Hive::KeyId> last = hive.FindChild(Hive::kRoot, tops.back());
    if (!last) return;
    std::vector<std::string> values;
    for (const platform::RegValue* value : hive.Values(*last))
      values.push_back(value->name);
    for (const std::string& name : values)
      hive.DeleteValue(*last, name, 10);
  };
  auto change = [](Hive& hive) {
    const std::vector<std::string> tops = hive.SubKeyNames(Hive::kRoot);
    const Hive::KeyId top =
        tops.empty() ? Hive::kRoot
                     : hive.FindChild(Hive::kRoot, tops[tops.size() / 2]).value_or(Hive::kRoot);
    const std::vector<std::string> names = hive.SubKeyNames(top);
    const Hive::KeyId below = names.empty() ? top : hive.FindChild(top, names.back()).value_or(top);
    hive.SetValue(below, platform::RegValue::Dword("Changed", 1), 7);
    hive.CreateChild(top, "M\\New", 8);
    hive.CreateChild(Hive::kRoot, "N", 9);
  };
  deleteValues(atOnce);
  deleteValues(asNeeded);
  sameText("after a deletion: ");
  change(atOnce);
  change(asNeeded);
  sameText("after changes: ");
  for (const std::string& line : SliceDifferences(atOnce, asNeeded, {{}}))
    differences.push_back(line);

  // Then what needs every key, in loads of their own: the faults and the times. A key the
  // file gives no time has the time of the load, as the root has, which differs between the
  // two loads.
  atOnce = Hive::Parse(text, Hive::KeyReading::AtOnce);
  asNeeded = Hive::Parse(text, Hive::KeyReading::AsNeeded);
  const auto& faults = atOnce.diagnostics();
  const auto& others = asNeeded.diagnostics();
  bool sameFaults = faults.size() == others.size();
  for (size_t i = 0; sameFaults && i < faults.size(); ++i)
    sameFaults = faults[i].line == others[i].line && faults[i].message == others[i].message;
  if (!sameFaults) differences.push_back("faults");
  auto timeOf = [](const Hive& hive, Hive::KeyId key) {
    const platform::FileTime time = hive.ModificationTime(key);
    return time == hive.ModificationTime(Hive::kRoot) ? 0 : time;
  };
  std::vector<std::pair<Hive::KeyId, Hive::KeyId>> pending{{Hive::kRoot, Hive::kRoot}};
  while (!pending.empty()) {
    const auto [a, b] = pending.back();
    pending.pop_back();
    if (timeOf(atOnce, a) != timeOf(asNeeded, b))
      differences.push_back(atOnce.KeyName(a) + ": time");
    for (const std::string& name : atOnce.SubKeyNames(a)) {
      const std::optional<Hive::KeyId> x = atOnce.FindChild(a, name);
      const std::optional<Hive::KeyId> y = asNeeded.FindChild(b, name);
      if (x && y) pending.emplace_back(*x, *y);
    }
  }
  return differences;
}

}  // namespace testsupport
