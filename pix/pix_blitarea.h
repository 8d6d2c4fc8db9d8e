// Clipping of source and destination rectangles for the unscaled blits, and
// overlap-safe walking of the clipped area.
//
// Threads: stateless helpers, called on the drawing thread.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pix/pix_bitmaprows.h"

struct PIX_BlitArea {
  PIX_pixel* d;  // top-left destination pixel of the clipped area
  PIX_pixel* s;  // top-left source pixel
  ptrdiff_t dstep, sstep;
  int w, h;
  // Source and destination share memory with the destination after the
  // source: the area is walked in decreasing address order.
  bool decreasing;
  // The rows to walk in reverse visual order (decided from memory order).
  bool reverseRows;
};

// Clips the source rectangle [left, right) x [top, bottom) against the source
// (a negative left or top shifts the destination) and then against the
// destination (a negative destination position skips source pixels).
// False when nothing is left or a bitmap has no bits.
inline bool PIX_ClipBlitArea(const PIX_BitmapRows& dst, const PIX_BitmapRows& src, int64_t dstx, int64_t dsty,
                             int64_t left, int64_t top, int64_t right, int64_t bottom, PIX_BlitArea& out)
{
  if (dst.empty() || src.empty()) return false;
  if (left < 0) dstx -= left, left = 0;
  if (top < 0) dsty -= top, top = 0;
  if (right > src.width) right = src.width;
  if (bottom > src.height) bottom = src.height;
  if (dstx < 0) left -= dstx, dstx = 0;
  if (dsty < 0) top -= dsty, dsty = 0;
  int64_t w = right - left, h = bottom - top;
  if (w > dst.width - dstx) w = dst.width - dstx;
  if (h > dst.height - dsty) h = dst.height - dsty;
  if (w <= 0 || h <= 0) return false;
  out.d = dst.at((int)dstx, (int)dsty);
  out.s = src.at((int)left, (int)top);
  out.dstep = dst.step;
  out.sstep = src.step;
  out.w = (int)w;
  out.h = (int)h;
  // Overlap can only happen within one buffer, where both steps are equal;
  // any destination address above the source is then written after it is read.
  out.decreasing = dst.top == src.top && out.d > out.s;
  out.reverseRows = dst.top == src.top && (out.decreasing ? out.dstep > 0 : out.dstep < 0);
  return true;
}

// Calls rowFn(destRow, srcRow) for every row of the area, in the order that
// keeps overlapping copies within one bitmap correct.
template <class RowFn>
inline void PIX_ForEachBlitRow(const PIX_BlitArea& a, RowFn&& rowFn)
{
  if (a.reverseRows) {
    for (int y = a.h - 1; y >= 0; --y) rowFn(a.d + y * a.dstep, a.s + y * a.sstep);
  } else {
    for (int y = 0; y < a.h; ++y) rowFn(a.d + y * a.dstep, a.s + y * a.sstep);
  }
}

// Calls pixFn(destPixel, sourceValue) for every pixel of the area; the source
// value is read before its destination is written.
template <class PixFn>
inline void PIX_ForEachBlitPixel(const PIX_BlitArea& a, PixFn&& pixFn)
{
  const int w = a.w;
  if (a.decreasing) {
    PIX_ForEachBlitRow(a, [&](PIX_pixel* d, const PIX_pixel* s) {
      for (int x = w - 1; x >= 0; --x) pixFn(d + x, s[x]);
    });
  } else {
    PIX_ForEachBlitRow(a, [&](PIX_pixel* d, const PIX_pixel* s) {
      for (int x = 0; x < w; ++x) pixFn(d + x, s[x]);
    });
  }
}
