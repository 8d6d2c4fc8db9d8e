// Per-pixel combine operators and the single-pixel dispatchers.
//
// Each operator is a class with one static doPix(dest, r, g, b, a, ia): dest
// points at the four bytes of one destination pixel (blue, green, red,
// alpha), r, g, b, a are the source channels (normally 0..255) and ia the
// integer alpha (0 invisible, 256 full). Drawing loops are instantiated once
// per operator, so doPix is inlined into them. Operators do not check ia;
// callers choose the operator once per call (see pix/pix_opselect.h).
// Divisions truncate toward zero, as C++ integer division does.
//
// Threads: stateless; any thread.
#pragma once

#include <cstdint>
#include <cstring>

#include "pix/pix_pixel.h"

typedef int64_t PIX_wide;

inline int PIX_Clamp255(PIX_wide v) { return v < 0 ? 0 : v > 255 ? 255 : (int)v; }

// Reciprocal table of the HSV conversion: T[0] = 0, T[x] = 65536 / x - 1.
extern const int PIX_HSVReciprocal[256];

// s, all four channels stored.
struct _PIX_CombinePixelsClobberNoClamp {
  static inline void doPix(unsigned char* d, int r, int g, int b, int a, int)
  {
    d[0] = (unsigned char)b;
    d[1] = (unsigned char)g;
    d[2] = (unsigned char)r;
    d[3] = (unsigned char)a;
  }
};

// clamp(s), all four channels stored.
struct _PIX_CombinePixelsClobberClamp {
  static inline void doPix(unsigned char* d, int r, int g, int b, int a, int)
  {
    d[0] = (unsigned char)PIX_Clamp255(b);
    d[1] = (unsigned char)PIX_Clamp255(g);
    d[2] = (unsigned char)PIX_Clamp255(r);
    d[3] = (unsigned char)PIX_Clamp255(a);
  }
};

// An operator defined channel by channel: Op::chan(d, s, ia) gives each of
// b, g, r and a from the destination and source channel.
template <class Op>
struct _PIX_CombineChannels {
  static inline void doPix(unsigned char* d, int r, int g, int b, int a, int ia)
  {
    d[0] = (unsigned char)Op::chan(d[0], b, ia);
    d[1] = (unsigned char)Op::chan(d[1], g, ia);
    d[2] = (unsigned char)Op::chan(d[2], r, ia);
    d[3] = (unsigned char)Op::chan(d[3], a, ia);
  }
};

// s + (d - s) x (256 - ia) / 256
struct _PIX_CombinePixelsCopyNoClamp : _PIX_CombineChannels<_PIX_CombinePixelsCopyNoClamp> {
  static inline int chan(int d, int s, int ia) { return s + (d - s) * (256 - ia) / 256; }
};

// clamp(s + (d - s) x (256 - ia) / 256)
struct _PIX_CombinePixelsCopyClamp : _PIX_CombineChannels<_PIX_CombinePixelsCopyClamp> {
  static inline int chan(int d, int s, int ia)
  {
    return PIX_Clamp255(s + (PIX_wide)(d - s) * (256 - ia) / 256);
  }
};

// clamp(d + s x ia / 256)
struct _PIX_CombinePixelsAdd : _PIX_CombineChannels<_PIX_CombinePixelsAdd> {
  static inline int chan(int d, int s, int ia) { return PIX_Clamp255(d + (PIX_wide)s * ia / 256); }
};

// k = s x ia / 256; k < 255: clamp(d x 256 / (256 - k)), else clamp(d x 256)
struct _PIX_CombinePixelsColorDodge : _PIX_CombineChannels<_PIX_CombinePixelsColorDodge> {
  static inline int chan(int d, int s, int ia)
  {
    PIX_wide k = (PIX_wide)s * ia / 256;
    if (k < 255) return PIX_Clamp255((PIX_wide)d * 256 / (256 - k));
    return PIX_Clamp255(d * 256);
  }
};

// ((s x ia + (256 - ia) x 256) x d) >> 16
struct _PIX_CombinePixelsMulNoClamp : _PIX_CombineChannels<_PIX_CombinePixelsMulNoClamp> {
  static inline int chan(int d, int s, int ia)
  {
    return (int)((((PIX_wide)s * ia + (PIX_wide)(256 - ia) * 256) * d) >> 16);
  }
};

