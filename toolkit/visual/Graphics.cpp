#include "toolkit/visual/Graphics.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

#include "toolkit/model/ClassBuilder.h"
#include "toolkit/model/Exceptions.h"
#include "toolkit/model/Identifiers.h"
#include "toolkit/model/Variant.h"

namespace {

using Idents = std::vector<std::pair<std::int32_t, std::string>>;

const Idents& ColorIdents() {
  static const Idents idents = [] {
    Idents list = {
        {clBlack, "clBlack"}, {clMaroon, "clMaroon"},   {clGreen, "clGreen"},
        {clOlive, "clOlive"}, {clNavy, "clNavy"},       {clPurple, "clPurple"},
        {clTeal, "clTeal"},   {clGray, "clGray"},       {clSilver, "clSilver"},
        {clRed, "clRed"},     {clLime, "clLime"},       {clYellow, "clYellow"},
        {clBlue, "clBlue"},   {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"},
        {clWhite, "clWhite"}, {clNone, "clNone"},       {clDefault, "clDefault"},
    };
    static const std::array<const char*, 25> system = {
        "clScrollBar",    "clBackground",  "clActiveCaption", "clInactiveCaption",
        "clMenu",         "clWindow",      "clWindowFrame",   "clMenuText",
        "clWindowText",   "clCaptionText", "clActiveBorder",  "clInactiveBorder",
        "clAppWorkSpace", "clHighlight",   "clHighlightText", "clBtnFace",
        "clBtnShadow",    "clGrayText",    "clBtnText",       "clInactiveCaptionText",
        "clBtnHighlight", "cl3DDkShadow",  "cl3DLight",       "clInfoText",
        "clInfoBk"};
    for (std::size_t i = 0; i < system.size(); ++i) {
      list.emplace_back(MakeColor(0x80000000u + static_cast<std::uint32_t>(i)), system[i]);
    }
    return list;
  }();
  return idents;
}

// The classic Windows scheme, as BGR values, by system colour index.
constexpr std::array<std::uint32_t, 25> kSystemColors = {
    0xC8C8C8, 0x808000, 0x800000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
    0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x800000, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x808080,
    0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000, 0xDFDFDF, 0x000000, 0xE1FFFF};

std::int32_t ReadInt32(const TBytes& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i)
    value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
  return static_cast<std::int32_t>(value);
}

}  // namespace

PTypeInfo TypeInfoOf(const TColor*) {
  static const TTypeInfo info = MakeIntegerTypeInfo("TColor", ColorIdents());
  return &info;
}

