#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "dsp/ClipTable.h"
#include "tests/effects/Quarry/reference_quarry.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

TEST(Clip, ZeroKeepsItsSign)
{
  EXPECT_EQ(0.0, Clip(0.0));
  EXPECT_FALSE(std::signbit(Clip(0.0)));
  EXPECT_EQ(0.0, Clip(-0.0));
  EXPECT_TRUE(std::signbit(Clip(-0.0)));
}

TEST(Clip, ReadsTheTableOfItsSignAndInterpolates)
{
  EXPECT_EQ(static_cast<double>(0.0020053312f), Clip(1 / kClipScale));
  EXPECT_EQ(static_cast<double>(-0.0020033326f), Clip(-1 / kClipScale));
  // Halfway between two entries gives their mean.
  EXPECT_NEAR((static_cast<double>(0.0020053312f) + 0.0077734366f) / 2, Clip(1.5 / kClipScale), 1e-15);
  EXPECT_NEAR((static_cast<double>(-0.6519836f) + -0.6519733f) / 2, Clip(-81.5 / kClipScale), 1e-15);
  // The curve is asymmetric: positive peaks near +0.84, negative near -0.65.
  EXPECT_EQ(static_cast<double>(0.8448719f), Clip(89 / kClipScale));
  EXPECT_EQ(static_cast<double>(-0.651986f), Clip(-80 / kClipScale));
}

TEST(Clip, HoldsTheLastEntryBeyondTheTable)
{
  for (double v : {199 / kClipScale, 1.41, 2.0, 100.0, 1e7}) {
    EXPECT_EQ(0.8333333134651184, Clip(v)) << v;
    EXPECT_EQ(-0.6419922709465027, Clip(-v)) << v;
  }
  // Just below the last entry still interpolates towards it.
  EXPECT_GT(Clip(198.5 / kClipScale), 0.8333333134651184);
}

TEST(Clip, UnindexableInputsGiveASignedZero)
{
  EXPECT_EQ(0.0, Clip(kNaN));
  EXPECT_EQ(0.0, Clip(kInf));
  EXPECT_TRUE(std::signbit(Clip(-kInf)));
  EXPECT_EQ(0.0, Clip(-kInf));
  // Too large for a 32-bit index.
  EXPECT_EQ(0.0, Clip(1e8));
  EXPECT_EQ(0.0, Clip(-1e300));
  // The largest magnitude that still indexes holds the last entry.
  EXPECT_EQ(0.8333333134651184, Clip(2147483647.0 / kClipScale));
}

// Both lanes at once, each with its own sign, position and kind of input,
// give what each would alone.
TEST(Clip, LanesAreIndependent)
{
  const double values[] = {0.0,  -0.0,  0.3,    -0.3,   1 / kClipScale, -81.5 / kClipScale,
                           1.39, -1.4,  5.0,    -1e7,   1e300,          kNaN,
                           kInf, -kInf, 2e-308, -1e-310};
  for (double left : values) {
    for (double right : values) {
      const StereoPair both = ClipLanes(Pack(left, right));
      const double expectedLeft = ref::Clip(left), expectedRight = ref::Clip(right);
      ASSERT_EQ(expectedLeft, Left(both)) << left << " | " << right;
      ASSERT_EQ(std::signbit(expectedLeft), std::signbit(Left(both))) << left << " | " << right;
      ASSERT_EQ(expectedRight, Right(both)) << left << " | " << right;
      ASSERT_EQ(std::signbit(expectedRight), std::signbit(Right(both))) << left << " | " << right;
    }
  }
}

TEST(Clip, MatchesThePlainModelEverywhere)
{
  for (int k = -300000; k <= 300000; ++k) {
    const double v = k * 1e-5 + k * 3.3e-12;
    const double expected = ref::Clip(v);
    const double got = Clip(v);
    ASSERT_EQ(std::signbit(expected), std::signbit(got)) << v;
    ASSERT_EQ(expected, got) << v;
  }
}

}  // namespace