// x = (s x ia + (256 - ia) x 256) x d; 255 if x >= 2^24, 0 if x < 0, else x >> 16
struct _PIX_CombinePixelsMulClamp : _PIX_CombineChannels<_PIX_CombinePixelsMulClamp> {
  static inline int chan(int d, int s, int ia)
  {
    PIX_wide x = ((PIX_wide)s * ia + (PIX_wide)(256 - ia) * 256) * d;
    if (x >= (PIX_wide)1 << 24) return 255;
    if (x < 0) return 0;
    return (int)(x >> 16);
  }
};

// w = (256 - ia) x 128, t = s x ia, x = ((32768 - t - w) x d / 256 + t + w) x d;
// 255 if x >= 2^23, 0 if x < 0, else x >> 15
struct _PIX_CombinePixelsOverlay : _PIX_CombineChannels<_PIX_CombinePixelsOverlay> {
  static inline int chan(int d, int s, int ia)
  {
    PIX_wide w = (PIX_wide)(256 - ia) * 128, t = (PIX_wide)s * ia;
    PIX_wide x = ((32768 - t - w) * d / 256 + t + w) * d;
    if (x >= (PIX_wide)1 << 23) return 255;
    if (x < 0) return 0;
    return (int)(x >> 15);
  }
};

// (d + s) >> 1
struct _PIX_CombinePixelsHalfMixNoClamp {
  static inline void doPix(unsigned char* d, int r, int g, int b, int a, int)
  {
    d[0] = (unsigned char)((d[0] + b) >> 1);
    d[1] = (unsigned char)((d[1] + g) >> 1);
    d[2] = (unsigned char)((d[2] + r) >> 1);
    d[3] = (unsigned char)((d[3] + a) >> 1);
  }
};

// The destination's hue (0..383, six sectors of 64), saturation and value are
// shifted by the source: red moves the hue (128 = none, 0 = half a turn
// back), green the saturation and blue the value (128 = none); the source
// alpha byte becomes the result's alpha.
struct _PIX_CombinePixelsHSVAdjust {
  static inline void doPix(unsigned char* d, int r, int g, int b, int a, int ia)
  {
    const int* T = PIX_HSVReciprocal;
    const int B = d[0], G = d[1], R = d[2];
    int v, delta, base, diff;
    if (R < G) {
      if (B < G) {
        v = G, delta = G - (B < R ? B : R), base = 128, diff = B - R;
      } else {
        v = B, delta = B - (G < R ? G : R), base = 256, diff = R - G;
      }
    } else if (B < R) {
      v = R, delta = R - (G < B ? G : B), base = G < B ? 383 : 0, diff = G - B;
    } else {
      v = B, delta = B - (G < R ? G : R), base = 256, diff = R - G;
    }
    PIX_wide h = base + (PIX_wide)ia * ((r + r / 2) - 192) / 256 + (PIX_wide)diff * (T[delta] + 1) / 1024;
    if (h < 0) h += 384;
    else if (h >= 384) h -= 384;
    const PIX_wide sv = PIX_Clamp255((PIX_wide)delta * T[v] / 256 + (PIX_wide)ia * (g - 128) / 128);
    const PIX_wide vv = PIX_Clamp255(v + (PIX_wide)ia * (b - 128) / 128);
    const PIX_wide m = ((256 - sv) * vv) >> 8;
    auto F = [&](PIX_wide k) { return vv * (16384 - k * sv) / 16384; };
    PIX_wide rr, gg, bb;
    if (h < 64) rr = vv, gg = F(64 - h), bb = m;
    else if (h < 128) rr = F(h - 64), gg = vv, bb = m;
    else if (h < 192) rr = m, gg = vv, bb = F(192 - h);
    else if (h < 256) rr = m, gg = F(h - 192), bb = vv;
    else if (h < 320) rr = F(320 - h), gg = m, bb = vv;
    else rr = vv, gg = m, bb = F(h - 320);
    const uint32_t px = ((uint32_t)(a & 0xFF) << 24) | ((uint32_t)(rr & 0xFF) << 16) |
                        ((uint32_t)(gg & 0xFF) << 8) | (uint32_t)(bb & 0xFF);
    memcpy(d, &px, sizeof px);
  }
};

// Weight of the source-alpha operators: ia' = ia x (sa + 1) / 256.
inline int PIX_SourceAlphaWeight(int ia, int sa) { return ia * (sa + 1) / 256; }

