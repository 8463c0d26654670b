// Fuzzes the hive document. Properties checked on every input:
// - loading never fails, and an unchanged document renders as the input, byte for byte;
// - the keys and values are those a plain line-by-line reading (the way Wine's loader
//   goes through a file) finds, although the document skips from key line to key line;
// - after a few changes derived from the input, the rendered text loads back into the
//   same keys and values.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "platform/Unicode.h"
#include "platform/hive/Hive.h"
#include "platform/hive/KeyText.h"
#include "platform/hive/LineWalking.h"
#include "platform/hive/ValueText.h"

namespace {

using platform::Hive;
using platform::RegValue;

void Check(bool condition) {
  if (!condition) std::abort();
}

// Every key by path, with its values as type and bytes. Names that hold a lone surrogate
// read as U+FFFD in UTF-8 and cannot be looked up by name, so they are left out.
using Snapshot = std::map<std::string, std::map<std::string, std::pair<uint32_t, std::string>>>;

bool Addressable(const std::string& name) {
  return name.find("\xEF\xBF\xBD") == std::string::npos;
}

Snapshot Take(const Hive& hive) {
  Snapshot snapshot;
  std::vector<std::pair<Hive::KeyId, std::string>> pending{{Hive::kRoot, ""}};
  while (!pending.empty()) {
    const auto [key, path] = pending.back();
    pending.pop_back();
    auto& values = snapshot[path];
    for (const RegValue* value : hive.Values(key)) {
      if (Addressable(value->name)) values[value->name] = {value->type, value->data};
    }
    for (const std::string& name : hive.SubKeyNames(key)) {
      if (!Addressable(name)) continue;
      const std::optional<Hive::KeyId> child = hive.FindChild(key, name);
      Check(child.has_value() && hive.Parent(*child) == key);
      pending.emplace_back(*child, path + "\\" + name);
    }
  }
  return snapshot;
}

// Reads the text line by line as Wine's loader does.
struct CaseLess {
  bool operator()(const std::u16string& a, const std::u16string& b) const {
    return platform::CompareNoCase(a, b) < 0;
  }
};
struct PlainKey {
  std::map<std::u16string, PlainKey, CaseLess> children;
  std::map<std::u16string, std::pair<uint32_t, std::string>, CaseLess> values;
};

PlainKey ReadLineByLine(std::string_view text) {
  PlainKey root;
  platform::HiveLineCursor cursor(text, 0, text.size());
  platform::HiveLine line;
  if (!cursor.Next(line) || platform::CutAtNul(line.content) != platform::kHiveSignature)
    return root;
  PlainKey* current = nullptr;
  std::string arch;
  std::u16string path;
  while (cursor.Next(line)) {
    const std::string_view content = line.content.substr(platform::SkipHiveSpace(line.content, 0));
    const char first = content.empty() ? 0 : content[0];
    if (first == '[') {
      current = nullptr;
      if (!platform::ParseKeyLine(content, path)) continue;
      current = &root;
      if (!path.empty() && path[0] == 0) continue;
      for (std::u16string_view component : platform::SplitKeyPath(path))
        current = &current->children.try_emplace(std::u16string(component)).first->second;
    } else if ((first == '"' || first == '@') && current) {
      platform::ParsedValue value = platform::ParseValueLine(content, cursor, true);
      if (value.outcome == platform::ParsedValue::Outcome::MalformedName) continue;
      current->values.insert_or_assign(value.name, std::pair{value.type, value.data});
    } else if (first == '#' && !current && content.substr(0, 6) == "#arch=") {
      const std::string_view name = platform::CutAtNul(content.substr(6));
      if ((name != "win32" && name != "win64") || (!arch.empty() && arch != name)) break;
      arch = name;
    }
  }
  return root;
}

void Flatten(const PlainKey& key, const std::string& path, Snapshot& snapshot) {
  auto& values = snapshot[path];
  for (const auto& [name, value] : key.values) {
    const std::string utf8 = platform::Utf16ToUtf8(name);
    if (Addressable(utf8)) values[utf8] = value;
  }
  for (const auto& [name, child] : key.children) {
    const std::string utf8 = platform::Utf16ToUtf8(name);
    if (Addressable(utf8)) Flatten(child, path + "\\" + utf8, snapshot);
  }
}

std::vector<Hive::KeyId> SomeKeys(const Hive& hive, size_t limit) {
  std::vector<Hive::KeyId> keys{Hive::kRoot};
  for (size_t i = 0; i < keys.size() && keys.size() < limit; ++i) {
    for (const std::string& name : hive.SubKeyNames(keys[i])) {
      if (const std::optional<Hive::KeyId> child = hive.FindChild(keys[i], name))
        keys.push_back(*child);
    }
  }
  return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  Hive hive = Hive::Parse(text);
  Check(hive.Render() == text);
  Check(hive.writable() == hive.refusal().empty());
  for (const platform::HiveDiagnostic& diagnostic : hive.diagnostics())
    Check(diagnostic.line >= 1);

  Snapshot expected;
  Flatten(ReadLineByLine(text), "", expected);
  Check(Take(hive) == expected);
  if (!hive.writable()) return 0;

  // Changes picked by the last bytes of the input, so the fuzzer steers them too.
  const std::vector<Hive::KeyId> keys = SomeKeys(hive, 64);
  const std::string tail = text.substr(size > 24 ? size - 24 : 0);
  uint64_t time = 0x1dd869015e08b24;
  for (size_t i = 0; i + 3 <= tail.size(); i += 3) {
    const Hive::KeyId key = keys[static_cast<unsigned char>(tail[i]) % keys.size()];
    const std::string name = tail.substr(i + 1, static_cast<unsigned char>(tail[i + 2]) % 3);
    const auto type = static_cast<uint32_t>(static_cast<unsigned char>(tail[i + 2]) % 12);
    switch (static_cast<unsigned char>(tail[i + 1]) % 4) {
      case 0:
        hive.SetValue(key, RegValue::String(name, tail.substr(i)), ++time);
        break;
      case 1:
        hive.SetValue(key, RegValue{name, type, tail.substr(i)}, ++time);
        break;
      case 2:
        hive.DeleteValue(key, name, ++time);
        break;
      default:
        hive.CreateChild(key, name, ++time);
        break;
    }
  }
  const Snapshot changed = Take(hive);
  const std::string rendered = hive.Render();
  const Hive reloaded = Hive::Parse(rendered);
  Check(reloaded.writable());
  Check(Take(reloaded) == changed);
  Check(reloaded.Render() == rendered);
  return 0;
}
