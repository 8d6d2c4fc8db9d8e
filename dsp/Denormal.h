#pragma once
// Recursive filters decaying towards silence pass through subnormal numbers,
// which cost many times the work of normal ones on x86. The filters test
// for them with these helpers and restart from zero instead; normal values
// are never touched.
// Pure functions: any thread, no lock.

#include <cfloat>
#include <cmath>

// Nonzero and smaller in magnitude than the smallest normal double.
inline bool IsDenormal(double v)
{
  return v != 0.0 && std::fabs(v) < DBL_MIN;
}

// A subnormal value becomes a zero of the same sign.
inline double FlushDenormal(double v)
{
  return IsDenormal(v) ? std::copysign(0.0, v) : v;
}
