#pragma once
// Second distortion stage: the clipper followed by a fifth-order recursive
// filter whose coefficients follow the sample rate and a control position.
// Owned by the effect and run from its processing path under the plug-in
// mutex; not safe for concurrent use.

#include <cmath>
#include <limits>

#include "dsp/ClipTable.h"
#include "dsp/Denormal.h"
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
  double mNumRate[6] = {};  // numerator terms in K only
  double mNumPot[6] = {};   // factors of p * K
};

inline void CragB::Calc(double sampleRate, double pot)
{
  if (!(sampleRate == mRate)) SetRate(sampleRate);
  const double Q = pot * sampleRate;
  for (int i = 0; i < 6; ++i) b[i] = mNumRate[i] + mNumPot[i] * Q;
}

inline double CragB::Process(double x)
{
  const double u = FlushDenormal(Clip(x));
  in = u;
  double y = (b[0] * u + b[1] * pastIn[0] + b[2] * pastIn[1] + b[3] * pastIn[2] + b[4] * pastIn[3]
              + b[5] * pastIn[4] - a[1] * pastOut[0] - a[2] * pastOut[1] - a[3] * pastOut[2]
              - a[4] * pastOut[3] - a[5] * pastOut[4]) / a[0];
  if (!std::isfinite(y)) {
    // Overflowing or unusable coefficients would otherwise keep the channel
    // silent (or non-finite) for good; start over and output silence.
    ClearHistories();
    return 0.0;
  }
  if (IsDenormal(y)) {
    // The filter has decayed so far that every term of it is far below
    // anything audible; let it come to rest instead of lingering in
    // subnormal numbers.
    ClearHistories();
    y = std::copysign(0.0, y);
  }
  out = y;
  for (int i = 4; i > 0; --i) {
    pastIn[i] = pastIn[i - 1];
    pastOut[i] = pastOut[i - 1];
  }
  pastIn[0] = u;
  pastOut[0] = y;
  return y;
}
