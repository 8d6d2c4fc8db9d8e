#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "dsp/SameBits.h"
#include "dsp/StereoPair.h"

namespace {

double FromBits(std::uint64_t bits)
{
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

// The classes the filters restart on, from the standard library.
bool Abnormal(double v)
{
  const int c = std::fpclassify(v);
  return c == FP_SUBNORMAL || c == FP_INFINITE || c == FP_NAN;
}

// The edges of every class, and every exponent with seeded mantissas and
// signs.
std::vector<double> Values()
{
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::vector<double> v = {0.0,
                           -0.0,
                           1.0,
                           -1.0,
                           DBL_MIN,
                           -DBL_MIN,
                           std::nextafter(DBL_MIN, 0.0),
                           DBL_TRUE_MIN,
                           -DBL_TRUE_MIN,
                           DBL_MAX,
                           -DBL_MAX,
                           inf,
                           -inf,
                           nan,
                           -nan,
                           std::numeric_limits<double>::signaling_NaN(),
                           FromBits(0x7ff0000000000001ull),
                           FromBits(0x000fffffffffffffull),
                           FromBits(0x0000000100000000ull),
                           FromBits(0x00000000ffffffffull)};
  std::mt19937_64 random(20261208);
  for (std::uint64_t exponent = 0; exponent < 2048; ++exponent) {
    const std::uint64_t mantissa = random() & 0x000fffffffffffffull;
    const std::uint64_t sign = random() & 1;
    v.push_back(FromBits(sign << 63 | exponent << 52 | mantissa));
  }
  return v;
}

TEST(StereoPair, AnAbnormalLaneIsFoundInEitherLaneNextToAnyOther)
{
  const std::vector<double> values = Values();
  const double normals[] = {0.5, -0.0, 0.0, -3e-200};
  for (double v : values) {
    for (double other : normals) {
      ASSERT_EQ(Abnormal(v), AnyAbnormalLane(Pack(v, other))) << v << " left of " << other;
      ASSERT_EQ(Abnormal(v), AnyAbnormalLane(Pack(other, v))) << v << " right of " << other;
    }
  }
  // Both lanes of every kind at once.
  for (std::size_t i = 0; i < 20; ++i) {
    for (std::size_t j = 0; j < 20; ++j) {
      ASSERT_EQ(Abnormal(values[i]) || Abnormal(values[j]), AnyAbnormalLane(Pack(values[i], values[j])))
          << values[i] << " and " << values[j];
    }
  }
}

TEST(StereoPair, FlushingLeavesEverythingButSubnormalsWhichKeepTheirSign)
{
  for (double v : Values()) {
    const double want = std::fpclassify(v) == FP_SUBNORMAL ? std::copysign(0.0, v) : v;
    const StereoPair got = FlushDenormalLanes(Pack(v, -v));
    ASSERT_TRUE(SameBits(want, Left(got))) << v;
    const double wantRight = std::fpclassify(-v) == FP_SUBNORMAL ? std::copysign(0.0, -v) : -v;
    ASSERT_TRUE(SameBits(wantRight, Right(got))) << -v;
  }
}

}  // namespace
