// Rectangle outlines built from lines, and bordered rectangles.

#include <climits>

#include "pix/pix_blit.h"
#include "pix/pix_vector.h"

void PIX_DrawRect(PIX_IBitmap* bm, int x, int y, int w, int h, PIX_pixel colour, float alpha, int mode)
{
  // Wide sums: a rectangle reaching past the int range is still clipped sanely.
  auto clampInt = [](long long v) { return (int)(v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : v); };
  const int r = clampInt((long long)x + w), b = clampInt((long long)y + h);
  PIX_Line(bm, x, y, r, y, colour, alpha, mode, false);
  PIX_Line(bm, r, y, r, b, colour, alpha, mode, false);
  PIX_Line(bm, r, b, x, b, colour, alpha, mode, false);
  PIX_Line(bm, x, b, x, y, colour, alpha, mode, false);
}

void PIX_BorderedRect(PIX_IBitmap* bm, int x, int y, int w, int h, PIX_pixel fillColour,
                      PIX_pixel borderColour, float alpha, int mode)
{
  // The interior starts one pixel in; nothing lies inside past the int range.
  if (x < INT_MAX && y < INT_MAX && w > INT_MIN && h > INT_MIN)
    PIX_FillRect(bm, x + 1, y + 1, w - 1, h - 1, fillColour, alpha, mode);
  PIX_DrawRect(bm, x, y, w, h, borderColour, alpha, mode);
}
