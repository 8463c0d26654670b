#include "toolkit/model/PropAccess.h"

#include <limits>

#include "toolkit/model/ClassRegistry.h"
#include "toolkit/model/Component.h"
#include "toolkit/model/Exceptions.h"
#include "toolkit/model/Identifiers.h"

namespace {

[[noreturn]] void ValueError(PPropInfo PropInfo, std::string_view Text) {
  throw EConvertError("'" + std::string(Text) + "' is not a valid value for property " +
                      PropInfo->Name + " (" + PropInfo->TypeName() + ")");
}

Variant ReadRaw(TObject* Instance, PPropInfo PropInfo) {
  if (!PropInfo->HasRead()) throw EPropertyError("Property " + PropInfo->Name + " is write-only");
  return PropInfo->GetRaw(Instance);
}

void WriteRaw(TObject* Instance, PPropInfo PropInfo, const Variant& Raw) {
  if (!PropInfo->HasWrite()) throw EPropertyError("Property " + PropInfo->Name + " is read-only");
  PropInfo->SetRaw(Instance, Raw);
}

bool IsStringKind(TTypeKind kind) {
  return kind == tkString || kind == tkLString || kind == tkWString;
}

// The form an object is on: names in its properties' text are relative to it.
TComponent* LookupRootOf(TObject* Instance) {
  auto* persistent = dynamic_cast<TPersistent*>(Instance);
  TComponent* component = persistent != nullptr ? GetOwnerComponent(persistent) : nullptr;
  if (component == nullptr) return nullptr;
  return component->Owner() != nullptr ? component->Owner() : component;
}

TComponent* FindReferencedComponent(TObject* Instance, std::string_view Name) {
  auto* persistent = dynamic_cast<TPersistent*>(Instance);
  TComponent* component = persistent != nullptr ? GetOwnerComponent(persistent) : nullptr;
  if (component == nullptr) return nullptr;
  if (TComponent* found = FindNestedComponent(LookupRootOf(Instance), Name)) return found;
  return FindNestedComponent(component, Name);
}

const TMethodInfo* FindHandler(TObject* Instance, std::string_view Name, TObject*& Self) {
  auto* persistent = dynamic_cast<TPersistent*>(Instance);
  TComponent* component = persistent != nullptr ? GetOwnerComponent(persistent) : nullptr;
  for (TComponent* candidate : {LookupRootOf(Instance), component}) {
    if (candidate == nullptr) continue;
    if (const TMethodInfo* method = candidate->ClassType()->FindMethod(Name)) {
      Self = candidate;
      return method;
    }
  }
  return nullptr;
}

std::string ComponentText(TObject* Instance, TComponent* Target) {
  TComponent* root = LookupRootOf(Instance);
  if (Target->Owner() == root || Target == root || Target->Owner() == nullptr)
    return Target->Name();
  if (!Target->Owner()->Name().empty()) return Target->Owner()->Name() + "." + Target->Name();
  return Target->Name();
}

// Follows a dotted path through object properties to the last property.
PPropInfo ResolvePath(TObject*& Instance, std::string_view Path) {
  for (std::size_t dot = Path.find('.'); dot != std::string_view::npos; dot = Path.find('.')) {
    const std::string_view name = Path.substr(0, dot);
    PPropInfo prop = GetPropInfo(Instance, name);
    if (prop == nullptr || prop->Kind() != tkClass) {
      throw EPropertyError("Property " + std::string(name) + " does not exist");
    }
    TObject* object = GetObjectProp(Instance, prop);
    if (object == nullptr) throw EPropertyError("Property " + std::string(name) + " is nil");
    Instance = object;
    Path.remove_prefix(dot + 1);
  }
  PPropInfo prop = GetPropInfo(Instance, Path);
  if (prop == nullptr) throw EPropertyError("Property " + std::string(Path) + " does not exist");
  return prop;
}

}  // namespace

PPropInfo GetPropInfo(const TObject* Instance, std::string_view PropName) {
  return Instance == nullptr ? nullptr : GetPropInfo(Instance->ClassType(), PropName);
}

