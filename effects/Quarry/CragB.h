#pragma once
// Second distortion stage: the clipper followed by a fifth-order recursive
// filter whose coefficients follow the sample rate and a control position.
// The filter's slowest pole lies a hair inside the unit circle, all but
// cancelled by a zero at DC; at the rates where double precision cannot
// hold it there, the filter runs in a form that keeps it (see SetRate).
// Owned by the effect and run from its processing path under the plug-in
// mutex; not safe for concurrent use.

#include <cmath>
#include <limits>

#include "dsp/AlwaysInline.h"
#include "dsp/ClipTable.h"
#include "dsp/Denormal.h"
#include "dsp/SameBits.h"
#include "effects/Quarry/CragPair.h"
#include "effects/Quarry/CragRecord.h"

class CragB : public CragRecord {
public:
  CragB() = default;

  // Coefficients for sampleRate (Hz) and control position pot (0..1).
  // Called before every Process.
  void Calc(double sampleRate, double pot);

  // Runs one sample; returns the filter output.
  double Process(double x);

  // Starts the filter from silence; the coefficients stay.
  void ClearHistories();

  // Whether the filter runs in the DC-exact extended-precision form: at the
  // rates where the coefficients rounded to double put its slowest pole on
  // or outside the unit circle (at many rates from about 110 kHz up).
  bool DcExact() const { return mDcExact; }
  // Value of the denominator at DC (z = 1) that the filter runs with.
  long double DenominatorAtDc() const;

private:
  template <class, int, bool>
  friend class CragPair;

  // The numerators' position term is pot * PotScale().
  double PotScale() const { return mRate; }

  // The parts of the coefficient polynomials that depend on the sample
  // rate alone (the whole denominator among them); recomputed only when the
  // rate changes, which leaves every coefficient bit-identical to a full
  // evaluation.
  void SetRate(double K);
  // The DC-exact form: the coefficients regrouped about DC in extended
  // precision, and one step of the filter in that form.
  void SetDcExactNumerator();
  void SetDcExactDenominator();
  double ProcessDcExact(double u);

  double mRate = std::numeric_limits<double>::quiet_NaN();
  double mPot = std::numeric_limits<double>::quiet_NaN();  // of the last Calc
  double mNumRate[6] = {};                                 // numerator terms in K only
  double mNumPot[6] = {};                                  // factors of p * K
  bool mDcExact = false;
  long double mNumSums[5] = {};   // b0, b0 + b1, ... b0 + ... + b4
  long double mDenSums[5] = {};   // a0, a0 + a1, ... a0 + ... + a4
  long double mPastOutX[5] = {};  // filter outputs of the DC-exact form
};

DSP_ALWAYS_INLINE void CragB::Calc(double sampleRate, double pot)
{
  // Unchanged inputs give unchanged coefficients.
  if (SameBits(pot, mPot) && SameBits(sampleRate, mRate)) return;
  if (!SameBits(sampleRate, mRate)) SetRate(sampleRate);
  mPot = pot;
  const double Q = pot * sampleRate;
  for (int i = 0; i < 6; ++i) b[i] = mNumRate[i] + mNumPot[i] * Q;
  if (mDcExact) SetDcExactNumerator();
}

DSP_ALWAYS_INLINE double CragB::Process(double x)
{
  const double u = FlushDenormal(Clip(x));
  if (mDcExact) return ProcessDcExact(u);
  // A non-finite filter output gives silence for this sample.
  return Filter<5, true>(u);
}

// The left and right second stages run in step (see CragPair), for the
// rates where they run in double precision.
class CragBPair : public CragPair<CragB, 5, true> {
public:
  using CragPair::CragPair;

  // CragB::Process in each lane.
  DSP_ALWAYS_INLINE StereoPair Process(StereoPair x) { return Filter(FlushDenormalLanes(ClipLanes(x))); }
};
