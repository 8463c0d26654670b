#include "toolkit/model/Reader.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "toolkit/model/ClassRegistry.h"
#include "toolkit/model/Collection.h"
#include "toolkit/model/Component.h"
#include "toolkit/model/Exceptions.h"
#include "toolkit/model/Identifiers.h"
#include "toolkit/model/PropAccess.h"
#include "toolkit/model/ScopeGuards.h"

namespace {

// Gives an error raised while a node is read the node's place, unless it has one.
template <class F>
void AtPos(TTextPos pos, F&& body) {
  try {
    body();
  } catch (const EReadError& e) {
    if (e.Line > 0) throw;
    throw EReadError(e.Message, pos.Line, pos.Column);
  } catch (const Exception& e) {
    throw EReadError(e.Message, pos.Line, pos.Column);
  }
}

TValueType TypeOf(const TTextValue& value) {
  switch (value.Kind) {
    case TTextValue::vkInteger:
      if (value.Integer >= -128 && value.Integer <= 127) return vaInt8;
      if (value.Integer >= -32768 && value.Integer <= 32767) return vaInt16;
      if (value.Integer >= std::numeric_limits<std::int32_t>::min() &&
          value.Integer <= std::numeric_limits<std::int32_t>::max()) {
        return vaInt32;
      }
      return vaInt64;
    case TTextValue::vkFloat:
      if (value.FloatSuffix == 's') return vaSingle;
      if (value.FloatSuffix == 'c') return vaCurrency;
      if (value.FloatSuffix == 'd') return vaDate;
      return vaExtended;
    case TTextValue::vkString:
      return value.Text.size() <= 255 ? vaString : vaLString;
    case TTextValue::vkIdent:
      if (SameIdent(value.Text, "True")) return vaTrue;
      if (SameIdent(value.Text, "False")) return vaFalse;
      if (SameIdent(value.Text, "nil")) return vaNil;
      if (SameIdent(value.Text, "Null")) return vaNull;
      return vaIdent;
    case TTextValue::vkSet:
      return vaSet;
    case TTextValue::vkList:
      return vaList;
    case TTextValue::vkCollection:
      return vaCollection;
    case TTextValue::vkBinary:
      return vaBinary;
  }
  return vaNull;
}

// A short text of a value, for messages.
std::string ValueText(const TTextValue& value) {
  switch (value.Kind) {
    case TTextValue::vkInteger:
      return std::to_string(value.Integer);
    case TTextValue::vkFloat:
      return FloatToStr(value.Float);
    case TTextValue::vkString:
    case TTextValue::vkIdent:
      return value.Text;
    case TTextValue::vkSet: {
      std::string text = "[";
      for (std::size_t i = 0; i < value.Members.size(); ++i) {
        text += (i > 0 ? ", " : "") + value.Members[i];
      }
      return text + "]";
    }
    case TTextValue::vkList:
      return "(...)";
    case TTextValue::vkCollection:
      return "<...>";
    case TTextValue::vkBinary:
      return "{...}";
  }
  return {};
}

[[noreturn]] void PropValueError(PPropInfo prop, const TTextValue& value) {
  throw EReadError("'" + ValueText(value) + "' is not a valid value for property " + prop->Name +
                       " (" + prop->TypeName() + ")",
                   value.Pos.Line, value.Pos.Column);
}

}  // namespace

TReader::TReader(const TTextObject& Description) : description_(Description) {}

TReader::~TReader() = default;

void TReader::ReadRootComponent(TComponent* Root) {
  root_ = lookupRoot_ = Root;
  owner_ = Root;
  Root->state_ += TComponentState{csLoading, csReading};
  loaded_ = {Root};
  ScopeExit dropRead([&] {
    FreeCreated();
    Root->state_ -= TComponentState{csLoading, csReading};
  });
  ReadRoot(Root);
  dropRead.Dismiss();
  CallLoaded();
}

TComponent* TReader::ReadNewRootComponent(TComponent* Owner) {
  const TTextPos pos = description_.Pos;
  TClass cls = GetClass(description_.ClassName);
  if (cls == nullptr || !cls->CanCreateComponent()) {
    throw EReadError("Class " + description_.ClassName + " not found", pos.Line, pos.Column);
  }
  TComponent* root = nullptr;
  AtPos(pos, [&] { root = cls->CreateComponent(Owner, TMetaClass::TCreateMode::Loading); });
  ScopeExit freeRoot([root] { root->Free(); });
  ReadRootComponent(root);
  freeRoot.Dismiss();
  return root;
}

void TReader::ReadRoot(TComponent* Root) {
  const TTextObject& node = description_;
  AtPos(node.Pos, [&] {
    if (!node.Name.empty() && node.Name != Root->Name()) Root->SetName(node.Name);
  });
  ReadData(Root, node);
  Root->state_.Exclude(csReading);
  ResolveFixups();
}

