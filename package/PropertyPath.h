#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// Published properties of a form's components, named by a path from the form:
//   "Caption"                        the form's own property
//   "BtnInstall.Caption"             a property of the component BtnInstall
//   "BtnInstall.Font.Name"           a property of an object property
//   "ButtonPanel.Buttons[0].Caption" a property of an item of a collection property
// A name before a dot is first looked up among the components the current one owns, then
// among its published object properties. The language component sets its translated texts
// through these paths.

#include <string>
#include <string_view>

#include "toolkit/model/Object.h"

class TComponent;

struct TPropertyTarget {
  TObject* Instance = nullptr;
  PPropInfo PropInfo = nullptr;
};

// The object and the property Path names below Root. A path that does not lead to a
// writable property raises EPropertyError naming the path and the part that failed.
TPropertyTarget FindPropertyTarget(TComponent* Root, std::string_view Path);

// Sets the property Path names below Root from its text form.
void SetPropertyByPath(TComponent* Root, std::string_view Path, const std::string& Text);
