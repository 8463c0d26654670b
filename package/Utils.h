#pragma once

// Small helpers every unit above the toolkit uses: text replacement, freeing owned
// objects, and the error for a selector value no branch handles.

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "toolkit/model/Object.h"
#include "toolkit/model/TypeInfo.h"

// Every occurrence of OldText replaced by NewText, left to right; replaced text is not
// searched again. An empty OldText finds nothing, so Text comes back unchanged.
std::string ReplaceAll(std::string_view Text, std::string_view OldText, std::string_view NewText);

// Frees the object in Variable (if any) and empties the variable. The variable is
// emptied first, so a destructor that looks at it already sees it gone.
template <class T>
requires std::is_base_of_v<TObject, T>
void DeleteClass(T*& Variable) {
  FreeAndNil(Variable);
}

// Raises ECriticalError for a selector value that no branch of Where handles.
[[noreturn]] void CaseError(std::string_view Where, std::int64_t Value);
[[noreturn]] void CaseErrorNamed(std::string_view Where, std::string_view ValueName);

// The same for an enumeration; a toolkit enumeration is named by its member.
template <class E>
requires std::is_enum_v<E>
[[noreturn]] void CaseError(std::string_view Where, E Value) {
  if constexpr (requires { TypeInfoOf(static_cast<const E*>(nullptr)); }) {
    const std::string name = GetEnumName(TypeInfo<E>(), static_cast<int>(Value));
    if (!name.empty()) CaseErrorNamed(Where, name);
  }
  CaseError(Where, static_cast<std::int64_t>(Value));
}
