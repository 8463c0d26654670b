#pragma once

// Colours, fonts, bitmaps and cursors as the controls publish them.
//
// A TColor is an RGB value (red in the low byte) or one of the system colours
// (clWindow, clBtnFace, ...), which stand for the desktop's colour of that element
// and are mapped by ColorToRGB. Form descriptions write the named values by name.

#include <cstdint>
#include <string>

#include "toolkit/model/Events.h"
#include "toolkit/model/Filer.h"
#include "toolkit/model/Persistent.h"
#include "toolkit/model/TypeInfo.h"

enum TColor : std::int32_t {};
PTypeInfo TypeInfoOf(const TColor*);

constexpr TColor MakeColor(std::uint32_t Value) {
  return static_cast<TColor>(static_cast<std::int32_t>(Value));
}
constexpr TColor RGB(std::uint8_t R, std::uint8_t G, std::uint8_t B) {
  return MakeColor(R | (static_cast<std::uint32_t>(G) << 8) |
                   (static_cast<std::uint32_t>(B) << 16));
}

constexpr TColor clScrollBar = MakeColor(0x80000000);
constexpr TColor clBackground = MakeColor(0x80000001);
constexpr TColor clActiveCaption = MakeColor(0x80000002);
constexpr TColor clInactiveCaption = MakeColor(0x80000003);
constexpr TColor clMenu = MakeColor(0x80000004);
constexpr TColor clWindow = MakeColor(0x80000005);
constexpr TColor clWindowFrame = MakeColor(0x80000006);
constexpr TColor clMenuText = MakeColor(0x80000007);
constexpr TColor clWindowText = MakeColor(0x80000008);
constexpr TColor clCaptionText = MakeColor(0x80000009);
constexpr TColor clActiveBorder = MakeColor(0x8000000A);
constexpr TColor clInactiveBorder = MakeColor(0x8000000B);
constexpr TColor clAppWorkSpace = MakeColor(0x8000000C);
constexpr TColor clHighlight = MakeColor(0x8000000D);
constexpr TColor clHighlightText = MakeColor(0x8000000E);
constexpr TColor clBtnFace = MakeColor(0x8000000F);
constexpr TColor clBtnShadow = MakeColor(0x80000010);
constexpr TColor clGrayText = MakeColor(0x80000011);
constexpr TColor clBtnText = MakeColor(0x80000012);
constexpr TColor clInactiveCaptionText = MakeColor(0x80000013);
constexpr TColor clBtnHighlight = MakeColor(0x80000014);
constexpr TColor cl3DDkShadow = MakeColor(0x80000015);
constexpr TColor cl3DLight = MakeColor(0x80000016);
constexpr TColor clInfoText = MakeColor(0x80000017);
constexpr TColor clInfoBk = MakeColor(0x80000018);

constexpr TColor clBlack = MakeColor(0x000000);
constexpr TColor clMaroon = MakeColor(0x000080);
constexpr TColor clGreen = MakeColor(0x008000);
constexpr TColor clOlive = MakeColor(0x008080);
constexpr TColor clNavy = MakeColor(0x800000);
constexpr TColor clPurple = MakeColor(0x800080);
constexpr TColor clTeal = MakeColor(0x808000);
constexpr TColor clGray = MakeColor(0x808080);
constexpr TColor clSilver = MakeColor(0xC0C0C0);
constexpr TColor clRed = MakeColor(0x0000FF);
constexpr TColor clLime = MakeColor(0x00FF00);
constexpr TColor clYellow = MakeColor(0x00FFFF);
constexpr TColor clBlue = MakeColor(0xFF0000);
constexpr TColor clFuchsia = MakeColor(0xFF00FF);
constexpr TColor clAqua = MakeColor(0xFFFF00);
constexpr TColor clWhite = MakeColor(0xFFFFFF);
constexpr TColor clNone = MakeColor(0x1FFFFFFF);
constexpr TColor clDefault = MakeColor(0x20000000);

// The RGB value of a colour: system colours as the classic Windows scheme has them.
std::uint32_t ColorToRGB(TColor Color);
// "clWindow" for a named colour, else "$00BBGGRR"; and back (EConvertError for bad text).
std::string ColorToString(TColor Color);
TColor StringToColor(const std::string& Text);