PTypeInfo TypeInfoOf(const TCursor*) {
  static const TTypeInfo info = [] {
    TTypeInfo cursor = MakeIntegerTypeInfo(
        "TCursor",
        {{crDefault, "crDefault"},     {crNone, "crNone"},           {crArrow, "crArrow"},
         {crCross, "crCross"},         {crIBeam, "crIBeam"},         {crSizeNESW, "crSizeNESW"},
         {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"},   {crSizeWE, "crSizeWE"},
         {crUpArrow, "crUpArrow"},     {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
         {crNoDrop, "crNoDrop"},       {crHSplit, "crHSplit"},       {crVSplit, "crVSplit"},
         {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"},     {crNo, "crNo"},
         {crAppStart, "crAppStart"},   {crHelp, "crHelp"},           {crHandPoint, "crHandPoint"},
         {crSizeAll, "crSizeAll"}});
    cursor.MinValue = -32768;
    cursor.MaxValue = 32767;
    return cursor;
  }();
  return &info;
}

PTypeInfo TypeInfoOf(const TFontCharset*) {
  static const TTypeInfo info = [] {
    TTypeInfo charset = MakeIntegerTypeInfo("TFontCharset", {{ANSI_CHARSET, "ANSI_CHARSET"},
                                                             {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
                                                             {SYMBOL_CHARSET, "SYMBOL_CHARSET"},
                                                             {OEM_CHARSET, "OEM_CHARSET"}});
    charset.MinValue = 0;
    charset.MaxValue = 255;
    return charset;
  }();
  return &info;
}

std::uint32_t ColorToRGB(TColor Color) {
  const auto value = static_cast<std::uint32_t>(Color);
  if ((value & 0xFF000000u) == 0x80000000u) {
    const std::uint32_t index = value & 0xFF;
    return index < kSystemColors.size() ? kSystemColors[index] : 0;
  }
  return value & 0xFFFFFF;
}

std::string ColorToString(TColor Color) {
  for (const auto& [value, name] : ColorIdents()) {
    if (value == Color) return name;
  }
  static const char* digits = "0123456789ABCDEF";
  std::string text = "$";
  for (int shift = 28; shift >= 0; shift -= 4) {
    text += digits[(static_cast<std::uint32_t>(Color) >> shift) & 0xF];
  }
  return text;
}

TColor StringToColor(const std::string& Text) {
  for (const auto& [value, name] : ColorIdents()) {
    if (SameIdent(name, Text)) return static_cast<TColor>(value);
  }
  std::int64_t number = 0;
  if (!TryStrToInt64(Text, number)) throw EConvertError("'" + Text + "' is not a valid colour");
  return MakeColor(static_cast<std::uint32_t>(number));
}

TClass TFont::StaticClass() {
  return DefineClass<TFont>("TFont", [](ClassBuilder<TFont>& c) {
    c.Property("Charset", &TFont::Charset, &TFont::SetCharset);
    c.Property("Color", &TFont::Color, &TFont::SetColor);
    c.Property("Height", &TFont::Height, &TFont::SetHeight);
    c.Property("Name", &TFont::Name, &TFont::SetName).TypeName("TFontName");
    c.Property("Pitch", &TFont::Pitch, &TFont::SetPitch).Default(fpDefault);
    c.Property("Size", &TFont::Size, &TFont::SetSize).Stored(false);
    c.Property("Style", &TFont::Style, &TFont::SetStyle);
  });
}

void TFont::SetCharset(TFontCharset Value) {
  if (charset_ == Value) return;
  charset_ = Value;
  Changed();
}

void TFont::SetColor(TColor Value) {
  if (color_ == Value) return;
  color_ = Value;
  Changed();
}

void TFont::SetHeight(int Value) {
  if (height_ == Value) return;
  height_ = Value;
  Changed();
}

void TFont::SetName(const std::string& Value) {
  if (name_ == Value || Value.empty()) return;
  name_ = Value;
  Changed();
}

void TFont::SetPitch(TFontPitch Value) {
  if (pitch_ == Value) return;
  pitch_ = Value;
  Changed();
}

int TFont::PixelSize() const {
  return std::max(1, height_ < 0 ? -height_ : height_ * 4 / 5);
}

// Points from pixels and back, rounded as the classic MulDiv rounds.
int TFont::Size() const {
  return -static_cast<int>(std::lround(height_ * 72.0 / ScreenPixelsPerInch));
}

void TFont::SetSize(int Value) {
  SetHeight(
      -static_cast<int>(std::lround(Value * static_cast<double>(ScreenPixelsPerInch) / 72.0)));
}

void TFont::SetStyle(TFontStyles Value) {
  if (style_ == Value) return;
  style_ = Value;
  Changed();
}

bool TFont::Equals(const TFont& Other) const {
  return charset_ == Other.charset_ && color_ == Other.color_ && height_ == Other.height_ &&
         name_ == Other.name_ && pitch_ == Other.pitch_ && style_ == Other.style_;
}

void TFont::Assign(TPersistent* Source) {
  if (auto* font = dynamic_cast<TFont*>(Source)) {
    if (Equals(*font)) return;
    charset_ = font->charset_;
    color_ = font->color_;
    height_ = font->height_;
    name_ = font->name_;
    pitch_ = font->pitch_;
    style_ = font->style_;
    Changed();
    return;
  }
  inherited::Assign(Source);
}

void TFont::Changed() {
  if (OnChange) OnChange(this);
}

TClass TBitmap::StaticClass() {
  return DefineClass<TBitmap>("TBitmap", [](ClassBuilder<TBitmap>&) {});
}

void TBitmap::LoadFromBytes(const TBytes& Bytes) {
  // A bitmap file: "BM", then the info header's width and height at 18 and 22.
  if (Bytes.size() < 26 || Bytes[0] != 'B' || Bytes[1] != 'M') {
    throw EInvalidGraphic("Bitmap image is not valid");
  }
  const std::int32_t width = ReadInt32(Bytes, 18);
  const std::int32_t height = ReadInt32(Bytes, 22);
  if (width <= 0 || height == 0 || width > 32767 || height > 32767 || height < -32767) {
    throw EInvalidGraphic("Bitmap image is not valid");
  }
  data_ = Bytes;
  width_ = width;
  height_ = height < 0 ? -height : height;
  Changed();
}

void TBitmap::LoadFromFile(const std::string& HostPath) {
  std::ifstream file(HostPath, std::ios::binary);
  if (!file) throw EInvalidGraphic("Cannot open file " + HostPath);
  LoadFromBytes(TBytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
}

void TBitmap::Clear() {
  if (data_.empty()) return;
  data_.clear();
  width_ = height_ = 0;
  Changed();
}

void TBitmap::Assign(TPersistent* Source) {
  if (Source == nullptr) {
    Clear();
    return;
  }
  if (auto* bitmap = dynamic_cast<TBitmap*>(Source)) {
    if (bitmap == this) return;
    data_ = bitmap->data_;
    width_ = bitmap->width_;
    height_ = bitmap->height_;
    Changed();
    return;
  }
  inherited::Assign(Source);
}

void TBitmap::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "Data", [this](const TBytes& Stream) { ReadData(Stream); }, [this] { return WriteData(); },
      !Empty());
}

// The classic layout: the file's length as four bytes, then the file.
void TBitmap::ReadData(const TBytes& Stream) {
  if (Stream.size() < 4) throw EInvalidGraphic("Bitmap image is not valid");
  const auto length = static_cast<std::uint32_t>(ReadInt32(Stream, 0));
  if (length != Stream.size() - 4) throw EInvalidGraphic("Bitmap image is not valid");
  if (length == 0) {
    Clear();
    return;
  }
  LoadFromBytes(TBytes(Stream.begin() + 4, Stream.end()));
}

TBytes TBitmap::WriteData() const {
  TBytes stream;
  const auto length = static_cast<std::uint32_t>(data_.size());
  for (int i = 0; i < 4; ++i)
    stream.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
  stream.insert(stream.end(), data_.begin(), data_.end());
  return stream;
}

void TBitmap::Changed() {
  if (OnChange) OnChange(this);
}
