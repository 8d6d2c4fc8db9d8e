#pragma once
// The asymmetric static clipping curve shared by both distortion stages:
// two constant tables and the interpolating lookup over them.
// Pure functions of constant data: any thread, no lock.

#include <array>
#include <cmath>

constexpr int kClipTableSize = 200;
// Table entry i holds the curve at an input magnitude of i / kClipScale.
constexpr double kClipScale = 142.14300537109375;

extern const float kClipPositive[kClipTableSize];
extern const float kClipNegative[kClipTableSize];
// The same tables widened to double when the program is compiled, so the
// lookup need not convert on every sample.
extern const std::array<double, kClipTableSize> kClipPositiveWide;
extern const std::array<double, kClipTableSize> kClipNegativeWide;

// Maps v through the curve: linear interpolation between table entries,
// the last entry beyond the table, and a signed zero for inputs that are
// not a number or too large to index. Negative inputs (and -0) read the
// negative table; the result carries the sign of v.
inline double Clip(double v)
{
  const double s = std::fabs(v) * kClipScale;
  double r = 0.0;
  if (s < 2147483648.0) {  // false for NaN as well
    const int i = static_cast<int>(s);
    const double* table = std::signbit(v) ? kClipNegativeWide.data() : kClipPositiveWide.data();
    if (i <= kClipTableSize - 2) {
      const double f = s - i;
      r = table[i + 1] * f + (1.0 - f) * table[i];
    } else {
      r = table[kClipTableSize - 1];
    }
  }
  return std::copysign(std::fabs(r), v);
}
