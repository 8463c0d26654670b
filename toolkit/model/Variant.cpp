#include "toolkit/model/Variant.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "toolkit/model/Component.h"
#include "toolkit/model/Exceptions.h"
#include "toolkit/model/Identifiers.h"

Variant Variant::Null() {
  Variant v;
  v.value_ = NullValue{};
  return v;
}

namespace {

[[noreturn]] void CannotConvert(const Variant& value, const char* target) {
  throw EVariantError("Could not convert variant of type (" +
                      std::string(VarTypeName(value.VarType())) + ") into type (" + target + ")");
}

}  // namespace

bool Variant::AsBoolean() const {
  switch (VarType()) {
    case varBoolean:
      return std::get<bool>(value_);
    case varInt64:
      return std::get<std::int64_t>(value_) != 0;
    case varDouble:
      return std::get<double>(value_) != 0;
    case varString: {
      const std::string& text = std::get<std::string>(value_);
      if (SameIdent(text, "True")) return true;
      if (SameIdent(text, "False")) return false;
      std::int64_t number = 0;
      if (TryStrToInt64(text, number)) return number != 0;
      break;
    }
    default:
      break;
  }
  CannotConvert(*this, "Boolean");
}

std::int64_t Variant::AsInteger() const {
  switch (VarType()) {
    case varBoolean:
      return std::get<bool>(value_) ? 1 : 0;
    case varInt64:
      return std::get<std::int64_t>(value_);
    case varDouble: {
      const double number = std::get<double>(value_);
      // Rounded as the classic conversion rounds, and only when it fits.
      if (std::isfinite(number) && std::fabs(number) < 9.2e18) {
        return static_cast<std::int64_t>(std::nearbyint(number));
      }
      break;
    }
    case varString: {
      std::int64_t number = 0;
      if (TryStrToInt64(std::get<std::string>(value_), number)) return number;
      break;
    }
    default:
      break;
  }
  CannotConvert(*this, "Int64");
}

double Variant::AsFloat() const {
  switch (VarType()) {
    case varBoolean:
      return std::get<bool>(value_) ? 1 : 0;
    case varInt64:
      return static_cast<double>(std::get<std::int64_t>(value_));
    case varDouble:
      return std::get<double>(value_);
    case varString: {
      double number = 0;
      if (TryStrToFloat(std::get<std::string>(value_), number)) return number;
      break;
    }
    default:
      break;
  }
  CannotConvert(*this, "Double");
}

std::string Variant::AsString() const {
  switch (VarType()) {
    case varEmpty:
    case varNull:
      return {};
    case varBoolean:
      return std::get<bool>(value_) ? "True" : "False";
    case varInt64:
      return std::to_string(std::get<std::int64_t>(value_));
    case varDouble:
      return FloatToStr(std::get<double>(value_));
    case varString:
      return std::get<std::string>(value_);
    case varObject: {
      const TObject* object = std::get<TObject*>(value_);
      if (object == nullptr) return {};
      if (const auto* component = dynamic_cast<const TComponent*>(object)) return component->Name();
      return object->ClassName();
    }
    case varMethod:
      return std::get<TMethod>(value_).Name;
  }
  return {};
}

TObject* Variant::AsObject() const {
  switch (VarType()) {
    case varEmpty:
    case varNull:
      return nullptr;
    case varObject:
      return std::get<TObject*>(value_);
    default:
      CannotConvert(*this, "Object");
  }
}

TMethod Variant::AsMethod() const {
  switch (VarType()) {
    case varEmpty:
    case varNull:
      return {};
    case varMethod:
      return std::get<TMethod>(value_);
    default:
      CannotConvert(*this, "Method");
  }
}

PTypeInfo TypeInfoOf(const Variant*) {
  static const TTypeInfo info = [] {
    TTypeInfo variant;
    variant.Kind = tkVariant;
    variant.Name = "Variant";
    return variant;
  }();
  return &info;
}

