// The one loop shape of the vector row operations: a row of destination
// pixels combined, a vector of pixels at a time, with a row of source
// pixels or with one colour. The kernel gives the exact per-pixel formula on
// whole vectors and may name groups that need no arithmetic: all of whose
// pixels stay as they are, or all of which become the source. The pixels
// left over at the end of the row go through the same kernel with partial
// loads and stores that touch no pixel beyond the row.
//
// Everything here is a template on the instruction set (PIX_SimdSse2,
// PIX_SimdAvx2), so that each set's copy is compiled for that set alone.
//
// Threads: stateless; runs on the thread that owns the bitmaps.
#pragma once

#include "pix/pix_pixel.h"
#include "pix/pix_simdsse2.h"

// What a kernel says about a group of source pixels.
enum PIX_SimdShortcut {
  PIX_SIMD_BLEND,  // combine each pixel
  PIX_SIMD_LEAVE,  // every destination pixel stays
  PIX_SIMD_SOURCE  // every destination pixel becomes its source pixel
};

// Source pixels read from a row.
template <class I>
struct PIX_SimdRowSource {
  const PIX_pixel* s;
  typename I::V load(int i) const { return I::load(s + i); }
  typename I::V loadPartial(int i, int n) const { return I::loadPartial(s + i, n); }
};

// One colour for every pixel.
template <class I>
struct PIX_SimdSolidSource {
  typename I::V c;
  explicit PIX_SimdSolidSource(PIX_pixel colour) : c(I::splat32(colour)) {}
  typename I::V load(int) const { return c; }
  typename I::V loadPartial(int, int) const { return c; }
};

// d[0..n) combined with the source through kernel k. With a row source, d
// and the source may overlap only when d does not lie after the source.
template <class I, class Source, class Kernel>
PIX_SIMD_INLINE void PIX_SimdRowLoop(PIX_pixel* d, const Source& src, int n, const Kernel& k)
{
  int i = 0;
  for (; i + I::N <= n; i += I::N) {
    const typename I::V s = src.load(i);
    switch (k.shortcut(s)) {
      case PIX_SIMD_LEAVE:
        break;
      case PIX_SIMD_SOURCE:
        I::store(d + i, s);
        break;
      case PIX_SIMD_BLEND:
        I::store(d + i, k.blend(I::load(d + i), s));
        break;
    }
  }
  if (i < n) {
    const int m = n - i;
    I::storePartial(d + i, k.blend(I::loadPartial(d + i, m), src.loadPartial(i, m)), m);
  }
}
