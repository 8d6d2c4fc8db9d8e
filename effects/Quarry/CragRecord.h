#pragma once
// State shared by both distortion stages: room for a sixth-order filter's
// coefficients and histories. Each stage uses as much of it as its order
// needs; the rest stays zero.

#include <algorithm>
#include <cmath>

#include "dsp/AlwaysInline.h"
#include "dsp/Denormal.h"
#include "dsp/DifferenceEquation.h"

struct CragRecord {
  double in = 0.0;         // value last fed to the filter
  double out = 0.0;        // filter's last output
  double pastIn[6] = {};   // filter inputs, most recent first
  double pastOut[6] = {};  // filter outputs, most recent first
  double a[7] = {};        // denominator coefficients a0, a1, ...
  double b[7] = {};        // numerator coefficients b0, b1, ...

  // Forgets the past signal so the next sample starts from silence; the
  // coefficients stay.
  void ClearHistories()
  {
    out = 0.0;
    std::fill(pastIn, pastIn + 6, 0.0);
    std::fill(pastOut, pastOut + 6, 0.0);
  }

  // For a filter output y that is not a normal number: clears the
  // histories and, for a subnormal y, makes it a zero of its sign. False
  // when y is not finite.
  bool RestartFromSilence(double& y)
  {
    ClearHistories();
    if (!std::isfinite(y)) return false;
    y = std::copysign(0.0, y);
    return true;
  }

  // One step of the recursive filter of the given order on input x: the
  // difference equation summed term by term in this order, divided by a0,
  // then the histories moved on. A result that is not a normal number
  // starts the filter over from silence rather than being kept: a
  // non-finite one (from the input, unusable coefficients or an overflow)
  // would silence the channel for good and is returned as it is, or as 0
  // when SilenceNonFinite; a subnormal one is far below anything audible,
  // slow to compute with, and becomes a zero of its sign.
  template <int Order, bool SilenceNonFinite>
  DSP_ALWAYS_INLINE double Filter(double x)
  {
    in = x;
    double y = DifferenceEquation<Order>(x, b, a, pastIn, pastOut);
    if (!IsNormalNumber(y) && y != 0.0 && !RestartFromSilence(y)) return SilenceNonFinite ? 0.0 : y;
    out = y;
    ShiftHistories<Order>(pastIn, pastOut, x, y);
    return y;
  }
};
