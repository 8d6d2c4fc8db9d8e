// Word-parallel mixes of whole pixels for fixed fractions; each channel
// loses its low bits. Each mix is a struct whose mix() takes 32-bit words:
// one pixel, or a vector of pixels with the same formula (the vector row
// functions instantiate it on their vectors). k' is the colour pre-shifted
// once per call (pix/pix_combine.h).
//
// Only templates live here, so that the AVX2 row functions can include
// this header after switching their target (see pix/pix_simdrowsavx2.cpp).
//
// Threads: stateless; any thread.
#pragma once
#define PIX_WORDMIX_H

// ((p >> 1) & 0x7F7F7F7F) + ((q >> 1) & 0x7F7F7F7F)
struct _PIX_CombinePixelsHalfMixFAST {
  template <class W>
  static inline W mix(W p, W q)
  {
    return ((p >> 1) & 0x7F7F7F7Fu) + ((q >> 1) & 0x7F7F7F7Fu);
  }
};

// k' + ((d >> 1) & 0x7F7F7F7F), k' = PIX_PreShiftHalf(k)
struct _PIX_CombinePixelsHalfMix2FAST {
  template <class W>
  static inline W mix(W d, W kpre)
  {
    return kpre + ((d >> 1) & 0x7F7F7F7Fu);
  }
};
// k' + ((d >> 2) & 0x3F3F3F3F) + ((d >> 1) & 0x7F7F7F7F), k' = PIX_PreShiftQuarter(k)
struct _PIX_CombinePixelsQuarterMix2FAST {
  template <class W>
  static inline W mix(W d, W kpre)
  {
    return kpre + ((d >> 2) & 0x3F3F3F3Fu) + ((d >> 1) & 0x7F7F7F7Fu);
  }
};
// k' + ((d >> 2) & 0x3F3F3F3F), k' = PIX_PreShiftThreeQuarter(k)
struct _PIX_CombinePixelsThreeQuarterMix2FAST {
  template <class W>
  static inline W mix(W d, W kpre)
  {
    return kpre + ((d >> 2) & 0x3F3F3F3Fu);
  }
};
// The colour is stored.
struct _PIX_CombinePixelsClobberFAST {
  template <class W>
  static inline W mix(W, W k)
  {
    return k;
  }
};
