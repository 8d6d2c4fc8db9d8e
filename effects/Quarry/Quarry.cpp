#include "effects/Quarry/Quarry.h"

#include <cmath>
#include <limits>

#include "base/mutex.h"
#include "dsp/AlwaysInline.h"
#include "dsp/SameBits.h"
#include "framework/editor/controls/IKnobControls.h"
#include "framework/editor/controls/ISwitchControls.h"
#include "framework/editor/controls/ITextControls.h"
#include "framework/linux/IGraphicsLinux.h"

namespace {

constexpr int FourCharCode(const char (&c)[5])
{
  return (static_cast<int>(static_cast<unsigned char>(c[0])) << 24) |
         (static_cast<int>(static_cast<unsigned char>(c[1])) << 16) |
         (static_cast<int>(static_cast<unsigned char>(c[2])) << 8) |
         static_cast<int>(static_cast<unsigned char>(c[3]));
}

// The effect's identity, in the host adapter's constructor argument order.
struct EffectIdentity {
  int nParams;
  const char* channelIO;
  int nPresets;
  const char* effectName;
  const char* productName;
  const char* mfrName;
  int version;
  int uniqueID;
  int mfrID;
  int latency;
  bool doesMidi;
  bool doesStateChunks;
  bool isInstrument;
  int unused;
};

constexpr EffectIdentity kIdentity = {
    Quarry::kNumParams,   "1-1 2-2", 1,     "Quarry", "",    "Lumenfold", 0x10000, FourCharCode("Qry1"),
    FourCharCode("Lmfd"), 0,         false, false,    false, 0,
};

constexpr double kInputGain = 3.1622776601683795;  // +10 dB

// The editor: a fixed panel drawn from the images built into the plug-in
// under this bundle identifier. Controls take their sizes from the images.
constexpr int kEditorWidth = 303;
constexpr int kEditorHeight = 436;
constexpr const char* kBundleID = "com.Lumenfold.vst.Quarry";
constexpr int kBackgroundID = 101;
constexpr const char* kBackgroundFile = "resources/img/bg.png";
constexpr double kKnobGearing = 4.0;

// The parameter controls in attachment order (control indexes 1 to 4; the
// background is 0). Every strip's frames are stacked vertically.
struct ControlLayout {
  bool isKnob;  // IKnobMultiControl, else ISwitchControl
  int bitmapID;
  const char* file;
  int frames;
  int x, y;
  int paramIdx;
};

constexpr ControlLayout kControls[] = {
    {false, 102, "resources/img/by.png", 2, 11, 225, Quarry::kBypass},
    {true, 109, "resources/img/TON.png", 31, 180, 104, Quarry::kGainM},
    {true, 110, "resources/img/SUS.png", 31, 113, 33, Quarry::kGainL},
    {true, 113, "resources/img/OUT.png", 31, 44, 104, Quarry::kOut},
};

// The link to the product page, over the address the artwork shows (the
// rectangle reaches past the panel; only its part inside can be clicked).
struct LinkArea {
  int left, top, right, bottom;
};
constexpr LinkArea kLinkArea = {205, 410, 305, 510};
constexpr const char* kProductPage = "https://lumenfold.com/quarry";

// One frame's smoother steps and coefficients for the left and right stages
// of one kind. Each smoother serves both channels and steps once per
// channel, so the right stage always sees the position one step further
// along. Settled controls have nothing to do.
template <bool kSettled, class Stages>
DSP_ALWAYS_INLINE void AdvanceStages(double fs, Smooth& smoother, double target, Stages& stages)
{
  if (kSettled) return;
  const double left = smoother.Process(target);
  const double right = smoother.Process(target);
  stages.Calc(fs, left, right);
}

}  // namespace

Quarry::Quarry(IEffectInstanceInfo instanceInfo)
    : IEffectVST(instanceInfo, kIdentity.nParams, kIdentity.channelIO, kIdentity.nPresets,
                 kIdentity.effectName, kIdentity.productName, kIdentity.mfrName, kIdentity.version,
                 kIdentity.uniqueID, kIdentity.mfrID, kIdentity.latency, kIdentity.doesMidi,
                 kIdentity.doesStateChunks, kIdentity.isInstrument, kIdentity.unused),
      mPoleRate(std::numeric_limits<double>::quiet_NaN())
{
  // The smoothers and stages start from rest (their constructors zero them).
  InitParams();
  AttachEditor();
  MakeDefaultPreset("-", 1);
}