void TReader::ReadData(TComponent* Instance, const TTextObject& Node) {
  for (const TTextProperty& property : Node.Properties)
    ReadProperty(Instance, property);
  TComponent* savedOwner = owner_;
  TComponent* savedParent = parent_;
  parent_ = Instance->GetChildParent();
  owner_ = Instance->GetChildOwner();
  if (owner_ == nullptr) owner_ = root_;
  for (const TTextObject& child : Node.Children)
    ReadComponent(child);
  owner_ = savedOwner;
  parent_ = savedParent;
}

void TReader::ReadComponent(const TTextObject& Node) {
  const TClass cls = FindComponentClass(Node);
  TComponent* component = nullptr;
  AtPos(Node.Pos,
        [&] { component = cls->CreateComponent(owner_, TMetaClass::TCreateMode::Loading); });
  created_.push_back(component);
  loaded_.push_back(component);
  component->state_.Include(csLoading);
  AtPos(Node.Pos, [&] {
    component->SetParentComponent(parent_);
    component->SetName(Node.Name);
  });
  component->state_.Include(csReading);
  ReadData(component, Node);
  component->state_.Exclude(csReading);
}

TClass TReader::FindComponentClass(const TTextObject& Node) const {
  TClass cls = root_->ClassType()->FindFieldClass(Node.ClassName);
  if (cls == nullptr) cls = GetClass(Node.ClassName);
  if (cls == nullptr) {
    throw EReadError("Class " + Node.ClassName + " not found", Node.Pos.Line, Node.Pos.Column);
  }
  if (!cls->CanCreateComponent()) {
    throw EReadError("Class " + Node.ClassName + " is not a component that can be created",
                     Node.Pos.Line, Node.Pos.Column);
  }
  return cls;
}

void TReader::ReadProperty(TPersistent* Instance, const TTextProperty& Property) {
  const TTextPos pos = Property.Pos;
  AtPos(pos, [&] {
    // Font.Name: through object properties to the object that has the last name.
    TPersistent* target = Instance;
    std::string_view path = Property.Name;
    for (std::size_t dot = path.find('.'); dot != std::string_view::npos; dot = path.find('.')) {
      PPropInfo prop = GetPropInfo(target, path.substr(0, dot));
      TObject* value = prop != nullptr && prop->Kind() == tkClass && prop->HasRead()
                           ? GetObjectProp(target, prop)
                           : nullptr;
      auto* next = dynamic_cast<TPersistent*>(value);
      if (next == nullptr || next->Is<TComponent>()) {
        throw EReadError("Property " + Property.Name + " does not exist", pos.Line, pos.Column);
      }
      target = next;
      path.remove_prefix(dot + 1);
    }

    frames_.push_back(Frame{fkProperty, &Property.Value, nullptr, 1, 0, Property.Value.Pos});
    const std::size_t depth = frames_.size();
    if (PPropInfo prop = GetPropInfo(target, path)) {
      ReadPropValue(target, prop);
    } else {
      const std::string savedName = std::exchange(definedName_, std::string(path));
      const bool savedDefined = std::exchange(defined_, false);
      target->DefineProperties(this);
      const bool handled = defined_;
      definedName_ = savedName;
      defined_ = savedDefined;
      if (!handled) {
        throw EReadError("Property " + Property.Name + " does not exist", pos.Line, pos.Column);
      }
    }
    if (frames_.size() != depth || frames_.back().next != frames_.back().count) {
      throw EReadError("Property " + Property.Name + " was not read completely", pos.Line,
                       pos.Column);
    }
    frames_.pop_back();
  });
}

void TReader::ReadPropValue(TPersistent* Instance, PPropInfo PropInfo) {
  const TTextValue& value = Current();
  if (!PropInfo->HasWrite()) {
    throw EReadError("Property " + PropInfo->Name + " is read-only", value.Pos.Line,
                     value.Pos.Column);
  }
  switch (PropInfo->Kind()) {
    case tkInteger:
    case tkInt64:
      if (value.Kind == TTextValue::vkInteger)
        return SetOrdProp(Instance, PropInfo, Take().Integer);
      if (value.Kind == TTextValue::vkIdent) return SetPropText(Instance, PropInfo, Take().Text);
      break;
    case tkChar:
      if (value.Kind == TTextValue::vkString) return SetPropText(Instance, PropInfo, Take().Text);
      break;
    case tkEnumeration:
      if (value.Kind == TTextValue::vkIdent) return SetEnumProp(Instance, PropInfo, Take().Text);
      break;
    case tkSet:
      if (value.Kind == TTextValue::vkSet) return SetSetProp(Instance, PropInfo, ValueText(Take()));
      break;
    case tkFloat:
      if (value.Kind == TTextValue::vkFloat) return SetFloatProp(Instance, PropInfo, Take().Float);
      if (value.Kind == TTextValue::vkInteger) {
        return SetFloatProp(Instance, PropInfo, static_cast<double>(Take().Integer));
      }
      break;
    case tkString:
    case tkLString:
    case tkWString:
      if (value.Kind == TTextValue::vkString) return SetStrProp(Instance, PropInfo, Take().Text);
      break;
    case tkClass:
      return ReadObjectValue(Instance, PropInfo, value);
    case tkMethod:
      return ReadMethodValue(Instance, PropInfo, value);
    case tkVariant:
      return SetVariantProp(Instance, PropInfo, ReadVariant());
    default:
      break;
  }
  PropValueError(PropInfo, value);
}