PPropInfo GetPropInfo(TClass AClass, std::string_view PropName) {
  return AClass->FindProperty(PropName);
}

bool IsPublishedProp(const TObject* Instance, std::string_view PropName) {
  return GetPropInfo(Instance, PropName) != nullptr;
}

bool IsStoredProp(TObject* Instance, PPropInfo PropInfo) {
  switch (PropInfo->Stored) {
    case TPropInfo::skAlways:
      return true;
    case TPropInfo::skNever:
      return false;
    case TPropInfo::skPredicate:
      return PropInfo->StoredProc(Instance);
  }
  return true;
}

bool IsDefaultPropValue(TObject* Instance, PPropInfo PropInfo) {
  const Variant raw = ReadRaw(Instance, PropInfo);
  if (PropInfo->Default) return raw == *PropInfo->Default;
  const TTypeKind kind = PropInfo->Kind();
  if (kind == tkFloat) return raw.AsFloat() == 0;
  if (IsStringKind(kind)) return raw.AsString().empty();
  if (kind == tkClass) return raw.AsObject() == nullptr;
  if (kind == tkMethod) return !raw.AsMethod().Assigned();
  if (kind == tkVariant) return raw.IsEmpty();
  return false;
}

std::int64_t GetOrdProp(TObject* Instance, PPropInfo PropInfo) {
  return ReadRaw(Instance, PropInfo).AsInteger();
}

void SetOrdProp(TObject* Instance, PPropInfo PropInfo, std::int64_t Value) {
  const PTypeInfo type = PropInfo->PropType();
  bool fits = true;
  switch (type->Kind) {
    case tkInteger:
    case tkChar:
    case tkEnumeration:
      fits = Value >= type->MinValue && Value <= type->MaxValue;
      break;
    case tkSet: {
      const std::size_t members = type->CompType()->EnumNames.size();
      fits = Value >= 0 && (members >= 32 ? Value <= std::numeric_limits<std::uint32_t>::max()
                                          : Value < (std::int64_t{1} << members));
      break;
    }
    case tkInt64:
      break;
    default:
      throw EPropertyError("Property " + PropInfo->Name + " is not an ordinal property");
  }
  if (!fits) ValueError(PropInfo, std::to_string(Value));
  WriteRaw(Instance, PropInfo, Value);
}

std::string GetStrProp(TObject* Instance, PPropInfo PropInfo) {
  return ReadRaw(Instance, PropInfo).AsString();
}

void SetStrProp(TObject* Instance, PPropInfo PropInfo, const std::string& Value) {
  WriteRaw(Instance, PropInfo, Value);
}

double GetFloatProp(TObject* Instance, PPropInfo PropInfo) {
  return ReadRaw(Instance, PropInfo).AsFloat();
}

void SetFloatProp(TObject* Instance, PPropInfo PropInfo, double Value) {
  WriteRaw(Instance, PropInfo, Value);
}

TObject* GetObjectProp(TObject* Instance, PPropInfo PropInfo) {
  return ReadRaw(Instance, PropInfo).AsObject();
}

void SetObjectProp(TObject* Instance, PPropInfo PropInfo, TObject* Value) {
  if (Value != nullptr && !Value->InheritsFrom(PropInfo->PropType()->ClassType())) {
    ValueError(PropInfo, Value->ClassName());
  }
  WriteRaw(Instance, PropInfo, Value);
}

TMethod GetMethodProp(TObject* Instance, PPropInfo PropInfo) {
  return ReadRaw(Instance, PropInfo).AsMethod();
}

void SetMethodProp(TObject* Instance, PPropInfo PropInfo, const TMethod& Value) {
  WriteRaw(Instance, PropInfo, Value);
}

Variant GetVariantProp(TObject* Instance, PPropInfo PropInfo) {
  return ReadRaw(Instance, PropInfo);
}

void SetVariantProp(TObject* Instance, PPropInfo PropInfo, const Variant& Value) {
  WriteRaw(Instance, PropInfo, Value);
}