std::string VarToStr(const Variant& Value) {
  return Value.AsString();
}

const char* VarTypeName(TVarType Type) {
  switch (Type) {
    case varEmpty:
      return "Empty";
    case varNull:
      return "Null";
    case varBoolean:
      return "Boolean";
    case varInt64:
      return "Int64";
    case varDouble:
      return "Double";
    case varString:
      return "String";
    case varObject:
      return "Object";
    case varMethod:
      return "Method";
  }
  return "Unknown";
}

std::string FloatToStr(double Value) {
  if (std::isnan(Value)) return "NAN";
  if (std::isinf(Value)) return Value > 0 ? "INF" : "-INF";
  if (Value == 0) return "0";
  // 15 significant digits in exponent form: "d.dddddddddddddde+XX".
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, Value, std::chars_format::scientific, 14);
  std::string scientific(buffer, result.ptr);
  std::string sign;
  if (scientific.front() == '-') {
    sign = "-";
    scientific.erase(0, 1);
  }
  const std::size_t e = scientific.find('e');
  int exponent = std::stoi(scientific.substr(e + 1));
  std::string digits = scientific.substr(0, 1) + scientific.substr(2, e - 2);
  while (digits.size() > 1 && digits.back() == '0')
    digits.pop_back();

  if (exponent >= 15 || exponent < -5) {
    std::string text = sign + digits.substr(0, 1);
    if (digits.size() > 1) text += "." + digits.substr(1);
    return text + "E" + std::to_string(exponent);
  }
  if (exponent < 0)
    return sign + "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  const auto whole = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= whole) return sign + digits + std::string(whole - digits.size(), '0');
  return sign + digits.substr(0, whole) + "." + digits.substr(whole);
}

bool TryStrToFloat(std::string_view Text, double& Value) {
  std::string_view rest = Text;
  bool negative = false;
  if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }
  // Only plain decimal forms: from_chars would also take "inf", "nan" and hex floats.
  bool digitSeen = false;
  for (char c : rest) {
    if (c >= '0' && c <= '9') {
      digitSeen = true;
    } else if (c != '.' && c != 'e' && c != 'E' && c != '+' && c != '-') {
      return false;
    }
  }
  if (!digitSeen || rest.front() == '+' || rest.front() == '-') return false;
  double number = 0;
  const auto result = std::from_chars(rest.data(), rest.data() + rest.size(), number);
  if (result.ec != std::errc() || result.ptr != rest.data() + rest.size()) return false;
  if (!std::isfinite(number)) return false;
  Value = negative ? -number : number;
  return true;
}

bool TryStrToInt64(std::string_view Text, std::int64_t& Value) {
  std::string_view rest = Text;
  bool negative = false;
  if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }
  std::uint64_t magnitude = 0;
  if (!rest.empty() && rest.front() == '$') {
    // Hexadecimal is a bit pattern: $FFFFFFFFFFFFFFFF is -1.
    rest.remove_prefix(1);
    if (rest.empty() || rest.size() > 16) return false;
    const auto result = std::from_chars(rest.data(), rest.data() + rest.size(), magnitude, 16);
    if (result.ec != std::errc() || result.ptr != rest.data() + rest.size()) return false;
    const auto bits = static_cast<std::int64_t>(magnitude);
    Value = negative ? static_cast<std::int64_t>(0 - magnitude) : bits;
    return true;
  }
  if (rest.empty() || rest.front() < '0' || rest.front() > '9') return false;
  const auto result = std::from_chars(rest.data(), rest.data() + rest.size(), magnitude, 10);
  if (result.ec != std::errc() || result.ptr != rest.data() + rest.size()) return false;
  const std::uint64_t limit =
      negative ? std::uint64_t{1} << 63 : static_cast<std::uint64_t>(INT64_MAX);
  if (magnitude > limit) return false;
  Value =
      negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
  return true;
}
