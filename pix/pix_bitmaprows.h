// Row access to a bitmap for drawing loops: fetched once per call through
// PIX_IBitmap, with row 0 always the visual top (a flipped bitmap is walked
// from its last memory row with a negative step).
//
// Threads: a snapshot of one bitmap; used by the drawing thread.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pix/pix_bitmap.h"

struct PIX_BitmapRows {
  PIX_pixel* top;  // first pixel of the visual top row; null: draw nothing
  int width, height;
  ptrdiff_t step;  // pixels from one visual row to the next (negative when flipped)

  explicit PIX_BitmapRows(PIX_IBitmap* bm) : top(nullptr), width(0), height(0), step(0)
  {
    if (!bm) return;
    PIX_pixel* bits = bm->getBits();
    const int w = bm->getWidth(), h = bm->getHeight();
    if (!bits || w <= 0 || h <= 0) return;
    width = w;
    height = h;
    step = bm->getRowSpan();
    top = bits;
    if (bm->isFlipped()) {
      top = bits + (ptrdiff_t)(h - 1) * step;
      step = -step;
    }
  }
  bool empty() const { return !top; }
  PIX_pixel* row(int y) const { return top + (ptrdiff_t)y * step; }
  PIX_pixel* at(int x, int y) const { return row(y) + x; }
};

// A rectangle of one bitmap, clipped to it.
struct PIX_ClippedRect {
  int x, y, w, h;
};

// Clips (x, y, w, h) to the bitmap; false when nothing is left or there are
// no bits. Computed wide so that extreme arguments cannot wrap round.
inline bool PIX_ClipRect(const PIX_BitmapRows& rows, int64_t x, int64_t y, int64_t w, int64_t h,
                         PIX_ClippedRect& out)
{
  if (rows.empty()) return false;
  int64_t r = x + w, b = y + h;
  if (x < 0) x = 0;
  if (y < 0) y = 0;
  if (r > rows.width) r = rows.width;
  if (b > rows.height) b = rows.height;
  if (r <= x || b <= y) return false;
  out.x = (int)x;
  out.y = (int)y;
  out.w = (int)(r - x);
  out.h = (int)(b - y);
  return true;
}

// Calls pixFn(pixel) for every pixel of a clipped rectangle, row by row.
template <class PixFn>
inline void PIX_ForEachRectPixel(const PIX_BitmapRows& rows, const PIX_ClippedRect& rc, PixFn&& pixFn)
{
  for (int y = 0; y < rc.h; ++y) {
    PIX_pixel* p = rows.at(rc.x, rc.y + y);
    for (int x = 0; x < rc.w; ++x) pixFn(p + x);
  }
}
