#pragma once
// How a piece of text is drawn: face, pixel size, colours (including those
// of the in-place text field), style, alignment, orientation, quality, and
// the font the cache made for it.
//
// Threads: a plain value, used on the editor's thread. The cached font
// belongs to the process-wide font cache (FontStorage), not to the IText;
// copying an IText copies the pointer.

#include <cstring>

#include "framework/editor/IColor.h"

class PIX_IFont;

struct IText {
  // Stored as int: the drawing code treats values outside these sets as
  // its rules say (an unknown alignment draws as far, for one).
  enum EStyle : int { kStyleNormal = 0, kStyleBold = 1, kStyleItalic = 2 };
  enum EAlign : int { kAlignNear = 0, kAlignCenter = 1, kAlignFar = 2 };
  enum EQuality : int {
    kQualityDefault = 0,
    kQualityNonAntiAliased = 1,
    kQualityAntiAliased = 2,
    kQualityClearType = 3,
  };

  static const int kFontNameSize = 32;  // face name, terminating zero included
  static const int kDefaultSize = 10;

  char mFont[kFontNameSize];
  int mSize;
  IColor mColor;
  IColor mTextEntryBGColor;
  IColor mTextEntryFGColor;
  EStyle mStyle;
  EAlign mAlign;
  int mOrientation;  // degrees
  EQuality mQuality;
  PIX_IFont* mCached = nullptr;

  // Null colours and face take the defaults; a face longer than 31
  // characters is cut.
  explicit IText(int size = kDefaultSize, const IColor* color = nullptr, const char* font = nullptr,
                 EStyle style = kStyleNormal, EAlign align = kAlignCenter, int orientation = 0,
                 EQuality quality = kQualityDefault, const IColor* textEntryBGColor = nullptr,
                 const IColor* textEntryFGColor = nullptr)
      : mSize(size), mColor(color ? *color : DEFAULT_TEXT_COLOR),
        mTextEntryBGColor(textEntryBGColor ? *textEntryBGColor : DEFAULT_TEXT_ENTRY_BGCOLOR),
        mTextEntryFGColor(textEntryFGColor ? *textEntryFGColor : DEFAULT_TEXT_ENTRY_FGCOLOR), mStyle(style),
        mAlign(align), mOrientation(orientation), mQuality(quality)
  {
    SetFont(font);
  }
  explicit IText(const IColor* color) : IText(kDefaultSize, color) {}

  void SetFont(const char* font)
  {
    const char* face = font && font[0] ? font : "Monaco";
    size_t n = std::strlen(face);
    if (n > sizeof(mFont) - 1) n = sizeof(mFont) - 1;
    std::memset(mFont, 0, sizeof(mFont));
    std::memcpy(mFont, face, n);
  }
};
