#pragma once
// The left and right filters of one kind of stage run in step, lane by lane
// in SSE2 registers (dsp/StereoPair.h): both records' coefficients and
// histories are loaded at the start of a block, run together and stored
// back at its end. Each lane does what its record's own Filter does, the
// same operations in the same order, so the output is the same bit for bit;
// a sample whose output is neither zero nor a normal number in either lane
// (a rare event: a fault, or a decay into subnormals) goes through the
// records' own Filter instead.
//
// Threads: lives within one processing call, under the plug-in mutex.

#include "dsp/AlwaysInline.h"
#include "dsp/StereoPair.h"
#include "effects/Quarry/CragRecord.h"

template <int Order, bool SilenceNonFinite>
class CragPair {
public:
  CragPair(CragRecord& left, CragRecord& right) : mLeft(left), mRight(right)
  {
    for (int i = 0; i <= Order; ++i) {
      mA[i] = Pack(left.a[i], right.a[i]);
      mB[i] = Pack(left.b[i], right.b[i]);
    }
    LoadHistories();
  }

  // One step of both filters.
  DSP_ALWAYS_INLINE StereoPair Filter(StereoPair x)
  {
    StereoPair sum = _mm_mul_pd(mB[0], x);
#pragma GCC unroll 6
    for (int i = 0; i < Order; ++i) sum = _mm_add_pd(sum, _mm_mul_pd(mB[i + 1], mPastIn[i]));
#pragma GCC unroll 6
    for (int i = 0; i < Order; ++i) sum = _mm_sub_pd(sum, _mm_mul_pd(mA[i + 1], mPastOut[i]));
    const StereoPair y = _mm_div_pd(sum, mA[0]);
    if (AnyAbnormalLane(y)) return FilterEachRecord(x);
    mIn = x;
    mOut = y;
#pragma GCC unroll 6
    for (int i = Order - 1; i > 0; --i) {
      mPastIn[i] = mPastIn[i - 1];
      mPastOut[i] = mPastOut[i - 1];
    }
    mPastIn[0] = x;
    mPastOut[0] = y;
    return y;
  }

  // Puts the histories, and the numerators, back into the records.
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

protected:
  // The numerators, which the derived pairs compute.
  StereoPair mB[Order + 1];

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

  __attribute__((noinline)) StereoPair FilterEachRecord(StereoPair x)
  {
    Store();
    const double left = mLeft.Filter<Order, SilenceNonFinite>(Left(x));
    const double right = mRight.Filter<Order, SilenceNonFinite>(Right(x));
    LoadHistories();
    return Pack(left, right);
  }

  CragRecord& mLeft;
  CragRecord& mRight;
  StereoPair mA[Order + 1];
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
