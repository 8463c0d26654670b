// Fuzzes the expansion of environment strings, the parser behind the shell folder values a
// prefix's registry holds. The input is the text to expand. Properties checked: text without a
// percent sign stays as it is; expanding against an empty environment changes nothing; every
// variable's value contains no percent sign here, so the percent signs of the result are the
// input's less two for each name replaced.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/EnvironmentStrings.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  platform::Environment environment;
  environment.Set("USERPROFILE", "C:\\users\\ann");
  environment.Set("windir", "C:\\windows");
  environment.Set("EMPTY", "");
  environment.Set("X", "x");
  const std::string expanded = environment.Expand(text);
  const auto percents = [](std::string_view s) { return std::count(s.begin(), s.end(), '%'); };
  if (percents(text) == 0) Check(expanded == text);
  Check(percents(expanded) <= percents(text));
  Check((percents(text) - percents(expanded)) % 2 == 0);
  Check(platform::Environment().Expand(text) == text);
  return 0;
}