void Quarry::AttachEditor()
{
  // Only the images' sizes are read here: a host that merely scans the
  // plug-in pays for no decoding, no drawing and no display connection.
  IGraphicsLinux* editor = new IGraphicsLinux(this, kEditorWidth, kEditorHeight, 0);
  editor->SetBundleID(kBundleID);
  editor->AttachBackground(kBackgroundID, kBackgroundFile);
  for (const ControlLayout& c : kControls) {
    IBitmap strip = editor->LoadIBitmap(c.bitmapID, c.file, c.frames);
    if (c.isKnob)
      editor->AttachControl(
          new IKnobMultiControl(this, c.x, c.y, c.paramIdx, &strip, kVertical, kKnobGearing));
    else
      editor->AttachControl(
          new ISwitchControl(this, c.x, c.y, c.paramIdx, &strip, IChannelBlend::kBlendNone));
  }
  const IRECT link(kLinkArea.left, kLinkArea.top, kLinkArea.right, kLinkArea.bottom);
  editor->AttachControl(new IURLControl(this, link, kProductPage));
  AttachGraphics(editor);
}

void Quarry::InitParams()
{
  GetParam(kBypass)->InitInt("Bypass", 0, 0, 1, "", "");
  GetParam(kGainL)->InitDouble("GainL", 0.3, 0.0, 1.0, 0.01, "", "");
  GetParam(kGainL)->SetShape(1.0);
  GetParam(kGainM)->InitDouble("GainM", 0.7, 0.0, 1.0, 0.01, "", "");
  GetParam(kGainM)->SetShape(1.0);
  GetParam(kOut)->InitDouble("OUT", -30.0, -40.0, 0.0, 0.01, "", "");
  GetParam(kOut)->SetShape(1.0);
}

void Quarry::Reset()
{
  // Only waits for a block in progress; the filters and smoothers keep
  // their state.
  BASE_MutexLock lock(mMutex);
}

void Quarry::OnParamChange(int paramIdx)
{
  BASE_MutexLock lock(mMutex);
  switch (paramIdx) {
    case kOut:
      mOutputGain = std::pow(10.0, GetParam(kOut)->Value() / 20.0);
      break;
    case kGainM:
      mSecondStageTarget = GetParam(kGainM)->Value();
      break;
    case kGainL:
      mFirstStageTarget = GetParam(kGainL)->Value();
      break;
    default:
      break;  // bypass is read while processing
  }
}

void Quarry::FollowSampleRate(double fs)
{
  if (SameBits(fs, mPoleRate)) return;
  // The smoothers' pole depends on the sample rate alone.
  const double b = Smooth::Pole(fs);
  mSmoothA.SetPole(b);
  mSmoothB.SetPole(b);
  // Histories left by the filters at another rate do not fit the new
  // coefficients: played on, they ring out as a loud transient or a DC
  // offset many times full scale. The stages start from silence instead;
  // the control positions carry over, as they do not depend on the rate.
  mStageAL.ClearHistories();
  mStageAR.ClearHistories();
  mStageBL.ClearHistories();
  mStageBR.ClearHistories();
  // The coefficients that depend on the rate alone follow now, before any
  // block loads them; the numerators follow the positions frame by frame
  // as always.
  CalcAtSmoothedPositions(fs);
  mPoleRate = fs;
}

void Quarry::CalcAtSmoothedPositions(double fs)
{
  mStageAL.Calc(fs, mSmoothA.z);
  mStageAR.Calc(fs, mSmoothA.z);
  mStageBL.Calc(fs, mSmoothB.z);
  mStageBR.Calc(fs, mSmoothB.z);
}

