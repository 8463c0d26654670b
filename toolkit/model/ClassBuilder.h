#pragma once

// Publishing a class: its run-time class and its published properties, handlers
// and fields, in one place in the class's .cpp file.
//
//   TClass TSample::StaticClass() {
//     return DefineClass<TSample>("TSample", [](ClassBuilder<TSample>& c) {
//       c.Property("Caption", &TSample::Caption, &TSample::SetCaption);
//       c.Property("Count", &TSample::FCount).Default(3);
//       c.Property("Mode", &TSample::Mode, &TSample::SetMode).Default(mdFast);
//       c.Property("Hidden", &TSample::Hidden,
//       &TSample::SetHidden).Stored(&TSample::IsHiddenStored); c.Property("OnChange",
//       &TSample::FOnChange); c.Method("FormCreate", &TSample::FormCreate); c.Field("Button1",
//       &TSample::Button1);
//     });
//   }
//
// A getter is a member function, a data member or a callable taking T*; a setter
// is a member function, a data member, a callable taking (T*, value), or missing.
// Properties come after the base class's in the order they are published here; a
// property published again under an inherited name keeps the inherited place.

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "toolkit/model/Collection.h"
#include "toolkit/model/Component.h"
#include "toolkit/model/Events.h"
#include "toolkit/model/Identifiers.h"
#include "toolkit/model/Object.h"

namespace toolkit_detail {

template <class V>
struct IsSet : std::false_type {};
template <class E>
struct IsSet<TSet<E>> : std::true_type {};

template <class V>
concept EventType = requires(const V& event) {
  typename V::Signature;
  event.ToMethod();
};

// A typed value in the raw form the property accessors pass (see TPropInfo).
template <class V>
Variant ToRaw(const V& Value) {
  if constexpr (std::is_same_v<V, Variant>) {
    return Value;
  } else if constexpr (std::is_same_v<V, bool>) {
    return std::int64_t{Value ? 1 : 0};
  } else if constexpr (std::is_same_v<V, char>) {
    return std::int64_t{static_cast<unsigned char>(Value)};
  } else if constexpr (std::is_integral_v<V> || std::is_enum_v<V>) {
    return static_cast<std::int64_t>(Value);
  } else if constexpr (IsSet<V>::value) {
    return static_cast<std::int64_t>(Value.Bits());
  } else if constexpr (std::is_floating_point_v<V>) {
    return static_cast<double>(Value);
  } else if constexpr (std::is_same_v<V, std::string>) {
    return Value;
  } else if constexpr (std::is_pointer_v<V>) {
    return static_cast<TObject*>(Value);
  } else if constexpr (EventType<V>) {
    return Value.ToMethod();
  } else {
    static_assert(sizeof(V) == 0, "not a property type");
  }
}

template <class V>
V FromRaw(const Variant& Raw) {
  if constexpr (std::is_same_v<V, Variant>) {
    return Raw;
  } else if constexpr (std::is_same_v<V, bool>) {
    return Raw.AsInteger() != 0;
  } else if constexpr (std::is_integral_v<V> || std::is_enum_v<V>) {
    return static_cast<V>(Raw.AsInteger());
  } else if constexpr (IsSet<V>::value) {
    return V::FromBits(static_cast<std::uint32_t>(Raw.AsInteger()));
  } else if constexpr (std::is_floating_point_v<V>) {
    return static_cast<V>(Raw.AsFloat());
  } else if constexpr (std::is_same_v<V, std::string>) {
    return Raw.AsString();
  } else if constexpr (std::is_pointer_v<V>) {
    return dynamic_cast<V>(Raw.AsObject());
  } else if constexpr (EventType<V>) {
    V event;
    event.AssignMethod(Raw.AsMethod());
    return event;
  } else {
    static_assert(sizeof(V) == 0, "not a property type");
  }
}

}  // namespace toolkit_detail

// Further details of one property, chained after ClassBuilder::Property.
template <class T, class V>
class PropertyBuilder {
 public:
  PropertyBuilder(std::vector<TPropInfo>& Properties, std::size_t Index)
      : properties_(Properties), index_(Index) {}

  // The declared default: a value equal to it is not written into a form description.
  template <class D>
  PropertyBuilder& Default(D Value) {
    Prop().Default = toolkit_detail::ToRaw<V>(V(std::move(Value)));
    return *this;
  }
  PropertyBuilder& NoDefault() {
    Prop().Default.reset();
    return *this;
  }
  PropertyBuilder& Stored(bool Value) {
    Prop().Stored = Value ? TPropInfo::skAlways : TPropInfo::skNever;
    Prop().StoredProc = nullptr;
    return *this;
  }
  // A predicate on the object: a member function `bool IsFooStored() const` or a callable(T*).
  template <class P>
  requires std::is_invocable_r_v<bool, P, T*> PropertyBuilder& Stored(P Predicate) {
    Prop().Stored = TPropInfo::skPredicate;
    Prop().StoredProc = [Predicate](TObject* Instance) {
      return static_cast<bool>(std::invoke(Predicate, static_cast<T*>(Instance)));
    };
    return *this;
  }
  PropertyBuilder& Index(std::int32_t Value) {
    Prop().Index = Value;
    return *this;
  }
  // A type name other than the C++ type's, e.g. TComponentName for a std::string.
  PropertyBuilder& TypeName(std::string Name) {
    Prop().TypeNameOverride = std::move(Name);
    return *this;
  }

