#pragma once

// The runtime-library string helpers the upper layers are written against:
// CompareText, Trim and Format, with the classic runtime's behaviour.

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>

#include "platform/Status.h"

namespace platform {

// Compares without regard to the case of A to Z only; every other byte compares by its
// unsigned value, so the result never depends on the locale. Returns <0, 0 or >0.
int CompareText(std::string_view a, std::string_view b);
inline bool SameText(std::string_view a, std::string_view b) {
  return CompareText(a, b) == 0;
}

// Drops leading and trailing characters with codes up to 32 (blanks and control characters).
std::string Trim(std::string_view text);

// One argument of Format: a string or an integer.
class FormatArg {
 public:
  FormatArg(std::string text) : value_(std::move(text)) {}         // NOLINT: implicit by design
  FormatArg(std::string_view text) : value_(std::string(text)) {}  // NOLINT
  FormatArg(const char* text) : value_(std::string(text)) {}       // NOLINT
  template <class T>
  requires std::is_integral_v<T> &&(!std::is_same_v<T, bool>)&&(!std::is_same_v<T, char>)
      FormatArg(T number) {  // NOLINT: implicit by design
    if constexpr (std::is_signed_v<T>) {
      value_ = static_cast<std::int64_t>(number);
    } else {
      value_ = static_cast<std::uint64_t>(number);
    }
  }

  bool IsString() const { return std::holds_alternative<std::string>(value_); }
  // The text for %s; empty for a number.
  const std::string& text() const;
  // The decimal digits for %d; empty for a string.
  std::string Digits() const;

 private:
  std::variant<std::string, std::int64_t, std::uint64_t> value_;
};

// Fills %s (a string) and %d (an integer); %% is a percent sign. A missing or surplus
// argument, an argument of the wrong kind or any other directive is a BadFormat error
// that names the problem; the text is never guessed at.
Result<std::string> Format(std::string_view format, std::span<const FormatArg> args);
inline Result<std::string> Format(std::string_view format, std::initializer_list<FormatArg> args) {
  return Format(format, std::span<const FormatArg>(args.begin(), args.size()));
}

}  // namespace platform
