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

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "pix/pix_combine.h"
#include "pix/pix_pixel.h"

struct PIX_SampleWindow {
  const PIX_pixel* origin;  // window's top-left pixel
  ptrdiff_t step;           // pixels between visual rows
  int w, h;                 // window size, both positive

  const PIX_pixel* row(int64_t iy) const { return origin + (ptrdiff_t)iy * step; }
};

// Each sampler answers a sample at (x, y) and, for walks whose rows keep
// their source row (the scaled blit), hands out a row sampler that answers
// along one row with the row's part of the work done once.
struct PIX_NearestSampler {
  PIX_SampleWindow win;

  struct Row {
    const PIX_pixel* r;
    int w;
    bool valid;
    __attribute__((always_inline)) inline bool operator()(int64_t x, PIX_pixel& out) const
    {
      const int64_t ix = x >> 16;
      if ((uint64_t)ix >= (uint64_t)w) return false;
      out = r[ix];
      return true;
    }
  };
  Row row(int64_t y) const
  {
    const int64_t iy = y >> 16;
    const bool valid = (uint64_t)iy < (uint64_t)win.h;
    return {valid ? win.row(iy) : nullptr, win.w, valid};
  }
  __attribute__((always_inline)) inline bool operator()(int64_t x, int64_t y, PIX_pixel& out) const
  {
    const Row r = row(y);
    return r.valid && r(x, out);
  }
};

struct PIX_BilinearSampler {
  PIX_SampleWindow win;

  // Each channel is (sum of weight x channel) >> 16 with weights summing to
  // 65536.
#if defined(__SSE2__)
  // The four channels are weighed at once in single precision, which is
  // exact here: every product and partial sum is an integer below 2^24.
  static inline __m128 Channels(PIX_pixel p)
  {
    const __m128i z = _mm_setzero_si128();
    return _mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128((int)p), z), z));
  }
  static inline PIX_pixel Shift16(__m128 sum)
  {
    __m128i v = _mm_srli_epi32(_mm_cvttps_epi32(sum), 16);
    v = _mm_packs_epi32(v, v);
    return (PIX_pixel)_mm_cvtsi128_si32(_mm_packus_epi16(v, v));
  }
  static inline PIX_pixel Mix2(PIX_pixel p, PIX_pixel q, uint32_t f)
  {
    return Shift16(_mm_add_ps(_mm_mul_ps(Channels(p), _mm_set1_ps((float)(65536 - f))),
                              _mm_mul_ps(Channels(q), _mm_set1_ps((float)f))));
  }
  // Two horizontally adjacent pixels as channel vectors.
  static inline void PairChannels(const PIX_pixel* p, __m128& left, __m128& right)
  {
    const __m128i z = _mm_setzero_si128();
    const __m128i pair = _mm_unpacklo_epi8(_mm_loadl_epi64((const __m128i*)(const void*)p), z);
    left = _mm_cvtepi32_ps(_mm_unpacklo_epi16(pair, z));
    right = _mm_cvtepi32_ps(_mm_unpackhi_epi16(pair, z));
  }
  static inline PIX_pixel Mix4(const PIX_pixel* r0, const PIX_pixel* r1, uint32_t fx, uint32_t fy)
  {
    const uint32_t w11 = (uint32_t)(((uint64_t)fx * fy) >> 16);
    const uint32_t w01 = fx - w11, w10 = fy - w11, w00 = 65536 - fx - fy + w11;
    __m128 c00, c01, c10, c11;
    PairChannels(r0, c00, c01);
    PairChannels(r1, c10, c11);
    const __m128 top =
        _mm_add_ps(_mm_mul_ps(c00, _mm_set1_ps((float)w00)), _mm_mul_ps(c01, _mm_set1_ps((float)w01)));
    const __m128 bottom =
        _mm_add_ps(_mm_mul_ps(c10, _mm_set1_ps((float)w10)), _mm_mul_ps(c11, _mm_set1_ps((float)w11)));
    return Shift16(_mm_add_ps(top, bottom));
  }
