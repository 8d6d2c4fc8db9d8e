// The second stage's slowest pole across the sample rates hosts use: where
// it lies, and what a half-hour of signal does with it. A test binary of its
// own, as the long runs take a while.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "dsp/Smooth.h"
#include "effects/Quarry/CragA.h"
#include "effects/Quarry/CragB.h"

namespace {

using Quad = __float128;

Quad Abs(Quad v) { return v < 0 ? -v : v; }

// The denominator's value at DC as designed: the sum of its constant terms,
// the same at every rate.
const double kDesignDc[6] = {1.38328998631746e-14, 6.91644993158731e-14, 1.38328998631746e-13,
                             1.38328998631746e-13, 6.91644993158731e-14, 1.38328998631746e-14};

Quad DesignDenominatorAtDc()
{
  Quad sum = 0;
  for (double v : kDesignDc) sum += v;
  return sum;
}

// The exact sum of six doubles of like magnitude fits a 113-bit significand.
Quad SumAtDc(const double* c)
{
  Quad sum = 0;
  for (int i = 0; i < 6; ++i) sum += c[i];
  return sum;
}

// Schur-Cohn: whether every root of c[0] z^5 + c[1] z^4 + ... + c[5], that
// is every pole of 1 / (c[0] + c[1] z^-1 + ... + c[5] z^-5), lies strictly
// inside the unit circle.
bool PolesInsideUnitCircle(std::vector<Quad> c)
{
  while (c.size() > 1) {
    const size_t n = c.size() - 1;
    if (Abs(c[n]) >= Abs(c[0])) return false;
    const Quad k = c[n] / c[0];
    std::vector<Quad> next(n);
    for (size_t i = 0; i < n; ++i) next[i] = c[i] - k * c[n - i];
    c = next;
  }
  return true;
}

std::vector<double> SampleRates()
{
  std::vector<double> rates = {8000,  11025, 16000,  22050,  32000,  44100, 48000,
                               88200, 96000, 176400, 192000, 352800, 384000};
  for (double fs = 8000; fs <= 384000; fs += 250) rates.push_back(fs);
  return rates;
}

TEST(CragBStability, ThePlainCoefficientsLoseTheSlowestPoleAtHighRates)
{
  // The fault the DC-exact form exists for, seen by the oracle of the tests
  // below: the design rounded to double is stable at 96 kHz, not at 192 kHz.
  for (double fs : {96000.0, 192000.0}) {
    CragB stage;
    stage.Calc(fs, 0.7);
    const bool inside = SumAtDc(stage.a) > 0;
    EXPECT_EQ(fs < 100000, inside) << fs;
    EXPECT_EQ(inside, PolesInsideUnitCircle(std::vector<Quad>(stage.a, stage.a + 6))) << fs;
  }
}

// At every rate the denominator is positive at DC. Where the coefficients
// rounded to double keep it so, the stage runs them unchanged; elsewhere
// it runs the DC-exact form, whose value there is the design's.
TEST(CragBStability, DenominatorAtDcIsPositiveFrom8To384kHz)
{
  int dcExactRates = 0;
  for (double fs = 8000; fs <= 384000; fs += 1) {
    CragB stage;
    stage.Calc(fs, 0.5);
    const bool plainInside = SumAtDc(stage.a) > 0;
    ASSERT_EQ(!plainInside, stage.DcExact()) << fs;
    ASSERT_GT(stage.DenominatorAtDc(), 0.0L) << fs;
    if (stage.DcExact()) {
      const long double design = static_cast<long double>(DesignDenominatorAtDc());
      ASSERT_NEAR(design, stage.DenominatorAtDc(), design * 1e-15) << fs;
      ++dcExactRates;
    }
  }
  EXPECT_GT(dcExactRates, 200000);
  for (double fs : {8000.0, 44100.0, 48000.0, 88200.0, 96000.0}) {
    CragB stage;
    stage.Calc(fs, 0.7);
    EXPECT_FALSE(stage.DcExact()) << fs;
  }
}

// Every pole lies inside: the plain polynomial where the stage runs it, and
// the same polynomial with its value at DC set to the design's where the
// stage runs the DC-exact form.
TEST(CragBStability, PolesLieInsideTheUnitCircleFrom8To384kHz)
{
  for (double fs : SampleRates()) {
    CragB stage;
    stage.Calc(fs, 0.3);
    std::vector<Quad> den(stage.a, stage.a + 6);
    if (stage.DcExact()) den[5] += DesignDenominatorAtDc() - SumAtDc(stage.a);
    ASSERT_TRUE(PolesInsideUnitCircle(den)) << fs;
  }
}

// Mean of the second stage's output over each minute of a half-hour run at
// the given rate, driven as in a freshly opened effect: its control position
// glides from 0 to the default 0.7, and its input is a 1 kHz sine at
// -10 dBFS raised by 10 dB and run through the first stage at its default
// position (one second of that, taken after a second of warm-up, played in
// a loop). The glide leaves an offset for the slowest pole to carry.
std::vector<double> MinuteMeans(double fs)
{
  const int second = static_cast<int>(fs);
  CragA first;
  std::vector<double> feed(static_cast<size_t>(second));
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < second; ++i) {
      first.Calc(fs, 0.3);
      feed[i] = first.Process(std::sin(2 * M_PI * 1000.0 * i / fs));
    }
  }
  CragB stage;
  Smooth position;
  position.SetPole(Smooth::Pole(fs));
  std::vector<double> means;
  for (int minute = 0; minute < 30; ++minute) {
    double sum = 0;
    for (int s = 0; s < 60; ++s) {
      for (int i = 0; i < second; ++i) {
        stage.Calc(fs, position.Process(0.7));
        sum += stage.Process(feed[i]);
      }
    }
    means.push_back(sum / (60.0 * fs));
  }
  return means;
}

// Minute by minute, the mean stays within that of 44.1 kHz: the offset dies
// away as slowly, and nothing builds up. (The rates sample the sine
// differently, hence a margin of 2%.)
void ExpectMeanWithinThatOf44k(double fs)
{
  const std::vector<double> reference = MinuteMeans(44100);
  const std::vector<double> means = MinuteMeans(fs);
  for (int m = 0; m < 30; ++m)
    EXPECT_LE(std::fabs(means[m]), 1.02 * std::fabs(reference[m]))
        << "minute " << m << ": " << means[m] << " against " << reference[m] << " at 44.1 kHz";
  EXPECT_LT(std::fabs(means[29]), std::fabs(means[0]));
}

TEST(CragBStability, HalfAnHourAt192kHzKeepsTheMeanOf44kHz) { ExpectMeanWithinThatOf44k(192000); }

TEST(CragBStability, HalfAnHourAt384kHzKeepsTheMeanOf44kHz) { ExpectMeanWithinThatOf44k(384000); }

}  // namespace
