#include "toolkit/model/Identifiers.h"

namespace {

bool IsIdentStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

char FoldAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

bool IsValidIdent(std::string_view Ident) {
  if (Ident.empty() || !IsIdentStart(Ident.front())) return false;
  for (char c : Ident) {
    if (!IsIdentStart(c) && !(c >= '0' && c <= '9')) return false;
  }
  return true;
}

bool SameIdent(std::string_view A, std::string_view B) {
  if (A.size() != B.size()) return false;
  for (std::size_t i = 0; i < A.size(); ++i) {
    if (FoldAscii(A[i]) != FoldAscii(B[i])) return false;
  }
  return true;
}
