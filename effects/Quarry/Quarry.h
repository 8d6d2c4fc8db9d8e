#pragma once
// Quarry: a stereo two-stage filter-and-clipper distortion. Each channel is
// raised by 10 dB, run through a CragA and a CragB stage whose filters follow
// two smoothed knob positions, and scaled by an output level in decibels.
//
// Threads: constructed and destroyed on the host's instantiation thread.
// OnParamChange and Reset take the plug-in mutex; ProcessDoubleReplacing
// runs on the audio thread with the plug-in mutex held by the caller.

#include "dsp/Smooth.h"
#include "effects/Quarry/CragA.h"
#include "effects/Quarry/CragB.h"
#include "framework/IEffectBase.h"
#include "framework/vst/IEffectInstanceInfo.h"

class Quarry : public IEffectBase {
public:
  enum EParams { kOut = 0, kGainM = 1, kGainL = 2, kBypass = 3, kNumParams };

  explicit Quarry(IEffectInstanceInfo instanceInfo);
  ~Quarry() override = default;

  void Reset() override;
  void OnParamChange(int paramIdx) override;
  void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) override;

  // Read-only views of the working state, for diagnostics and tests. Same
  // locking as processing.
  double GetOutputGain() const { return mOutputGain; }
  const Smooth& GetFirstStageSmoother() const { return mSmoothA; }
  const Smooth& GetSecondStageSmoother() const { return mSmoothB; }
  const CragA& GetFirstStage(int channel) const { return channel == 0 ? mStageAL : mStageAR; }
  const CragB& GetSecondStage(int channel) const { return channel == 0 ? mStageBL : mStageBR; }

  // ---- Temporary stand-ins for the host adapter's operations. They go
  // away when Quarry derives from the VST adapter, which supplies them.
  void BeginInformHostOfParamChange(int) override {}
  void InformHostOfParamChange(int, double) override {}
  void EndInformHostOfParamChange(int) override {}
  void InformHostOfProgramChange() override {}
  int GetSamplePos() override { return 0; }
  double GetTempo() override { return 0.0; }
  void GetTimeSig(int* numerator, int* denominator) override;
  void GetTime(ITimeInfo*) override {}
  void ResizeGraphics(int, int) override {}
  bool SendMidiMsg(IMidiMsg*) override { return false; }
  // ---- End of temporary stand-ins.

private:
  void InitParams();
  void FollowSampleRate(double fs);
  // One frame's smoother steps and coefficients of the first (CragA) or the
  // second (CragB) stages of both channels.
  void AdvanceFirstStage(double fs);
  void AdvanceSecondStage(double fs);
  // The effect proper over a block.
  void ProcessStages(const double* inL, const double* inR, double* outL, double* outR, int nFrames);
  // Advances smoothers and coefficients frame by frame without running the
  // filters; channelOp(frame) handles that frame's audio.
  template <class ChannelOp>
  void AdvanceControls(int nFrames, ChannelOp channelOp);

  double mOutputGain = 1.0;
  double mSecondStageTarget = 0.0;  // "GainM"
  double mFirstStageTarget = 0.0;   // "GainL"
  Smooth mSmoothA;  // first-stage control position
  Smooth mSmoothB;  // second-stage control position
  // Sample rate the smoothers' pole was last computed for.
  double mPoleRate;
  CragA mStageAL, mStageAR;
  CragB mStageBL, mStageBR;
};
