#pragma once

// A form description as text and as a tree. The text:
//
//   object Form1: TForm1
//     Caption = 'Setup'
//     Font.Name = 'Arial'
//     Options = [opFirst, opSecond]
//     Items.Strings = (
//       'one'
//       'two')
//     Entries = <
//       item
//         Ref = Button1
//       end>
//     Data = {0A0B}
//     OnClick = Button1Click
//     object Button1: TButton
//     end
//   end
//
// ParseFormText reads the text into the tree; FormatFormText writes the tree back
// in the classic layout (two spaces per level, long strings split with `+`).
// Text formatted once formats to itself again.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct TTextPos {
  int Line = 0;  // 1-based; 0 for a node that was not read from text
  int Column = 0;
};

struct TTextItem;

struct TTextValue {
  enum TKind { vkInteger, vkFloat, vkString, vkIdent, vkSet, vkList, vkCollection, vkBinary };

  TKind Kind = vkInteger;
  TTextPos Pos;
  std::int64_t Integer = 0;
  double Float = 0;
  char FloatSuffix = 0;              // 's', 'c' or 'd' as written after a float, else 0
  std::string Text;                  // a string's bytes, an identifier, or binary bytes
  std::vector<std::string> Members;  // vkSet
  std::vector<TTextValue> Values;    // vkList
  std::vector<TTextItem> Items;      // vkCollection
};

struct TTextProperty {
  std::string Name;  // may be a dotted path: Font.Name
  TTextPos Pos;
  TTextValue Value;
};

struct TTextItem {
  TTextPos Pos;
  std::optional<std::int64_t> Index;  // `item [3]`
  std::vector<TTextProperty> Properties;
};

struct TTextObject {
  TTextPos Pos;
  std::string Name;  // may be empty: `object TFoo`
  std::string ClassName;
  std::vector<TTextProperty> Properties;
  std::vector<TTextObject> Children;
};

// Raises EReadError naming the line and column of the first error.
TTextObject ParseFormText(std::string_view Text);
// Lines end in LF.
std::string FormatFormText(const TTextObject& Root);
