// Fuzzes the window-state text of the package's forms. Properties checked on every input:
// reading never fails loudly; what it reads has a positive size and a known state, and
// writing it gives a text that reads back the same and is written the same again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "package/WindowPlacement.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::optional<TWindowPlacement> placement = ParseWindowPlacement(input);
  if (!placement) return 0;
  Check(placement->Width > 0 && placement->Height > 0);
  Check(placement->State == wsNormal || placement->State == wsMinimized ||
        placement->State == wsMaximized);
  const std::string text = FormatWindowPlacement(*placement);
  const std::optional<TWindowPlacement> again = ParseWindowPlacement(text);
  Check(again && *again == *placement);
  Check(FormatWindowPlacement(*again) == text);
  return 0;
}
