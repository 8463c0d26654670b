#include "package/Utils.h"

#include "package/Errors.h"

std::string ReplaceAll(std::string_view Text, std::string_view OldText, std::string_view NewText) {
  if (OldText.empty()) return std::string(Text);
  std::string result;
  result.reserve(Text.size());
  std::size_t from = 0;
  for (std::size_t at = Text.find(OldText); at != std::string_view::npos;
       at = Text.find(OldText, from)) {
    result.append(Text.substr(from, at - from));
    result.append(NewText);
    from = at + OldText.size();
  }
  result.append(Text.substr(from));
  return result;
}

void CaseError(std::string_view Where, std::int64_t Value) {
  throw ECriticalError("Unhandled case value " + std::to_string(Value) + " in " +
                       std::string(Where));
}

void CaseErrorNamed(std::string_view Where, std::string_view ValueName) {
  throw ECriticalError("Unhandled case value " + std::string(ValueName) + " in " +
                       std::string(Where));
}