std::string GetEnumProp(TObject* Instance, PPropInfo PropInfo) {
  return GetEnumName(PropInfo->PropType(), static_cast<int>(GetOrdProp(Instance, PropInfo)));
}

void SetEnumProp(TObject* Instance, PPropInfo PropInfo, std::string_view Value) {
  const int ordinal = GetEnumValue(PropInfo->PropType(), Value);
  if (ordinal < 0) ValueError(PropInfo, Value);
  SetOrdProp(Instance, PropInfo, ordinal);
}

std::string GetSetProp(TObject* Instance, PPropInfo PropInfo, bool Brackets) {
  return SetToString(PropInfo->PropType(),
                     static_cast<std::uint32_t>(GetOrdProp(Instance, PropInfo)), Brackets);
}

void SetSetProp(TObject* Instance, PPropInfo PropInfo, std::string_view Value) {
  std::uint32_t bits = 0;
  try {
    bits = StringToSet(PropInfo->PropType(), Value);
  } catch (const EConvertError&) {
    ValueError(PropInfo, Value);
  }
  SetOrdProp(Instance, PropInfo, bits);
}

std::string GetPropText(TObject* Instance, PPropInfo PropInfo) {
  const PTypeInfo type = PropInfo->PropType();
  switch (type->Kind) {
    case tkInteger: {
      const std::int64_t value = GetOrdProp(Instance, PropInfo);
      for (const auto& [number, ident] : type->IntegerIdents) {
        if (number == value) return ident;
      }
      return std::to_string(value);
    }
    case tkInt64:
      return std::to_string(GetOrdProp(Instance, PropInfo));
    case tkChar:
      return std::string(1, static_cast<char>(GetOrdProp(Instance, PropInfo)));
    case tkEnumeration:
      return GetEnumProp(Instance, PropInfo);
    case tkSet:
      return GetSetProp(Instance, PropInfo);
    case tkFloat:
      return FloatToStr(GetFloatProp(Instance, PropInfo));
    case tkClass: {
      auto* component = dynamic_cast<TComponent*>(GetObjectProp(Instance, PropInfo));
      return component != nullptr ? ComponentText(Instance, component) : std::string();
    }
    case tkMethod:
      return GetMethodProp(Instance, PropInfo).Name;
    case tkVariant:
      return VarToStr(GetVariantProp(Instance, PropInfo));
    default:
      return GetStrProp(Instance, PropInfo);
  }
}

void SetPropText(TObject* Instance, PPropInfo PropInfo, std::string_view Text) {
  const PTypeInfo type = PropInfo->PropType();
  switch (type->Kind) {
    case tkInteger:
    case tkInt64: {
      for (const auto& [number, ident] : type->IntegerIdents) {
        if (SameIdent(ident, Text)) return SetOrdProp(Instance, PropInfo, number);
      }
      std::int64_t value = 0;
      if (!TryStrToInt64(Text, value)) ValueError(PropInfo, Text);
      return SetOrdProp(Instance, PropInfo, value);
    }
    case tkChar:
      if (Text.size() != 1) ValueError(PropInfo, Text);
      return SetOrdProp(Instance, PropInfo, static_cast<unsigned char>(Text.front()));
    case tkEnumeration:
      return SetEnumProp(Instance, PropInfo, Text);
    case tkSet:
      return SetSetProp(Instance, PropInfo, Text);
    case tkFloat: {
      double value = 0;
      if (!TryStrToFloat(Text, value)) ValueError(PropInfo, Text);
      return SetFloatProp(Instance, PropInfo, value);
    }
    case tkClass: {
      if (Text.empty() || SameIdent(Text, "nil")) return SetObjectProp(Instance, PropInfo, nullptr);
      TComponent* target = FindReferencedComponent(Instance, Text);
      if (target == nullptr) ValueError(PropInfo, Text);
      return SetObjectProp(Instance, PropInfo, target);
    }
    case tkMethod: {
      if (Text.empty() || SameIdent(Text, "nil")) return SetMethodProp(Instance, PropInfo, {});
      TObject* self = nullptr;
      const TMethodInfo* handler = FindHandler(Instance, Text, self);
      if (handler == nullptr || *handler->Signature != *type->Signature) ValueError(PropInfo, Text);
      return SetMethodProp(Instance, PropInfo, handler->Bind(self));
    }
    case tkVariant:
      return SetVariantProp(Instance, PropInfo, std::string(Text));
    default:
      return SetStrProp(Instance, PropInfo, std::string(Text));
  }
}

