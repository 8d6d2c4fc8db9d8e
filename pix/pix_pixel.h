// The rasteriser's pixel format and rectangle.
//
// A pixel is one 32-bit value 0xAARRGGBB. On the little-endian machines this
// code runs on its bytes lie in memory as blue, green, red, alpha, and the
// combine operators address the channels by those byte positions.
//
// Threads: plain values and inline helpers; no state.
#pragma once

#include <cstdint>

typedef uint32_t PIX_pixel;

// Byte positions of the channels inside a pixel in memory.
enum {
  PIX_CHAN_BLUE = 0,
  PIX_CHAN_GREEN = 1,
  PIX_CHAN_RED = 2,
  PIX_CHAN_ALPHA = 3,
};

inline PIX_pixel PIX_MakeColor(int a, int r, int g, int b)
{
  return ((PIX_pixel)(a & 0xFF) << 24) | ((PIX_pixel)(r & 0xFF) << 16) | ((PIX_pixel)(g & 0xFF) << 8) |
         (PIX_pixel)(b & 0xFF);
}
inline int PIX_GetA(PIX_pixel p) { return (int)((p >> 24) & 0xFF); }
inline int PIX_GetR(PIX_pixel p) { return (int)((p >> 16) & 0xFF); }
inline int PIX_GetG(PIX_pixel p) { return (int)((p >> 8) & 0xFF); }
inline int PIX_GetB(PIX_pixel p) { return (int)(p & 0xFF); }

// Rectangle in pixels, y down; right and bottom are exclusive. Laid out as the
// GDI rectangle: the text layer takes this declaration, so the text layer and
// the rasteriser share one type.
struct RECT {
  int left, top, right, bottom;
};

// A point in pixels, y down; the text layer's POINT.
struct POINT {
  int x, y;
};
