#pragma once
// The exact sum of a few doubles, for deciding the sign of sums that cancel
// far below the rounding error of adding them one by one. The sum is kept
// as an expansion: non-overlapping parts in increasing magnitude whose
// exact total is the sum, grown by error-free additions.
//
// Threads: a plain value; any thread, no lock.

#include <cmath>

template <int Capacity>
class ExactSum {
public:
  // Adds v exactly; at most Capacity terms. A non-finite term or an
  // overflow makes Value() a NaN.
  void Add(double v)
  {
    double carry = v;
    int kept = 0;
    for (int i = 0; i < mCount; ++i) {
      double error;
      carry = TwoSum(carry, mParts[i], error);
      if (error != 0.0) mParts[kept++] = error;
    }
    // Zero parts are dropped, so the last part is the largest and carries
    // the sign. The parts never outnumber the terms added: only a caller
    // that adds more than Capacity terms overflows here, and loses
    // exactness.
    if (carry != 0.0) {
      if (kept == Capacity) carry += mParts[--kept];
      mParts[kept++] = carry;
    }
    mCount = kept;
  }

  // The sum rounded to double (within a few units in the last place).
  double Value() const
  {
    double total = 0.0;
    for (int i = 0; i < mCount; ++i) total += mParts[i];
    return total;
  }

  // The exact sign: +1, -1 or 0; 0 for a NaN as well.
  int Sign() const
  {
    const double top = mCount > 0 ? mParts[mCount - 1] : 0.0;
    return top > 0.0 ? 1 : top < 0.0 ? -1 : 0;
  }

private:
  // a + b = sum + error exactly, for any finite a and b.
  static double TwoSum(double a, double b, double& error)
  {
    const double sum = a + b;
    const double bVirtual = sum - a;
    error = (a - (sum - bVirtual)) + (b - bVirtual);
    return sum;
  }

  double mParts[Capacity] = {};
  int mCount = 0;
};
