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

using StereoPair = __m128d;

inline StereoPair Pack(double left, double right) { return _mm_set_pd(right, left); }

inline StereoPair Splat(double v) { return _mm_set1_pd(v); }

inline double Left(StereoPair v) { return _mm_cvtsd_f64(v); }

inline double Right(StereoPair v) { return _mm_cvtsd_f64(_mm_unpackhi_pd(v, v)); }

inline StereoPair Magnitude(StereoPair v) { return _mm_andnot_pd(_mm_set1_pd(-0.0), v); }

// FlushDenormal in each lane: a subnormal value becomes a zero of its sign.
inline StereoPair FlushDenormalLanes(StereoPair v)
{
  const __m128d signBit = _mm_set1_pd(-0.0);
  const __m128d tiny = _mm_cmplt_pd(Magnitude(v), _mm_set1_pd(DBL_MIN));  // zeros too, which keep
  return _mm_and_pd(v, _mm_or_pd(_mm_andnot_pd(tiny, _mm_castsi128_pd(_mm_set1_epi32(-1))), signBit));
}

// Whether a lane holds neither zero nor a normal number (subnormal,
// infinite or NaN).
inline bool AnyAbnormalLane(StereoPair v)
{
  const __m128d magnitude = Magnitude(v);
  const __m128d normal = _mm_and_pd(_mm_cmpge_pd(magnitude, _mm_set1_pd(DBL_MIN)),
                                    _mm_cmple_pd(magnitude, _mm_set1_pd(DBL_MAX)));
  const __m128d nonzero = _mm_cmpneq_pd(v, _mm_setzero_pd());  // NaN too
  return _mm_movemask_pd(_mm_andnot_pd(normal, nonzero)) != 0;
}
