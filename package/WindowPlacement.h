#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// The text form of a window's position, size and state, as the package's forms store it
// between runs:
//
//   "192,107,513,395,wsNormal"    left, top, width, height, window state
//
// Readable and easy to edit by hand; the state is written by name so that the text says
// what it means.

#include <optional>
#include <string>
#include <string_view>

#include "toolkit/forms/Forms.h"

struct TWindowPlacement {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  TWindowState State = wsNormal;
  friend bool operator==(const TWindowPlacement&, const TWindowPlacement&) = default;
};

std::string FormatWindowPlacement(const TWindowPlacement& Placement);

// The placement a text holds; nothing for a text that is not exactly five fields of that
// form (blanks around a field are allowed, the state's letter case is not significant),
// or whose size is not positive, or whose numbers are beyond any screen.
std::optional<TWindowPlacement> ParseWindowPlacement(std::string_view Text);
