#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "effects/Quarry/Quarry.h"
#include "tests/effects/Quarry/reference_quarry.h"

namespace {

// A deterministic stereo test signal: two partials per channel under an
// envelope that sweeps from near silence into hard clipping, plus a little
// pseudo-random noise.
struct TestSignal {
  std::vector<double> left, right;

  TestSignal(int n, double fs) : left(n), right(n)
  {
    unsigned state = 12345u;
    for (int i = 0; i < n; ++i) {
      const double t = i / fs;
      const double env = 0.001 + 1.5 * (0.5 - 0.5 * std::cos(2 * M_PI * 0.7 * t));
      state = state * 1664525u + 1013904223u;
      const double noise = (static_cast<double>(state >> 8) / 16777216.0 - 0.5) * 0.05;
      left[i] = env * (std::sin(2 * M_PI * 110 * t) + 0.4 * std::sin(2 * M_PI * 1234.5 * t)) + noise;
      right[i] =
          env * (0.8 * std::sin(2 * M_PI * 82.4 * t + 1) - 0.5 * std::sin(2 * M_PI * 3001 * t)) - noise;
    }
  }
};

// Drives the plug-in as a host would after opening it.
struct Host {
  Quarry plug{IEffectInstanceInfo{}};

  explicit Host(double fs)
  {
    plug.SetSampleRate(fs);
    plug.OnParamReset();
  }

  void SetParam(int idx, double plain)
  {
    BASE_MutexLock lock(plug.GetMutex());
    plug.GetParam(idx)->SetNormalized(plug.GetParam(idx)->GetNormalized(plain));
    plug.OnParamChange(idx);
  }

  void Process(const double* inL, const double* inR, double* outL, double* outR, int n)
  {
    double* ins[2] = {const_cast<double*>(inL), const_cast<double*>(inR)};
    double* outs[2] = {outL, outR};
    BASE_MutexLock lock(plug.GetMutex());
    plug.ProcessDoubleReplacing(ins, outs, n);
  }
};

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(Quarry, IdentityParametersAndDefaultPreset)
{
  Quarry plug{IEffectInstanceInfo{}};
  EXPECT_EQ(4, plug.NParams());
  EXPECT_EQ(2, plug.NInChannels());
  EXPECT_EQ(2, plug.NOutChannels());
  EXPECT_TRUE(plug.LegalIO(1, 1));
  EXPECT_TRUE(plug.LegalIO(2, 2));
  EXPECT_FALSE(plug.LegalIO(1, 2));
  EXPECT_STREQ("Quarry", plug.GetEffectName());
  EXPECT_STREQ("", plug.GetProductName());
  EXPECT_STREQ("Lumenfold", plug.GetMfrName());
  EXPECT_EQ(0x51727931, plug.GetUniqueID());  // 'Qry1'
  EXPECT_EQ(0x4C6D6664, plug.GetMfrID());     // 'Lmfd'
  EXPECT_EQ(0, plug.GetLatency());
  EXPECT_FALSE(plug.DoesStateChunks());
  EXPECT_FALSE(plug.DoesMIDI());
  EXPECT_FALSE(plug.IsInst());
  EXPECT_EQ(1, plug.NPresets());
  EXPECT_STREQ("-", plug.GetPresetName(0));

  const char* names[] = {"OUT", "GainM", "GainL", "Bypass"};
  const char* texts[] = {"-30.00", "0.70", "0.30", "0"};
  for (int i = 0; i < 4; ++i) {
    IParam* p = plug.GetParam(i);
    char display[64];
    p->GetDisplayForHost(display);
    EXPECT_STREQ(names[i], p->GetNameForHost());
    EXPECT_STREQ(texts[i], display) << i;
    EXPECT_STREQ("", p->GetLabelForHost()) << i;
    EXPECT_STREQ("", p->GetParamGroupForHost()) << i;
  }
  EXPECT_EQ(IParam::kTypeInt, plug.GetParam(Quarry::kBypass)->Type());
  EXPECT_EQ(IParam::kTypeDouble, plug.GetParam(Quarry::kOut)->Type());
  double lo, hi;
  plug.GetParam(Quarry::kOut)->GetBounds(&lo, &hi);
  EXPECT_EQ(-40.0, lo);
  EXPECT_EQ(0.0, hi);
}

TEST(Quarry, OutputGainFollowsOutInDecibels)
{
  Host host(44100.0);
  EXPECT_NEAR(std::pow(10.0, -1.5), host.plug.GetOutputGain(), 1e-17);
  host.SetParam(Quarry::kOut, 0.0);
  EXPECT_EQ(1.0, host.plug.GetOutputGain());
  host.SetParam(Quarry::kOut, -40.0);
  EXPECT_NEAR(0.01, host.plug.GetOutputGain(), 1e-17);
}

TEST(Quarry, SilenceFromRestStaysSilent)
{
  Host host(44100.0);
  std::vector<double> in(4096, 0.0), outL(4096, 1.0), outR(4096, 1.0);
  host.Process(in.data(), in.data(), outL.data(), outR.data(), 4096);
  for (int i = 0; i < 4096; ++i) {
    ASSERT_EQ(0.0, outL[i]) << i;
    ASSERT_EQ(0.0, outR[i]) << i;
  }
}

TEST(Quarry, SmoothersStepOncePerChannelEachFrame)
{
  Host host(44100.0);
  const double b = std::exp((1 / 44100.0) * -6.283185307179586);
  double in[1] = {0.0}, out[2][1];
  host.Process(in, in, out[0], out[1], 1);
  // From rest: the left stage sees one step, the right stage the next.
  const double left = (1 - b) * 0.3;
  const double right = (1 - b) * 0.3 + b * left;
  EXPECT_EQ(right, host.plug.GetFirstStageSmoother().z);
  ref::StageA l, r;
  l.Calc(44100.0, left);
  r.Calc(44100.0, right);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(l.b[i], host.plug.GetFirstStage(0).b[i]);
    EXPECT_EQ(r.b[i], host.plug.GetFirstStage(1).b[i]);
  }
  const double leftB = (1 - b) * 0.7;
  EXPECT_EQ((1 - b) * 0.7 + b * leftB, host.plug.GetSecondStageSmoother().z);

