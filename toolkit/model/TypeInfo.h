#pragma once

// Run-time type information of published properties: each property type has a
// kind (the names form descriptions use, e.g. `Kind = tkLString`) and a name, and
// enumerations and sets know their members.
//
// Everything here lives in the global namespace so that code written against the
// toolkit reads like code written against the classic toolkit (`TypeInfo<TAlign>()`,
// `GetEnumName`, `tkInteger`).

#include <cstdint>
#include <string>
#include <string_view>
#include <typeinfo>
#include <utility>
#include <vector>

#include "toolkit/model/Sets.h"

class TMetaClass;
struct TTypeInfo;
using PTypeInfo = const TTypeInfo*;
using TClass = const TMetaClass*;

enum TTypeKind {
  tkUnknown,
  tkInteger,
  tkChar,
  tkEnumeration,
  tkFloat,
  tkString,
  tkSet,
  tkClass,
  tkMethod,
  tkWChar,
  tkLString,
  tkWString,
  tkVariant,
  tkArray,
  tkRecord,
  tkInterface,
  tkInt64,
  tkDynArray
};

struct TTypeInfo {
  TTypeKind Kind = tkUnknown;
  std::string Name;
  std::int64_t MinValue = 0;  // ordinal kinds
  std::int64_t MaxValue = 0;
  // tkEnumeration: member names; a member's ordinal is its position.
  std::vector<std::string> EnumNames;
  // tkInteger: values that are written by name instead of as a number (colors, cursors).
  std::vector<std::pair<std::int32_t, std::string>> IntegerIdents;
  // tkSet: the enumeration it is a set of.
  PTypeInfo (*CompType)() = nullptr;
  // tkClass: the class. Looked up when asked, so a class may have properties of its own type.
  TClass (*ClassType)() = nullptr;
  // tkMethod: the handler's function type, to check that a handler fits the event.
  const std::type_info* Signature = nullptr;
};

// An enumeration in the classic sense: members numbered from 0, in order, known by name.
// TOOLKIT_ENUM(TAlign, alNone, alTop) declares `enum TAlign { alNone, alTop };` and its type info.
#define TOOLKIT_ENUM(Type, ...) \
  enum Type { __VA_ARGS__ };    \
  TOOLKIT_ENUM_INFO(Type, __VA_ARGS__)

// The type info alone, for an enumeration declared elsewhere (members numbered from 0).
#define TOOLKIT_ENUM_INFO(Type, ...)                                     \
  inline PTypeInfo TypeInfoOf(const Type*) {                             \
    static const TTypeInfo info = MakeEnumTypeInfo(#Type, #__VA_ARGS__); \
    return &info;                                                        \
  }

// TOOLKIT_SET(TFontStyles, TFontStyle) declares `using TFontStyles = TSet<TFontStyle>;`
// and its type info.
#define TOOLKIT_SET(SetType, EnumType)                                            \
  using SetType = TSet<EnumType>;                                                 \
  inline PTypeInfo TypeInfoOf(const TSet<EnumType>*) {                            \
    static const TTypeInfo info = MakeSetTypeInfo(#SetType, &TypeInfo<EnumType>); \
    return &info;                                                                 \
  }

TTypeInfo MakeEnumTypeInfo(std::string Name, std::string_view CommaSeparatedMembers);
TTypeInfo MakeSetTypeInfo(std::string Name, PTypeInfo (*CompType)());
// An event type; a handler fits when its function type is Signature.
TTypeInfo MakeMethodTypeInfo(std::string Name, const std::type_info& Signature);
// An integer type whose text form uses names for some values, e.g. TColor's clWindow.
TTypeInfo MakeIntegerTypeInfo(std::string Name,
                              std::vector<std::pair<std::int32_t, std::string>> Idents = {});

TOOLKIT_ENUM_INFO(TTypeKind, tkUnknown, tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet,
                  tkClass, tkMethod, tkWChar, tkLString, tkWString, tkVariant, tkArray, tkRecord,
                  tkInterface, tkInt64, tkDynArray)

// The type info of the built-in property types. Further overloads come with
// TOOLKIT_ENUM, TOOLKIT_SET, TOOLKIT_EVENT and the classes (Object.h).
PTypeInfo TypeInfoOf(const int*);           // "Integer"
PTypeInfo TypeInfoOf(const std::int64_t*);  // "Int64"
PTypeInfo TypeInfoOf(const bool*);          // "Boolean", an enumeration of False and True
PTypeInfo TypeInfoOf(const char*);          // "Char"
PTypeInfo TypeInfoOf(const double*);        // "Double"
PTypeInfo TypeInfoOf(const std::string*);   // "string", tkLString

template <class T>
PTypeInfo TypeInfo() {
  return TypeInfoOf(static_cast<const T*>(nullptr));
}

// The member name of an ordinal; empty when out of range.
std::string GetEnumName(PTypeInfo Info, int Value);
// The ordinal of a member name, ignoring case; -1 when there is no such member.
int GetEnumValue(PTypeInfo Info, std::string_view Name);
// `[a, b]` (without the brackets when asked), members in ordinal order.
std::string SetToString(PTypeInfo SetType, std::uint32_t Bits, bool Brackets = true);
// Reads `[a, b]` or `a,b`; an unknown member raises EConvertError.
std::uint32_t StringToSet(PTypeInfo SetType, std::string_view Text);
