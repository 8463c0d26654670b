// Reads the text of a form description into its tree (FormText.h).

#include <cmath>

#include "platform/HexDigits.h"
#include "platform/Unicode.h"
#include "toolkit/model/Exceptions.h"
#include "toolkit/model/FormText.h"
#include "toolkit/model/Identifiers.h"
#include "toolkit/model/Variant.h"

namespace {

// Deeper nesting than any form needs; it keeps hostile text from exhausting the stack.
constexpr int kMaxDepth = 200;

bool IsIdentStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsIdentChar(char c) {
  return IsIdentStart(c) || (c >= '0' && c <= '9');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = lineStart_ = 3;  // a byte order mark
  }

  TTextObject ParseRoot() {
    SkipBlanks();
    TTextObject root = ParseObject(0);
    SkipBlanks();
    if (pos_ < text_.size()) Error("End of text expected", Here());
    return root;
  }

 private:
  // --- scanning ---

  char Peek(std::size_t ahead = 0) const {
    return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
  }
  bool AtEnd() const { return pos_ >= text_.size(); }

  TTextPos Here() const {
    int column = 1;
    for (std::size_t i = lineStart_; i < pos_ && i < text_.size(); ++i) {
      if ((static_cast<unsigned char>(text_[i]) & 0xC0) != 0x80) ++column;
    }
    return {line_, column};
  }

  [[noreturn]] void Error(const std::string& message, TTextPos at) const {
    throw EReadError(message, at.Line, at.Column);
  }

  void SkipBlanks() {
    while (!AtEnd()) {
      const char c = Peek();
      if (c == ' ' || c == '\t') {
        ++pos_;
      } else if (c == '\r' || c == '\n') {
        ++pos_;
        if (c == '\r' && Peek() == '\n') ++pos_;
        ++line_;
        lineStart_ = pos_;
      } else {
        return;
      }
    }
  }

  bool AtKeyword(std::string_view keyword) const {
    if (text_.size() - pos_ < keyword.size()) return false;
    if (!SameIdent(text_.substr(pos_, keyword.size()), keyword)) return false;
    return !IsIdentChar(Peek(keyword.size()));
  }

  void Expect(char c, const char* what) {
    if (Peek() != c || AtEnd()) Error(std::string(what) + " expected", Here());
    ++pos_;
  }

  std::string ReadIdent() {
    if (!IsIdentStart(Peek())) Error("Identifier expected", Here());
    const std::size_t start = pos_;
    while (IsIdentChar(Peek()))
      ++pos_;
    return std::string(text_.substr(start, pos_ - start));
  }

  // Name or Name.Name..., without blanks around the dots.
  std::string ReadQualifiedIdent() {
    std::string name = ReadIdent();
    while (Peek() == '.') {
      ++pos_;
      name += '.';
      name += ReadIdent();
    }
    return name;
  }

  void CheckDepth(int depth) const {
    if (depth > kMaxDepth) Error("Nesting too deep", Here());
  }

  // --- structure ---

  TTextObject ParseObject(int depth) {
    CheckDepth(depth);
    TTextObject object;
    object.Pos = Here();
    if (!AtKeyword("object")) Error("'object' expected", Here());
    pos_ += 6;
    SkipBlanks();
    const std::string first = ReadIdent();
    SkipBlanks();
    if (Peek() == ':') {
      ++pos_;
      SkipBlanks();
      object.Name = first;
      object.ClassName = ReadIdent();
    } else {
      object.ClassName = first;
    }
    for (;;) {
      SkipBlanks();
      if (AtEnd()) Error("'end' expected", Here());
      if (AtKeyword("end")) {
        pos_ += 3;
        return object;
      }
      if (AtKeyword("object")) {
        object.Children.push_back(ParseObject(depth + 1));
      } else if (!object.Children.empty()) {
        Error("'end' expected", Here());  // properties come before nested objects
      } else {
        object.Properties.push_back(ParseProperty(depth));
      }
    }
  }

