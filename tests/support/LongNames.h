#pragma once

// Names and paths of a chosen length in bytes, to meet the host's limits exactly.

#include <cstddef>
#include <string>

namespace testsupport {

// The Windows path `path`, whose host path has `hostBytes` bytes, grown by names of `fill` until
// its host path has exactly `bytes` bytes (no name longer than 200, none empty).
inline std::string GrownTo(std::string path, size_t hostBytes, size_t bytes, char fill) {
  while (hostBytes < bytes) {
    const size_t left = bytes - hostBytes - 1;  // after the next backslash
    const size_t name = left <= 200 ? left : (left - 200 >= 2 ? 200 : 150);
    path += "\\" + std::string(name, fill);
    hostBytes += name + 1;
  }
  return path;
}

// `count` times "é", two bytes each.
inline std::string Accents(int count) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += "\xc3\xa9";
  return text;
}

}  // namespace testsupport
