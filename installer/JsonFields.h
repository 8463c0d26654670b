#pragma once

// What the program's JSON reports (the run's, --detect's) share: keys in the order the README
// gives them, and a field that does not apply written as null, never as an empty text.

#include <nlohmann/json.hpp>
#include <string>

using json = nlohmann::ordered_json;

inline json OrNull(const std::string& Text) {
  return Text.empty() ? json(nullptr) : json(Text);
}
