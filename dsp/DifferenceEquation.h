#pragma once
// One step of a recursive filter, written once for a single channel
// (double) and for two channels in step (StereoPair, whose lanes round
// exactly as double does): the difference equation summed term by term in
// this order and divided by a0, and the histories moved on.
//
// Threads: pure functions on the caller's arrays; any thread, no lock.

#include "dsp/AlwaysInline.h"

// (b0 x + b1 x1 + ... + bN xN - a1 y1 - ... - aN yN) / a0, with x1... the
// past inputs and y1... the past outputs, most recent first.
template <int Order, class V>
DSP_ALWAYS_INLINE V DifferenceEquation(V x, const V* b, const V* a, const V* pastIn, const V* pastOut)
{
  V sum = b[0] * x;
#pragma GCC unroll 6
  for (int i = 0; i < Order; ++i) sum += b[i + 1] * pastIn[i];
#pragma GCC unroll 6
  for (int i = 0; i < Order; ++i) sum -= a[i + 1] * pastOut[i];
  return sum / a[0];
}

// x and y become the most recent input and output.
template <int Order, class V>
DSP_ALWAYS_INLINE void ShiftHistories(V* pastIn, V* pastOut, V x, V y)
{
#pragma GCC unroll 6
  for (int i = Order - 1; i > 0; --i) {
    pastIn[i] = pastIn[i - 1];
    pastOut[i] = pastOut[i - 1];
  }
  pastIn[0] = x;
  pastOut[0] = y;
}
