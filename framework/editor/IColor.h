#pragma once
// A colour as the editor's drawing operations take it (A, R, G, B, each
// 0-255), its packing into a rasteriser pixel 0xAARRGGBB, and the named
// colours every module that draws shares.
//
// Threads: plain values and constants.

#include <cstdint>

struct IColor {
  int mA = 255, mR = 0, mG = 0, mB = 0;

  constexpr IColor() {}
  constexpr IColor(int a, int r, int g, int b) : mA(a), mR(r), mG(g), mB(b) {}

  constexpr bool operator==(const IColor& o) const
  {
    return mA == o.mA && mR == o.mR && mG == o.mG && mB == o.mB;
  }
  constexpr bool operator!=(const IColor& o) const { return !(*this == o); }

  // Each channel keeps its low 8 bits.
  constexpr uint32_t ToPixel() const
  {
    return (static_cast<uint32_t>(mA & 255) << 24) | (static_cast<uint32_t>(mR & 255) << 16) |
           (static_cast<uint32_t>(mG & 255) << 8) | static_cast<uint32_t>(mB & 255);
  }
  static constexpr IColor FromPixel(uint32_t p)
  {
    return IColor(static_cast<int>(p >> 24), static_cast<int>((p >> 16) & 255),
                  static_cast<int>((p >> 8) & 255), static_cast<int>(p & 255));
  }
};

// One object each per program, so pointers to them compare equal everywhere.
inline constexpr IColor COLOR_TRANSPARENT(0, 0, 0, 0);
inline constexpr IColor COLOR_BLACK(255, 0, 0, 0);
inline constexpr IColor COLOR_GRAY(255, 127, 127, 127);
inline constexpr IColor COLOR_WHITE(255, 255, 255, 255);
inline constexpr IColor COLOR_RED(255, 255, 0, 0);
inline constexpr IColor COLOR_GREEN(255, 0, 255, 0);
inline constexpr IColor COLOR_BLUE(255, 0, 0, 255);
inline constexpr IColor COLOR_YELLOW(255, 255, 255, 0);
inline constexpr IColor COLOR_ORANGE(255, 255, 127, 0);
inline constexpr IColor DEFAULT_TEXT_COLOR(255, 0, 0, 0);
inline constexpr IColor DEFAULT_TEXT_ENTRY_BGCOLOR(255, 255, 255, 255);
inline constexpr IColor DEFAULT_TEXT_ENTRY_FGCOLOR(255, 0, 0, 0);
