#pragma once
// The level of samples on their way into a sound file: the peak, and how
// many lay beyond full scale (which an integer format can only clip).
//
// Threads: main thread only.

#include <cmath>
#include <cstddef>

struct LevelMeter {
  double peak = 0.0;     // largest magnitude, 1.0 = full scale
  long long beyond = 0;  // samples whose magnitude exceeds 1.0

  template <class T>
  void Measure(const T* samples, size_t count)
  {
    for (size_t i = 0; i < count; ++i) {
      const double magnitude = std::fabs(static_cast<double>(samples[i]));
      if (magnitude > peak) peak = magnitude;
      if (magnitude > 1.0) ++beyond;
    }
  }

  // The peak in dB relative to full scale (-inf for silence).
  double PeakDb() const { return peak > 0.0 ? 20.0 * std::log10(peak) : -HUGE_VAL; }
};
