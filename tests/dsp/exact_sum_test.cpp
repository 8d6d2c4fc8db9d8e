#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "dsp/ExactSum.h"

namespace {

template <int N>
ExactSum<N> SumOf(const double (&terms)[N])
{
  ExactSum<N> sum;
  for (double t : terms) sum.Add(t);
  return sum;
}

// Sums whose terms cancel far below the rounding of a plain left-to-right
// sum, where that sum gets the sign wrong or loses the result.
TEST(ExactSum, KeepsWhatCancellationHides)
{
  const double lost[] = {1e16, 1.0, -1e16};
  EXPECT_EQ(0.0, (1e16 + 1.0) + -1e16);  // the plain sum
  EXPECT_EQ(1, SumOf(lost).Sign());
  EXPECT_EQ(1.0, SumOf(lost).Value());

  const double tiny[] = {1e300, -DBL_TRUE_MIN, -1e300};
  EXPECT_EQ(-1, SumOf(tiny).Sign());
  EXPECT_EQ(-DBL_TRUE_MIN, SumOf(tiny).Value());

  // Six terms of alternating sign up to 2^18 whose sum is one unit in the
  // last place of the smallest: 2^-38.
  const double ulp = std::ldexp(1.0, -38);
  const double six[] = {25589.75, -126028.5, 248249.25, -244480.0, 120373.25, -23703.75 + ulp};
  EXPECT_EQ(1, SumOf(six).Sign());
  EXPECT_EQ(ulp, SumOf(six).Value());
}

TEST(ExactSum, ZeroEmptyAndNonFinite)
{
  EXPECT_EQ(0, ExactSum<3>().Sign());
  EXPECT_EQ(0.0, ExactSum<3>().Value());
  const double zero[] = {0.5, -0.25, -0.25};
  EXPECT_EQ(0, SumOf(zero).Sign());
  EXPECT_EQ(0.0, SumOf(zero).Value());
  const double withNaN[] = {1.0, std::numeric_limits<double>::quiet_NaN(), 2.0};
  EXPECT_TRUE(std::isnan(SumOf(withNaN).Value()));
  EXPECT_EQ(0, SumOf(withNaN).Sign());
  const double overflow[] = {DBL_MAX, DBL_MAX};
  EXPECT_FALSE(std::isfinite(SumOf(overflow).Value()));
}

}  // namespace
