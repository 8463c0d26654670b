// Fuzzes the text form of persisted values: the first byte picks a property of every kind a
// settings file can hold, the rest is the text read from the file.
// Properties checked on every input: a text either sets the property or is refused with
// EConvertError (and then leaves the value as it was), and a value that was set reads back as a
// text that sets the very same value again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "package/PropertyEntry.h"
#include "toolkit/model/ClassBuilder.h"
#include "toolkit/model/Component.h"
#include "toolkit/model/PropAccess.h"

TOOLKIT_ENUM(TFuzzMode, fmOne, fmTwo, fmThree)
TOOLKIT_SET(TFuzzModes, TFuzzMode)

class TFuzzValues : public TComponent {
  TOOLKIT_CLASS(TFuzzValues, TComponent)

  explicit TFuzzValues(TComponent* AOwner) : TComponent(AOwner) {}

  std::string Text;
  std::int32_t Number = 0;
  std::int64_t Big = 0;
  bool Flag = false;
  TFuzzMode Mode = fmOne;
  TFuzzModes Modes;
  double Ratio = 0;
  char Letter = 'a';
  TComponent* Link = nullptr;
};

TClass TFuzzValues::StaticClass() {
  return DefineClass<TFuzzValues>("TFuzzValues", [](ClassBuilder<TFuzzValues>& c) {
    c.Property("Text", &TFuzzValues::Text);
    c.Property("Number", &TFuzzValues::Number);
    c.Property("Big", &TFuzzValues::Big);
    c.Property("Flag", &TFuzzValues::Flag);
    c.Property("Mode", &TFuzzValues::Mode);
    c.Property("Modes", &TFuzzValues::Modes);
    c.Property("Ratio", &TFuzzValues::Ratio);
    c.Property("Letter", &TFuzzValues::Letter);
    c.Property("Link", &TFuzzValues::Link);
  });
}

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

const char* const kProperties[] = {"Text",  "Number", "Big",    "Flag", "Mode",
                                   "Modes", "Ratio",  "Letter", "Link"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static TComponent* const owner = [] {
    auto* root = new TComponent(nullptr);
    auto* other = new TFuzzValues(root);
    other->SetName("Other");
    return root;
  }();
  auto* values = new TFuzzValues(owner);
  const char* name = kProperties[data[0] % std::size(kProperties)];
  TPropertyEntry entry(values, GetPropInfo(values, name), name);
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

  const std::string before = VarToStr(entry.GetValue());
  bool set = true;
  try {
    entry.SetValue(text);
  } catch (const EConvertError&) {
    set = false;
  }
  const std::string after = VarToStr(entry.GetValue());
  if (!set) Check(after == before);
  if (set) {
    entry.SetValue(after);
    Check(VarToStr(entry.GetValue()) == after);
  }
  values->Free();
  return 0;
}
