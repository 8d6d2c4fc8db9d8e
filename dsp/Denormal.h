#pragma once
// Recursive filters decaying towards silence pass through subnormal numbers,
// which cost many times the work of normal ones on x86, and a non-finite
// value caught in a filter's state would stay there for ever. The filters
// test their new state with IsNormalNumber (one comparison on the common
// path) and look closer only when it fails.
// Pure functions: any thread, no lock.

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>

// A finite, nonzero, normal number; false for zero, subnormal, infinite
// and NaN values.
inline bool IsNormalNumber(double v)
{
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  // With the sign shifted out, normal numbers are the exponents 1 to 2046.
  return (bits << 1) - (std::uint64_t{1} << 53) < (std::uint64_t{0x7fe} << 53);
}

// A subnormal value becomes a zero of the same sign; all others pass.
inline double FlushDenormal(double v) { return std::fabs(v) < DBL_MIN ? std::copysign(0.0, v) : v; }
