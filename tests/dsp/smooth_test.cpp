#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "dsp/Smooth.h"

namespace {

TEST(Denormal, ClassifiesEveryKindOfDouble)
{
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (double v : {1.0, -1.0, DBL_MIN, -DBL_MIN, DBL_MAX, -DBL_MAX, 1e-300, 3e300}) {
    EXPECT_TRUE(IsNormalNumber(v)) << v;
    EXPECT_EQ(v, FlushDenormal(v));
  }
  for (double v : {0.0, -0.0, DBL_MIN / 2, -DBL_MIN / 2, DBL_TRUE_MIN, inf, -inf, nan})
    EXPECT_FALSE(IsNormalNumber(v)) << v;
  EXPECT_EQ(0.0, FlushDenormal(DBL_MIN / 2));
  EXPECT_TRUE(std::signbit(FlushDenormal(-DBL_TRUE_MIN)));
  EXPECT_EQ(0.0, FlushDenormal(-DBL_TRUE_MIN));
  EXPECT_TRUE(std::isinf(FlushDenormal(inf)));
}

TEST(Smooth, GlidesTowardsTheTargetWithA1HzPole)
{
  const double b = Smooth::Pole(44100.0);
  EXPECT_NEAR(0.9998575, b, 1e-7);
  Smooth s;
  // A fresh smoother passes the target straight through.
  EXPECT_EQ(0.25, s.Process(0.25));
  s.z = 0.0;
  s.SetPole(b);
  EXPECT_EQ(1.0 - b, s.a0);
  const double first = s.Process(1.0);
  EXPECT_EQ((1.0 - b) * 1.0, first);
  EXPECT_EQ((1.0 - b) * 1.0 + b * first, s.Process(1.0));
  // One second of steps covers 1 - 1/e of the way.
  for (int i = 2; i < 44100; ++i) s.Process(1.0);
  EXPECT_NEAR(1.0 - std::exp(-2 * M_PI), s.z, 1e-4);
}

TEST(Smooth, NonFiniteStepsRestartFromZero)
{
  Smooth s;
  s.SetPole(Smooth::Pole(44100.0));
  for (int i = 0; i < 1000; ++i) s.Process(0.5);
  EXPECT_EQ(0.0, s.Process(std::numeric_limits<double>::quiet_NaN()));
  // Recovers once the target is a number again.
  EXPECT_GT(s.Process(0.5), 0.0);
  // A pole computed from an unusable sample rate keeps the state finite.
  s.SetPole(Smooth::Pole(-1e-9));
  ASSERT_TRUE(std::isinf(s.b1));
  EXPECT_EQ(0.0, s.Process(0.5));
}

TEST(Smooth, DecayFlushesSubnormalStateToZero)
{
  Smooth s;
  s.SetPole(0.5);
  s.z = 1.0;
  int steps = 0;
  while (s.z != 0.0 && steps < 2000) {
    s.Process(0.0);
    ASSERT_NE(FP_SUBNORMAL, std::fpclassify(s.z)) << steps;
    ++steps;
  }
  EXPECT_EQ(0.0, s.z);
  // Normal values are left alone.
  s.z = DBL_MIN * 4;
  s.Process(0.0);
  EXPECT_EQ(DBL_MIN * 2, s.z);
}

}  // namespace
