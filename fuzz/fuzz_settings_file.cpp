// Fuzzes the settings file's text. Properties checked on every input:
// - reading never fails, and an unchanged document renders as the input, byte for byte;
// - a value set (with or without a hint) reads back exactly, from the document and from the
//   text it renders, and every other entry still reads as before;
// - the rendered text renders the same again after reading it back.
// The section, name and value set are taken from the input's last bytes, so the fuzzer steers
// them too.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "package/SettingsText.h"
#include "platform/StringFunctions.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// Splits the tail into up to three parts at NUL bytes: section, name, value.
std::vector<std::string> Parts(std::string_view tail) {
  std::vector<std::string> parts(3);
  size_t part = 0;
  for (const char c : tail) {
    if (c == '\0' && part < 2) {
      ++part;
      continue;
    }
    parts[part] += c;
  }
  return parts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  SettingsText text = SettingsText::Parse(input);
  Check(text.Render() == input);
  const std::vector<SettingsText::Entry> before = text.Entries();

  const std::vector<std::string> parts = Parts(input.substr(size > 40 ? size - 40 : 0));
  const std::string& section = parts[0];
  const std::string& name = parts[1];
  const std::string& value = parts[2];
  std::optional<SettingsHint> hint;
  if (size % 2 == 1) hint = SettingsHint{value.substr(0, 8), static_cast<int>(size % 60)};

  const bool changed = text.Write(section, name, value, hint);
  Check(text.Read(section, name) == value);
  const std::string rendered = text.Render();
  Check(changed == (rendered != input));
  const SettingsText again = SettingsText::Parse(rendered);
  Check(again.Render() == rendered);
  Check(again.Read(section, name) == value);
  const SettingsText original = SettingsText::Parse(input);
  for (const SettingsText::Entry& entry : before) {
    if (platform::SameText(entry.section, section) && platform::SameText(entry.name, name))
      continue;
    Check(again.Read(entry.section, entry.name) == original.Read(entry.section, entry.name));
  }
  // Writing the same again changes nothing.
  SettingsText same = again;
  Check(!same.Write(section, name, value, hint));
  Check(same.Render() == rendered);
  return 0;
}
