// Combining a whole row of source pixels into a row of destination pixels.
//
// By default each pixel goes through the operator's doPix. Operators on the
// editor's hot path may be specialised here with a word-parallel row form
// that gives exactly the same bytes.
//
// Threads: stateless; any thread.
#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "pix/pix_combine.h"

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
  // d and s must not overlap unless d == s.
  static inline void run(PIX_pixel* d, const PIX_pixel* s, int n, int ia)
  {
    PIX_CombineEachPixel<Op>(d, s, n, ia);
  }
};

#if defined(__SSE2__)
// Source-alpha copy at full alpha, four pixels at a time: colour
// s + (d - s) x (255 - sa) / 256 truncated toward zero (computed as s plus or
// minus |d - s| x (255 - sa) >> 8, which fits 16 bits), alpha min(d + sa, 255)
// as a saturating byte add, and pixels with sa = 0 left alone. sa = 255 needs
// no case of its own: the formula then gives the source colour and alpha 255.
template <>
struct PIX_CombineRow<_PIX_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp> {
  static inline __m128i Blend2(__m128i d16, __m128i s16)
  {
    const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s16, 0xFF), 0xFF);
    const __m128i k = _mm_sub_epi16(_mm_set1_epi16(255), alpha);
    const __m128i absdiff = _mm_sub_epi16(_mm_max_epi16(d16, s16), _mm_min_epi16(d16, s16));
    const __m128i q = _mm_srli_epi16(_mm_mullo_epi16(absdiff, k), 8);
    const __m128i neg = _mm_cmplt_epi16(d16, s16);
    return _mm_add_epi16(s16, _mm_sub_epi16(_mm_xor_si128(q, neg), neg));
  }
  static inline void run(PIX_pixel* d, const PIX_pixel* s, int n, int ia)
  {
    const __m128i zero = _mm_setzero_si128();
    const __m128i alphaMask = _mm_set1_epi32((int)0xFF000000u);
    int i = 0;
    for (; i + 4 <= n; i += 4) {
      const __m128i sv = _mm_loadu_si128((const __m128i*)(s + i));
      const __m128i dv = _mm_loadu_si128((const __m128i*)(d + i));
      const __m128i lo = Blend2(_mm_unpacklo_epi8(dv, zero), _mm_unpacklo_epi8(sv, zero));
      const __m128i hi = Blend2(_mm_unpackhi_epi8(dv, zero), _mm_unpackhi_epi8(sv, zero));
      const __m128i colour = _mm_andnot_si128(alphaMask, _mm_packus_epi16(lo, hi));
      const __m128i alpha = _mm_and_si128(alphaMask, _mm_adds_epu8(dv, sv));
      const __m128i transparent = _mm_cmpeq_epi32(_mm_and_si128(sv, alphaMask), zero);
      const __m128i blended = _mm_or_si128(colour, alpha);
      const __m128i out =
          _mm_or_si128(_mm_and_si128(transparent, dv), _mm_andnot_si128(transparent, blended));
      _mm_storeu_si128((__m128i*)(d + i), out);
    }
    PIX_CombineEachPixel<_PIX_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp>(d + i, s + i, n - i, ia);
  }
};
#endif
