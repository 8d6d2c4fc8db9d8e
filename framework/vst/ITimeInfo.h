#pragma once
// Transport snapshot that a plug-in asks its host for (IEffectBase::GetTime).
// The host adapter overwrites only the fields for which the host supplies
// valid data, so the defaults below stand for "not known".
//
// Threads: a plain value record, filled on the calling thread.

struct ITimeInfo {
  double mTempo = 120.0;      // beats per minute
  double mSamplePos = -1.0;   // samples since the start of the song
  double mPPQPos = -1.0;      // position in quarter notes
  double mLastBar = -1.0;     // start of the current bar, in quarter notes
  double mCycleStart = -1.0;  // loop start, in quarter notes
  double mCycleEnd = -1.0;    // loop end, in quarter notes
  int mNumerator = 4;
  int mDenominator = 4;
  bool mTransportIsRunning = false;
  bool mTransportLoopEnabled = false;
};
