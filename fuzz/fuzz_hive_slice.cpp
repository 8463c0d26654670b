// Fuzzes the hive slicer against the whole read. On every input: the slice is the one the
// slicer makes when fed line by line, without passing over the lines it drops; and when the
// slicer gives a slice, that slice read as a hive answers every key on the way to the wanted
// keys and below them exactly as the whole text does (names, spellings, values, links,
// classes, subkeys). Short wanted names, one of them behind a "Wow6432Node", let the fuzzer
// reach them.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/hive/Hive.h"
#include "platform/hive/Slicing.h"
#include "tests/support/HiveSliceCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const platform::HiveKeyPaths kKeys = {
      {"a", "b"}, {"Wow6432Node", "a", "b"}, {"a", "Wow6432Node", "b"}, {"c"}};
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::optional<std::string> slice = platform::SliceHiveText(text, kKeys);
  if (slice != testsupport::SliceLineByLine(text, kKeys)) std::abort();
  if (!slice) return 0;
  const platform::Hive whole = platform::Hive::Parse(text);
  const platform::Hive sliced = platform::Hive::Parse(*slice);
  if (whole.writable() != sliced.writable()) std::abort();
  if (!testsupport::SliceDifferences(whole, sliced, kKeys).empty()) std::abort();
  return 0;
}
