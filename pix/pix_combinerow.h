// Combining a whole row of source pixels into a row of destination pixels.
//
// By default each pixel goes through the operator's doPix. The copy
// operators the editor draws with most are specialised with vector row
// functions (pix/pix_simdrows.h) that give exactly the same bytes, for the
// integer alphas those cover; other alphas take the per-pixel path.
//
// Threads: stateless; any thread.
#pragma once

#include "pix/pix_combine.h"
#include "pix/pix_simdrows.h"

// Pixel by pixel, in increasing order.
template <class Op>
inline void PIX_CombineEachPixel(PIX_pixel* d, const PIX_pixel* s, int n, int ia)
{
  for (int i = 0; i < n; ++i) {
    const PIX_pixel p = s[i];
    Op::doPix((unsigned char*)(d + i), PIX_GetR(p), PIX_GetG(p), PIX_GetB(p), PIX_GetA(p), ia);
  }
}

template <class Op>
struct PIX_CombineRow {
  // d and s must not overlap unless d does not lie after s.
  static inline void run(PIX_pixel* d, const PIX_pixel* s, int n, int ia)
  {
    PIX_CombineEachPixel<Op>(d, s, n, ia);
  }
};

// Operators whose vector rows take an integer alpha of 1..255.
template <class Op>
struct PIX_CombineRowWithAlpha {
  template <class RowFn>
  static inline void run(RowFn rowFn, PIX_pixel* d, const PIX_pixel* s, int n, int ia)
  {
    if (ia > 0 && ia < 256) rowFn(d, s, n, ia);
    else PIX_CombineEachPixel<Op>(d, s, n, ia);
  }
};

template <>
struct PIX_CombineRow<_PIX_CombinePixelsCopyNoClamp> {
  static inline void run(PIX_pixel* d, const PIX_pixel* s, int n, int ia)
  {
    PIX_CombineRowWithAlpha<_PIX_CombinePixelsCopyNoClamp>::run(PIX_SimdRows().copy, d, s, n, ia);
  }
};

template <>
struct PIX_CombineRow<_PIX_CombinePixelsCopySourceAlphaNoClamp> {
  static inline void run(PIX_pixel* d, const PIX_pixel* s, int n, int ia)
  {
    PIX_CombineRowWithAlpha<_PIX_CombinePixelsCopySourceAlphaNoClamp>::run(PIX_SimdRows().copySourceAlpha, d,
                                                                           s, n, ia);
  }
};

// Always at ia 256.
template <>
struct PIX_CombineRow<_PIX_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp> {
  static inline void run(PIX_pixel* d, const PIX_pixel* s, int n, int)
  {
    PIX_SimdRows().copySourceAlphaFull(d, s, n);
  }
};
