#pragma once
// A left and a right sample in one SSE2 register (lane 0 left, lane 1
// right), so that both channels' identical arithmetic runs as one packed
// instruction. Packed operations round each lane exactly as the scalar
// operation would, so a lane holds bit for bit what one channel alone
// computes.
//
// Threads: plain values and pure functions; any thread, no lock.

#include <emmintrin.h>

#include <cfloat>
#include <cstdint>

using StereoPair = __m128d;

inline StereoPair Pack(double left, double right) { return _mm_set_pd(right, left); }

inline StereoPair Splat(double v) { return _mm_set1_pd(v); }

inline double Left(StereoPair v) { return _mm_cvtsd_f64(v); }

inline double Right(StereoPair v) { return _mm_cvtsd_f64(_mm_unpackhi_pd(v, v)); }

inline StereoPair Magnitude(StereoPair v) { return _mm_andnot_pd(_mm_set1_pd(-0.0), v); }

// FlushDenormal in each lane: a subnormal value becomes a zero of its sign.
inline StereoPair FlushDenormalLanes(StereoPair v)
{
  const __m128d allButSign = _mm_castsi128_pd(_mm_set1_epi64x(0x7fffffffffffffff));
  const __m128d tiny =
      _mm_cmplt_pd(_mm_and_pd(v, allButSign), _mm_set1_pd(DBL_MIN));  // zeros too, which keep
  // Tiny lanes keep only their sign bit.
  return _mm_andnot_pd(_mm_and_pd(tiny, allButSign), v);
}

// Whether a lane holds neither zero nor a normal number (subnormal,
// infinite or NaN). Checked on every sample, so in integer steps: with the
// sign shifted out of a lane's high 32 bits, the exponent fills their top
// 11 bits; one exponent step lower, taken as unsigned, the exponents 0
// (zero and subnormal) and 2047 (infinite and NaN) are the ones at or above
// 2046 steps. Zeros are then let through.
inline bool AnyAbnormalLane(StereoPair v)
{
  const __m128i high = _mm_slli_epi32(_mm_castpd_si128(v), 1);
  const __m128i flip = _mm_set1_epi32(INT32_MIN);  // unsigned order as signed order
  const __m128i stepped = _mm_xor_si128(_mm_sub_epi32(high, _mm_set1_epi32(1 << 21)), flip);
  const __m128i extreme =
      _mm_cmpgt_epi32(stepped, _mm_xor_si128(_mm_set1_epi32(static_cast<int>((0x7feu << 21) - 1)), flip));
  const __m128d nonzero = _mm_cmpneq_pd(v, _mm_setzero_pd());  // NaN too
  // Each lane's answer is in its high 32 bits, which the sign mask reads.
  return _mm_movemask_pd(_mm_and_pd(_mm_castsi128_pd(extreme), nonzero)) != 0;
}
