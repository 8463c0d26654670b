#include "package/ComponentEntries.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <utility>

#include "package/UnitVersion.h"
#include "toolkit/model/ClassBuilder.h"
#include "toolkit/model/Component.h"
#include "toolkit/model/PropAccess.h"
#include "toolkit/model/Strings.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("ComponentEntries.cpp 1.0");

bool IsStringKind(TTypeKind Kind) {
  return Kind == tkString || Kind == tkLString || Kind == tkWString;
}

// A recorded kind still fits when the property has it, or another kind of string.
bool KindFits(TTypeKind Recorded, TTypeKind Actual) {
  return Recorded == tkUnknown || Recorded == Actual ||
         (IsStringKind(Recorded) && IsStringKind(Actual));
}

[[noreturn]] void EntryError(const TObject* Instance, const std::string& Path,
                             const std::string& Problem) {
  throw EPropertyError("Configuration entry " + Instance->ClassName() + "." + Path + ": " +
                       Problem);
}

// The property Name of Instance, when an entry may name it; null when it is not there and
// the entry does not validate.
PPropInfo FindEntryProperty(TObject* Instance, const std::string& Name, const std::string& Path,
                            bool Validate) {
  PPropInfo prop = GetPropInfo(Instance, Name);
  if (prop == nullptr && Validate) EntryError(Instance, Path, "no such published property");
  return prop;
}

// Whether the object at Path can hold the Wanted property (any object when none is wanted).
bool MayLeadTo(std::string_view Wanted, std::string_view Path) {
  if (Wanted.empty()) return true;
  if (!Wanted.starts_with(Path)) return false;
  const std::string_view rest = Wanted.substr(Path.size());
  return rest.empty() || rest.front() == '.' || rest.front() == '[';
}

// The item index the Wanted path names in the collection at Path ("Items[2].Caption" below
// "Items" gives 2); nothing when it names none.
std::optional<int> WantedItem(std::string_view Wanted, std::string_view Path) {
  if (!Wanted.starts_with(Path) || Wanted.substr(Path.size(), 1) != "[") return std::nullopt;
  const char* digits = Wanted.data() + Path.size() + 1;
  const char* end = Wanted.data() + Wanted.size();
  int index = 0;
  const auto [stop, error] = std::from_chars(digits, end, index);
  if (error != std::errc() || index < 0 || stop == end || *stop != ']') return std::nullopt;
  return index;
}

}  // namespace

// --- TPropertyItem, TPropertyItems ---

TClass TPropertyItem::StaticClass() {
  return DefineClass<TPropertyItem>("TPropertyItem", [](ClassBuilder<TPropertyItem>& c) {
    c.Property("Name", &TPropertyItem::Name);
    c.Property("Kind", &TPropertyItem::Kind).Default(tkUnknown);
  });
}

void TPropertyItem::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TPropertyItem*>(Source);
  if (source == nullptr) return inherited::Assign(Source);
  Name = source->Name;
  Kind = source->Kind;
}

TClass TPropertyItems::StaticClass() {
  return DefineClass<TPropertyItems>("TPropertyItems", [](ClassBuilder<TPropertyItems>&) {});
}

TPropertyItems::TPropertyItems(TPersistent* AOwner)
    : TOwnedCollection(AOwner, TPropertyItem::StaticClass()) {}

TPropertyItem* TPropertyItems::Add(const std::string& Name, TTypeKind Kind) {
  auto* item = static_cast<TPropertyItem*>(TCollection::Add());
  item->Name = Name;
  item->Kind = Kind;
  return item;
}

TPropertyItem* TPropertyItems::GetItem(int Index) const {
  return static_cast<TPropertyItem*>(Items(Index));
}

// --- TCustomEntry ---

TClass TCustomEntry::StaticClass() {
  return DefineClass<TCustomEntry>("TCustomEntry", [](ClassBuilder<TCustomEntry>&) {});
}

TCustomEntry::TCustomEntry(TCollection* Collection)
    : TCollectionItem(Collection),
      props_(new TPropertyItems(this)),
      items_(new TMainEntries(this)) {}

TCustomEntry::~TCustomEntry() {
  items_->Free();
  props_->Free();
}

void TCustomEntry::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TCustomEntry*>(Source);
  if (source == nullptr) return inherited::Assign(Source);
  props_->Assign(source->props_);
  items_->Assign(source->items_);
  subType_ = source->subType_;
}

bool TCustomEntry::HasItems() const {
  return items_->Count() > 0;
}

