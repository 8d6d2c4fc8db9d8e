// Row access to a bitmap for drawing loops: fetched once per call through
// PIX_IBitmap, with row 0 always the visual top (a flipped bitmap is walked
// from its last memory row with a negative step).
//
// Threads: a snapshot of one bitmap; used by the drawing thread.
#pragma once

#include <cstddef>

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
