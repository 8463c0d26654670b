#pragma once

// Events: a property of method kind holds a handler, that is an object and one of
// its functions, plus the handler's name so a form description can name it again.
//
//   TOOLKIT_EVENT(TNotifyEvent, void(TObject* Sender));
//   TNotifyEvent FOnChange;
//   if (FOnChange) FOnChange(this);

#include <functional>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <utility>

#include "toolkit/model/Exceptions.h"
#include "toolkit/model/Method.h"
#include "toolkit/model/Object.h"

template <class Signature>
class TEvent;

template <class R, class... Args>
class TEvent<R(Args...)> {
 public:
  using Signature = R(Args...);

  TEvent() = default;
  TEvent(std::nullptr_t) {}  // NOLINT: `FOnChange = nullptr` unassigns
  // A handler that is a member function of Object, optionally under its published name.
  template <class C>
  TEvent(C* Object, R (C::*Handler)(Args...), std::string HandlerName = {})
      : Name(std::move(HandlerName)), Code([Object, Handler](Args... args) -> R {
          return (Object->*Handler)(std::forward<Args>(args)...);
        }) {
    if constexpr (std::is_base_of_v<TObject, C>) Data = Object;
  }
  // Any callable, bound in code.
  template <class F>
  requires(std::is_invocable_r_v<R, F&, Args...> && !std::is_same_v<std::decay_t<F>, TEvent>)
      TEvent(F Function)
      : Code(std::move(Function)) {}  // NOLINT: lambdas convert

  explicit operator bool() const { return static_cast<bool>(Code); }
  R operator()(Args... args) const { return Code(std::forward<Args>(args)...); }

  TMethod ToMethod() const {
    TMethod method;
    method.Data = Data;
    method.Name = Name;
    if (Code) method.Code = Code;
    return method;
  }
  // Takes a handler of the same signature; another signature raises EConvertError.
  void AssignMethod(const TMethod& Method) {
    if (!Method.Assigned()) {
      *this = TEvent();
      return;
    }
    const auto* function = std::any_cast<std::function<Signature>>(&Method.Code);
    if (function == nullptr) {
      throw EConvertError("Handler " + (Method.Name.empty() ? std::string("(code)") : Method.Name) +
                          " does not fit the event's parameters");
    }
    Data = Method.Data;
    Name = Method.Name;
    Code = *function;
  }

  TObject* Data = nullptr;
  std::string Name;
  std::function<Signature> Code;
};

// Declares an event type: a TEvent with a name for the type info.
#define TOOLKIT_EVENT(Name, ...)                   \
  struct Name : TEvent<__VA_ARGS__> {              \
    using TEvent<__VA_ARGS__>::TEvent;             \
    static constexpr const char* TypeName = #Name; \
  }

template <class E>
requires requires(const E& event) {
  E::TypeName;
  event.ToMethod();
}
PTypeInfo TypeInfoOf(const E*) {
  static const TTypeInfo info = MakeMethodTypeInfo(E::TypeName, typeid(typename E::Signature));
  return &info;
}

TOOLKIT_EVENT(TNotifyEvent, void(TObject* Sender));