void TCustomEntry::SetItems(TMainEntries* Value) {
  items_->Assign(Value);
}

void TCustomEntry::BindProperties(TObject* Instance, const std::string& Prefix, bool Validate,
                                  std::string_view Wanted, TPropertyEntryList& Out) const {
  BindOwnProperties(Instance, Prefix, Validate, Wanted, Out);
  BindItems(Instance, Prefix, Validate, Wanted, Out);
}

void TCustomEntry::BindOwnProperties(TObject* Instance, const std::string& Prefix, bool Validate,
                                     std::string_view Wanted, TPropertyEntryList& Out) const {
  for (int i = 0; i < props_->Count(); ++i) {
    const TPropertyItem* item = props_->GetItem(i);
    const std::string path = Prefix + item->Name;
    if (!Wanted.empty() && path != Wanted) continue;
    PPropInfo prop = FindEntryProperty(Instance, item->Name, path, Validate);
    if (prop == nullptr) continue;
    const bool usable = KindFits(item->Kind, prop->Kind()) && HasValueText(prop) &&
                        prop->HasRead() && prop->HasWrite();
    if (!usable) {
      if (Validate) {
        EntryError(Instance, path,
                   "a " + prop->TypeName() + " property cannot be persisted as " +
                       GetEnumName(TypeInfo<TTypeKind>(), item->Kind));
      }
      continue;
    }
    Out.push_back(std::make_unique<TPropertyEntry>(Instance, prop, path));
  }
}

void TCustomEntry::BindItems(TObject* Instance, const std::string& Prefix, bool Validate,
                             std::string_view Wanted, TPropertyEntryList& Out) const {
  for (int i = 0; i < items_->Count(); ++i) {
    const TMainEntry* item = items_->GetItem(i);
    item->BindObject(Instance, Prefix, item->Validates(Validate), Wanted, Out);
  }
}

// --- TMainEntry, TMainEntries ---

TClass TMainEntry::StaticClass() {
  return DefineClass<TMainEntry>("TMainEntry", [](ClassBuilder<TMainEntry>& c) {
    c.Property("Name", &TMainEntry::Name);
    c.Property("Props", &TMainEntry::Props, &TMainEntry::SetProps).Stored(&TMainEntry::HasProps);
    c.Property("Items", &TMainEntry::Items, &TMainEntry::SetItems).Stored(&TMainEntry::HasItems);
    c.Property("SubType", &TMainEntry::SubType, &TMainEntry::SetSubType);
  });
}

void TMainEntry::Assign(TPersistent* Source) {
  inherited::Assign(Source);
  if (auto* source = dynamic_cast<TMainEntry*>(Source)) Name = source->Name;
}

void TMainEntry::BindObject(TObject* Parent, const std::string& Prefix, bool Validate,
                            std::string_view Wanted, TPropertyEntryList& Out) const {
  const std::string path = Prefix + Name;
  if (!MayLeadTo(Wanted, path)) return;
  PPropInfo prop = FindEntryProperty(Parent, Name, path, Validate);
  if (prop == nullptr) return;
  TObject* object = prop->Kind() == tkClass ? GetObjectProp(Parent, prop) : nullptr;
  if (object == nullptr) {
    if (Validate) EntryError(Parent, path, "holds no object");
    return;
  }
  if (SubType().Contains(stTStringsObject)) {
    auto* strings = dynamic_cast<TStrings*>(object);
    if (strings == nullptr) {
      if (Validate) EntryError(Parent, path, "holds a " + object->ClassName() + ", not a TStrings");
      return;
    }
    if (Wanted.empty() || Wanted == path)
      Out.push_back(std::make_unique<TStringsEntry>(strings, path));
    return;
  }
  if (SubType().Contains(stCollectionObject)) {
    auto* collection = dynamic_cast<TCollection*>(object);
    if (collection == nullptr) {
      if (Validate) {
        EntryError(Parent, path, "holds a " + object->ClassName() + ", not a TCollection");
      }
      return;
    }
    int first = 0;
    int last = collection->Count();
    if (!Wanted.empty()) {
      // Only the item the path names, when the collection still has it.
      const std::optional<int> item = WantedItem(Wanted, path);
      if (!item) return;
      first = *item;
      last = std::min(last, *item + 1);
    }
    for (int i = first; i < last; ++i) {
      BindProperties(collection->Items(i), path + "[" + std::to_string(i) + "].", Validate, Wanted,
                     Out);
    }
    return;
  }
  BindProperties(object, path + ".", Validate, Wanted, Out);
}

