#include "package/PropertyEntry.h"

#include <utility>

#include "package/UnitVersion.h"
#include "toolkit/model/ClassBuilder.h"
#include "toolkit/model/Component.h"
#include "toolkit/model/PropAccess.h"
#include "toolkit/model/Strings.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("PropertyEntry.cpp 1.0");

std::string JoinMembers(const std::vector<std::string>& Names) {
  std::string joined;
  for (const std::string& name : Names) {
    if (!joined.empty()) joined += ", ";
    joined += name;
  }
  return joined;
}

}  // namespace

TClass TPropertyEntry::StaticClass() {
  return DefineClass<TPropertyEntry>("TPropertyEntry", [](ClassBuilder<TPropertyEntry>&) {});
}

TPropertyEntry::TPropertyEntry(TObject* Instance, PPropInfo PropInfo, std::string Path)
    : instance_(Instance), propInfo_(PropInfo), path_(std::move(Path)) {}

TPropertyEntry::TPropertyEntry(TObject* Instance, std::string Path)
    : instance_(Instance), path_(std::move(Path)) {}

std::string TPropertyEntry::GetTypDef() const {
  const PTypeInfo type = propInfo_->PropType();
  const std::string name = propInfo_->TypeName();
  // Booleans are known to everybody; the members help with every other enumeration.
  if (type->Kind == tkEnumeration && type != TypeInfo<bool>()) {
    return name + ": " + JoinMembers(type->EnumNames);
  }
  if (type->Kind == tkSet && type->CompType != nullptr) {
    return name + ": [" + JoinMembers(type->CompType()->EnumNames) + "]";
  }
  return name;
}

Variant TPropertyEntry::GetValue() const {
  const PTypeInfo type = propInfo_->PropType();
  // A colour reads better as clWindow than as its number; the number is still understood.
  if (!type->IntegerIdents.empty()) return GetPropText(instance_, propInfo_);
  return GetPropValue(instance_, propInfo_);
}

void TPropertyEntry::SetValue(const Variant& Value) {
  SetPropValue(instance_, propInfo_, Value);
}

TClass TStringsEntry::StaticClass() {
  return DefineClass<TStringsEntry>("TStringsEntry", [](ClassBuilder<TStringsEntry>&) {});
}

TStringsEntry::TStringsEntry(TStrings* Strings, std::string Path)
    : TPropertyEntry(Strings, std::move(Path)), strings_(Strings) {}

std::string TStringsEntry::GetTypDef() const {
  return strings_->ClassName() + ": lines";
}

Variant TStringsEntry::GetValue() const {
  return strings_->Text();
}

void TStringsEntry::SetValue(const Variant& Value) {
  strings_->SetText(Value.AsString());
}

bool HasValueText(PPropInfo PropInfo) {
  const PTypeInfo type = PropInfo->PropType();
  if (type->Kind == tkMethod) return false;
  if (type->Kind == tkClass) {
    return type->ClassType != nullptr && type->ClassType()->InheritsFrom(TComponent::StaticClass());
  }
  return type->Kind != tkUnknown;
}
