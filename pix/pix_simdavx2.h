// The AVX2 vector operations the row kernels are written in: the same
// operations as PIX_SimdSse2 on eight pixels, each 128-bit half behaving as
// one SSE2 vector (a group's vector k holds pixel k in its low half and
// pixel k + 4 in its high half wherever pixels are widened one per block).
//
// Only the translation unit that compiles the AVX2 row functions includes
// this header, after switching its target to AVX2; nothing else may, so
// that no AVX2 instruction reaches a processor without it.
//
// Threads: stateless; any thread.
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "pix/pix_pixel.h"
#include "pix/pix_simdsse2.h"

struct PIX_SimdAvx2 {
  typedef __m256i V;
  typedef uint32_t W __attribute__((vector_size(32)));
  enum { N = 8 };

  static PIX_SIMD_INLINE V load(const PIX_pixel* p)
  {
    return _mm256_loadu_si256((const __m256i*)(const void*)p);
  }
  static PIX_SIMD_INLINE void store(PIX_pixel* p, V v) { _mm256_storeu_si256((__m256i*)(void*)p, v); }
  // Lanes below n set: the masked loads and stores touch no other pixel.
  static PIX_SIMD_INLINE V partialMask(int n)
  {
    return _mm256_cmpgt_epi32(_mm256_set1_epi32(n), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
  }
  static PIX_SIMD_INLINE V loadPartial(const PIX_pixel* p, int n)
  {
    return _mm256_maskload_epi32((const int*)(const void*)p, partialMask(n));
  }
  static PIX_SIMD_INLINE void storePartial(PIX_pixel* p, V v, int n)
  {
    _mm256_maskstore_epi32((int*)(void*)p, partialMask(n), v);
  }
  // 16 bytes at a and at b: [a | b].
  static PIX_SIMD_INLINE V loadBlocks(const void* a, const void* b)
  {
    return _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128((const __m128i*)a)),
                                   _mm_loadu_si128((const __m128i*)b), 1);
  }
  static PIX_SIMD_INLINE void storeBlocks(void* a, void* b, V v)
  {
    _mm_storeu_si128((__m128i*)a, _mm256_castsi256_si128(v));
    _mm_storeu_si128((__m128i*)b, _mm256_extracti128_si256(v, 1));
  }

  static PIX_SIMD_INLINE V zero() { return _mm256_setzero_si256(); }
  static PIX_SIMD_INLINE V splat32(uint32_t v) { return _mm256_set1_epi32((int)v); }
  static PIX_SIMD_INLINE V splat16(int v) { return _mm256_set1_epi16((short)v); }
  static PIX_SIMD_INLINE W words(V v) { return (W)v; }
  static PIX_SIMD_INLINE V fromWords(W w) { return (V)w; }

  static PIX_SIMD_INLINE V and_(V a, V b) { return _mm256_and_si256(a, b); }
  static PIX_SIMD_INLINE V or_(V a, V b) { return _mm256_or_si256(a, b); }
  static PIX_SIMD_INLINE V xor_(V a, V b) { return _mm256_xor_si256(a, b); }
  static PIX_SIMD_INLINE V select(V mask, V a, V b) { return _mm256_blendv_epi8(b, a, mask); }

  static PIX_SIMD_INLINE V add8(V a, V b) { return _mm256_add_epi8(a, b); }
  static PIX_SIMD_INLINE V sub8(V a, V b) { return _mm256_sub_epi8(a, b); }
  static PIX_SIMD_INLINE V addsU8(V a, V b) { return _mm256_adds_epu8(a, b); }
  static PIX_SIMD_INLINE V subsU8(V a, V b) { return _mm256_subs_epu8(a, b); }
  static PIX_SIMD_INLINE V cmpeq8(V a, V b) { return _mm256_cmpeq_epi8(a, b); }

  static PIX_SIMD_INLINE V add16(V a, V b) { return _mm256_add_epi16(a, b); }
  static PIX_SIMD_INLINE V sub16(V a, V b) { return _mm256_sub_epi16(a, b); }
  static PIX_SIMD_INLINE V mulhiU16(V a, V b) { return _mm256_mulhi_epu16(a, b); }
  static PIX_SIMD_INLINE V mullo16(V a, V b) { return _mm256_mullo_epi16(a, b); }
  static PIX_SIMD_INLINE V madd16(V a, V b) { return _mm256_madd_epi16(a, b); }

  static PIX_SIMD_INLINE V add32(V a, V b) { return _mm256_add_epi32(a, b); }
  static PIX_SIMD_INLINE V sub32(V a, V b) { return _mm256_sub_epi32(a, b); }
  static PIX_SIMD_INLINE V cmpeq32(V a, V b) { return _mm256_cmpeq_epi32(a, b); }
  template <int k>
  static PIX_SIMD_INLINE V srli32(V a)
  {
    return _mm256_srli_epi32(a, k);
  }
  template <int k>
  static PIX_SIMD_INLINE V slli32(V a)
  {
    return _mm256_slli_epi32(a, k);
  }
  template <int k>
  static PIX_SIMD_INLINE V srai32(V a)
  {
    return _mm256_srai_epi32(a, k);
  }

  static PIX_SIMD_INLINE V unpackLo8(V a, V b) { return _mm256_unpacklo_epi8(a, b); }
  static PIX_SIMD_INLINE V unpackHi8(V a, V b) { return _mm256_unpackhi_epi8(a, b); }
  static PIX_SIMD_INLINE V unpackLo16(V a, V b) { return _mm256_unpacklo_epi16(a, b); }
  static PIX_SIMD_INLINE V unpackHi16(V a, V b) { return _mm256_unpackhi_epi16(a, b); }
  static PIX_SIMD_INLINE V unpackLo32(V a, V b) { return _mm256_unpacklo_epi32(a, b); }
  static PIX_SIMD_INLINE V unpackHi32(V a, V b) { return _mm256_unpackhi_epi32(a, b); }
  static PIX_SIMD_INLINE V packus16(V a, V b) { return _mm256_packus_epi16(a, b); }
  static PIX_SIMD_INLINE V packs32(V a, V b) { return _mm256_packs_epi32(a, b); }

  static PIX_SIMD_INLINE void spreadWeight(V k32, V& lo, V& hi)
  {
    lo = _mm256_shuffle_epi8(k32, _mm256_setr_epi8(0, 1, 0, 1, 0, 1, 0, 1, 4, 5, 4, 5, 4, 5, 4, 5, 0, 1, 0, 1,
                                                   0, 1, 0, 1, 4, 5, 4, 5, 4, 5, 4, 5));
    hi = _mm256_shuffle_epi8(k32, _mm256_setr_epi8(8, 9, 8, 9, 8, 9, 8, 9, 12, 13, 12, 13, 12, 13, 12, 13, 8,
                                                   9, 8, 9, 8, 9, 8, 9, 12, 13, 12, 13, 12, 13, 12, 13));
  }
  static PIX_SIMD_INLINE bool allClear(V a, V mask) { return _mm256_testz_si256(a, mask); }
  static PIX_SIMD_INLINE bool allSet(V a, V mask) { return _mm256_testc_si256(a, mask); }

  // Pixel k's 32-bit lane in the low block, pixel k + 4's in the high one.
  template <int k>
  static PIX_SIMD_INLINE V spreadForPixel(V lanes)
  {
    return _mm256_permutevar8x32_epi32(lanes, _mm256_setr_epi32(k, k, k, k, k + 4, k + 4, k + 4, k + 4));
  }
};
