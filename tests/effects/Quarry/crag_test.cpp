#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "effects/Quarry/CragA.h"
#include "effects/Quarry/CragB.h"
#include "tests/effects/Quarry/reference_quarry.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

template <class Stage, class RefStage, int Order>
void ExpectSameCoefficients(const Stage& stage, const RefStage& model)
{
  for (int i = 0; i <= Order; ++i) {
    EXPECT_EQ(model.a[i], stage.a[i]) << "a" << i;
    EXPECT_EQ(model.b[i], stage.b[i]) << "b" << i;
  }
  for (int i = Order + 1; i < 7; ++i) {
    EXPECT_EQ(0.0, stage.a[i]);
    EXPECT_EQ(0.0, stage.b[i]);
  }
}

bool HasSubnormal(const CragRecord& r)
{
  for (int i = 0; i < 6; ++i)
    if (std::fpclassify(r.pastIn[i]) == FP_SUBNORMAL || std::fpclassify(r.pastOut[i]) == FP_SUBNORMAL)
      return true;
  return false;
}

TEST(CragA, CoefficientsAt44100AndPosition03)
{
  CragA a;
  a.Calc(44100.0, 0.3);
  EXPECT_NEAR(-0.136984, a.b[0], 1e-6);
  EXPECT_NEAR(0.133153, a.b[1], 1e-6);
  EXPECT_NEAR(0.144644, a.b[2], 1e-6);
  EXPECT_NEAR(-0.140814, a.b[3], 1e-6);
  // No DC passes: the numerator sums to exactly zero.
  EXPECT_EQ(0.0, a.b[0] + a.b[1] + a.b[2] + a.b[3]);
}

// Coefficients must come out bit-identical to evaluating every polynomial in
// full, however the sample rate and position move between calls.
TEST(Crag, CoefficientsMatchFullEvaluationAcrossRateChanges)
{
  CragA a;
  CragB b;
  ref::StageA ra;
  ref::StageB rb;
  const double rates[] = {44100.0, 96000.0, 44100.0, 48000.0, 8000.0, 192000.0, 22050.0};
  const double pots[] = {0.0, 0.3, 0.7, 1.0, 0.123456789, 1e-9};
  for (double fs : rates) {
    for (double p : pots) {
      a.Calc(fs, p);
      ra.Calc(fs, p);
      ExpectSameCoefficients<CragA, ref::StageA, 3>(a, ra);
      b.Calc(fs, p);
      rb.Calc(fs, p);
      ExpectSameCoefficients<CragB, ref::StageB, 5>(b, rb);
    }
  }
}

TEST(Crag, ZeroInputFromRestGivesZero)
{
  CragA a;
  CragB b;
  for (int i = 0; i < 100; ++i) {
    a.Calc(44100.0, 0.3);
    b.Calc(44100.0, 0.7);
    EXPECT_EQ(0.0, a.Process(0.0));
    EXPECT_EQ(0.0, b.Process(0.0));
  }
}

// Runs both a stage and its plain model over a signal with the given
// control position and expects identical results sample for sample.
template <class Stage, class RefStage>
void ExpectSameProcessing(Stage& stage, RefStage& model, double fs, double pot, int n, double amplitude)
{
  for (int i = 0; i < n; ++i) {
    const double x = amplitude * std::sin(i * 0.031) + 0.3 * amplitude * std::sin(i * 0.17);
    stage.Calc(fs, pot);
    model.Calc(fs, pot);
    ASSERT_EQ(model.Process(x), stage.Process(x)) << i;
  }
}

TEST(Crag, ProcessingMatchesThePlainModel)
{
  CragA a;
  CragB b;
  ref::StageA ra;
  ref::StageB rb;
  ExpectSameProcessing(a, ra, 44100.0, 0.3, 20000, 0.8);
  ExpectSameProcessing(a, ra, 96000.0, 0.9, 20000, 3.0);
  ExpectSameProcessing(b, rb, 44100.0, 0.7, 20000, 0.8);
  ExpectSameProcessing(b, rb, 96000.0, 0.1, 20000, 3.0);
  // The filter keeps its unclipped output; the clipper only shapes what
  // leaves the first stage.
  EXPECT_EQ(a.out, a.pastOut[0]);
  EXPECT_EQ(ra.y1[0], a.out);
  EXPECT_EQ(b.in, b.pastIn[0]);
}

// A non-finite sample must not silence the stage for good: the histories
// are cleared and the following samples run as in a stage started afresh.
template <class Stage>
void ExpectRecoveryAfter(double poison, double poisonPot)
{
  Stage used;
  Stage fresh;
  for (int i = 0; i < 500; ++i) {
    used.Calc(44100.0, 0.4);
    used.Process(0.9 * std::sin(i * 0.05));
  }
  used.Calc(44100.0, poisonPot);
  const double atFault = used.Process(poison);
  EXPECT_EQ(0.0, atFault);
  for (int i = 0; i < 2000; ++i) {
    const double x = 0.7 * std::sin(i * 0.013);
    used.Calc(44100.0, 0.4);
    fresh.Calc(44100.0, 0.4);
    ASSERT_EQ(fresh.Process(x), used.Process(x)) << i;
  }
}

TEST(Crag, RecoversFromNonFiniteFilterOutput)
{
  ExpectRecoveryAfter<CragA>(kNaN, 0.4);
  ExpectRecoveryAfter<CragA>(kInf, 0.4);
  ExpectRecoveryAfter<CragA>(-kInf, 0.4);
  // Coefficients that overflow.
  ExpectRecoveryAfter<CragA>(0.5, 1e306);
  // The second stage clips its input, so only unusable coefficients make
  // its filter overflow.
  ExpectRecoveryAfter<CragB>(0.5, 1e306);
  ExpectRecoveryAfter<CragB>(0.5, kNaN);
}

// After the input falls silent the first stage decays into subnormal numbers
// (and would stay there for ever); its state is flushed to zero instead,
// while everything audible stays identical.
TEST(Crag, SilenceDecaysToZeroNotToSubnormals)
{
  CragA a;
  ref::StageA ra;
  const double fs = 44100.0;
  bool modelWentSubnormal = false;
  for (int i = 0; i < 60 * 44100; ++i) {
    const double x = i < 44100 ? 0.5 * std::sin(i * 0.0314) : 0.0;
    a.Calc(fs, 0.3);
    ra.Calc(fs, 0.3);
    const double expected = ra.Process(x);
    const double got = a.Process(x);
    for (int k = 0; k < 3; ++k) modelWentSubnormal |= std::fpclassify(ra.y1[k]) == FP_SUBNORMAL;
    if (!modelWentSubnormal) {
      ASSERT_EQ(expected, got) << i;
    } else {
      ASSERT_LT(std::fabs(expected), 1e-300) << i;
      ASSERT_LT(std::fabs(got), 1e-300) << i;
    }
    ASSERT_FALSE(HasSubnormal(a)) << i;
  }
  EXPECT_TRUE(modelWentSubnormal);
  // Ours came to rest.
  for (int k = 0; k < 6; ++k) EXPECT_EQ(0.0, a.pastOut[k]);

  // A subnormal input is taken as zero as well.
  CragB b;
  b.Calc(fs, 0.7);
  b.Process(DBL_MIN / 8);
  EXPECT_EQ(0.0, b.in);
}

}  // namespace
