#pragma once
// Second distortion stage: the clipper followed by a fifth-order recursive
// filter whose coefficients follow the sample rate and a control position.
// Owned by the effect and run from its processing path under the plug-in
// mutex; not safe for concurrent use.

#include <cmath>
#include <limits>

#include "dsp/AlwaysInline.h"
#include "dsp/ClipTable.h"
#include "dsp/Denormal.h"
#include "dsp/SameBits.h"
#include "effects/Quarry/CragRecord.h"

class CragB : public CragRecord {
public:
  CragB() = default;

  // Coefficients for sampleRate (Hz) and control position pot (0..1).
  // Called before every Process.
  void Calc(double sampleRate, double pot);

  // Runs one sample; returns the filter output.
  double Process(double x);

private:
  // The parts of the coefficient polynomials that depend on the sample
  // rate alone (the whole denominator among them); recomputed only when the
  // rate changes, which leaves every coefficient bit-identical to a full
  // evaluation.
  void SetRate(double K);

  double mRate = std::numeric_limits<double>::quiet_NaN();
  double mPot = std::numeric_limits<double>::quiet_NaN();  // of the last Calc
  double mNumRate[6] = {};                                 // numerator terms in K only
  double mNumPot[6] = {};                                  // factors of p * K
};

DSP_ALWAYS_INLINE void CragB::Calc(double sampleRate, double pot)
{
  // Unchanged inputs give unchanged coefficients.
  if (SameBits(pot, mPot) && SameBits(sampleRate, mRate)) return;
  if (!SameBits(sampleRate, mRate)) SetRate(sampleRate);
  mPot = pot;
  const double Q = pot * sampleRate;
  for (int i = 0; i < 6; ++i) b[i] = mNumRate[i] + mNumPot[i] * Q;
}

DSP_ALWAYS_INLINE double CragB::Process(double x)
{
  // A non-finite filter output gives silence for this sample.
  return Filter<5, true>(FlushDenormal(Clip(x)));
}
