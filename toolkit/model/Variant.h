#pragma once

// Variant: a property value of any kind, as the property access functions pass
// values around. Every variant has a text form (VarToStr).

#include <cstdint>
#include <string>
#include <variant>

#include "toolkit/model/Method.h"
#include "toolkit/model/TypeInfo.h"

class TObject;

enum TVarType {
  varEmpty,
  varNull,
  varBoolean,
  varInt64,
  varDouble,
  varString,
  varObject,
  varMethod
};

class Variant {
 public:
  Variant() = default;                                        // Unassigned
  Variant(bool Value) : value_(Value) {}                      // NOLINT: implicit by design
  Variant(int Value) : value_(std::int64_t{Value}) {}         // NOLINT
  Variant(std::int64_t Value) : value_(Value) {}              // NOLINT
  Variant(double Value) : value_(Value) {}                    // NOLINT
  Variant(std::string Value) : value_(std::move(Value)) {}    // NOLINT
  Variant(const char* Value) : value_(std::string(Value)) {}  // NOLINT
  Variant(TObject* Value) : value_(Value) {}                  // NOLINT
  Variant(TMethod Value) : value_(std::move(Value)) {}        // NOLINT

  static Variant Null();

  TVarType VarType() const { return static_cast<TVarType>(value_.index()); }
  bool IsEmpty() const { return VarType() == varEmpty; }
  bool IsNull() const { return VarType() == varNull; }

  // Conversions in the classic manner; a variant that cannot become the type
  // raises EVariantError.
  bool AsBoolean() const;
  std::int64_t AsInteger() const;
  double AsFloat() const;
  std::string AsString() const;  // VarToStr
  TObject* AsObject() const;     // null for Unassigned and Null
  TMethod AsMethod() const;      // unassigned for Unassigned and Null

  friend bool operator==(const Variant& A, const Variant& B) { return A.value_ == B.value_; }

 private:
  struct NullValue {
    friend bool operator==(NullValue, NullValue) { return true; }
  };
  std::variant<std::monostate, NullValue, bool, std::int64_t, double, std::string, TObject*,
               TMethod>
      value_;
};

// The type info of a Variant property ("Variant", tkVariant).
PTypeInfo TypeInfoOf(const Variant*);

// The text form: "" for Unassigned and Null, True/False, numbers as FloatToStr writes
// them, a component by its name, a handler by its name.
std::string VarToStr(const Variant& Value);
// The name of a variant type, for messages: "String", "Int64", ...
const char* VarTypeName(TVarType Type);

// Floats as the classic writer writes them: at most 15 significant digits, '.' as
// the decimal separator, exponent form (1E20, 1.5E-7) only for very large or small values.
std::string FloatToStr(double Value);
// Reads what FloatToStr writes, and integers; false when Text is not such a number.
bool TryStrToFloat(std::string_view Text, double& Value);
// Decimal or $hex with an optional sign; false when Text is not an integer or does not fit.
bool TryStrToInt64(std::string_view Text, std::int64_t& Value);
