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
  double mNumRate[6] = {};  // numerator terms in K only
  double mNumPot[6] = {};   // factors of p * K
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
  const double u = FlushDenormal(Clip(x));
  in = u;
  double y = (b[0] * u + b[1] * pastIn[0] + b[2] * pastIn[1] + b[3] * pastIn[2] + b[4] * pastIn[3]
              + b[5] * pastIn[4] - a[1] * pastOut[0] - a[2] * pastOut[1] - a[3] * pastOut[2]
              - a[4] * pastOut[3] - a[5] * pastOut[4]) / a[0];
  if (y != 0.0 && !IsNormalNumber(y)) {
    // Start over from silence rather than keep a non-finite value (from
    // unusable coefficients or an overflow), which would silence the channel
    // for good, or a subnormal one, which is far below anything audible and
    // slow to compute with.
    ClearHistories();
    if (!std::isfinite(y)) return 0.0;
    y = std::copysign(0.0, y);
  }
  out = y;
  pastIn[4] = pastIn[3];
  pastIn[3] = pastIn[2];
  pastIn[2] = pastIn[1];
  pastIn[1] = pastIn[0];
  pastIn[0] = u;
  pastOut[4] = pastOut[3];
  pastOut[3] = pastOut[2];
  pastOut[2] = pastOut[1];
  pastOut[1] = pastOut[0];
  pastOut[0] = y;
  return y;
}