// sa = 0: untouched. Colour: s + (d - s) x (256 - ia') / 256; alpha: min(d + ia', 255).
struct _PIX_CombinePixelsCopySourceAlphaNoClamp {
  static inline void doPix(unsigned char* d, int r, int g, int b, int a, int ia)
  {
    if (a == 0) return;
    const int w = PIX_SourceAlphaWeight(ia, a);
    d[0] = (unsigned char)_PIX_CombinePixelsCopyNoClamp::chan(d[0], b, w);
    d[1] = (unsigned char)_PIX_CombinePixelsCopyNoClamp::chan(d[1], g, w);
    d[2] = (unsigned char)_PIX_CombinePixelsCopyNoClamp::chan(d[2], r, w);
    const int na = d[3] + w;
    d[3] = (unsigned char)(na < 255 ? na : 255);
  }
};

// ia is 256 and ignored. sa = 0: untouched; sa = 255: colour stored with
// alpha 255; otherwise colour s + (d - s) x (255 - sa) / 256, alpha min(d + sa, 255).
struct _PIX_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp {
  static inline void doPix(unsigned char* d, int r, int g, int b, int a, int)
  {
    if (a == 0) return;
    if (a == 255) {
      d[0] = (unsigned char)b;
      d[1] = (unsigned char)g;
      d[2] = (unsigned char)r;
      d[3] = 255;
      return;
    }
    const int k = 255 - a;
    d[0] = (unsigned char)(b + (d[0] - b) * k / 256);
    d[1] = (unsigned char)(g + (d[1] - g) * k / 256);
    d[2] = (unsigned char)(r + (d[2] - r) * k / 256);
    const int na = d[3] + a;
    d[3] = (unsigned char)(na < 255 ? na : 255);
  }
};

// Op run with ia' = the call's alpha weighted by the source alpha. With
// SkipClear, a source alpha of 0 leaves the destination untouched.
template <class Op, bool SkipClear>
struct _PIX_CombinePixelsWithSourceAlpha {
  static inline void doPix(unsigned char* d, int r, int g, int b, int a, int ia)
  {
    if (SkipClear && a == 0) return;
    Op::doPix(d, r, g, b, a, PIX_SourceAlphaWeight(ia, a));
  }
};

// sa = 0: untouched; otherwise Add with ia'.
using _PIX_CombinePixelsAddSourceAlpha = _PIX_CombinePixelsWithSourceAlpha<_PIX_CombinePixelsAdd, true>;
// ColorDodge with ia' (a source alpha of 0 is not skipped).
using _PIX_CombinePixelsColorDodgeSourceAlpha =
    _PIX_CombinePixelsWithSourceAlpha<_PIX_CombinePixelsColorDodge, false>;
// sa = 0: untouched; otherwise MulNoClamp with ia'.
using _PIX_CombinePixelsMulSourceAlphaNoClamp =
    _PIX_CombinePixelsWithSourceAlpha<_PIX_CombinePixelsMulNoClamp, true>;
// Overlay with ia' (a source alpha of 0 is not skipped).
using _PIX_CombinePixelsOverlaySourceAlpha =
    _PIX_CombinePixelsWithSourceAlpha<_PIX_CombinePixelsOverlay, false>;
// HSVAdjust with ia' (a source alpha of 0 is not skipped).
using _PIX_CombinePixelsHSVAdjustSourceAlpha =
    _PIX_CombinePixelsWithSourceAlpha<_PIX_CombinePixelsHSVAdjust, false>;

// Colours pre-shifted once per call for the word-parallel mixes
// (pix/pix_wordmix.h).
inline PIX_pixel PIX_PreShiftHalf(PIX_pixel k) { return (k >> 1) & 0x7F7F7F7Fu; }
inline PIX_pixel PIX_PreShiftQuarter(PIX_pixel k) { return (k >> 2) & 0x3F3F3F3Fu; }
inline PIX_pixel PIX_PreShiftThreeQuarter(PIX_pixel k)
{
  return ((k >> 1) & 0x7F7F7F7Fu) + ((k >> 2) & 0x3F3F3F3Fu);
}

// Single-pixel dispatchers. ia 0 leaves the pixel; the operator is chosen by
// (mode & 0x100FF) as for blits; unknown operators leave the pixel.
// Returns dest combined with src; ia = truncation of alpha x 256 in single precision.
PIX_pixel PIX_CombinePixels(PIX_pixel dest, PIX_pixel src, float alpha, int mode);
// In place, for separate channels and an integer alpha.
void PIX_CombinePixels2(PIX_pixel* p, int r, int g, int b, int a, int ia, int mode);
// As PIX_CombinePixels2 for channels that may lie outside 0..255: the plain
// store clamps them, and copy and multiply use their clamping operators.
void PIX_CombinePixels2Clamp(PIX_pixel* p, int r, int g, int b, int a, int ia, int mode);
