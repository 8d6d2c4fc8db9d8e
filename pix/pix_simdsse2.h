// The SSE2 vector operations the row kernels are written in: four pixels
// per vector. Every x86_64 processor has them; PIX_SimdAvx2 offers the same
// operations on eight pixels. Operations that work on 16-bit lanes after
// widening keep each pixel's channels together (unpackLo8 takes the first
// half of the vector's pixels, unpackHi8 the second).
//
// Threads: stateless; any thread.
#pragma once

#include <emmintrin.h>

#include <cstdint>

#include "pix/pix_pixel.h"

#define PIX_SIMD_INLINE inline __attribute__((always_inline))

struct PIX_SimdSse2 {
  typedef __m128i V;
  // The same vector seen as 32-bit words, for formulas written on whole pixels.
  typedef uint32_t W __attribute__((vector_size(16)));
  enum { N = 4 };

  static PIX_SIMD_INLINE V load(const PIX_pixel* p)
  {
    return _mm_loadu_si128((const __m128i*)(const void*)p);
  }
  static PIX_SIMD_INLINE void store(PIX_pixel* p, V v) { _mm_storeu_si128((__m128i*)(void*)p, v); }
  // The first n (1..N-1) pixels; no memory beyond them is touched.
  static PIX_SIMD_INLINE V loadPartial(const PIX_pixel* p, int n)
  {
    if (n == 1) return _mm_cvtsi32_si128((int)p[0]);
    const V lo = _mm_loadl_epi64((const __m128i*)(const void*)p);
    return n == 2 ? lo : _mm_unpacklo_epi64(lo, _mm_cvtsi32_si128((int)p[2]));
  }
  static PIX_SIMD_INLINE void storePartial(PIX_pixel* p, V v, int n)
  {
    if (n == 1) {
      p[0] = (PIX_pixel)_mm_cvtsi128_si32(v);
      return;
    }
    _mm_storel_epi64((__m128i*)(void*)p, v);
    if (n == 3) p[2] = (PIX_pixel)_mm_cvtsi128_si32(_mm_srli_si128(v, 8));
  }
  // One 16-byte block (the widened loops keep one pixel per block).
  static PIX_SIMD_INLINE V loadBlock(const void* a) { return _mm_loadu_si128((const __m128i*)a); }
  static PIX_SIMD_INLINE void storeBlock(void* a, V v) { _mm_storeu_si128((__m128i*)a, v); }

  static PIX_SIMD_INLINE V zero() { return _mm_setzero_si128(); }
  static PIX_SIMD_INLINE V splat32(uint32_t v) { return _mm_set1_epi32((int)v); }
  static PIX_SIMD_INLINE V splat16(int v) { return _mm_set1_epi16((short)v); }
  static PIX_SIMD_INLINE W words(V v) { return (W)v; }
  static PIX_SIMD_INLINE V fromWords(W w) { return (V)w; }

  static PIX_SIMD_INLINE V and_(V a, V b) { return _mm_and_si128(a, b); }
  static PIX_SIMD_INLINE V or_(V a, V b) { return _mm_or_si128(a, b); }
  static PIX_SIMD_INLINE V xor_(V a, V b) { return _mm_xor_si128(a, b); }
  // a where mask is set, else b (mask lanes all ones or all zeros).
  static PIX_SIMD_INLINE V select(V mask, V a, V b)
  {
    return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
  }

  static PIX_SIMD_INLINE V add8(V a, V b) { return _mm_add_epi8(a, b); }
  static PIX_SIMD_INLINE V sub8(V a, V b) { return _mm_sub_epi8(a, b); }
  static PIX_SIMD_INLINE V addsU8(V a, V b) { return _mm_adds_epu8(a, b); }
  static PIX_SIMD_INLINE V subsU8(V a, V b) { return _mm_subs_epu8(a, b); }
  static PIX_SIMD_INLINE V cmpeq8(V a, V b) { return _mm_cmpeq_epi8(a, b); }

  static PIX_SIMD_INLINE V add16(V a, V b) { return _mm_add_epi16(a, b); }
  static PIX_SIMD_INLINE V sub16(V a, V b) { return _mm_sub_epi16(a, b); }
  static PIX_SIMD_INLINE V mulhiU16(V a, V b) { return _mm_mulhi_epu16(a, b); }
  static PIX_SIMD_INLINE V mullo16(V a, V b) { return _mm_mullo_epi16(a, b); }
  // Pairs of signed 16-bit products summed into 32-bit lanes.
  static PIX_SIMD_INLINE V madd16(V a, V b) { return _mm_madd_epi16(a, b); }

  static PIX_SIMD_INLINE V add32(V a, V b) { return _mm_add_epi32(a, b); }
  static PIX_SIMD_INLINE V sub32(V a, V b) { return _mm_sub_epi32(a, b); }
  static PIX_SIMD_INLINE V cmpeq32(V a, V b) { return _mm_cmpeq_epi32(a, b); }
  template <int k>
  static PIX_SIMD_INLINE V srli32(V a)
  {
    return _mm_srli_epi32(a, k);
  }
  template <int k>
  static PIX_SIMD_INLINE V slli32(V a)
  {
    return _mm_slli_epi32(a, k);
  }
  template <int k>
  static PIX_SIMD_INLINE V srai32(V a)
  {
    return _mm_srai_epi32(a, k);
  }

  static PIX_SIMD_INLINE V unpackLo8(V a, V b) { return _mm_unpacklo_epi8(a, b); }
  static PIX_SIMD_INLINE V unpackHi8(V a, V b) { return _mm_unpackhi_epi8(a, b); }
  static PIX_SIMD_INLINE V unpackLo16(V a, V b) { return _mm_unpacklo_epi16(a, b); }
  static PIX_SIMD_INLINE V unpackHi16(V a, V b) { return _mm_unpackhi_epi16(a, b); }
  static PIX_SIMD_INLINE V unpackLo32(V a, V b) { return _mm_unpacklo_epi32(a, b); }
  static PIX_SIMD_INLINE V unpackHi32(V a, V b) { return _mm_unpackhi_epi32(a, b); }
  static PIX_SIMD_INLINE V packus16(V a, V b) { return _mm_packus_epi16(a, b); }
  static PIX_SIMD_INLINE V packs32(V a, V b) { return _mm_packs_epi32(a, b); }

  // A weight per pixel (low 16 bits of its 32-bit lane) repeated in the
  // 16-bit lanes of its four channels, for the first (lo) and second (hi)
  // half of the pixels as unpackLo8 and unpackHi8 widen them.
  static PIX_SIMD_INLINE void spreadWeight(V k32, V& lo, V& hi)
  {
    const V k2 = _mm_or_si128(k32, _mm_slli_epi32(k32, 16));
    lo = _mm_unpacklo_epi32(k2, k2);
    hi = _mm_unpackhi_epi32(k2, k2);
  }
  // Whether every bit of a under mask is clear, or every one set.
  static PIX_SIMD_INLINE bool allClear(V a, V mask)
  {
    return _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(a, mask), _mm_setzero_si128())) == 0xFFFF;
  }
  static PIX_SIMD_INLINE bool allSet(V a, V mask)
  {
    return _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(a, mask), mask)) == 0xFFFF;
  }

  // Pixel k's 32-bit lane broadcast over the vector (vector k of a widened
  // group holds pixel k).
  template <int k>
  static PIX_SIMD_INLINE V spreadForPixel(V lanes)
  {
    return _mm_shuffle_epi32(lanes, k * 0x55);
  }
};
