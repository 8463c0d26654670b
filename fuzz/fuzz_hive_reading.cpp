// Fuzzes reading a hive's keys as they are needed against reading them all at once. On every
// input the two answer alike: the whole tree, the faults, the times, and the text after the
// same changes, made while most of the file is still unread.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/support/HiveReadingCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (!testsupport::KeyReadingDifferences(text).empty()) std::abort();
  return 0;
}
