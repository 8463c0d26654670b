#include "package/PropertyPath.h"

#include <cstddef>

#include "package/UnitVersion.h"
#include "toolkit/model/Collection.h"
#include "toolkit/model/Component.h"
#include "toolkit/model/Exceptions.h"
#include "toolkit/model/Identifiers.h"
#include "toolkit/model/PropAccess.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("PropertyPath.cpp 1.0");

constexpr int kNoItem = -1;

// One step of a path: a name and, for a collection, the index of an item.
struct PathStep {
  std::string_view name;
  int item = kNoItem;
};

[[noreturn]] void PathError(std::string_view path, const std::string& reason) {
  throw EPropertyError("Property path '" + std::string(path) + "': " + reason);
}

PathStep ParseStep(std::string_view path, std::string_view text) {
  PathStep step;
  const std::size_t bracket = text.find('[');
  step.name = text.substr(0, bracket);
  if (!IsValidIdent(step.name)) {
    PathError(path, "'" + std::string(text) + "' is not a name");
  }
  if (bracket == std::string_view::npos) return step;
  std::string_view index = text.substr(bracket + 1);
  if (index.size() < 2 || index.back() != ']' || index.size() > 7) {
    PathError(path, "'" + std::string(text) + "' is not a name with an item index");
  }
  index.remove_suffix(1);
  step.item = 0;
  for (char c : index) {
    if (c < '0' || c > '9') {
      PathError(path, "'" + std::string(text) + "' is not a name with an item index");
    }
    step.item = step.item * 10 + (c - '0');
  }
  return step;
}

// The object a step leads to from Current: an owned component, or the value of an object
// property (an item of it for a collection).
TObject* Follow(std::string_view path, TObject* current, const PathStep& step) {
  if (auto* component = dynamic_cast<TComponent*>(current); component != nullptr) {
    if (TComponent* owned = component->FindComponent(step.name); owned != nullptr) {
      if (step.item != kNoItem) PathError(path, std::string(step.name) + " is no collection");
      return owned;
    }
  }
  const PPropInfo prop = GetPropInfo(current, step.name);
  if (prop == nullptr || prop->Kind() != tkClass || !prop->HasRead()) {
    PathError(path, current->ClassName() + " has no component or object property " +
                        std::string(step.name));
  }
  TObject* value = GetObjectProp(current, prop);
  if (value == nullptr) PathError(path, std::string(step.name) + " is not assigned");
  if (step.item == kNoItem) return value;
  auto* collection = dynamic_cast<TCollection*>(value);
  if (collection == nullptr) PathError(path, std::string(step.name) + " is no collection");
  if (step.item >= collection->Count()) {
    PathError(path, std::string(step.name) + " has no item " + std::to_string(step.item));
  }
  return collection->Items(step.item);
}

}  // namespace

TPropertyTarget FindPropertyTarget(TComponent* Root, std::string_view Path) {
  if (Root == nullptr) PathError(Path, "there is no form to look in");
  TObject* current = Root;
  std::string_view rest = Path;
  for (std::size_t dot = rest.find('.'); dot != std::string_view::npos; dot = rest.find('.')) {
    current = Follow(Path, current, ParseStep(Path, rest.substr(0, dot)));
    rest.remove_prefix(dot + 1);
  }
  const PathStep last = ParseStep(Path, rest);
  if (last.item != kNoItem) PathError(Path, "the last name must be a property");
  const PPropInfo prop = GetPropInfo(current, last.name);
  if (prop == nullptr) {
    PathError(Path, current->ClassName() + " has no property " + std::string(last.name));
  }
  if (!prop->HasWrite()) PathError(Path, "the property " + prop->Name + " is read-only");
  return {current, prop};
}

void SetPropertyByPath(TComponent* Root, std::string_view Path, const std::string& Text) {
  const TPropertyTarget target = FindPropertyTarget(Root, Path);
  SetPropValue(target.Instance, target.PropInfo, Variant(Text));
}
