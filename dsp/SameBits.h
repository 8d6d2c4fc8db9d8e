#pragma once
// Exact identity of two doubles, bit for bit (so -0 differs from +0 and a
// NaN can equal itself). Used to skip recomputing a pure function of
// unchanged inputs without any change to its results.
// Pure function: any thread, no lock.

#include <cstdint>
#include <cstring>

inline bool SameBits(double a, double b)
{
  std::uint64_t ua, ub;
  std::memcpy(&ua, &a, sizeof ua);
  std::memcpy(&ub, &b, sizeof ub);
  return ua == ub;
}
