#include "package/WindowPlacement.h"

#include <charconv>
#include <vector>

#include "package/UnitVersion.h"
#include "platform/StringFunctions.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("WindowPlacement.cpp 1.0");

constexpr std::size_t kFieldCount = 5;
// No screen is this far out; a bigger number is a damaged text, not a position.
constexpr int kCoordinateLimit = 1000000;

std::vector<std::string> SplitFields(std::string_view text) {
  std::vector<std::string> fields;
  std::size_t from = 0;
  for (std::size_t comma = text.find(','); comma != std::string_view::npos;
       comma = text.find(',', from)) {
    fields.push_back(platform::Trim(text.substr(from, comma - from)));
    from = comma + 1;
  }
  fields.push_back(platform::Trim(text.substr(from)));
  return fields;
}

std::optional<int> ParseCoordinate(const std::string& field) {
  int value = 0;
  const char* end = field.data() + field.size();
  const auto [stop, error] = std::from_chars(field.data(), end, value);
  if (field.empty() || error != std::errc() || stop != end) return std::nullopt;
  if (value < -kCoordinateLimit || value > kCoordinateLimit) return std::nullopt;
  return value;
}

}  // namespace

std::string FormatWindowPlacement(const TWindowPlacement& Placement) {
  return std::to_string(Placement.Left) + "," + std::to_string(Placement.Top) + "," +
         std::to_string(Placement.Width) + "," + std::to_string(Placement.Height) + "," +
         GetEnumName(TypeInfo<TWindowState>(), Placement.State);
}

std::optional<TWindowPlacement> ParseWindowPlacement(std::string_view Text) {
  const std::vector<std::string> fields = SplitFields(Text);
  if (fields.size() != kFieldCount) return std::nullopt;
  const std::optional<int> left = ParseCoordinate(fields[0]);
  const std::optional<int> top = ParseCoordinate(fields[1]);
  const std::optional<int> width = ParseCoordinate(fields[2]);
  const std::optional<int> height = ParseCoordinate(fields[3]);
  const int state = GetEnumValue(TypeInfo<TWindowState>(), fields[4]);
  if (!left || !top || !width || !height || state < 0) return std::nullopt;
  if (*width <= 0 || *height <= 0) return std::nullopt;
  return TWindowPlacement{*left, *top, *width, *height, static_cast<TWindowState>(state)};
}