  // After a step change of "GainL" the position approaches the new value.
  const double start = host.plug.GetFirstStageSmoother().z;
  host.SetParam(Quarry::kGainL, 1.0);
  std::vector<double> zeros(44100, 0.0), o1(44100), o2(44100);
  host.Process(zeros.data(), zeros.data(), o1.data(), o2.data(), 44100);
  // Two steps per frame: one second covers 1 - exp(-4 pi) of the way.
  EXPECT_NEAR(1.0 - (1.0 - start) * std::exp(-4 * M_PI), host.plug.GetFirstStageSmoother().z, 1e-9);
}

TEST(Quarry, NoFramesLeavesEverythingUntouched)
{
  Host host(44100.0);
  double in[4] = {0.5, 0.5, 0.5, 0.5}, outL[4] = {7, 7, 7, 7}, outR[4] = {7, 7, 7, 7};
  for (int n : {0, -1, -512}) {
    host.Process(in, in, outL, outR, n);
    EXPECT_EQ(0.0, host.plug.GetFirstStageSmoother().z);
    EXPECT_EQ(0.0, host.plug.GetSecondStageSmoother().z);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(7.0, outL[i]);
      EXPECT_EQ(7.0, outR[i]);
    }
  }
}

TEST(Quarry, BypassPassesInputAndFreezesTheFilters)
{
  const int n = 2048;
  TestSignal sig(3 * n, 44100.0);
  Host host(44100.0);
  std::vector<double> outL(3 * n), outR(3 * n);
  host.Process(sig.left.data(), sig.right.data(), outL.data(), outR.data(), n);

  const CragA frozenA = host.plug.GetFirstStage(1);
  const CragB frozenB = host.plug.GetSecondStage(0);
  const double zBefore = host.plug.GetFirstStageSmoother().z;
  host.SetParam(Quarry::kBypass, 1);
  host.Process(sig.left.data() + n, sig.right.data() + n, outL.data() + n, outR.data() + n, n);
  for (int i = n; i < 2 * n; ++i) {
    ASSERT_TRUE(SameBits(sig.left[i], outL[i])) << i;
    ASSERT_TRUE(SameBits(sig.right[i], outR[i])) << i;
  }
  EXPECT_EQ(0, std::memcmp(frozenA.pastOut, host.plug.GetFirstStage(1).pastOut, sizeof frozenA.pastOut));
  EXPECT_EQ(0, std::memcmp(frozenA.pastIn, host.plug.GetFirstStage(1).pastIn, sizeof frozenA.pastIn));
  EXPECT_EQ(0, std::memcmp(frozenB.pastOut, host.plug.GetSecondStage(0).pastOut, sizeof frozenB.pastOut));
  // The smoothers keep moving while bypassed.
  EXPECT_NE(zBefore, host.plug.GetFirstStageSmoother().z);

  // A bypass value other than 0 or 1 writes nothing.
  host.plug.GetParam(Quarry::kBypass)->Set(2);
  std::vector<double> untouched(16, 9.0), untouchedR(16, 9.0);
  host.Process(sig.left.data(), sig.right.data(), untouched.data(), untouchedR.data(), 16);
  for (double v : untouched) EXPECT_EQ(9.0, v);
  for (double v : untouchedR) EXPECT_EQ(9.0, v);
}

