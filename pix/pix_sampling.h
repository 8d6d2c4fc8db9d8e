// Source sampling for the scaled, rotated, delta and transform blits.
//
// Coordinates are 16.16 fixed point relative to the sampling window's
// top-left pixel. A sample whose integer coordinate lies outside the window
// yields nothing and the destination pixel stays. Bilinear sampling never
// reads outside the window: in its last column only the vertical pair is
// used, in its last row only the horizontal pair, in the corner the pixel.
//
// Threads: stateless per call; used on the drawing thread.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "pix/pix_pixel.h"

struct PIX_SampleWindow {
  const PIX_pixel* origin;  // window's top-left pixel
  ptrdiff_t step;           // pixels between visual rows
  int w, h;                 // window size, both positive

  const PIX_pixel* row(int64_t iy) const { return origin + (ptrdiff_t)iy * step; }
  bool inside(int64_t ix, int64_t iy) const { return (uint64_t)ix < (uint64_t)w && (uint64_t)iy < (uint64_t)h; }
};

struct PIX_NearestSampler {
  PIX_SampleWindow win;
  inline bool operator()(int64_t x, int64_t y, PIX_pixel& out) const
  {
    const int64_t ix = x >> 16, iy = y >> 16;
    if (!win.inside(ix, iy)) return false;
    out = win.row(iy)[ix];
    return true;
  }
};

struct PIX_BilinearSampler {
  PIX_SampleWindow win;

  // Each channel is (sum of weight x channel) >> 16 with weights summing to 65536.
  static inline PIX_pixel Mix2(PIX_pixel p, PIX_pixel q, uint32_t f)
  {
    const uint32_t g = 65536 - f;
    PIX_pixel out = 0;
    for (int sh = 0; sh < 32; sh += 8)
      out |= ((((p >> sh) & 0xFF) * g + ((q >> sh) & 0xFF) * f) >> 16) << sh;
    return out;
  }
  static inline PIX_pixel Mix4(PIX_pixel p00, PIX_pixel p01, PIX_pixel p10, PIX_pixel p11, uint32_t fx, uint32_t fy)
  {
    const uint32_t w11 = (fx * fy) >> 16;
    const uint32_t w01 = fx - w11, w10 = fy - w11, w00 = 65536 - fx - fy + w11;
    PIX_pixel out = 0;
    for (int sh = 0; sh < 32; sh += 8)
      out |= ((((p00 >> sh) & 0xFF) * w00 + ((p01 >> sh) & 0xFF) * w01 + ((p10 >> sh) & 0xFF) * w10 +
               ((p11 >> sh) & 0xFF) * w11) >>
              16)
             << sh;
    return out;
  }

  inline bool operator()(int64_t x, int64_t y, PIX_pixel& out) const
  {
    const int64_t ix = x >> 16, iy = y >> 16;
    if (!win.inside(ix, iy)) return false;
    const uint32_t fx = (uint32_t)(x & 0xFFFF), fy = (uint32_t)(y & 0xFFFF);
    const PIX_pixel* r0 = win.row(iy) + ix;
    const bool lastCol = ix == win.w - 1, lastRow = iy == win.h - 1;
    if (!lastCol && !lastRow) {
      const PIX_pixel* r1 = r0 + win.step;
      out = Mix4(r0[0], r0[1], r1[0], r1[1], fx, fy);
    } else if (!lastRow) {
      out = Mix2(r0[0], r0[win.step], fy);
    } else if (!lastCol) {
      out = Mix2(r0[0], r0[1], fx);
    } else {
      out = r0[0];
    }
    return true;
  }
};

// Weighted mean of an n x n block around the sample point, for shrinking by
// 1.7 or more: n is 3 up to a step of 3.0, else 5. The centre weighs 65536,
// other cells (S - 1) / distance limited to 0..1 (x 65536) with S the larger
// 16.16 step, which makes every weight 65536 at these steps (a box mean).
// Cells outside the window are left out of both sums.
struct PIX_FilterDownSampler {
  PIX_SampleWindow win;
  int n;
  int64_t weight[5][5];

  PIX_FilterDownSampler(const PIX_SampleWindow& w, int64_t xstep, int64_t ystep) : win(w)
  {
    const int64_t S = xstep > ystep ? xstep : ystep;
    n = S <= 0x30000 ? 3 : 5;
    const int half = (n - 1) / 2;
    for (int dy = -half; dy <= half; ++dy)
      for (int dx = -half; dx <= half; ++dx) {
        double f = 1.0;
        if (dx || dy) {
          f = (double)(S - 1) / std::sqrt((double)(dx * dx + dy * dy));
          f = f < 0.0 ? 0.0 : f > 1.0 ? 1.0 : f;
        }
        weight[dy + half][dx + half] = (int64_t)(f * 65536.0);
      }
  }

  inline bool operator()(int64_t x, int64_t y, PIX_pixel& out) const
  {
    const int64_t cx = x >> 16, cy = y >> 16;
    const int half = (n - 1) / 2;
    int64_t sum[4] = {0, 0, 0, 0}, wsum = 0;
    for (int dy = -half; dy <= half; ++dy) {
      const int64_t iy = cy + dy;
      if ((uint64_t)iy >= (uint64_t)win.h) continue;
      const PIX_pixel* r = win.row(iy);
      for (int dx = -half; dx <= half; ++dx) {
        const int64_t ix = cx + dx;
        if ((uint64_t)ix >= (uint64_t)win.w) continue;
        const int64_t wgt = weight[dy + half][dx + half];
        const PIX_pixel p = r[ix];
        for (int k = 0; k < 4; ++k) sum[k] += wgt * ((p >> (8 * k)) & 0xFF);
        wsum += wgt;
      }
    }
    if (wsum <= 0) return false;
    out = 0;
    for (int k = 0; k < 4; ++k) out |= (PIX_pixel)(sum[k] / wsum) << (8 * k);
    return true;
  }
};

// Combines one sampled pixel through operator Op.
template <class Op>
inline void PIX_CombineSample(PIX_pixel* d, PIX_pixel s, int ia)
{
  Op::doPix((unsigned char*)d, PIX_GetR(s), PIX_GetG(s), PIX_GetB(s), PIX_GetA(s), ia);
}