#else
  // The channels are spread two to a 64-bit word, 32 bits apart, so one
  // multiply weighs two channels; a lane's sum stays below 2^24.
  static inline uint64_t BlueRed(PIX_pixel p) { return (p & 0xFFu) | ((uint64_t)(p & 0xFF0000u) << 16); }
  static inline uint64_t GreenAlpha(PIX_pixel p) { return ((p >> 8) & 0xFFu) | ((uint64_t)(p >> 24) << 32); }
  static inline PIX_pixel Gather(uint64_t br, uint64_t ga)
  {
    return (PIX_pixel)((br >> 16) & 0xFF) | (PIX_pixel)((ga >> 8) & 0xFF00) |
           (PIX_pixel)((br >> 32) & 0xFF0000) | (PIX_pixel)((ga >> 24) & 0xFF000000u);
  }
  static inline PIX_pixel Mix2(PIX_pixel p, PIX_pixel q, uint32_t f)
  {
    const uint64_t g = 65536 - f;
    return Gather(BlueRed(p) * g + BlueRed(q) * f, GreenAlpha(p) * g + GreenAlpha(q) * f);
  }
  static inline PIX_pixel Mix4(const PIX_pixel* r0, const PIX_pixel* r1, uint32_t fx, uint32_t fy)
  {
    const PIX_pixel p00 = r0[0], p01 = r0[1], p10 = r1[0], p11 = r1[1];
    const uint64_t w11 = ((uint64_t)fx * fy) >> 16;
    const uint64_t w01 = fx - w11, w10 = fy - w11, w00 = 65536 - fx - fy + w11;
    return Gather(
        BlueRed(p00) * w00 + BlueRed(p01) * w01 + BlueRed(p10) * w10 + BlueRed(p11) * w11,
        GreenAlpha(p00) * w00 + GreenAlpha(p01) * w01 + GreenAlpha(p10) * w10 + GreenAlpha(p11) * w11);
  }
#endif

  struct Row {
    const PIX_pixel* r0;
    ptrdiff_t step;
    int w;
    uint32_t fy;
    bool lastRow, valid;
    __attribute__((always_inline)) inline bool operator()(int64_t x, PIX_pixel& out) const
    {
      const int64_t ix = x >> 16;
      if ((uint64_t)ix >= (uint64_t)w) return false;
      const uint32_t fx = (uint32_t)(x & 0xFFFF);
      const PIX_pixel* p = r0 + ix;
      // A zero fraction gives its neighbours weight 0: those cases take the
      // shorter forms, with the same result.
      const bool lastCol = ix == w - 1 || fx == 0;
      if (!lastCol && !lastRow) out = Mix4(p, p + step, fx, fy);
      else if (!lastRow) out = Mix2(p[0], p[step], fy);
      else if (!lastCol) out = Mix2(p[0], p[1], fx);
      else out = p[0];
      return true;
    }
  };
  Row row(int64_t y) const
  {
    const int64_t iy = y >> 16;
    const bool valid = (uint64_t)iy < (uint64_t)win.h;
    const uint32_t fy = (uint32_t)(y & 0xFFFF);
    return {valid ? win.row(iy) : nullptr, win.step, win.w, fy, iy == win.h - 1 || fy == 0, valid};
  }
  __attribute__((always_inline)) inline bool operator()(int64_t x, int64_t y, PIX_pixel& out) const
  {
    const Row r = row(y);
    return r.valid && r(x, out);
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

  struct Row {
    const PIX_FilterDownSampler* s;
    int64_t y;
    bool valid;
    inline bool operator()(int64_t x, PIX_pixel& out) const { return (*s)(x, y, out); }
  };
  Row row(int64_t y) const { return {this, y, true}; }

  __attribute__((always_inline)) inline bool operator()(int64_t x, int64_t y, PIX_pixel& out) const
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
// The plain store takes the sampled pixel whole.
template <>
inline void PIX_CombineSample<_PIX_CombinePixelsClobberNoClamp>(PIX_pixel* d, PIX_pixel s, int)
{
  *d = s;
}
