#pragma once
// The asymmetric static clipping curve shared by both distortion stages:
// two constant tables and the interpolating lookup over them.
// Pure functions of constant data: any thread, no lock.

#include <cmath>

constexpr int kClipTableSize = 200;
// Table entry i holds the curve at an input magnitude of i / kClipScale.
constexpr double kClipScale = 142.14300537109375;

extern const float kClipPositive[kClipTableSize];
extern const float kClipNegative[kClipTableSize];

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
    const float* table = std::signbit(v) ? kClipNegative : kClipPositive;
    if (i <= kClipTableSize - 2) {
      const double f = s - i;
      r = static_cast<double>(table[i + 1]) * f + (1.0 - f) * static_cast<double>(table[i]);
    } else {
      r = table[kClipTableSize - 1];
    }
  }
  return std::copysign(std::fabs(r), v);
}