// Runs the plug-in and the plain model side by side over a scripted session
// and expects the same output bit for bit.
void ExpectBitExactSession(double fs)
{
  const int total = static_cast<int>(fs * 3);
  TestSignal sig(total, fs);
  Host host(fs);
  ref::Effect model;
  model.SetParams(-30, 0.7, 0.3, 0);

  struct Change {
    int frame;
    int param;
    double value;
  };
  const Change changes[] = {
      {total / 10, Quarry::kGainL, 0.9},  {total / 5, Quarry::kOut, -6.5},
      {total / 4, Quarry::kGainM, 0.05},  {total / 3, Quarry::kBypass, 1},
      {total / 2, Quarry::kGainL, 0.12},  {total * 3 / 5, Quarry::kBypass, 0},
      {total * 2 / 3, Quarry::kGainM, 1}, {total * 4 / 5, Quarry::kOut, 0},
  };
  const int blockSizes[] = {512, 1, 77, 1024, 300};

  std::vector<double> outL(total), outR(total), refL(total), refR(total);
  double outDb = -30, gainM = 0.7, gainL = 0.3;
  int bypass = 0;
  int frame = 0, block = 0, nextChange = 0;
  while (frame < total) {
    int n = blockSizes[block++ % 5];
    if (frame + n > total) n = total - frame;
    const int nChanges = static_cast<int>(sizeof changes / sizeof changes[0]);
    while (nextChange < nChanges && changes[nextChange].frame <= frame) {
      const Change& c = changes[nextChange++];
      host.SetParam(c.param, c.value);
      const double plain = host.plug.GetParam(c.param)->Value();
      if (c.param == Quarry::kOut) outDb = plain;
      if (c.param == Quarry::kGainM) gainM = plain;
      if (c.param == Quarry::kGainL) gainL = plain;
      if (c.param == Quarry::kBypass) bypass = static_cast<int>(plain);
      model.SetParams(outDb, gainM, gainL, bypass);
    }
    host.Process(&sig.left[frame], &sig.right[frame], &outL[frame], &outR[frame], n);
    model.Process(&sig.left[frame], &sig.right[frame], &refL[frame], &refR[frame], n, fs);
    frame += n;
  }
  double peak = 0;
  for (int i = 0; i < total; ++i) {
    ASSERT_TRUE(SameBits(refL[i], outL[i])) << "left frame " << i << ": " << refL[i] << " vs " << outL[i];
    ASSERT_TRUE(SameBits(refR[i], outR[i])) << "right frame " << i << ": " << refR[i] << " vs " << outR[i];
    peak = std::fmax(peak, std::fabs(outL[i]));
  }
  EXPECT_GT(peak, 0.1);  // the session did reach the clipping range
}

