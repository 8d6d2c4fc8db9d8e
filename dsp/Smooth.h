#pragma once
// One-pole low-pass that glides a control value towards its target.
// Owned by the effect and driven from its processing path under the plug-in
// mutex; not safe for concurrent use.

#include <cmath>

#include "dsp/Denormal.h"

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
    double v = a0 * target + b1 * z;
    if (!IsNormalNumber(v)) v = std::isfinite(v) ? FlushDenormal(v) : 0.0;
    z = v;
    return z;
  }

  double a0 = 1.0;  // gain
  double b1 = 0.0;  // feedback
  double z = 0.0;   // state
};
