#pragma once

// TObject and its class: run-time class names, "is a" checks, and the published
// part of each class (properties, handlers, fields), which form descriptions use.
//
// Every class of the toolkit and above it names itself with TOOLKIT_CLASS(TFoo, TBase)
// at the top of its body and defines TFoo::StaticClass() with DefineClass
// (ClassBuilder.h), which is also where it publishes its properties.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "toolkit/model/TypeInfo.h"
#include "toolkit/model/Variant.h"

class TObject;
class TComponent;
class TCollection;
class TCollectionItem;

// The value meaning "no index" in a property's Index, as in the classic type info.
constexpr std::int32_t PropNoIndex = -2147483647 - 1;

// One published property. Values pass through the accessors in their raw form:
// ordinals (integers, characters, enumerations, sets as bits) as Int64, floats as
// Double, strings as String, objects as Object, handlers as Method; a Variant
// property passes its own value.
struct TPropInfo {
  enum TStoredKind { skAlways, skNever, skPredicate };

  std::string Name;
  PTypeInfo (*TypeGetter)() = nullptr;      // asked lazily: a class may refer to itself
  std::string TypeNameOverride;             // e.g. TComponentName for a std::string
  std::function<Variant(TObject*)> GetRaw;  // empty: no read access
  std::function<void(TObject*, const Variant&)> SetRaw;  // empty: no write access
  std::optional<Variant> Default;                        // raw form; empty: no declared default
  TStoredKind Stored = skAlways;
  std::function<bool(TObject*)> StoredProc;
  std::int32_t Index = PropNoIndex;

  PTypeInfo PropType() const { return TypeGetter(); }
  TTypeKind Kind() const { return PropType()->Kind; }
  std::string TypeName() const {
    return TypeNameOverride.empty() ? PropType()->Name : TypeNameOverride;
  }
  bool HasRead() const { return static_cast<bool>(GetRaw); }
  bool HasWrite() const { return static_cast<bool>(SetRaw); }
};
using PPropInfo = const TPropInfo*;

// A published method: a handler that a form description can bind by name.
struct TMethodInfo {
  std::string Name;
  const std::type_info* Signature = nullptr;
  std::function<TMethod(TObject* Self)> Bind;  // the handler bound to Self, named
};

// A published field: set to the owned component of the same name when that
// component is named, cleared when it goes (SetReference).
struct TFieldInfo {
  std::string Name;
  TClass (*FieldClass)() = nullptr;
  std::function<void(TObject* Owner, TComponent* Value)> Set;
};

class TMetaClass {
 public:
  TMetaClass(std::string Name, TClass Parent, TClass (*Self)());
  TMetaClass(const TMetaClass&) = delete;
  TMetaClass& operator=(const TMetaClass&) = delete;

  const std::string& ClassName() const { return name_; }
  TClass ClassParent() const { return parent_; }
  bool InheritsFrom(TClass Ancestor) const;
  // The type info of a property of this class type.
  PTypeInfo ClassInfo() const { return &typeInfo_; }

  // All published properties, the base class's first, each class's in declaration order.
  const std::vector<TPropInfo>& Properties() const { return properties_; }
  PPropInfo FindProperty(std::string_view Name) const;         // ignoring case; null when none
  const TMethodInfo* FindMethod(std::string_view Name) const;  // this class or a base
  const TFieldInfo* FindField(std::string_view Name) const;    // this class or a base
  // The class of a published field by class name, to create components a form names.
  TClass FindFieldClass(std::string_view ClassName) const;

  bool CanCreateComponent() const { return static_cast<bool>(componentFactory_); }
  // Loading: the component is loading already while its constructor runs, as the components a
  // form description names are (the reader asks for that; code that makes a component does not).
  enum class TCreateMode { Plain, Loading };
  TComponent* CreateComponent(TComponent* Owner, TCreateMode Mode = TCreateMode::Plain) const;
  bool CanCreateItem() const { return static_cast<bool>(itemFactory_); }
  TCollectionItem* CreateItem(TCollection* Collection) const { return itemFactory_(Collection); }

  // Lets DefineClass fill in the published part, once, while the class is built.
  template <class F>
  void Build(F&& Fill) {
    Fill(properties_, methods_, fields_, componentFactory_, itemFactory_);
  }

 private:
  std::string name_;
  TClass parent_;
  TTypeInfo typeInfo_;
  std::vector<TPropInfo> properties_;
  std::vector<TMethodInfo> methods_;
  std::vector<TFieldInfo> fields_;
  std::function<TComponent*(TComponent*)> componentFactory_;
  std::function<TCollectionItem*(TCollection*)> itemFactory_;
};

// Names the class and its base. Put it first in the class body; it leaves access public.
#define TOOLKIT_CLASS(Self, Base)     \
 public:                              \
  using inherited = Base;             \
  static TClass StaticClass();        \
  TClass ClassType() const override { \
    return Self::StaticClass();       \
  }

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static TClass StaticClass();
  virtual TClass ClassType() const { return StaticClass(); }
  std::string ClassName() const;
  bool InheritsFrom(TClass Ancestor) const { return ClassType()->InheritsFrom(Ancestor); }
  template <class T>
  bool Is() const {
    return dynamic_cast<const T*>(this) != nullptr;
  }

  // Frees a heap object the classic way: BeforeDestruction first, while the object
  // is still whole, then the destructor. Owners free what they own through this.
  void Free();
  virtual void BeforeDestruction() {}
};

// The type info of a property that holds an object of class T.
template <class T>
requires std::is_base_of_v<TObject, T> PTypeInfo TypeInfoOf(T* const*) {
  return T::StaticClass()->ClassInfo();
}

// Frees the object and empties the variable.
template <class T>
void FreeAndNil(T*& Object) {
  T* object = Object;
  Object = nullptr;
  if (object != nullptr) object->Free();
}
