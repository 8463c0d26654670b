#include "tests/support/TestNames.h"

#include <cctype>

namespace testsupport {

namespace {

// Signs that a sentence may be about ("',' expected"), spelt out; others are left out.
const char* SignName(char c) {
  switch (c) {
    case '=':
      return "Equals";
    case ',':
      return "Comma";
    default:
      return nullptr;
  }
}

}  // namespace

std::string TestNameFrom(std::string_view Sentence) {
  std::string name;
  bool wordStart = true;
  for (const char c : Sentence) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte)) {
      name += wordStart ? static_cast<char>(std::toupper(byte)) : c;
      wordStart = false;
      continue;
    }
    if (const char* sign = SignName(c)) name += sign;
    wordStart = true;
  }
  return name;
}

}  // namespace testsupport
