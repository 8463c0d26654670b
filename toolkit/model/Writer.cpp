#include "toolkit/model/Writer.h"

#include <utility>

#include "toolkit/model/Collection.h"
#include "toolkit/model/Component.h"
#include "toolkit/model/Exceptions.h"
#include "toolkit/model/PropAccess.h"
#include "toolkit/model/ScopeGuards.h"

namespace {

TTextValue MakeValue(TTextValue::TKind kind) {
  TTextValue value;
  value.Kind = kind;
  return value;
}

TTextValue Ident(std::string text) {
  TTextValue value = MakeValue(TTextValue::vkIdent);
  value.Text = std::move(text);
  return value;
}

TTextValue String(std::string text) {
  TTextValue value = MakeValue(TTextValue::vkString);
  value.Text = std::move(text);
  return value;
}

TTextValue Integer(std::int64_t number) {
  TTextValue value = MakeValue(TTextValue::vkInteger);
  value.Integer = number;
  return value;
}

TTextValue Float(double number) {
  TTextValue value = MakeValue(TTextValue::vkFloat);
  value.Float = number;
  return value;
}

// The value of an ordinal, float, string or variant property as it is written.
TTextValue SimpleValue(TObject* instance, PPropInfo prop) {
  const PTypeInfo type = prop->PropType();
  switch (type->Kind) {
    case tkInteger: {
      const std::int64_t number = GetOrdProp(instance, prop);
      for (const auto& [value, ident] : type->IntegerIdents) {
        if (value == number) return Ident(ident);
      }
      return Integer(number);
    }
    case tkInt64:
      return Integer(GetOrdProp(instance, prop));
    case tkChar:
      return String(GetPropText(instance, prop));
    case tkEnumeration:
      return Ident(GetEnumProp(instance, prop));
    case tkSet: {
      TTextValue value = MakeValue(TTextValue::vkSet);
      const auto bits = static_cast<std::uint64_t>(GetOrdProp(instance, prop));
      const std::vector<std::string>& names = type->CompType()->EnumNames;
      for (std::size_t i = 0; i < names.size() && i < 32; ++i) {
        if ((bits >> i) & 1) value.Members.push_back(names[i]);
      }
      return value;
    }
    case tkFloat:
      return Float(GetFloatProp(instance, prop));
    default:
      return String(GetStrProp(instance, prop));
  }
}

}  // namespace

std::string GetComponentValue(TComponent* Component, TComponent* LookupRoot) {
  if (Component->Owner() == LookupRoot) return Component->Name();
  if (Component == LookupRoot) return "Owner";
  if (Component->Owner() != nullptr && !Component->Owner()->Name().empty() &&
      !Component->Name().empty()) {
    return Component->Owner()->Name() + "." + Component->Name();
  }
  if (!Component->Name().empty()) return Component->Name() + ".Owner";
  return {};
}

TTextObject TWriter::WriteRootComponent(TComponent* Root) {
  root_ = lookupRoot_ = Root;
  TTextObject node;
  WriteComponent(Root, node);
  return node;
}

void TWriter::WriteComponent(TComponent* Component, TTextObject& Node) {
  Node.ClassName = Component->ClassName();
  Node.Name = Component->Name();
  Component->state_.Include(csWriting);
  const ScopeExit endWriting([Component] { Component->state_.Exclude(csWriting); });
  properties_ = &Node.Properties;
  propPath_.clear();
  WriteProperties(Component);
  Component->GetChildren(
      [&](TComponent* Child) {
        Node.Children.emplace_back();
        WriteComponent(Child, Node.Children.back());
      },
      root_);
}

void TWriter::WriteProperties(TPersistent* Instance) {
  for (const TPropInfo& prop : Instance->ClassType()->Properties()) {
    if (prop.HasRead() && prop.HasWrite() && IsStoredProp(Instance, &prop)) {
      WriteProperty(Instance, &prop);
    }
  }
  Instance->DefineProperties(this);
}

void TWriter::WriteProperty(TPersistent* Instance, PPropInfo PropInfo) {
  switch (PropInfo->Kind()) {
    case tkClass:
      return WriteObjectProperty(Instance, PropInfo);
    case tkMethod: {
      const TMethod method = GetMethodProp(Instance, PropInfo);
      // A handler bound in code has no name to write.
      if (method.Assigned() && !method.Name.empty())
        AddProperty(PropInfo->Name, Ident(method.Name));
      return;
    }
    case tkVariant: {
      const Variant value = GetVariantProp(Instance, PropInfo);
      if (PropInfo->Default ? value == *PropInfo->Default : value.IsEmpty()) return;
      AddProperty(PropInfo->Name, Capture(PropInfo->Name, [&] { WriteVariant(value); }));
      return;
    }
    default:
      if (IsDefaultPropValue(Instance, PropInfo)) return;
      AddProperty(PropInfo->Name, SimpleValue(Instance, PropInfo));
  }
}

