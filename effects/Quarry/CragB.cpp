#include "effects/Quarry/CragB.h"

#include <algorithm>

#include "dsp/DifferenceEquation.h"
#include "dsp/ExactSum.h"

namespace {

// Numerator i = (((n4*K + n3)*K + n2)*K + n1)*K + ((((m4*K + m3)*K + m2)*K + m1)*K + m0) * p*K.
// Rows hold n4, n3, n2, n1.
// clang-format off
const double kNumRate[6][4] = {
    {2.24205157408878e-22, -6.42779499791538e-16, -2.98063672678786e-12, -9.93543877196529e-16},
    {-6.72615472226634e-22, 6.42779499791538e-16, -2.98063672678786e-12, -2.98063163158959e-15},
    {4.48410314817756e-22, 1.28555899958308e-15, 5.96127345357571e-12, -1.98708775439306e-15},
    {4.48410314817756e-22, -1.28555899958308e-15, 5.96127345357571e-12, 1.98708775439306e-15},
    {-6.72615472226634e-22, -6.42779499791538e-16, -2.98063672678786e-12, 2.98063163158959e-15},
    {2.24205157408878e-22, 6.42779499791538e-16, -2.98063672678786e-12, 9.93543877196529e-16},
};
// Rows hold m4, m3, m2, m1, m0.
const double kNumPot[6][5] = {
    {9.53313267722789e-26, -2.73749167544057e-19, -8.17403721900593e-19, 2.34695788360817e-12, 7.82318013540574e-16},
    {-4.76656633861394e-25, 8.21247502632172e-19, 8.17403721900593e-19, 2.34695788360817e-12, 2.34695404062172e-15},
    {9.53313267722788e-25, -5.47498335088115e-19, 1.63480744380119e-18, -4.69391576721635e-12, 1.56463602708115e-15},
    {-9.53313267722788e-25, -5.47498335088115e-19, -1.63480744380119e-18, -4.69391576721635e-12, -1.56463602708115e-15},
    {4.76656633861394e-25, 8.21247502632172e-19, -8.17403721900593e-19, 2.34695788360817e-12, -2.34695404062172e-15},
    {-9.53313267722789e-26, -2.73749167544057e-19, 8.17403721900593e-19, 2.34695788360817e-12, -7.82318013540574e-16},
};
// Denominator i = ((((d5*K + d4)*K + d3)*K + d2)*K + d1)*K + d0; rows hold d5 ... d0.
const double kDen[6][6] = {
    {2.9508950463977e-24, 4.33449282807242e-20, 1.59223506857941e-16, 1.72084904496743e-13, 4.1511076368568e-11, 1.38328998631746e-14},
    {-1.47544752319885e-23, -1.30034784842173e-19, -1.59223506857941e-16, 1.72084904496743e-13, 1.24533229105704e-10, 6.91644993158731e-14},
    {2.9508950463977e-23, 8.66898565614484e-20, -3.18447013715883e-16, -3.44169808993486e-13, 8.30221527371361e-11, 1.38328998631746e-13},
    {-2.9508950463977e-23, 8.66898565614484e-20, 3.18447013715883e-16, -3.44169808993486e-13, -8.30221527371361e-11, 1.38328998631746e-13},
    {1.47544752319885e-23, -1.30034784842173e-19, 1.59223506857941e-16, 1.72084904496743e-13, -1.24533229105704e-10, 6.91644993158731e-14},
    {-2.9508950463977e-24, 4.33449282807242e-20, -1.59223506857941e-16, 1.72084904496743e-13, -4.1511076368568e-11, 1.38328998631746e-14},
};
// clang-format on

// The denominator at z = 1, that is at DC. Every power of K cancels there,
// so at any rate it is the sum of the constant terms: a small positive value
// that holds the slowest pole just inside the unit circle, at a corner of
// about 0.1 mHz. (The numerator has no constant term and vanishes at DC.)
double DenominatorAtDcByDesign()
{
  double sum = 0.0;
  for (const double* d : kDen) sum += d[5];
  return sum;
}

const double kDenominatorAtDc = DenominatorAtDcByDesign();

// Whether the coefficients as rounded to double keep the slowest pole inside
// the unit circle: their exact sum, the denominator at DC, must be positive.
bool HoldsSlowestPoleInside(const double* a)
{
  ExactSum<6> atDc;
  for (int i = 0; i < 6; ++i) atDc.Add(a[i]);
  return atDc.Sign() > 0 || !std::isfinite(atDc.Value());
}

// sums[k] = c[0] + ... + c[k] for k = 0 to 4, in extended precision.
void PrefixSums(const double* c, long double* sums)
{
  long double sum = 0.0L;
  for (int k = 0; k < 5; ++k) sums[k] = sum += c[k];
}

}  // namespace

