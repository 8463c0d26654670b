#include "toolkit/model/TypeInfo.h"

#include <limits>

#include "toolkit/model/Exceptions.h"
#include "toolkit/model/Identifiers.h"

namespace {

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\n'))
    text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\n'))
    text.remove_suffix(1);
  return text;
}

std::vector<std::string> SplitMembers(std::string_view text) {
  std::vector<std::string> members;
  while (!TrimBlanks(text).empty()) {
    const std::size_t comma = text.find(',');
    members.emplace_back(TrimBlanks(text.substr(0, comma)));
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return members;
}

TTypeInfo MakeSimple(TTypeKind kind, const char* name, std::int64_t min, std::int64_t max) {
  TTypeInfo info;
  info.Kind = kind;
  info.Name = name;
  info.MinValue = min;
  info.MaxValue = max;
  return info;
}

}  // namespace

TTypeInfo MakeEnumTypeInfo(std::string Name, std::string_view CommaSeparatedMembers) {
  TTypeInfo info;
  info.Kind = tkEnumeration;
  info.Name = std::move(Name);
  info.EnumNames = SplitMembers(CommaSeparatedMembers);
  info.MinValue = 0;
  info.MaxValue = static_cast<std::int64_t>(info.EnumNames.size()) - 1;
  return info;
}

TTypeInfo MakeSetTypeInfo(std::string Name, PTypeInfo (*CompType)()) {
  TTypeInfo info;
  info.Kind = tkSet;
  info.Name = std::move(Name);
  info.CompType = CompType;
  return info;
}

TTypeInfo MakeIntegerTypeInfo(std::string Name,
                              std::vector<std::pair<std::int32_t, std::string>> Idents) {
  TTypeInfo info;
  info.Kind = tkInteger;
  info.Name = std::move(Name);
  info.MinValue = std::numeric_limits<std::int32_t>::min();
  info.MaxValue = std::numeric_limits<std::int32_t>::max();
  info.IntegerIdents = std::move(Idents);
  return info;
}

TTypeInfo MakeMethodTypeInfo(std::string Name, const std::type_info& Signature) {
  TTypeInfo info;
  info.Kind = tkMethod;
  info.Name = std::move(Name);
  info.Signature = &Signature;
  return info;
}

PTypeInfo TypeInfoOf(const int*) {
  static const TTypeInfo info = MakeSimple(tkInteger, "Integer", std::numeric_limits<int>::min(),
                                           std::numeric_limits<int>::max());
  return &info;
}

PTypeInfo TypeInfoOf(const std::int64_t*) {
  static const TTypeInfo info =
      MakeSimple(tkInt64, "Int64", std::numeric_limits<std::int64_t>::min(),
                 std::numeric_limits<std::int64_t>::max());
  return &info;
}

PTypeInfo TypeInfoOf(const bool*) {
  static const TTypeInfo info = MakeEnumTypeInfo("Boolean", "False, True");
  return &info;
}

PTypeInfo TypeInfoOf(const char*) {
  static const TTypeInfo info = MakeSimple(tkChar, "Char", 0, 255);
  return &info;
}

PTypeInfo TypeInfoOf(const double*) {
  static const TTypeInfo info = MakeSimple(tkFloat, "Double", 0, 0);
  return &info;
}

PTypeInfo TypeInfoOf(const std::string*) {
  static const TTypeInfo info = MakeSimple(tkLString, "string", 0, 0);
  return &info;
}

std::string GetEnumName(PTypeInfo Info, int Value) {
  if (Value < 0 || static_cast<std::size_t>(Value) >= Info->EnumNames.size()) return {};
  return Info->EnumNames[static_cast<std::size_t>(Value)];
}

int GetEnumValue(PTypeInfo Info, std::string_view Name) {
  for (std::size_t i = 0; i < Info->EnumNames.size(); ++i) {
    if (SameIdent(Info->EnumNames[i], Name)) return static_cast<int>(i);
  }
  return -1;
}

std::string SetToString(PTypeInfo SetType, std::uint32_t Bits, bool Brackets) {
  const PTypeInfo members = SetType->CompType();
  std::string text;
  for (std::size_t i = 0; i < members->EnumNames.size() && i < 32; ++i) {
    if ((Bits & (std::uint32_t{1} << i)) == 0) continue;
    if (!text.empty()) text += ", ";
    text += members->EnumNames[i];
  }
  return Brackets ? "[" + text + "]" : text;
}

std::uint32_t StringToSet(PTypeInfo SetType, std::string_view Text) {
  const PTypeInfo members = SetType->CompType();
  std::string_view inner = TrimBlanks(Text);
  if (!inner.empty() && inner.front() == '[') {
    if (inner.back() != ']') throw EConvertError("'" + std::string(Text) + "' is not a valid set");
    inner = inner.substr(1, inner.size() - 2);
  }
  std::uint32_t bits = 0;
  for (const std::string& name : SplitMembers(inner)) {
    const int ordinal = GetEnumValue(members, name);
    if (ordinal < 0 || ordinal >= 32) {
      throw EConvertError("'" + name + "' is not a member of " + SetType->Name);
    }
    bits |= std::uint32_t{1} << ordinal;
  }
  return bits;
}