TClass TMainEntries::StaticClass() {
  return DefineClass<TMainEntries>("TMainEntries", [](ClassBuilder<TMainEntries>&) {});
}

TMainEntries::TMainEntries(TPersistent* AOwner)
    : TOwnedCollection(AOwner, TMainEntry::StaticClass()) {}

TMainEntry* TMainEntries::Add(const std::string& Name, TEntrySubTypes SubType) {
  auto* item = static_cast<TMainEntry*>(TCollection::Add());
  item->Name = Name;
  item->SetSubType(SubType);
  return item;
}

TMainEntry* TMainEntries::GetItem(int Index) const {
  return static_cast<TMainEntry*>(Items(Index));
}

// --- TComponentEntry, TComponentEntries ---

TClass TComponentEntry::StaticClass() {
  return DefineClass<TComponentEntry>("TComponentEntry", [](ClassBuilder<TComponentEntry>& c) {
    c.Property("Ref", &TComponentEntry::GetRef, &TComponentEntry::SetRef);
    c.Property("Props", &TComponentEntry::Props, &TComponentEntry::SetProps)
        .Stored(&TComponentEntry::HasProps);
    c.Property("Items", &TComponentEntry::Items, &TComponentEntry::SetItems)
        .Stored(&TComponentEntry::HasItems);
    c.Property("SubType", &TComponentEntry::SubType, &TComponentEntry::SetSubType);
  });
}

void TComponentEntry::Assign(TPersistent* Source) {
  inherited::Assign(Source);
  if (auto* source = dynamic_cast<TComponentEntry*>(Source)) SetRef(source->ref_);
}

std::string TComponentEntry::DisplayName() const {
  return ref_ != nullptr ? ref_->Name() : inherited::DisplayName();
}

TComponentEntries* TComponentEntry::Entries() const {
  return dynamic_cast<TComponentEntries*>(Collection());
}

void TComponentEntry::SetRef(TComponent* Value) {
  if (Value == ref_) return;
  bound_.clear();
  direct_ = 0;
  ref_ = Value;
  TComponentEntries* entries = Entries();
  // A component of another owner tells us when it goes, so the entry never points at it then.
  if (ref_ != nullptr && entries != nullptr && entries->OwnerComponent() != nullptr) {
    ref_->FreeNotification(entries->OwnerComponent());
  }
}

void TComponentEntry::Init() {
  bound_.clear();
  direct_ = 0;
  if (ref_ == nullptr) return;
  const bool validate = Validates(true);
  // Bound in one go, so that a failure leaves no half-bound entry behind.
  TPropertyEntryList bound;
  BindOwnProperties(ref_, "", validate, {}, bound);
  const std::size_t directCount = bound.size();
  BindItems(ref_, "", validate, {}, bound);
  bound_ = std::move(bound);
  direct_ = directCount;
}

void TComponentEntry::MoveSubItemsToStrings(bool IncludeSubItems, TStrings* Strings) const {
  const std::size_t count = IncludeSubItems ? bound_.size() : direct_;
  for (std::size_t i = 0; i < count; ++i)
    Strings->AddObject(bound_[i]->Path(), bound_[i].get());
}

std::unique_ptr<TPropertyEntry> TComponentEntry::Bind(std::string_view Path) const {
  if (ref_ == nullptr || Path.empty()) return nullptr;
  TPropertyEntryList bound;
  BindProperties(ref_, "", Validates(true), Path, bound);
  if (bound.empty()) return nullptr;
  return std::move(bound.front());
}

TClass TComponentEntries::StaticClass() {
  return DefineClass<TComponentEntries>("TComponentEntries",
                                        [](ClassBuilder<TComponentEntries>&) {});
}

TComponentEntries::TComponentEntries(TComponent* AOwner)
    : TOwnedCollection(AOwner, TComponentEntry::StaticClass()), owner_(AOwner) {}

TComponentEntry* TComponentEntries::Add(TComponent* Ref) {
  auto* item = static_cast<TComponentEntry*>(TCollection::Add());
  item->SetRef(Ref);
  return item;
}

TComponentEntry* TComponentEntries::GetItem(int Index) const {
  return static_cast<TComponentEntry*>(Items(Index));
}

void TComponentEntries::Init() {
  for (int i = 0; i < Count(); ++i)
    GetItem(i)->Init();
}

void TComponentEntries::RemoveReference(TComponent* Component) {
  for (int i = 0; i < Count(); ++i) {
    if (GetItem(i)->GetRef() == Component) GetItem(i)->SetRef(nullptr);
  }
}
