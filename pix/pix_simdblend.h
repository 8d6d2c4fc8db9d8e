// Vector kernels of the copy operators and the word-parallel mixes, for
// PIX_SimdRowLoop. Each gives exactly the bytes of its operator's per-pixel
// formula (pix/pix_combine.h) for every input.
//
// The copy operators share one step: a channel moves from the source
// toward the destination by a weight k (0..256), s + (d - s) x k / 256
// truncated toward zero. It is computed without signed products as
// s +- floor(|d - s| x k / 256), taking + where d >= s; the product fits 16
// bits, and (|d - s| << 8) x k >> 16 is one unsigned high multiply.
//
// Everything here is a template on the instruction set (see
// pix/pix_simdrow.h).
//
// Threads: stateless; any thread.
#pragma once

#include <cstdint>
#include <type_traits>

#include "pix/pix_pixel.h"
#include "pix/pix_simdrow.h"
#include "pix/pix_wordmix.h"

// s + (d - s) x k / 256 truncated toward zero, per byte; kLo and kHi hold
// k for the channels of the vector's first and second half of pixels (as
// unpackLo8 and unpackHi8 split them), in 16-bit lanes.
template <class I>
PIX_SIMD_INLINE typename I::V PIX_SimdTowardDest(typename I::V d, typename I::V s, typename I::V kLo,
                                                 typename I::V kHi)
{
  typedef typename I::V V;
  const V z = I::zero();
  const V sOverD = I::subsU8(s, d), dOverS = I::subsU8(d, s);
  const V dAtLeastS = I::cmpeq8(sOverD, z);
  const V dist = I::or_(sOverD, dOverS);
  const V q = I::packus16(I::mulhiU16(I::unpackLo8(z, dist), kLo), I::mulhiU16(I::unpackHi8(z, dist), kHi));
  // s + q where d >= s, s - q elsewhere: s - ((q ^ m) - m), m all ones where d >= s.
  return I::sub8(s, I::sub8(I::xor_(q, dAtLeastS), dAtLeastS));
}

// Copy at 1 <= ia <= 255 (_PIX_CombinePixelsCopyNoClamp), every channel
// alike: s + (d - s) x (256 - ia) / 256.
template <class I>
struct PIX_SimdCopyKernel {
  typename I::V k;
  explicit PIX_SimdCopyKernel(int ia) : k(I::splat16(256 - ia)) {}
  PIX_SimdShortcut shortcut(typename I::V) const { return PIX_SIMD_BLEND; }
  typename I::V blend(typename I::V d, typename I::V s) const { return PIX_SimdTowardDest<I>(d, s, k, k); }
};

// The source alpha sa of each pixel in its 32-bit lane.
template <class I>
PIX_SIMD_INLINE typename I::V PIX_SimdSourceAlpha(typename I::V s)
{
  return I::template srli32<24>(s);
}

// Colour channels moved toward the destination by k32 per pixel, the alpha
// channel the saturated sum of the destination alpha and add (a byte in
// each pixel's alpha position).
template <class I>
PIX_SIMD_INLINE typename I::V PIX_SimdBlendWithAlphaSum(typename I::V d, typename I::V s, typename I::V k32,
                                                        typename I::V add)
{
  typename I::V kLo, kHi;
  I::spreadWeight(k32, kLo, kHi);
  const typename I::V alphaMask = I::splat32(0xFF000000u);
  return I::select(alphaMask, I::addsU8(d, add), PIX_SimdTowardDest<I>(d, s, kLo, kHi));
}

// Copy with source alpha at ia 256 (_PIX_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp):
// colour s + (d - s) x (255 - sa) / 256, alpha min(d + sa, 255); sa 0 leaves
// the pixel. The weight 256 for sa 0 gives d exactly, and sa 255 gives the
// source pixel, so groups all of one of these need no arithmetic.
template <class I>
struct PIX_SimdCopySourceAlphaFullKernel {
  PIX_SimdShortcut shortcut(typename I::V s) const
  {
    const typename I::V alphaMask = I::splat32(0xFF000000u);
    if (I::allClear(s, alphaMask)) return PIX_SIMD_LEAVE;
    if (I::allSet(s, alphaMask)) return PIX_SIMD_SOURCE;
    return PIX_SIMD_BLEND;
  }
  typename I::V blend(typename I::V d, typename I::V s) const
  {
    const typename I::V sa = PIX_SimdSourceAlpha<I>(s);
    // 255 - sa, plus 1 where sa is 0 (the compare gives -1 there).
    const typename I::V k = I::sub32(I::sub32(I::splat32(255), sa), I::cmpeq32(sa, I::zero()));
    return PIX_SimdBlendWithAlphaSum<I>(d, s, k, s);
  }
};

// Copy with source alpha at 1 <= ia <= 255 (_PIX_CombinePixelsCopySourceAlphaNoClamp):
// with w = ia x (sa + 1) / 256, colour s + (d - s) x (256 - w) / 256, alpha
// min(d + w, 255). sa 0 gives w 0, which leaves the pixel as the operator does.
template <class I>
struct PIX_SimdCopySourceAlphaKernel {
  typename I::V ia;
  explicit PIX_SimdCopySourceAlphaKernel(int alpha) : ia(I::splat32((uint32_t)alpha)) {}
  PIX_SimdShortcut shortcut(typename I::V s) const
  {
    return I::allClear(s, I::splat32(0xFF000000u)) ? PIX_SIMD_LEAVE : PIX_SIMD_BLEND;
  }
  typename I::V blend(typename I::V d, typename I::V s) const
  {
    const typename I::V sa = PIX_SimdSourceAlpha<I>(s);
    // ia x (sa + 1) is at most 255 x 256: exact in the low 16 bits.
    const typename I::V w = I::template srli32<8>(I::mullo16(I::add32(sa, I::splat32(1)), ia));
    return PIX_SimdBlendWithAlphaSum<I>(d, s, I::sub32(I::splat32(256), w), I::template slli32<24>(w));
  }
};

// A word-parallel mix (Mix::mix on whole pixels, pix/pix_combine.h), run on
// vectors of 32-bit words with the same formula. The store needs no
// destination.
template <class I, class Mix>
struct PIX_SimdWordMixKernel {
  PIX_SimdShortcut shortcut(typename I::V) const
  {
    return std::is_same<Mix, _PIX_CombinePixelsClobberFAST>::value ? PIX_SIMD_SOURCE : PIX_SIMD_BLEND;
  }
  typename I::V blend(typename I::V d, typename I::V s) const
  {
    return I::fromWords(Mix::mix(I::words(d), I::words(s)));
  }
};
