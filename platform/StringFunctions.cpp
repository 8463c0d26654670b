#include "platform/StringFunctions.h"

#include <cstddef>

namespace platform {

namespace {

unsigned char FoldAsciiLetter(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 'a' && u <= 'z') ? static_cast<unsigned char>(u - 32) : u;
}

bool IsTrimmed(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

Status FormatError(std::string_view format, const std::string& problem) {
  return {ErrorCode::BadFormat, "Format \"" + std::string(format) + "\": " + problem};
}

}  // namespace

int CompareText(std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const unsigned char ca = FoldAsciiLetter(a[i]);
    const unsigned char cb = FoldAsciiLetter(b[i]);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::string Trim(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsTrimmed(text[begin]))
    ++begin;
  while (end > begin && IsTrimmed(text[end - 1]))
    --end;
  return std::string(text.substr(begin, end - begin));
}

const std::string& FormatArg::text() const {
  static const std::string kNone;
  const auto* s = std::get_if<std::string>(&value_);
  return s != nullptr ? *s : kNone;
}

std::string FormatArg::Digits() const {
  if (const auto* n = std::get_if<std::int64_t>(&value_)) return std::to_string(*n);
  if (const auto* u = std::get_if<std::uint64_t>(&value_)) return std::to_string(*u);
  return {};
}

Result<std::string> Format(std::string_view format, std::span<const FormatArg> args) {
  std::string out;
  out.reserve(format.size());
  size_t used = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      out += format[i];
      continue;
    }
    if (i + 1 == format.size()) return FormatError(format, "ends with a lone %");
    const char directive = format[++i];
    if (directive == '%') {
      out += '%';
      continue;
    }
    if (directive != 's' && directive != 'd') {
      return FormatError(format, std::string("unknown directive %") + directive);
    }
    const std::string which =
        "%" + std::string(1, directive) + " (argument " + std::to_string(used + 1) + ")";
    if (used == args.size()) return FormatError(format, "no argument for " + which);
    const FormatArg& arg = args[used];
    if (directive == 's' && !arg.IsString()) {
      return FormatError(format, which + " is given an integer");
    }
    if (directive == 'd' && arg.IsString()) {
      return FormatError(format, which + " is given the string \"" + arg.text() + "\"");
    }
    out += directive == 's' ? arg.text() : arg.Digits();
    ++used;
  }
  if (used != args.size()) {
    return FormatError(format, std::to_string(args.size()) + " arguments given, " +
                                   std::to_string(used) + " used");
  }
  return out;
}

}  // namespace platform