TEST(Quarry, BitExactAt44100) { ExpectBitExactSession(44100.0); }

// Once the smoothers reach their fixed point the plug-in skips their steps
// and the coefficient updates; none of that may show in the output. The
// session settles, is automated (the smoothers move off their fixed point),
// settles again, is bypassed and resumed while settled, and changes the
// sample rate, against the plain model all along.
TEST(Quarry, BitExactAcrossTheSmoothersSettlingPoint)
{
  const double fs = 44100.0;
  const int total = static_cast<int>(fs * 40);
  TestSignal sig(static_cast<int>(fs * 2), fs);
  Host host(fs);
  ref::Effect model;
  double outDb = -30, gainM = 0.7, gainL = 0.3, rate = fs;
  int bypass = 0;
  model.SetParams(outDb, gainM, gainL, bypass);
  const int blockSizes[] = {512, 1, 333, 64, 2048, 7};
  std::vector<double> outL(4096), outR(4096), refL(4096), refR(4096);

  auto settled = [&] {
    return host.plug.GetFirstStageSmoother().AtRest(gainL) &&
           host.plug.GetSecondStageSmoother().AtRest(gainM);
  };
  auto set = [&](int param, double value) {
    host.SetParam(param, value);
    const double plain = host.plug.GetParam(param)->Value();
    if (param == Quarry::kOut) outDb = plain;
    if (param == Quarry::kGainM) gainM = plain;
    if (param == Quarry::kGainL) gainL = plain;
    if (param == Quarry::kBypass) bypass = static_cast<int>(plain);
    model.SetParams(outDb, gainM, gainL, bypass);
  };

  int frame = 0, block = 0, settledAt = -1, movedAt = -1, settledAgainAt = -1;
  while (frame < total) {
    const int n = blockSizes[block++ % 6];
    const int at = frame % (static_cast<int>(sig.left.size()) - 4096);
    host.Process(&sig.left[at], &sig.right[at], outL.data(), outR.data(), n);
    model.Process(&sig.left[at], &sig.right[at], refL.data(), refR.data(), n, rate);
    for (int i = 0; i < n; ++i) {
      ASSERT_TRUE(SameBits(refL[i], outL[i])) << "frame " << frame + i;
      ASSERT_TRUE(SameBits(refR[i], outR[i])) << "frame " << frame + i;
    }
    frame += n;
    if (settledAt < 0 && settled()) {
      settledAt = frame;
      set(Quarry::kGainL, 0.55);  // both knobs move off the fixed point
      set(Quarry::kGainM, 0.25);
    } else if (settledAt >= 0 && movedAt < 0) {
      movedAt = frame;
      EXPECT_FALSE(settled());
    } else if (movedAt >= 0 && settledAgainAt < 0 && settled()) {
      settledAgainAt = frame;
      set(Quarry::kOut, -12);  // no smoother: stays settled
      set(Quarry::kBypass, 1);
    } else if (settledAgainAt >= 0 && bypass == 1 && frame > settledAgainAt + fs) {
      set(Quarry::kBypass, 0);
    } else if (settledAgainAt >= 0 && rate == fs && frame > settledAgainAt + 2 * fs) {
      // A new rate moves the smoothers' pole and every coefficient.
      rate = 48000.0;
      host.plug.SetSampleRate(rate);
      model.ClearHistories();
    }
  }
  EXPECT_GT(settledAt, 0);
  EXPECT_GT(settledAgainAt, movedAt);
  EXPECT_EQ(48000.0, rate);
}

TEST(Quarry, BitExactAt96000) { ExpectBitExactSession(96000.0); }

