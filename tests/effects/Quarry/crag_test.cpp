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

// The pair of stages run in step restarts each lane exactly as that lane's
// own stage does: a lane whose filter output is NaN, infinite or subnormal,
// next to a lane that is healthy or faulty in another way. Outputs and the
// whole records agree bit for bit, at the fault and afterwards.
enum class Fault { kNone, kNaN, kInf, kSubnormal };

template <class Stage>
void Prepare(Stage& stage, double pot, Fault fault, int seed)
{
  stage.Calc(44100.0, pot);
  for (int i = 0; i < 300; ++i) stage.Process(0.6 * std::sin(i * 0.07 + seed));
  switch (fault) {
    case Fault::kNone:
      break;
    case Fault::kNaN:
      stage.pastOut[1] = kNaN;
      break;
    case Fault::kInf:
      stage.pastIn[2] = kInf;
      break;
    case Fault::kSubnormal:
      stage.ClearHistories();
      stage.pastOut[0] = DBL_MIN / 10;
      break;
  }
}

bool SameRecord(const CragRecord& a, const CragRecord& b)
{
  bool same = SameBits(a.in, b.in) && SameBits(a.out, b.out);
  for (int i = 0; i < 6; ++i)
    same = same && SameBits(a.pastIn[i], b.pastIn[i]) && SameBits(a.pastOut[i], b.pastOut[i]);
  return same;
}

template <class Stage, class Pair>
void ExpectPairFollowsItsStages(double pot, Fault leftFault, Fault rightFault)
{
  Stage left, right;
  Prepare(left, pot, leftFault, 1);
  Prepare(right, pot, rightFault, 2);
  Stage pairedLeft = left, pairedRight = right;
  Pair pair(pairedLeft, pairedRight);
  for (int i = 0; i < 40; ++i) {
    // Silence at the fault, so the subnormal case's only signal is its past.
    const double xl = i == 0 ? 0.0 : 0.5 * std::sin(i * 0.11);
    const double xr = i == 0 ? 0.0 : -0.4 * std::cos(i * 0.09);
    left.Calc(44100.0, pot);
    right.Calc(44100.0, pot);
    pair.Calc(44100.0, pot, pot);
    const double wantL = left.Process(xl), wantR = right.Process(xr);
    const StereoPair got = pair.Process(Pack(xl, xr));
    ASSERT_TRUE(SameBits(wantL, Left(got))) << i << ": " << wantL << " " << Left(got);
    ASSERT_TRUE(SameBits(wantR, Right(got))) << i << ": " << wantR << " " << Right(got);
    if (i == 0) {
      // Each faulty stage did restart from silence.
      if (leftFault != Fault::kNone) {
        EXPECT_EQ(0.0, left.pastOut[1]);
      }
      if (rightFault != Fault::kNone) {
        EXPECT_EQ(0.0, right.pastOut[1]);
      }
    }
  }
  pair.Store();
  EXPECT_TRUE(SameRecord(left, pairedLeft));
  EXPECT_TRUE(SameRecord(right, pairedRight));
}

TEST(Crag, PairsRestartEachLaneAsItsOwnStageDoes)
{
  const Fault faults[] = {Fault::kNone, Fault::kNaN, Fault::kInf, Fault::kSubnormal};
  for (Fault l : faults) {
    for (Fault r : faults) {
      SCOPED_TRACE(testing::Message() << "left " << static_cast<int>(l) << ", right " << static_cast<int>(r));
      ExpectPairFollowsItsStages<CragA, CragAPair>(0.3, l, r);
      ExpectPairFollowsItsStages<CragB, CragBPair>(0.7, l, r);
    }
  }
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
