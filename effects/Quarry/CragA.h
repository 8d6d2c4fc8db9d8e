#pragma once
// First distortion stage: a third-order recursive filter whose coefficients
// follow the sample rate and a control position, followed by the clipper.
// The filter keeps its unclipped output as state.
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

class CragA : public CragRecord {
public:
  CragA() = default;

  // Coefficients for sampleRate (Hz) and control position pot (0..1).
  // Called before every Process.
  void Calc(double sampleRate, double pot);

  // Runs one sample; returns the clipped filter output.
  double Process(double x);

private:
  template <class, int, bool>
  friend class CragPair;

  // The numerators' position term is pot * PotScale().
  double PotScale() const { return mK2; }

  // The parts of the coefficient polynomials that depend on the sample
  // rate alone; recomputed only when the rate changes, which leaves every
  // coefficient bit-identical to a full evaluation.
  void SetRate(double K);

  double mRate = std::numeric_limits<double>::quiet_NaN();
  double mPot = std::numeric_limits<double>::quiet_NaN();  // of the last Calc
  double mK2 = 0.0;
  double mNumRate[4] = {};  // numerator terms in K^2 only
  double mNumPot[4] = {};   // factors of p * K^2
};

DSP_ALWAYS_INLINE void CragA::Calc(double sampleRate, double pot)
{
  // Unchanged inputs give unchanged coefficients.
  if (SameBits(pot, mPot) && SameBits(sampleRate, mRate)) return;
  if (!SameBits(sampleRate, mRate)) SetRate(sampleRate);
  mPot = pot;
  const double Pk = pot * mK2;
  b[0] = mNumRate[0] + mNumPot[0] * Pk;
  b[1] = mNumRate[1] + mNumPot[1] * Pk;
  b[2] = mNumRate[2] + mNumPot[2] * Pk;
  b[3] = mNumRate[3] + mNumPot[3] * Pk;
}

DSP_ALWAYS_INLINE double CragA::Process(double x)
{
  // A non-finite filter output goes through the clipper like any other.
  return Clip(Filter<3, false>(FlushDenormal(x)));
}

// The left and right first stages run in step (see CragPair).
class CragAPair : public CragPair<CragA, 3, false> {
public:
  using CragPair::CragPair;

  // CragA::Process in each lane.
  DSP_ALWAYS_INLINE StereoPair Process(StereoPair x) { return ClipLanes(Filter(FlushDenormalLanes(x))); }
};
