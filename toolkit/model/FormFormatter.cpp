// Writes the tree of a form description (FormText.h) as text, in the classic layout.

#include "platform/HexDigits.h"
#include "toolkit/model/FormText.h"
#include "toolkit/model/Variant.h"

namespace {

// A string longer than this many characters starts on its own line and is split
// into pieces of at most this many, joined with `+`, as the classic writer does.
constexpr std::size_t kLineLength = 64;
// Binary data is written 32 bytes to a line.
constexpr std::size_t kBytesPerLine = 32;

// The length in bytes of the UTF-8 character at text[i]; a byte that does not start
// a valid sequence counts alone, and is written back as it was.
std::size_t CharLength(const std::string& text, std::size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  std::size_t length = 1;
  if (lead >= 0xC2 && lead < 0xE0) {
    length = 2;
  } else if (lead >= 0xE0 && lead < 0xF0) {
    length = 3;
  } else if (lead >= 0xF0 && lead < 0xF5) {
    length = 4;
  }
  if (i + length > text.size()) return 1;
  for (std::size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

class Formatter {
 public:
  std::string Format(const TTextObject& root) {
    Object(root);
    return std::move(out_);
  }

 private:
  void Indent() { out_.append(static_cast<std::size_t>(level_) * 2, ' '); }
  void NewLine() {
    out_ += '\n';
    Indent();
  }

  void Object(const TTextObject& object) {
    Indent();
    out_ += "object ";
    if (!object.Name.empty()) {
      out_ += object.Name;
      out_ += ": ";
    }
    out_ += object.ClassName;
    out_ += '\n';
    ++level_;
    for (const TTextProperty& property : object.Properties)
      Property(property);
    for (const TTextObject& child : object.Children)
      Object(child);
    --level_;
    Indent();
    out_ += "end\n";
  }

  void Property(const TTextProperty& property) {
    Indent();
    out_ += property.Name;
    out_ += " = ";
    Value(property.Value);
    out_ += '\n';
  }

  void Value(const TTextValue& value) {
    switch (value.Kind) {
      case TTextValue::vkInteger:
        out_ += std::to_string(value.Integer);
        break;
      case TTextValue::vkFloat:
        out_ += FloatToStr(value.Float);
        if (value.FloatSuffix != 0) out_ += value.FloatSuffix;
        break;
      case TTextValue::vkString:
        String(value.Text);
        break;
      case TTextValue::vkIdent:
        out_ += value.Text;
        break;
      case TTextValue::vkSet:
        Set(value);
        break;
      case TTextValue::vkList:
        List(value);
        break;
      case TTextValue::vkCollection:
        Collection(value);
        break;
      case TTextValue::vkBinary:
        Binary(value.Text);
        break;
    }
  }

  void Set(const TTextValue& value) {
    out_ += '[';
    for (std::size_t i = 0; i < value.Members.size(); ++i) {
      if (i > 0) out_ += ", ";
      out_ += value.Members[i];
    }
    out_ += ']';
  }

  void List(const TTextValue& value) {
    out_ += '(';
    ++level_;
    for (const TTextValue& item : value.Values) {
      NewLine();
      Value(item);
    }
    --level_;
    out_ += ')';
  }

  void Collection(const TTextValue& value) {
    out_ += '<';
    ++level_;
    for (const TTextItem& item : value.Items) {
      NewLine();
      out_ += "item";
      if (item.Index) out_ += " [" + std::to_string(*item.Index) + "]";
      out_ += '\n';
      ++level_;
      for (const TTextProperty& property : item.Properties)
        Property(property);
      --level_;
      Indent();
      out_ += "end";
    }
    --level_;
    out_ += '>';
  }

  void Binary(const std::string& bytes) {
    out_ += '{';
    ++level_;
    const bool multiLine = bytes.size() >= kBytesPerLine;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (multiLine && i % kBytesPerLine == 0) NewLine();
      const auto byte = static_cast<unsigned char>(bytes[i]);
      platform::AppendHexByte(out_, byte);
    }
    --level_;
    out_ += '}';
  }

  // Printable runs in quotes, control characters and the quote itself as #code.
  void String(const std::string& text) {
    std::vector<std::size_t> starts;  // byte offset of each character
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i))
      starts.push_back(i);
    const std::size_t count = starts.size();
    if (count == 0) {
      out_ += "''";
      return;
    }
    starts.push_back(text.size());
    auto printable = [&](std::size_t k) {
      const auto c = static_cast<unsigned char>(text[starts[k]]);
      return c >= ' ' && c != '\'';
    };
    ++level_;
    if (count > kLineLength) NewLine();
    std::size_t lineStart = 0;
    std::size_t k = 0;
    while (k < count) {
      bool lineBreak = false;
      if (printable(k)) {
        const std::size_t first = k;
        do {
          ++k;
        } while (k < count && printable(k) && k - lineStart < kLineLength);
        if (k - lineStart >= kLineLength) lineBreak = true;
        out_ += '\'';
        out_.append(text, starts[first], starts[k] - starts[first]);
        out_ += '\'';
      } else {
        out_ += '#';
        out_ += std::to_string(static_cast<unsigned char>(text[starts[k]]));
        ++k;
        if (k - lineStart >= kLineLength) lineBreak = true;
      }
      if (lineBreak && k < count) {
        out_ += " +";
        NewLine();
        lineStart = k;
      }
    }
    --level_;
  }

  std::string out_;
  int level_ = 0;
};

}  // namespace

std::string FormatFormText(const TTextObject& Root) {
  return Formatter().Format(Root);
}