// The new rate's coefficients apply from the next block on, and the filters
// start that block from silence; the control positions glide on.
TEST(Quarry, SampleRateChangeTakesEffectOnTheNextBlock)
{
  const int n = 4096;
  TestSignal sig(2 * n, 48000.0);
  Host host(44100.0);
  ref::Effect model;
  model.SetParams(-30, 0.7, 0.3, 0);
  std::vector<double> outL(2 * n), outR(2 * n), refL(2 * n), refR(2 * n);
  host.Process(sig.left.data(), sig.right.data(), outL.data(), outR.data(), n);
  model.Process(sig.left.data(), sig.right.data(), refL.data(), refR.data(), n, 44100.0);
  host.plug.SetSampleRate(48000.0);
  host.Process(&sig.left[n], &sig.right[n], &outL[n], &outR[n], n);
  model.ClearHistories();
  model.Process(&sig.left[n], &sig.right[n], &refL[n], &refR[n], n, 48000.0);
  for (int i = 0; i < 2 * n; ++i) {
    ASSERT_TRUE(SameBits(refL[i], outL[i])) << i;
    ASSERT_TRUE(SameBits(refR[i], outR[i])) << i;
  }
}

TEST(Quarry, FloatHostsGetTheDoubleResultRounded)
{
  const int n = 1024;
  TestSignal sig(n, 44100.0);
  std::vector<float> fInL(n), fInR(n), fOutL(n), fOutR(n);
  for (int i = 0; i < n; ++i) {
    fInL[i] = static_cast<float>(sig.left[i]);
    fInR[i] = static_cast<float>(sig.right[i]);
  }
  // The double path, fed with what the float host actually sends.
  std::vector<double> wideL(fInL.begin(), fInL.end()), wideR(fInR.begin(), fInR.end()), dL(n), dR(n);
  Host doubles(44100.0);
  doubles.Process(wideL.data(), wideR.data(), dL.data(), dR.data(), n);

  Host floats(44100.0);
  float* ins[2] = {fInL.data(), fInR.data()};
  float* outs[2] = {fOutL.data(), fOutR.data()};
  {
    BASE_MutexLock lock(floats.plug.GetMutex());
    floats.plug.AttachInputBuffers(0, 2, ins, n);
    floats.plug.AttachOutputBuffers(0, 2, outs);
    floats.plug.ProcessBuffers(0.0f, n);
  }
  for (int i = 0; i < n; ++i) {
    ASSERT_EQ(static_cast<float>(dL[i]), fOutL[i]) << i;
    ASSERT_EQ(static_cast<float>(dR[i]), fOutR[i]) << i;
  }
}

// A not-a-number from the host silences only the sample it arrives in; the
// channel plays on afterwards and the other channel is untouched.
TEST(Quarry, NonFiniteInputDoesNotSilenceTheChannelForGood)
{
  const int n = 8192;
  TestSignal sig(n, 44100.0);
  std::vector<double> poisoned = sig.left;
  poisoned[1000] = std::numeric_limits<double>::quiet_NaN();
  poisoned[3000] = std::numeric_limits<double>::infinity();
  Host host(44100.0);
  ref::Effect model;
  model.SetParams(-30, 0.7, 0.3, 0);
  std::vector<double> outL(n), outR(n), refL(n), refR(n);
  host.Process(poisoned.data(), sig.right.data(), outL.data(), outR.data(), n);
  model.Process(sig.left.data(), sig.right.data(), refL.data(), refR.data(), n, 44100.0);
  for (int i = 0; i < n; ++i) {
    ASSERT_TRUE(std::isfinite(outL[i])) << i;
    ASSERT_TRUE(SameBits(refR[i], outR[i])) << i;
    if (i < 1000) {
      ASSERT_TRUE(SameBits(refL[i], outL[i])) << i;
    }
  }
  double tailEnergy = 0;
  for (int i = n - 1000; i < n; ++i) tailEnergy += outL[i] * outL[i];
  EXPECT_GT(tailEnergy, 1e-4);
}