  TTextProperty ParseProperty(int depth) {
    TTextProperty property;
    property.Pos = Here();
    property.Name = ReadQualifiedIdent();
    SkipBlanks();
    Expect('=', "'='");
    SkipBlanks();
    property.Value = ParseValue(depth + 1);
    return property;
  }

  TTextValue ParseValue(int depth) {
    CheckDepth(depth);
    TTextValue value;
    value.Pos = Here();
    const char c = Peek();
    if (AtEnd()) Error("Value expected", value.Pos);
    if (c == '\'' || c == '#') {
      ParseString(value);
    } else if (IsDigit(c) || c == '$' ||
               ((c == '-' || c == '+') && (IsDigit(Peek(1)) || Peek(1) == '$'))) {
      ParseNumber(value);
    } else if (c == '[') {
      ParseSet(value);
    } else if (c == '(') {
      ParseList(value, depth);
    } else if (c == '<') {
      ParseCollection(value, depth);
    } else if (c == '{') {
      ParseBinary(value);
    } else if (IsIdentStart(c)) {
      value.Kind = TTextValue::vkIdent;
      value.Text = ReadQualifiedIdent();
    } else {
      Error("Value expected", value.Pos);
    }
    return value;
  }

  // 'text' and #13 parts written together form one string; `+` joins strings.
  void ParseString(TTextValue& value) {
    value.Kind = TTextValue::vkString;
    for (;;) {
      while (Peek() == '\'' || Peek() == '#') {
        if (Peek() == '\'') {
          ParseQuoted(value.Text);
        } else {
          ParseCharCode(value.Text);
        }
      }
      const std::size_t save = pos_;
      const int saveLine = line_;
      const std::size_t saveLineStart = lineStart_;
      SkipBlanks();
      if (Peek() != '+') {
        pos_ = save;
        line_ = saveLine;
        lineStart_ = saveLineStart;
        return;
      }
      ++pos_;
      SkipBlanks();
      if (Peek() != '\'' && Peek() != '#') Error("String expected", Here());
    }
  }

  void ParseQuoted(std::string& out) {
    const TTextPos start = Here();
    ++pos_;
    for (;;) {
      if (AtEnd() || Peek() == '\r' || Peek() == '\n') Error("Unterminated string", start);
      if (Peek() == '\'') {
        if (Peek(1) != '\'') {
          ++pos_;
          return;
        }
        pos_ += 2;
        out += '\'';
      } else {
        out += Peek();
        ++pos_;
      }
    }
  }

  void ParseCharCode(std::string& out) {
    const TTextPos start = Here();
    ++pos_;
    std::uint32_t code = 0;
    const bool hex = Peek() == '$';
    if (hex) ++pos_;
    const std::size_t digitsStart = pos_;
    while (hex ? platform::IsHexDigit(Peek()) : IsDigit(Peek())) {
      code = code * (hex ? 16 : 10) + platform::HexDigitValue(Peek());
      if (code > 0x10FFFF) Error("Invalid character code", start);
      ++pos_;
    }
    if (pos_ == digitsStart) Error("Invalid character code", start);
    if (code >= 0xD800 && code <= 0xDFFF) Error("Invalid character code", start);
    platform::AppendUtf8(out, code);
  }

