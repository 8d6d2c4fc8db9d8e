#pragma once
// The asymmetric static clipping curve shared by both distortion stages:
// two constant tables and the interpolating lookup over them.
// Pure functions of constant data: any thread, no lock.

#include <array>
#include <cmath>

#include "dsp/StereoPair.h"

constexpr int kClipTableSize = 200;
// Table entry i holds the curve at an input magnitude of i / kClipScale.
constexpr double kClipScale = 142.14300537109375;

extern const float kClipPositive[kClipTableSize];
extern const float kClipNegative[kClipTableSize];
// Both tables widened to double when the program is compiled, so the lookup
// does not convert, and interleaved, the positive then the negative entry of
// each position, so a lane's sign bit picks its table by index alone. A pair
// of zeros follows the last entries.
extern const std::array<double, 2 * (kClipTableSize + 1)> kClipWide __attribute__((visibility("hidden")));

// Maps each lane of v through the curve: linear interpolation between table
// entries, the last entry beyond the table, and a signed zero for inputs
// that are not a number or too large to index. Negative inputs (and -0) read
// the negative table; each result carries the sign of its input.
//
// Both lanes at once and without a branch, as the signal would decide every
// one of them. A position past the last entry is held there, reading it
// with weight 0 on the zeros after it, which gives that entry exactly; an
// unindexable input reads position 0 with weight 0, which gives zero.
inline StereoPair ClipLanes(StereoPair v)
{
  const __m128d s = _mm_mul_pd(Magnitude(v), _mm_set1_pd(kClipScale));
  const __m128d indexable = _mm_cmplt_pd(s, _mm_set1_pd(2147483648.0));  // false for NaN
  const __m128d held = _mm_min_pd(_mm_and_pd(s, indexable), _mm_set1_pd(kClipTableSize - 1));
  const __m128i position = _mm_cvttpd_epi32(held);
  const __m128d f = _mm_sub_pd(held, _mm_cvtepi32_pd(position));
  const int signs = _mm_movemask_pd(v);
  const double* left = kClipWide.data() + 2 * _mm_cvtsi128_si32(position) + (signs & 1);
  const double* right =
      kClipWide.data() + 2 * _mm_cvtsi128_si32(_mm_shuffle_epi32(position, 1)) + (signs >> 1);
  const __m128d below = _mm_set_pd(right[0], left[0]);
  const __m128d above = _mm_set_pd(right[2], left[2]);
  const __m128d r = _mm_add_pd(_mm_mul_pd(above, f), _mm_mul_pd(_mm_sub_pd(_mm_set1_pd(1.0), f), below));
  return _mm_or_pd(Magnitude(r), _mm_and_pd(_mm_set1_pd(-0.0), v));
}

// The same for one value.
inline double Clip(double v) { return Left(ClipLanes(_mm_set_sd(v))); }
