#pragma once
// The left and right stages of one kind run in step, lane by lane in SSE2
// registers (dsp/StereoPair.h): both stages' coefficients and histories are
// loaded at the start of a block, run together and stored back at its end.
// Each lane does what its stage's own Calc and Filter do, the same
// operations in the same order, so the output is the same bit for bit; a
// sample whose output is neither zero nor a normal number in either lane (a
// rare event: a fault, or a decay into subnormals) goes through the stages'
// own Filter instead.
//
// Threads: lives within one processing call, under the plug-in mutex.

#include "dsp/AlwaysInline.h"
#include "dsp/DifferenceEquation.h"
#include "dsp/StereoPair.h"
#include "effects/Quarry/CragRecord.h"

// Stage is CragA or CragB: numerators of Order + 1 coefficients
// mNumRate[i] + mNumPot[i] * (pot * PotScale()), where the terms and the
// scale depend on the rate alone.
template <class Stage, int Order, bool SilenceNonFinite>
class CragPair {
public:
  CragPair(Stage& left, Stage& right)
      : mLeft(left), mRight(right), mPotScale(Pack(left.PotScale(), right.PotScale()))
  {
    for (int i = 0; i <= Order; ++i) {
      mA[i] = Pack(left.a[i], right.a[i]);
      mB[i] = Pack(left.b[i], right.b[i]);
      mNumRate[i] = Pack(left.mNumRate[i], right.mNumRate[i]);
      mNumPot[i] = Pack(left.mNumPot[i], right.mNumPot[i]);
    }
    LoadHistories();
  }

  // Stage::Calc in each lane, at the rate the stages were last calculated
  // for.
  DSP_ALWAYS_INLINE void Calc(double, double leftPot, double rightPot)
  {
    const StereoPair scaled = Pack(leftPot, rightPot) * mPotScale;
#pragma GCC unroll 6
    for (int i = 0; i <= Order; ++i) mB[i] = mNumRate[i] + mNumPot[i] * scaled;
    mLeft.mPot = leftPot;
    mRight.mPot = rightPot;
  }

  // One step of both filters.
  DSP_ALWAYS_INLINE StereoPair Filter(StereoPair x)
  {
    const StereoPair y = DifferenceEquation<Order>(x, mB, mA, mPastIn, mPastOut);
    if (AnyAbnormalLane(y)) return FilterEachStage(x);
    mIn = x;
    mOut = y;
    ShiftHistories<Order>(mPastIn, mPastOut, x, y);
    return y;
  }

  // Puts the histories and the numerators back into the stages.
  void Store()
  {
    for (int i = 0; i <= Order; ++i) {
      mLeft.b[i] = Left(mB[i]);
      mRight.b[i] = Right(mB[i]);
    }
    mLeft.in = Left(mIn);
    mRight.in = Right(mIn);
    mLeft.out = Left(mOut);
    mRight.out = Right(mOut);
    for (int i = 0; i < Order; ++i) {
      mLeft.pastIn[i] = Left(mPastIn[i]);
      mRight.pastIn[i] = Right(mPastIn[i]);
      mLeft.pastOut[i] = Left(mPastOut[i]);
      mRight.pastOut[i] = Right(mPastOut[i]);
    }
  }

private:
  void LoadHistories()
  {
    mIn = Pack(mLeft.in, mRight.in);
    mOut = Pack(mLeft.out, mRight.out);
    for (int i = 0; i < Order; ++i) {
      mPastIn[i] = Pack(mLeft.pastIn[i], mRight.pastIn[i]);
      mPastOut[i] = Pack(mLeft.pastOut[i], mRight.pastOut[i]);
    }
  }

  __attribute__((noinline)) StereoPair FilterEachStage(StereoPair x)
  {
    Store();
    const double left = mLeft.template Filter<Order, SilenceNonFinite>(Left(x));
    const double right = mRight.template Filter<Order, SilenceNonFinite>(Right(x));
    LoadHistories();
    return Pack(left, right);
  }

  Stage& mLeft;
  Stage& mRight;
  StereoPair mPotScale;
  StereoPair mNumRate[Order + 1];
  StereoPair mNumPot[Order + 1];
  StereoPair mA[Order + 1];
  StereoPair mB[Order + 1];
  StereoPair mIn, mOut;
  StereoPair mPastIn[Order];
  StereoPair mPastOut[Order];
};

// The left and right stages of one kind one after the other, with the
// interface of the pairs that run them in step: for the rates where the
// second stages run the DC-exact form, and for the bypassed filters, whose
// coefficients move on alone.
template <class Stage>
class CragChannels {
public:
  CragChannels(Stage& left, Stage& right) : mLeft(left), mRight(right) {}

  DSP_ALWAYS_INLINE void Calc(double sampleRate, double leftPot, double rightPot)
  {
    mLeft.Calc(sampleRate, leftPot);
    mRight.Calc(sampleRate, rightPot);
  }
  DSP_ALWAYS_INLINE StereoPair Process(StereoPair x)
  {
    return Pack(mLeft.Process(Left(x)), mRight.Process(Right(x)));
  }
  void Store() {}

private:
  Stage& mLeft;
  Stage& mRight;
};