bool Quarry::SettleControls(double fs)
{
  if (!mSmoothA.AtRest(mFirstStageTarget) || !mSmoothB.AtRest(mSecondStageTarget)) return false;
  // Both smoothers sit at their fixed point, so every step this block would
  // hand each stage the same position. One update brings the left stages
  // (a step behind the right ones) there too; after it, the per-frame steps
  // and coefficient updates would change nothing.
  CalcAtSmoothedPositions(fs);
  return true;
}

template <bool kSettled, class SecondStages>
void Quarry::ProcessStages(const double* inL, const double* inR, double* outL, double* outR, int nFrames)
{
  const double fs = GetSampleRate();
  const StereoPair gain = Splat(mOutputGain);
  const StereoPair inputGain = Splat(kInputGain);
  CragAPair first(mStageAL, mStageAR);
  SecondStages second(mStageBL, mStageBR);
  // The first stages run one frame ahead of the second ones. Every stage and
  // smoother still sees exactly the same sequence of calls as frame-by-frame
  // processing, but the long chain of one frame can overlap the next.
  AdvanceStages<kSettled>(fs, mSmoothA, mFirstStageTarget, first);
  StereoPair a = first.Process(_mm_mul_pd(Pack(inL[0], inR[0]), inputGain));
  for (int i = 0; i + 1 < nFrames; ++i) {
    AdvanceStages<kSettled>(fs, mSmoothA, mFirstStageTarget, first);
    const StereoPair next = first.Process(_mm_mul_pd(Pack(inL[i + 1], inR[i + 1]), inputGain));
    AdvanceStages<kSettled>(fs, mSmoothB, mSecondStageTarget, second);
    const StereoPair out = _mm_mul_pd(second.Process(a), gain);
    _mm_storel_pd(&outL[i], out);
    _mm_storeh_pd(&outR[i], out);
    a = next;
  }
  AdvanceStages<kSettled>(fs, mSmoothB, mSecondStageTarget, second);
  const StereoPair out = _mm_mul_pd(second.Process(a), gain);
  _mm_storel_pd(&outL[nFrames - 1], out);
  _mm_storeh_pd(&outR[nFrames - 1], out);
  first.Store();
  second.Store();
}

template <bool kSettled, class ChannelOp>
void Quarry::AdvanceControls(int nFrames, ChannelOp channelOp)
{
  const double fs = GetSampleRate();
  CragChannels<CragA> first(mStageAL, mStageAR);
  CragChannels<CragB> second(mStageBL, mStageBR);
  for (int i = 0; i < nFrames; ++i) {
    AdvanceStages<kSettled>(fs, mSmoothA, mFirstStageTarget, first);
    AdvanceStages<kSettled>(fs, mSmoothB, mSecondStageTarget, second);
    channelOp(i);
  }
}

template <bool kSettled>
void Quarry::ProcessBlock(double** inputs, double** outputs, int nFrames)
{
  const double* inL = inputs[0];
  const double* inR = inputs[1];
  double* outL = outputs[0];
  double* outR = outputs[1];
  switch (GetParam(kBypass)->Int()) {
    case 0:
      if (mStageBL.DcExact()) {
        ProcessStages<kSettled, CragChannels<CragB>>(inL, inR, outL, outR, nFrames);
      } else {
        ProcessStages<kSettled, CragBPair>(inL, inR, outL, outR, nFrames);
      }
      break;
    case 1:
      // The filters stand still while bypassed; smoothers and coefficients
      // move on.
      AdvanceControls<kSettled>(nFrames, [&](int i) {
        outL[i] = inL[i];
        outR[i] = inR[i];
      });
      break;
    default:
      // Any other bypass value writes nothing.
      AdvanceControls<kSettled>(nFrames, [](int) {});
      break;
  }
}

void Quarry::ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames)
{
  if (nFrames < 1) return;
  const double fs = GetSampleRate();
  FollowSampleRate(fs);
  // Checked for every block: a knob that moves or a smoother still gliding
  // takes the frame-by-frame path.
  if (SettleControls(fs)) {
    ProcessBlock<true>(inputs, outputs, nFrames);
  } else {
    ProcessBlock<false>(inputs, outputs, nFrames);
  }
}