  void ParseNumber(TTextValue& value) {
    const std::size_t start = pos_;
    if (Peek() == '-' || Peek() == '+') ++pos_;
    bool isFloat = false;
    if (Peek() == '$') {
      ++pos_;
      while (platform::IsHexDigit(Peek()))
        ++pos_;
    } else {
      while (IsDigit(Peek()))
        ++pos_;
      if (Peek() == '.' && IsDigit(Peek(1))) {
        isFloat = true;
        ++pos_;
        while (IsDigit(Peek()))
          ++pos_;
      }
      if ((Peek() == 'e' || Peek() == 'E') &&
          (IsDigit(Peek(1)) || ((Peek(1) == '+' || Peek(1) == '-') && IsDigit(Peek(2))))) {
        isFloat = true;
        pos_ += 2;
        while (IsDigit(Peek()))
          ++pos_;
      }
    }
    std::string_view number = text_.substr(start, pos_ - start);
    if (number.front() == '+') number.remove_prefix(1);
    char suffix = 0;
    if (!number.empty() && number.front() != '$' &&
        std::string_view("sScCdD").find(Peek()) != std::string_view::npos &&
        !IsIdentChar(Peek(1))) {
      suffix = static_cast<char>(Peek() | 0x20);
      isFloat = true;
      ++pos_;
    }
    if (IsIdentChar(Peek()) || Peek() == '.') Error("Invalid number", value.Pos);
    if (isFloat) {
      value.Kind = TTextValue::vkFloat;
      value.FloatSuffix = suffix;
      if (!TryStrToFloat(number, value.Float)) Error("Invalid floating point number", value.Pos);
    } else {
      value.Kind = TTextValue::vkInteger;
      if (!TryStrToInt64(number, value.Integer)) Error("Invalid integer", value.Pos);
    }
  }

  void ParseSet(TTextValue& value) {
    value.Kind = TTextValue::vkSet;
    ++pos_;
    SkipBlanks();
    if (Peek() == ']') {
      ++pos_;
      return;
    }
    for (;;) {
      value.Members.push_back(ReadIdent());
      SkipBlanks();
      if (Peek() == ']') {
        ++pos_;
        return;
      }
      Expect(',', "','");
      SkipBlanks();
    }
  }

  void ParseList(TTextValue& value, int depth) {
    value.Kind = TTextValue::vkList;
    ++pos_;
    for (;;) {
      SkipBlanks();
      if (Peek() == ')') {
        ++pos_;
        return;
      }
      if (AtEnd()) Error("')' expected", Here());
      value.Values.push_back(ParseValue(depth + 1));
    }
  }

  void ParseCollection(TTextValue& value, int depth) {
    value.Kind = TTextValue::vkCollection;
    ++pos_;
    for (;;) {
      SkipBlanks();
      if (Peek() == '>') {
        ++pos_;
        return;
      }
      if (!AtKeyword("item")) Error("'item' expected", Here());
      TTextItem item;
      item.Pos = Here();
      pos_ += 4;
      SkipBlanks();
      if (Peek() == '[') {
        ++pos_;
        SkipBlanks();
        TTextValue index = ParseValue(depth + 1);
        if (index.Kind != TTextValue::vkInteger) Error("Integer expected", index.Pos);
        item.Index = index.Integer;
        SkipBlanks();
        Expect(']', "']'");
      }
      for (;;) {
        SkipBlanks();
        if (AtEnd()) Error("'end' expected", Here());
        if (AtKeyword("end")) {
          pos_ += 3;
          break;
        }
        item.Properties.push_back(ParseProperty(depth + 1));
      }
      value.Items.push_back(std::move(item));
    }
  }

  // Pairs of hex digits; blanks and line breaks may stand between pairs.
  void ParseBinary(TTextValue& value) {
    value.Kind = TTextValue::vkBinary;
    ++pos_;
    for (;;) {
      SkipBlanks();
      if (Peek() == '}') {
        ++pos_;
        return;
      }
      if (!platform::IsHexDigit(Peek()) || !platform::IsHexDigit(Peek(1)))
        Error("Invalid binary value", Here());
      value.Text += static_cast<char>(platform::HexDigitValue(Peek()) * 16 +
                                      platform::HexDigitValue(Peek(1)));
      pos_ += 2;
    }
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 1;
  std::size_t lineStart_ = 0;
};

}  // namespace

TTextObject ParseFormText(std::string_view Text) {
  return Parser(Text).ParseRoot();
}