Variant GetPropValue(TObject* Instance, PPropInfo PropInfo) {
  const PTypeInfo type = PropInfo->PropType();
  switch (type->Kind) {
    case tkInteger:
    case tkInt64:
      return GetOrdProp(Instance, PropInfo);
    case tkEnumeration:
      if (type == TypeInfo<bool>()) return GetOrdProp(Instance, PropInfo) != 0;
      return GetEnumProp(Instance, PropInfo);
    case tkChar:
    case tkSet:
      return GetPropText(Instance, PropInfo);
    case tkFloat:
      return GetFloatProp(Instance, PropInfo);
    case tkClass:
      return GetObjectProp(Instance, PropInfo);
    case tkMethod:
      return GetMethodProp(Instance, PropInfo);
    case tkVariant:
      return GetVariantProp(Instance, PropInfo);
    default:
      return GetStrProp(Instance, PropInfo);
  }
}

void SetPropValue(TObject* Instance, PPropInfo PropInfo, const Variant& Value) {
  const TTypeKind kind = PropInfo->Kind();
  if (kind == tkVariant) return SetVariantProp(Instance, PropInfo, Value);
  if (IsStringKind(kind)) return SetStrProp(Instance, PropInfo, VarToStr(Value));
  if (Value.VarType() == varString) return SetPropText(Instance, PropInfo, Value.AsString());
  try {
    switch (kind) {
      case tkInteger:
      case tkInt64:
      case tkChar:
      case tkEnumeration:
      case tkSet:
        return SetOrdProp(Instance, PropInfo, Value.AsInteger());
      case tkFloat:
        return SetFloatProp(Instance, PropInfo, Value.AsFloat());
      case tkClass:
        return SetObjectProp(Instance, PropInfo, Value.AsObject());
      case tkMethod:
        return SetMethodProp(Instance, PropInfo, Value.AsMethod());
      default:
        break;
    }
  } catch (const EVariantError&) {
    ValueError(PropInfo, VarToStr(Value));
  }
  throw EPropertyError("Property " + PropInfo->Name + " has a type that cannot be set");
}

Variant GetPropValue(TObject* Instance, std::string_view PropName) {
  PPropInfo prop = ResolvePath(Instance, PropName);
  return GetPropValue(Instance, prop);
}

void SetPropValue(TObject* Instance, std::string_view PropName, const Variant& Value) {
  PPropInfo prop = ResolvePath(Instance, PropName);
  SetPropValue(Instance, prop, Value);
}

TComponent* FindNestedComponent(TComponent* Root, std::string_view NamePath) {
  if (Root == nullptr || NamePath.empty()) return nullptr;
  TComponent* current = Root;
  bool first = true;
  while (!NamePath.empty()) {
    const std::size_t dot = NamePath.find('.');
    const std::string_view name = NamePath.substr(0, dot);
    TComponent* found = current->FindComponent(name);
    if (found == nullptr && SameIdent(name, "Owner")) found = current;
    // Another form, reached by its name: `Form2.Button1`.
    if (found == nullptr && first && dot != std::string_view::npos)
      found = FindGlobalComponent(name);
    if (found == nullptr) return nullptr;
    current = found;
    first = false;
    NamePath = dot == std::string_view::npos ? std::string_view() : NamePath.substr(dot + 1);
  }
  return current;
}

TComponent* GetOwnerComponent(TPersistent* Instance) {
  for (TPersistent* object = Instance; object != nullptr; object = object->GetOwner()) {
    if (auto* component = dynamic_cast<TComponent*>(object)) return component;
  }
  return nullptr;
}
