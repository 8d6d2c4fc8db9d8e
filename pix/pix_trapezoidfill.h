// The span loop shared by trapezoids, polygons and Bezier fills.
//
// Threads: called on the thread that owns the bitmap.
#pragma once

#include <cstdint>

#include "pix/pix_vectordraw.h"

// A region between two straight edges over the rows (or, transposed, the
// columns) first..last. The edges are 16.16 positions at row `first` and
// their change per row; a row covers the pixels floor(left) to floor(right)
// inclusive.
struct PIX_TrapRegion {
  int64_t left, right;
  int64_t leftSlope, rightSlope;
  int64_t first, last;
};

// Slopes are limited so that the positions stay far from overflow.
const int64_t PIX_TRAP_SLOPE_LIMIT = (int64_t)1 << 29;

inline int64_t PIX_TrapSlope(int64_t dx, int64_t dy)
{
  const int64_t s = dx * 65536 / dy;
  return s > PIX_TRAP_SLOPE_LIMIT    ? PIX_TRAP_SLOPE_LIMIT
         : s < -PIX_TRAP_SLOPE_LIMIT ? -PIX_TRAP_SLOPE_LIMIT
                                     : s;
}

// A float position in 16.16, rounded to the nearest step (so that a value a
// rounding error below a whole pixel still lands on it), limited to a range
// that cannot overflow.
inline int64_t PIX_TrapFixed(double v)
{
  const double limit = 1099511627776.0;  // 2^40
  v *= 65536.0;
  if (!(v > -limit)) v = -limit;
  if (v > limit) v = limit;
  return (int64_t)std::floor(v + 0.5);
}

// Fills the region clipped to the bitmap: each row's pixels as one
// plot.span, each column's (transposed) pixel by pixel with plot(pixel).
template <class Plot>
void PIX_FillTrapRegion(const PIX_VecTarget& t, PIX_TrapRegion g, bool transposed, const Plot& plot)
{
  const int64_t rows = transposed ? t.width : t.height;
  const int64_t cols = transposed ? t.height : t.width;
  if (g.first > g.last || g.last < 0 || g.first >= rows) return;
  if (g.first < 0) {
    g.left += g.leftSlope * -g.first;
    g.right += g.rightSlope * -g.first;
    g.first = 0;
  }
  if (g.last >= rows) g.last = rows - 1;
  for (int64_t m = g.first; m <= g.last; ++m, g.left += g.leftSlope, g.right += g.rightSlope) {
    int64_t a = g.left >> 16, b = g.right >> 16;
    if (a < 0) a = 0;
    if (b >= cols) b = cols - 1;
    if (a > b) continue;
    if (!transposed) {
      plot.span(t.at((int)a, (int)m), (int)(b - a + 1));
      continue;
    }
    PIX_pixel* p = t.at((int)m, (int)a);
    for (int64_t i = a; i <= b; ++i, p += t.span) plot(p);
  }
}
