#pragma once
// Quarry: a stereo two-stage filter-and-clipper distortion. Each channel is
// raised by 10 dB, run through a CragA and a CragB stage whose filters follow
// two smoothed knob positions, and scaled by an output level in decibels.
// Its editor is a 303 x 436 panel: a bypass switch, the TON, SUS and OUT
// knobs and a link to the product page; its one preset, "-", holds the
// defaults.
//
// Threads: constructed and destroyed on the host's instantiation thread.
// OnParamChange and Reset take the plug-in mutex; ProcessDoubleReplacing
// runs on the audio thread with the plug-in mutex held by the caller.

#include "dsp/Smooth.h"
#include "effects/Quarry/CragA.h"
#include "effects/Quarry/CragB.h"
#include "framework/vst/IEffectVST.h"

class Quarry : public IEffectVST {
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

private:
  void InitParams();
  // The editor: background, bypass switch, three knobs and the product
  // page link, handed to the plug-in.
  void AttachEditor();
  void FollowSampleRate(double fs);
  // Every stage's coefficients for the rate and its smoother's position.
  void CalcAtSmoothedPositions(double fs);
  // When both smoothers have reached their fixed point, brings every
  // stage's coefficients there and returns true: the block can then skip
  // the per-frame smoother steps and coefficient updates, which would
  // change nothing.
  bool SettleControls(double fs);
  // A block as the bypass switch has it.
  template <bool kSettled>
  void ProcessBlock(double** inputs, double** outputs, int nFrames);
  // The effect proper over a block, both channels in step; SecondStages is
  // CragBPair, or CragChannels<CragB> where the second stages run the
  // DC-exact form.
  template <bool kSettled, class SecondStages>
  void ProcessStages(const double* inL, const double* inR, double* outL, double* outR, int nFrames);
  // Advances smoothers and coefficients frame by frame without running the
  // filters; channelOp(frame) handles that frame's audio.
  template <bool kSettled, class ChannelOp>
  void AdvanceControls(int nFrames, ChannelOp channelOp);

  double mOutputGain = 1.0;
  double mSecondStageTarget = 0.0;  // "GainM"
  double mFirstStageTarget = 0.0;   // "GainL"
  Smooth mSmoothA;                  // first-stage control position
  Smooth mSmoothB;                  // second-stage control position
  // Sample rate the smoothers' pole and the filters' histories belong to.
  double mPoleRate;
  CragA mStageAL, mStageAR;
  CragB mStageBL, mStageBR;
};