void CragB::SetRate(double K)
{
  mRate = K;
  for (int i = 0; i < 6; ++i) {
    const double* n = kNumRate[i];
    const double* m = kNumPot[i];
    const double* d = kDen[i];
    mNumRate[i] = (((n[0] * K + n[1]) * K + n[2]) * K + n[3]) * K;
    mNumPot[i] = (((m[0] * K + m[1]) * K + m[2]) * K + m[3]) * K + m[4];
    a[i] = ((((d[0] * K + d[1]) * K + d[2]) * K + d[3]) * K + d[4]) * K + d[5];
  }
  // The powers of K cancel at DC only up to rounding, and those errors grow
  // with K^5: from about 110 kHz up they can outweigh the design value, and
  // the slowest pole moves onto or outside the unit circle, where a DC
  // offset grows without bound. Nudging the coefficients cannot help:
  // rounding in every step of the recursion moves the pole as much. Those
  // rates run the DC-exact form; all others keep their arithmetic bit for
  // bit. A change of form starts from silence: the histories of one form
  // (and of another rate) do not fit the other.
  const bool dcExact = !HoldsSlowestPoleInside(a);
  if (dcExact != mDcExact) ClearHistories();
  mDcExact = dcExact;
  if (mDcExact) SetDcExactDenominator();
}

// With q and p the prefix sums of a and b, the denominator is
// (1 - z^-1) Q(z) + A(1) z^-5 and the numerator (1 - z^-1) P(z) + B(1) z^-5.
// The DC-exact form sets A(1) and B(1) to their design values and runs on
// differences of successive samples: the large coefficients multiply small
// differences, and the slowest pole depends on A(1) alone.
void CragB::SetDcExactDenominator() { PrefixSums(a, mDenSums); }

void CragB::SetDcExactNumerator() { PrefixSums(b, mNumSums); }

long double CragB::DenominatorAtDc() const
{
  if (mDcExact) return kDenominatorAtDc;
  long double sum = 0.0L;
  for (int i = 0; i < 6; ++i) sum += a[i];
  return sum;
}

double CragB::ProcessDcExact(double u)
{
  // q0 (y - y1) = sum of p[k] (x[k] - x[k+1]) - sum of q[k] (y[k] - y[k+1]) - A(1) y5,
  // with x = u, x1, ... x5 and y1 ... y5 the past values.
  in = u;
  const double* x = pastIn;
  const long double* y = mPastOutX;
  long double sum = mNumSums[0] * (static_cast<long double>(u) - x[0]);
#pragma GCC unroll 4
  for (int k = 1; k < 5; ++k) sum += mNumSums[k] * (static_cast<long double>(x[k - 1]) - x[k]);
#pragma GCC unroll 4
  for (int k = 1; k < 5; ++k) sum -= mDenSums[k] * (y[k - 1] - y[k]);
  sum -= kDenominatorAtDc * y[4];
  long double next = y[0] + sum / mDenSums[0];
  double rounded = static_cast<double>(next);
  if (rounded != 0.0 && !IsNormalNumber(rounded)) {
    std::fill(mPastOutX, mPastOutX + 5, 0.0L);
    // A non-finite filter output gives silence for this sample.
    if (!RestartFromSilence(rounded)) return 0.0;
    next = rounded;
  }
  out = rounded;
  ShiftHistories<5>(pastIn, pastOut, u, rounded);
#pragma GCC unroll 4
  for (int i = 4; i > 0; --i) mPastOutX[i] = mPastOutX[i - 1];
  mPastOutX[0] = next;
  return rounded;
}

void CragB::ClearHistories()
{
  CragRecord::ClearHistories();
  std::fill(mPastOutX, mPastOutX + 5, 0.0L);
}
