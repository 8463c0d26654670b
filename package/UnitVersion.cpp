#include "package/UnitVersion.h"

#include <mutex>

namespace {

// Reached from the static initialisers of other units, so both live in functions:
// they exist before the first unit records its line, whatever the link order.
std::mutex& Guard() {
  static std::mutex guard;
  return guard;
}

std::vector<std::string>& Lines() {
  static std::vector<std::string> lines;
  return lines;
}

[[maybe_unused]] const bool kUnitVersion = UnitVersion("UnitVersion.cpp 1.0");

}  // namespace

bool UnitVersion(std::string_view Line) {
  const std::lock_guard<std::mutex> lock(Guard());
  Lines().emplace_back(Line);
  return true;
}

std::vector<std::string> UnitVersions() {
  const std::lock_guard<std::mutex> lock(Guard());
  return Lines();
}
