#pragma once

// Undoing work on every way out of a scope, written once beside the work it undoes:
//
//   BeginUpdate();
//   const ScopeExit endUpdate([this] { EndUpdate(); });
//
//   const ScopedValue path(propPath_, propPath_ + Name + ".");  // the old path comes back
//
// Work that is kept once it succeeded dismisses its undo at the end:
//
//   ScopeExit freeForm([&] { form->Free(); });
//   form->ReadForm(Description);
//   freeForm.Dismiss();
//
// The classic toolkit writes these as try/finally; a catch-all that undoes and rethrows
// has to repeat the undo for the normal way out and forgets the early returns.

#include <exception>
#include <type_traits>
#include <utility>

// Runs Action when the scope ends, however it ends.
template <class F>
class [[nodiscard]] ScopeExit {
 public:
  explicit ScopeExit(F Action) : action_(std::move(Action)) {}
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

  // On the normal way out an error of the action goes to the caller, as after a finally.
  // While an exception is already on its way that one is the error to report: a second
  // one from the action could only end the program, so it is dropped.
  ~ScopeExit() noexcept(false) {
    if (dismissed_) return;
    if (std::uncaught_exceptions() == uncaught_) {
      action_();
      return;
    }
    try {
      action_();
    } catch (...) {  // dropped, as said above
    }
  }

  // The scope got to its end: what it did stays.
  void Dismiss() { dismissed_ = true; }

 private:
  F action_;
  int uncaught_ = std::uncaught_exceptions();
  bool dismissed_ = false;
};

// Gives Variable a value for the length of the scope and puts the old one back at its end.
template <class T>
class [[nodiscard]] ScopedValue {
  static_assert(std::is_nothrow_move_assignable_v<T>, "restoring must not fail");

 public:
  ScopedValue(T& Variable, std::type_identity_t<T> Value)
      : variable_(Variable), saved_(std::exchange(Variable, std::move(Value))) {}
  // Keeps the present value, to come back whatever the scope sets meanwhile.
  explicit ScopedValue(T& Variable) : variable_(Variable), saved_(Variable) {}
  ScopedValue(const ScopedValue&) = delete;
  ScopedValue& operator=(const ScopedValue&) = delete;
  ~ScopedValue() { variable_ = std::move(saved_); }

 private:
  T& variable_;
  T saved_;
};