 private:
  TPropInfo& Prop() { return properties_[index_]; }

  std::vector<TPropInfo>& properties_;
  std::size_t index_;
};

template <class T>
class ClassBuilder {
 public:
  ClassBuilder(std::string ClassName, std::vector<TPropInfo>& Properties,
               std::vector<TMethodInfo>& Methods, std::vector<TFieldInfo>& Fields)
      : className_(std::move(ClassName)),
        properties_(Properties),
        methods_(Methods),
        fields_(Fields) {}

  // The name of the class being published, for the errors of its publishing.
  const std::string& ClassName() const { return className_; }

  template <class Getter, class Setter = std::nullptr_t>
  auto Property(std::string Name, Getter Get, Setter Set = nullptr) {
    using V = std::remove_cvref_t<std::invoke_result_t<Getter, T*>>;
    TPropInfo prop;
    prop.Name = std::move(Name);
    prop.TypeGetter = &TypeInfo<V>;
    prop.GetRaw = [Get](TObject* Instance) {
      return toolkit_detail::ToRaw<V>(std::invoke(Get, static_cast<T*>(Instance)));
    };
    if constexpr (std::is_member_object_pointer_v<Setter>) {
      prop.SetRaw = [Set](TObject* Instance, const Variant& Raw) {
        static_cast<T*>(Instance)->*Set = toolkit_detail::FromRaw<V>(Raw);
      };
    } else if constexpr (!std::is_null_pointer_v<Setter>) {
      prop.SetRaw = [Set](TObject* Instance, const Variant& Raw) {
        std::invoke(Set, static_cast<T*>(Instance), toolkit_detail::FromRaw<V>(Raw));
      };
    }
    return PropertyBuilder<T, V>(properties_, Place(std::move(prop)));
  }

  // A property that reads and writes a data member directly (of T or of a base class).
  template <class V, class B>
  requires(std::is_base_of_v<B, T>&& std::is_member_object_pointer_v<V B::*>) auto Property(
      std::string Name, V B::*Member) {
    return Property(std::move(Name), Member, Member);
  }

  // A published method: a handler a form description can name.
  template <class R, class... A>
  void Method(std::string Name, R (T::*Handler)(A...)) {
    TMethodInfo info;
    info.Name = Name;
    info.Signature = &typeid(R(A...));
    info.Bind = [Handler, Name](TObject* Self) {
      T* self = static_cast<T*>(Self);
      TMethod method;
      method.Data = Self;
      method.Name = Name;
      method.Code = std::function<R(A...)>(
          [self, Handler](A... args) -> R { return (self->*Handler)(std::forward<A>(args)...); });
      return method;
    };
    methods_.push_back(std::move(info));
  }

  // A published field: set to the owned component of the same name.
  template <class C>
  void Field(std::string Name, C* T::*Member) {
    static_assert(std::is_base_of_v<TComponent, C>, "published fields hold components");
    TFieldInfo info;
    info.Name = std::move(Name);
    info.FieldClass = &C::StaticClass;
    info.Set = [Member](TObject* Owner, TComponent* Value) {
      static_cast<T*>(Owner)->*Member = dynamic_cast<C*>(Value);
    };
    fields_.push_back(std::move(info));
  }

 private:
  std::size_t Place(TPropInfo prop) {
    for (std::size_t i = 0; i < properties_.size(); ++i) {
      if (SameIdent(properties_[i].Name, prop.Name)) {
        properties_[i] = std::move(prop);
        return i;
      }
    }
    properties_.push_back(std::move(prop));
    return properties_.size() - 1;
  }

  std::string className_;
  std::vector<TPropInfo>& properties_;
  std::vector<TMethodInfo>& methods_;
  std::vector<TFieldInfo>& fields_;
};

// Builds T's class once, on first use: its base class, the factories the form reader
// uses (a component is created with an owner, a collection item with its collection),
// and what Publish adds.
template <class T, class Publish>
TClass DefineClass(const char* Name, Publish&& Publisher) {
  static const std::unique_ptr<TMetaClass> meta = [&] {
    auto created = std::make_unique<TMetaClass>(Name, T::inherited::StaticClass(), &T::StaticClass);
    created->Build([&](auto& properties, auto& methods, auto& fields, auto& componentFactory,
                       auto& itemFactory) {
      if constexpr (std::is_base_of_v<TComponent, T> && !std::is_abstract_v<T> &&
                    std::is_constructible_v<T, TComponent*>) {
        componentFactory = [](TComponent* Owner) -> TComponent* { return new T(Owner); };
      }
      if constexpr (std::is_base_of_v<TCollectionItem, T> && !std::is_abstract_v<T> &&
                    std::is_constructible_v<T, TCollection*>) {
        itemFactory = [](TCollection* Collection) -> TCollectionItem* { return new T(Collection); };
      }
      ClassBuilder<T> builder(Name, properties, methods, fields);
      Publisher(builder);
    });
    return created;
  }();
  return meta.get();
}