// Cursors: the screen cursor and each control's cursor.
enum TCursor : std::int16_t {};
PTypeInfo TypeInfoOf(const TCursor*);
constexpr TCursor crDefault = static_cast<TCursor>(0);
constexpr TCursor crNone = static_cast<TCursor>(-1);
constexpr TCursor crArrow = static_cast<TCursor>(-2);
constexpr TCursor crCross = static_cast<TCursor>(-3);
constexpr TCursor crIBeam = static_cast<TCursor>(-4);
constexpr TCursor crSizeNESW = static_cast<TCursor>(-6);
constexpr TCursor crSizeNS = static_cast<TCursor>(-7);
constexpr TCursor crSizeNWSE = static_cast<TCursor>(-8);
constexpr TCursor crSizeWE = static_cast<TCursor>(-9);
constexpr TCursor crUpArrow = static_cast<TCursor>(-10);
constexpr TCursor crHourGlass = static_cast<TCursor>(-11);
constexpr TCursor crDrag = static_cast<TCursor>(-12);
constexpr TCursor crNoDrop = static_cast<TCursor>(-13);
constexpr TCursor crHSplit = static_cast<TCursor>(-14);
constexpr TCursor crVSplit = static_cast<TCursor>(-15);
constexpr TCursor crMultiDrag = static_cast<TCursor>(-16);
constexpr TCursor crSQLWait = static_cast<TCursor>(-17);
constexpr TCursor crNo = static_cast<TCursor>(-18);
constexpr TCursor crAppStart = static_cast<TCursor>(-19);
constexpr TCursor crHelp = static_cast<TCursor>(-20);
constexpr TCursor crHandPoint = static_cast<TCursor>(-21);
constexpr TCursor crSizeAll = static_cast<TCursor>(-22);

TOOLKIT_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
TOOLKIT_SET(TFontStyles, TFontStyle)
TOOLKIT_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)

// A character set number; DEFAULT_CHARSET and the others are written by name.
enum TFontCharset : std::uint8_t {};
PTypeInfo TypeInfoOf(const TFontCharset*);
constexpr TFontCharset ANSI_CHARSET = static_cast<TFontCharset>(0);
constexpr TFontCharset DEFAULT_CHARSET = static_cast<TFontCharset>(1);
constexpr TFontCharset SYMBOL_CHARSET = static_cast<TFontCharset>(2);
constexpr TFontCharset OEM_CHARSET = static_cast<TFontCharset>(255);

// The screen's resolution that font sizes in points are converted with.
constexpr int ScreenPixelsPerInch = 96;

// A font as a control uses it. The classic dialog font "MS Sans Serif" stands for
// the desktop's default sans face when the font reaches the screen. Height is the
// character height in pixels, negative as form descriptions write it; Size is in points.
class TFont : public TPersistent {
  TOOLKIT_CLASS(TFont, TPersistent)

  TFont() = default;

  TFontCharset Charset() const { return charset_; }
  void SetCharset(TFontCharset Value);
  TColor Color() const { return color_; }
  void SetColor(TColor Value);
  int Height() const { return height_; }
  void SetHeight(int Value);
  // The pixel size the font is drawn in: the character height, or for a positive Height (a
  // cell height, leading included) four fifths of it; at least 1.
  int PixelSize() const;
  const std::string& Name() const { return name_; }
  void SetName(const std::string& Value);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch Value);
  int Size() const;
  void SetSize(int Value);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles Value);

  void Assign(TPersistent* Source) override;
  bool Equals(const TFont& Other) const;

  TNotifyEvent OnChange;

 protected:
  virtual void Changed();

 private:
  TFontCharset charset_ = DEFAULT_CHARSET;
  TColor color_ = clWindowText;
  int height_ = -11;
  std::string name_ = "MS Sans Serif";
  TFontPitch pitch_ = fpDefault;
  TFontStyles style_;
};

// A bitmap, enough for a button's glyph: the image as a Windows bitmap file. In a
// form description it is the extra binary property "Data" (its length, then the file).
class TBitmap : public TPersistent {
  TOOLKIT_CLASS(TBitmap, TPersistent)

  TBitmap() = default;

  bool Empty() const { return data_.empty(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // The bitmap file's bytes; empty for no image.
  const TBytes& Data() const { return data_; }
  // Takes a bitmap file's bytes (EInvalidGraphic when they are not one).
  void LoadFromBytes(const TBytes& Bytes);
  // Reads a bitmap file from a host path.
  void LoadFromFile(const std::string& HostPath);
  void Clear();

  void Assign(TPersistent* Source) override;

  TNotifyEvent OnChange;

 protected:
  void DefineProperties(TFiler* Filer) override;
  virtual void Changed();

 private:
  void ReadData(const TBytes& Stream);
  TBytes WriteData() const;

  TBytes data_;
  int width_ = 0;
  int height_ = 0;
};

TOOLKIT_EXCEPTION(EInvalidGraphic, Exception);