void TReader::ReadObjectValue(TPersistent* Instance, PPropInfo PropInfo, const TTextValue& Value) {
  if (Value.Kind == TTextValue::vkCollection) {
    auto* collection = dynamic_cast<TCollection*>(GetObjectProp(Instance, PropInfo));
    if (collection == nullptr) PropValueError(PropInfo, Value);
    return ReadCollection(collection);
  }
  if (Value.Kind != TTextValue::vkIdent) PropValueError(PropInfo, Value);
  if (SameIdent(Value.Text, "nil")) {
    Take();
    return SetObjectProp(Instance, PropInfo, nullptr);
  }
  if (!PropInfo->PropType()->ClassType()->InheritsFrom(TComponent::StaticClass())) {
    PropValueError(PropInfo, Value);
  }
  // Resolved by name once the whole root is read: it may name a later component.
  Take();
  fixups_.push_back(Fixup{Instance, PropInfo, Value.Text, Value.Pos, collections_});
}

void TReader::ReadMethodValue(TPersistent* Instance, PPropInfo PropInfo, const TTextValue& Value) {
  if (Value.Kind != TTextValue::vkIdent) PropValueError(PropInfo, Value);
  Take();
  if (SameIdent(Value.Text, "nil")) return SetMethodProp(Instance, PropInfo, {});
  const TMethodInfo* method = root_->ClassType()->FindMethod(Value.Text);
  if (method == nullptr) {
    throw EReadError("Method " + Value.Text + " not found in " + root_->ClassName(), Value.Pos.Line,
                     Value.Pos.Column);
  }
  if (*method->Signature != *PropInfo->PropType()->Signature) {
    throw EReadError("Method " + Value.Text + " does not fit property " + PropInfo->Name + " (" +
                         PropInfo->TypeName() + ")",
                     Value.Pos.Line, Value.Pos.Column);
  }
  SetMethodProp(Instance, PropInfo, method->Bind(root_));
}

void TReader::ResolveFixups() {
  for (const Fixup& fixup : fixups_) {
    AtPos(fixup.pos, [&] {
      TComponent* target = FindNestedComponent(root_, fixup.name);
      if (target == nullptr) {
        throw EReadError("Component " + fixup.name + " not found", fixup.pos.Line,
                         fixup.pos.Column);
      }
      SetObjectProp(fixup.instance, fixup.prop, target);
    });
  }
  fixups_.clear();
}

// A collection about to be read again frees its items: references read into them go too.
void TReader::DropFixupsInside(TCollection* Collection) {
  std::erase_if(fixups_, [Collection](const Fixup& fixup) {
    return std::find(fixup.collections.begin(), fixup.collections.end(), Collection) !=
           fixup.collections.end();
  });
}

void TReader::CallLoaded() {
  const ScopeExit endLoading([this] {
    for (TComponent* component : loaded_)
      component->state_ -= TComponentState{csLoading, csReading};
  });
  for (TComponent* component : loaded_)
    component->Loaded();
}

void TReader::FreeCreated() {
  fixups_.clear();
  for (auto it = created_.rbegin(); it != created_.rend(); ++it)
    (*it)->Free();
  created_.clear();
  loaded_.clear();
}

void TReader::DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc, bool) {
  if (defined_ || definedName_.empty() || !ReadData || !SameIdent(Name, definedName_)) return;
  defined_ = true;
  ReadData(this);
}

void TReader::DefineBinaryProperty(const std::string& Name, TBinaryReadProc ReadData,
                                   TBinaryWriteProc, bool) {
  if (defined_ || definedName_.empty() || !ReadData || !SameIdent(Name, definedName_)) return;
  defined_ = true;
  if (Current().Kind != TTextValue::vkBinary) ValueError("Binary value");
  const std::string& bytes = Take().Text;
  ReadData(TBytes(bytes.begin(), bytes.end()));
}

const TTextValue& TReader::Current() const {
  if (frames_.empty() || frames_.back().kind == fkCollection ||
      frames_.back().next >= frames_.back().count) {
    ValueError("Value");
  }
  return frames_.back().values[frames_.back().next];
}

