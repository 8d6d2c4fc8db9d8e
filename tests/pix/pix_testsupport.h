// Test helpers: a bitmap with guard pixels around it, seeded random pixels,
// and straightforward per-pixel reference versions of the combine operators
// written from their formulas (HSV adjust excepted, see HsvByOperator).
#pragma once

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "pix/pix_bitmap.h"
#include "pix/pix_combine.h"
#include "pix/pix_pixel.h"
#include "tests/support/guarded_bitmap.h"

namespace pixtest {

using ::GuardedBitmap;

inline void FillRandom(GuardedBitmap& bm, uint32_t seed)
{
  std::mt19937 rng(seed);
  for (int y = 0; y < bm.getHeight(); ++y)
    for (int x = 0; x < bm.getWidth(); ++x) bm.set(x, y, rng());
}

// Pixels that exercise the operators' edges, then seeded random ones.
inline std::vector<PIX_pixel> TestPixels(uint32_t seed, int randomCount)
{
  std::vector<PIX_pixel> v = {0x00000000u, 0xFFFFFFFFu, 0xFF000000u, 0x00FFFFFFu, 0x80808080u, 0x7F7F7F7Fu,
                              0x01010101u, 0xFEFEFEFEu, 0xFF102030u, 0x80FF0000u, 0x4000FF00u, 0xC00000FFu,
                              0x01FFFFFFu, 0xFEFF8001u, 0x00123456u, 0xFF808080u};
  std::mt19937 rng(seed);
  for (int i = 0; i < randomCount; ++i) v.push_back(rng());
  return v;
}

// ---- reference operators, channel by channel in memory order b, g, r, a ----

// Integer division truncating toward zero, done in floating point so that it
// does not share the code's integer idiom.
inline long long TDiv(long long a, long long b) { return (long long)std::trunc((double)a / (double)b); }
inline int Clamp(long long v) { return v < 0 ? 0 : v > 255 ? 255 : (int)v; }

struct Chans {
  int c[4];  // blue, green, red, alpha
};
inline Chans Split(PIX_pixel p)
{
  return {{(int)(p & 255), (int)((p >> 8) & 255), (int)((p >> 16) & 255), (int)(p >> 24)}};
}
inline PIX_pixel Join(const Chans& c)
{
  return (PIX_pixel)(c.c[0] & 255) | (PIX_pixel)(c.c[1] & 255) << 8 | (PIX_pixel)(c.c[2] & 255) << 16 |
         (PIX_pixel)(c.c[3] & 255) << 24;
}

inline int RefCopy(int d, int s, int ia) { return (int)(s + TDiv((long long)(d - s) * (256 - ia), 256)); }
inline int RefAdd(int d, int s, int ia) { return Clamp(d + TDiv((long long)s * ia, 256)); }
inline int RefDodge(int d, int s, int ia)
{
  const long long k = TDiv((long long)s * ia, 256);
  if (k < 255) return Clamp(TDiv((long long)d * 256, 256 - k));
  return Clamp((long long)d * 256);
}
inline int RefMul(int d, int s, int ia)
{
  const long long x = ((long long)s * ia + (long long)(256 - ia) * 256) * d;
  return (int)(std::floor((double)x / 65536.0));
}
inline int RefOverlay(int d, int s, int ia)
{
  const long long w = (long long)(256 - ia) * 128, t = (long long)s * ia;
  const long long x = (TDiv((32768 - t - w) * d, 256) + t + w) * d;
  if (x >= (1LL << 23)) return 255;
  if (x < 0) return 0;
  return (int)(x / 32768);
}

inline int RefTable(int x) { return x == 0 ? 0 : (int)std::floor(65536.0 / x) - 1; }

// HSV adjust has no reference of its own here: its tests pin the operator
// with hand-worked points and a checksum of a seeded sweep, and the loop
// tests then check that each loop applies that operator with the right
// weight.
inline PIX_pixel HsvByOperator(PIX_pixel dest, int r, int g, int b, int a, int ia)
{
  _PIX_CombinePixelsHSVAdjust::doPix((unsigned char*)&dest, r, g, b, a, ia);
  return dest;
}

// One operator (0..5, with or without source alpha) applied by its formula:
// what the operator class selected for (mode, ia) must produce.
inline PIX_pixel RefOperator(PIX_pixel dest, PIX_pixel src, int op, bool srcAlpha, int ia)
{
  Chans d = Split(dest);
  const Chans s = Split(src);
  const int sa = s.c[3];
  int w = ia;
  if (srcAlpha) {
    if (sa == 0 && (op == 0 || op == 1 || op == 3)) return dest;
    if (op == 0 && ia == 256) {
      if (sa == 255) return (src & 0xFFFFFFu) | 0xFF000000u;
      for (int k = 0; k < 3; ++k)
        d.c[k] = (int)(s.c[k] + TDiv((long long)(d.c[k] - s.c[k]) * (255 - sa), 256));
      d.c[3] = std::min(d.c[3] + sa, 255);
      return Join(d);
    }
    w = (int)TDiv((long long)ia * (sa + 1), 256);
    if (op == 0) {
      for (int k = 0; k < 3; ++k) d.c[k] = RefCopy(d.c[k], s.c[k], w);
      d.c[3] = std::min(d.c[3] + w, 255);
      return Join(d);
    }
  }
  if (op == 5) return HsvByOperator(dest, s.c[2], s.c[1], s.c[0], s.c[3], w);
  for (int k = 0; k < 4; ++k) {
    switch (op) {
      case 0:
        d.c[k] = ia == 256 ? s.c[k] : RefCopy(d.c[k], s.c[k], w);
        break;
      case 1:
        d.c[k] = RefAdd(d.c[k], s.c[k], w);
        break;
      case 2:
        d.c[k] = RefDodge(d.c[k], s.c[k], w);
        break;
      case 3:
        d.c[k] = RefMul(d.c[k], s.c[k], w);
        break;
      case 4:
        d.c[k] = RefOverlay(d.c[k], s.c[k], w);
        break;
    }
  }
  return Join(d);
}

// What a blit or single-pixel combine does with (mode, ia): ia 0 and copy
// with ia below 0 leave the destination, otherwise the selected operator.
inline PIX_pixel RefCombine(PIX_pixel dest, PIX_pixel src, int op, bool srcAlpha, int ia)
{
  if (ia == 0) return dest;
  if (op == 0 && !srcAlpha && ia < 0) return dest;
  return RefOperator(dest, src, op, srcAlpha, ia);
}

// Weighted sum of up to four pixels, each channel (sum of w x c) >> 16.
inline PIX_pixel Weighted(const PIX_pixel* p, const long long* w, int n)
{
  Chans out;
  for (int c = 0; c < 4; ++c) {
    long long s = 0;
    for (int k = 0; k < n; ++k) s += w[k] * Split(p[k]).c[c];
    out.c[c] = (int)(s >> 16);
  }
  return Join(out);
}

// Reads pixel (x, y) of a guarded bitmap.
inline auto Getter(GuardedBitmap& bm)
{
  return [&bm](int x, int y) { return bm.get(x, y); };
}

// Bilinear sample at 16.16 (x, y) inside the window [0, w) x [0, h) whose
// pixels get(x, y) reads: the last column uses only the vertical pair, the
// last row the horizontal pair, the corner the pixel itself.
template <class Get>
PIX_pixel RefBilinear(Get&& get, int w, int h, long long x, long long y)
{
  const int ix = (int)(x >> 16), iy = (int)(y >> 16);
  const long long fx = x & 0xFFFF, fy = y & 0xFFFF;
  const bool lastCol = ix == w - 1, lastRow = iy == h - 1;
  if (lastCol && lastRow) return get(ix, iy);
  if (lastCol) {
    const PIX_pixel p[2] = {get(ix, iy), get(ix, iy + 1)};
    const long long wt[2] = {65536 - fy, fy};
    return Weighted(p, wt, 2);
  }
  if (lastRow) {
    const PIX_pixel p[2] = {get(ix, iy), get(ix + 1, iy)};
    const long long wt[2] = {65536 - fx, fx};
    return Weighted(p, wt, 2);
  }
  const long long w11 = fx * fy / 65536;
  const PIX_pixel p[4] = {get(ix, iy), get(ix + 1, iy), get(ix, iy + 1), get(ix + 1, iy + 1)};
  const long long wt[4] = {65536 - fx - fy + w11, fx - w11, fy - w11, w11};
  return Weighted(p, wt, 4);
}

inline PIX_pixel RefHalfMix(PIX_pixel p, PIX_pixel q)
{
  const Chans a = Split(p), b = Split(q);
  Chans o;
  for (int k = 0; k < 4; ++k) o.c[k] = a.c[k] / 2 + b.c[k] / 2;
  return Join(o);
}

}  // namespace pixtest