// A subnormal input sample counts as a zero of its sign, in whichever
// channel it comes, while the other channel plays on untouched.
TEST(Quarry, SubnormalInputCountsAsSignedZero)
{
  const int n = 4096;
  TestSignal sig(n, 44100.0);
  std::vector<double> tinyL = sig.left, zeroL = sig.left, tinyR = sig.right, zeroR = sig.right;
  for (int i = 0; i < n; i += 3) {
    const double tiny = (i % 2 ? -1 : 1) * DBL_MIN / (4 + i % 7);  // subnormal even when raised
    (i < n / 2 ? tinyL : tinyR)[i] = tiny;
    (i < n / 2 ? zeroL : zeroR)[i] = std::copysign(0.0, tiny);
  }
  Host withTiny(44100.0), withZeros(44100.0);
  std::vector<double> tL(n), tR(n), zL(n), zR(n);
  withTiny.Process(tinyL.data(), tinyR.data(), tL.data(), tR.data(), n);
  withZeros.Process(zeroL.data(), zeroR.data(), zL.data(), zR.data(), n);
  for (int i = 0; i < n; ++i) {
    ASSERT_TRUE(SameBits(zL[i], tL[i])) << i;
    ASSERT_TRUE(SameBits(zR[i], tR[i])) << i;
  }
  // The filters keep the zero, not the subnormal value.
  double lastL[2] = {0.5, -DBL_MIN / 5}, lastR[2] = {-DBL_MIN / 5, 0.25}, out[2][2];
  withTiny.Process(lastL, lastR, out[0], out[1], 2);
  EXPECT_TRUE(SameBits(-0.0, withTiny.plug.GetFirstStage(0).pastIn[0]));
  EXPECT_TRUE(SameBits(-0.0, withTiny.plug.GetFirstStage(1).pastIn[1]));
  EXPECT_EQ(0.25 * 3.1622776601683795, withTiny.plug.GetFirstStage(1).pastIn[0]);
}

// After a minute of silence the filters hold zeros, not subnormal numbers,
// and the output is still exactly what the plain model produces.
TEST(Quarry, LongSilenceLeavesNoSubnormalState)
{
  const double fs = 44100.0;
  const int block = 4410;
  TestSignal sig(block, fs);
  std::vector<double> zeros(block, 0.0), outL(block), outR(block), refL(block), refR(block);
  Host host(fs);
  ref::Effect model;
  model.SetParams(-30, 0.7, 0.3, 0);
  for (int b = 0; b < 560; ++b) {
    const double* inL = b < 10 ? sig.left.data() : zeros.data();
    const double* inR = b < 10 ? sig.right.data() : zeros.data();
    host.Process(inL, inR, outL.data(), outR.data(), block);
    model.Process(inL, inR, refL.data(), refR.data(), block, fs);
    for (int i = 0; i < block; ++i) {
      ASSERT_TRUE(SameBits(refL[i], outL[i])) << b << ":" << i;
      ASSERT_TRUE(SameBits(refR[i], outR[i])) << b << ":" << i;
    }
  }
  bool modelSubnormal = false;
  for (int ch = 0; ch < 2; ++ch) {
    for (int k = 0; k < 3; ++k) modelSubnormal |= std::fpclassify(model.stageA[ch].y1[k]) == FP_SUBNORMAL;
    const CragA& a = host.plug.GetFirstStage(ch);
    const CragB& b = host.plug.GetSecondStage(ch);
    for (int k = 0; k < 6; ++k) {
      EXPECT_NE(FP_SUBNORMAL, std::fpclassify(a.pastOut[k]));
      EXPECT_NE(FP_SUBNORMAL, std::fpclassify(a.pastIn[k]));
      EXPECT_NE(FP_SUBNORMAL, std::fpclassify(b.pastOut[k]));
      EXPECT_NE(FP_SUBNORMAL, std::fpclassify(b.pastIn[k]));
    }
  }
  EXPECT_TRUE(modelSubnormal);
}

}  // namespace