const TTextValue& TReader::Take() {
  const TTextValue& value = Current();
  ++frames_.back().next;
  return value;
}

TTextPos TReader::CurrentPos() const {
  if (frames_.empty()) return description_.Pos;
  const Frame& frame = frames_.back();
  if (frame.next < frame.count) {
    return frame.kind == fkCollection ? frame.items[frame.next].Pos : frame.values[frame.next].Pos;
  }
  return frame.pos;
}

void TReader::ValueError(const std::string& Expected) const {
  const TTextPos pos = CurrentPos();
  throw EReadError(Expected + " expected", pos.Line, pos.Column);
}

TValueType TReader::NextValue() const {
  if (EndOfList()) return vaNull;
  const Frame& frame = frames_.back();
  if (frame.kind == fkCollection) return vaList;
  return TypeOf(frame.values[frame.next]);
}

TValueType TReader::ReadValue() {
  const TTextValue& value = Take();
  if (value.Kind == TTextValue::vkList) {
    frames_.push_back(
        Frame{fkList, value.Values.data(), nullptr, value.Values.size(), 0, value.Pos});
  } else if (value.Kind == TTextValue::vkCollection) {
    frames_.push_back(
        Frame{fkCollection, nullptr, value.Items.data(), value.Items.size(), 0, value.Pos});
  }
  return TypeOf(value);
}

bool TReader::EndOfList() const {
  return frames_.empty() || frames_.back().next >= frames_.back().count;
}

void TReader::ReadListBegin() {
  if (Current().Kind != TTextValue::vkList) ValueError("List");
  ReadValue();
}

void TReader::ReadListEnd() {
  if (frames_.empty() || frames_.back().kind == fkProperty) ValueError("List");
  if (!EndOfList()) ValueError("End of list");
  frames_.pop_back();
}

bool TReader::ReadBoolean() {
  const TValueType type = NextValue();
  if (type != vaTrue && type != vaFalse) ValueError("Boolean value");
  Take();
  return type == vaTrue;
}

char TReader::ReadChar() {
  if (Current().Kind != TTextValue::vkString || Current().Text.size() != 1) ValueError("Character");
  return Take().Text.front();
}

std::int32_t TReader::ReadInteger() {
  const TValueType type = NextValue();
  if (type != vaInt8 && type != vaInt16 && type != vaInt32) ValueError("Integer");
  return static_cast<std::int32_t>(Take().Integer);
}

std::int64_t TReader::ReadInt64() {
  if (Current().Kind != TTextValue::vkInteger) ValueError("Integer");
  return Take().Integer;
}

double TReader::ReadFloat() {
  const TTextValue& value = Current();
  if (value.Kind == TTextValue::vkInteger) return static_cast<double>(Take().Integer);
  if (value.Kind != TTextValue::vkFloat) ValueError("Number");
  return Take().Float;
}

std::string TReader::ReadString() {
  if (Current().Kind != TTextValue::vkString) ValueError("String");
  return Take().Text;
}

std::string TReader::ReadIdent() {
  if (Current().Kind != TTextValue::vkIdent) ValueError("Identifier");
  return Take().Text;
}

Variant TReader::ReadVariant() {
  const TTextValue& value = Current();
  switch (NextValue()) {
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64:
      return Take().Integer;
    case vaExtended:
    case vaSingle:
    case vaCurrency:
    case vaDate:
      return Take().Float;
    case vaString:
    case vaLString:
      return Take().Text;
    case vaTrue:
    case vaFalse:
      return ReadBoolean();
    case vaNull:
      Take();
      return Variant::Null();
    case vaNil:
      Take();
      return Variant();
    default:
      break;
  }
  throw EReadError("Variant value expected", value.Pos.Line, value.Pos.Column);
}

void TReader::ReadCollection(TCollection* Collection) {
  if (frames_.empty() || frames_.back().kind != fkCollection) {
    if (NextValue() != vaCollection) ValueError("Collection");
    ReadValue();
  }
  Collection->BeginUpdate();
  const ScopeExit endUpdate([Collection] { Collection->EndUpdate(); });
  if (!EndOfList()) {
    DropFixupsInside(Collection);
    Collection->Clear();
  }
  collections_.push_back(Collection);
  while (!EndOfList()) {
    const TTextItem& item = frames_.back().items[frames_.back().next++];
    TCollectionItem* added = nullptr;
    AtPos(item.Pos, [&] { added = Collection->Add(); });
    for (const TTextProperty& property : item.Properties)
      ReadProperty(added, property);
  }
  collections_.pop_back();
  ReadListEnd();
}

void TReader::SkipValue() {
  const std::size_t depth = frames_.size();
  ReadValue();
  frames_.resize(depth);
}