void TWriter::WriteObjectProperty(TPersistent* Instance, PPropInfo PropInfo) {
  TObject* value = GetObjectProp(Instance, PropInfo);
  if (value == nullptr) return;
  if (auto* component = dynamic_cast<TComponent*>(value)) {
    const std::string name = GetComponentValue(component, lookupRoot_);
    if (!name.empty()) AddProperty(PropInfo->Name, Ident(name));
    return;
  }
  auto* persistent = dynamic_cast<TPersistent*>(value);
  if (persistent == nullptr) return;
  {
    // A sub-object writes its own properties under its path: Font.Name, Items.Strings.
    const ScopedValue path(propPath_, propPath_ + PropInfo->Name + ".");
    WriteProperties(persistent);
  }
  if (auto* collection = dynamic_cast<TCollection*>(value)) {
    AddProperty(PropInfo->Name, Capture(PropInfo->Name, [&] { WriteCollection(collection); }));
  }
}

void TWriter::AddProperty(const std::string& Name, TTextValue Value) {
  TTextProperty property;
  property.Name = propPath_ + Name;
  property.Value = std::move(Value);
  properties_->push_back(std::move(property));
}

template <class F>
TTextValue TWriter::Capture(const std::string& Name, F&& Write) {
  std::vector<TTextValue> written;
  bool balanced = false;
  {
    const ScopedValue sinks(sinks_, {&written});
    Write();
    balanced = sinks_.size() == 1;
  }
  if (!balanced || written.size() != 1) {
    throw EWriteError("Property " + propPath_ + Name + " must be written as exactly one value");
  }
  return std::move(written.front());
}

void TWriter::DefineProperty(const std::string& Name, TReaderProc, TWriterProc WriteData,
                             bool HasData) {
  if (!HasData || !WriteData) return;
  AddProperty(Name, Capture(Name, [&] { WriteData(this); }));
}

void TWriter::DefineBinaryProperty(const std::string& Name, TBinaryReadProc,
                                   TBinaryWriteProc WriteData, bool HasData) {
  if (!HasData || !WriteData) return;
  const TBytes bytes = WriteData();
  TTextValue value = MakeValue(TTextValue::vkBinary);
  value.Text.assign(bytes.begin(), bytes.end());
  AddProperty(Name, std::move(value));
}

void TWriter::AddValue(TTextValue Value) {
  if (sinks_.empty()) throw EWriteError("A value is written outside a property");
  sinks_.back()->push_back(std::move(Value));
}

void TWriter::WriteListBegin() {
  AddValue(MakeValue(TTextValue::vkList));
  sinks_.push_back(&sinks_.back()->back().Values);
}

void TWriter::WriteListEnd() {
  if (sinks_.size() < 2) throw EWriteError("List end without a list");
  sinks_.pop_back();
}

void TWriter::WriteBoolean(bool Value) {
  AddValue(Ident(Value ? "True" : "False"));
}

void TWriter::WriteChar(char Value) {
  AddValue(String(std::string(1, Value)));
}

void TWriter::WriteInteger(std::int64_t Value) {
  AddValue(Integer(Value));
}

void TWriter::WriteFloat(double Value) {
  AddValue(Float(Value));
}

void TWriter::WriteString(const std::string& Value) {
  AddValue(String(Value));
}

void TWriter::WriteIdent(const std::string& Ident) {
  AddValue(::Ident(Ident));
}

void TWriter::WriteVariant(const Variant& Value) {
  switch (Value.VarType()) {
    case varEmpty:
      return WriteIdent("nil");
    case varNull:
      return WriteIdent("Null");
    case varBoolean:
      return WriteBoolean(Value.AsBoolean());
    case varInt64:
      return WriteInteger(Value.AsInteger());
    case varDouble:
      return WriteFloat(Value.AsFloat());
    default:
      return WriteString(VarToStr(Value));
  }
}

void TWriter::WriteCollection(TCollection* Collection) {
  TTextValue value = MakeValue(TTextValue::vkCollection);
  {
    const ScopedValue properties(properties_);
    const ScopedValue path(propPath_, std::string());
    for (int i = 0; i < Collection->Count(); ++i) {
      value.Items.emplace_back();
      properties_ = &value.Items.back().Properties;
      WriteProperties(Collection->Items(i));
    }
  }
  AddValue(std::move(value));
}
