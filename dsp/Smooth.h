#pragma once
// One-pole low-pass that glides a control value towards its target.
// Owned by the effect and driven from its processing path under the plug-in
// mutex; not safe for concurrent use.

#include <cmath>

#include "dsp/Denormal.h"
#include "dsp/SameBits.h"

class Smooth {
public:
  // Pole of a 1 Hz one-pole low-pass at the given sample rate.
  static double Pole(double sampleRate) { return std::exp((1.0 / sampleRate) * -6.283185307179586); }

  void SetPole(double b)
  {
    a0 = 1.0 - b;
    b1 = b;
  }

  // One step towards target; returns the new state. A state that is no
  // longer finite (a non-finite target or pole) restarts from zero rather
  // than poisoning every later step; a subnormal one is flushed to zero.
  double Process(double target)
  {
    z = Next(target);
    return z;
  }

  // Whether the smoother has reached its fixed point for target: every
  // further step leaves the state as it is, bit for bit.
  bool AtRest(double target) const { return SameBits(Next(target), z); }

  // The state one step towards target would take.
  double Next(double target) const
  {
    const double v = a0 * target + b1 * z;
    if (IsNormalNumber(v)) return v;
    return std::isfinite(v) ? FlushDenormal(v) : 0.0;
  }

  double a0 = 1.0;  // gain
  double b1 = 0.0;  // feedback
  double z = 0.0;   // state
};
