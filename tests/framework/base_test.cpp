#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>
#include <thread>
#include <vector>

#include "tests/framework/test_plug.h"

namespace {

TEST(BaseConstruction, FreshPlugInDefaults)
{
  TestPlug plug(3, "1-1 2-2", 2);
  EXPECT_EQ(plug.ChannelIOCount(), 2);
  int nIn = 0, nOut = 0;
  ASSERT_TRUE(plug.GetChannelIO(1, &nIn, &nOut));
  EXPECT_EQ(nIn, 2);
  EXPECT_EQ(nOut, 2);
  EXPECT_FALSE(plug.GetChannelIO(2, &nIn, &nOut));
  EXPECT_EQ(plug.NInChannels(), 2);
  EXPECT_EQ(plug.NOutChannels(), 2);
  EXPECT_EQ(plug.GetSampleRate(), 44100.0);
  EXPECT_EQ(plug.GetBlockSize(), 0);
  EXPECT_EQ(plug.GetHost(), kHostUninit);
  EXPECT_EQ(plug.GetHostVersion(false), 0);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(plug.IsInChannelConnected(i));
  EXPECT_FALSE(plug.IsOutChannelConnected(0));
  EXPECT_EQ(plug.NParams(), 3);
  EXPECT_EQ(plug.GetParam(3), nullptr);
  EXPECT_EQ(plug.GetParam(-1), nullptr);
  EXPECT_EQ(plug.NPresets(), 2);
  EXPECT_STREQ(plug.GetPresetName(0), "empty");
  EXPECT_FALSE(plug.GetPreset(1)->mInitialized);
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 0);
  EXPECT_STREQ(plug.GetEffectName(), "Test");
  EXPECT_STREQ(plug.GetMfrName(), "Test Maker");
}

TEST(BaseConstruction, ChannelStringsOddAndMissing)
{
  TestPlug none(0, nullptr, 0);
  EXPECT_EQ(none.ChannelIOCount(), 0);
  EXPECT_EQ(none.NInChannels(), 0);
  EXPECT_FALSE(none.LegalIO(-1, -1));

  TestPlug odd(0, "x-3 4-x", 0);
  int nIn = -1, nOut = -1;
  ASSERT_EQ(odd.ChannelIOCount(), 2);
  odd.GetChannelIO(0, &nIn, &nOut);
  EXPECT_EQ(nIn, 0);
  EXPECT_EQ(nOut, 0);
  odd.GetChannelIO(1, &nIn, &nOut);
  EXPECT_EQ(nIn, 4);
  EXPECT_EQ(nOut, 0);
  EXPECT_EQ(odd.NInChannels(), 4);
  EXPECT_EQ(odd.NOutChannels(), 0);
}

TEST(BaseConstruction, LongNamesAreCut)
{
  std::string name(300, 'n');
  TestPlug plug(0, "2-2", 0, false, name.c_str());
  EXPECT_EQ(strlen(plug.GetEffectName()), 127u);
}

TEST(BaseChannels, LegalIOWithWildcards)
{
  TestPlug plug(0, "1-1 2-2", 0);
  EXPECT_TRUE(plug.LegalIO(1, -1));
  EXPECT_TRUE(plug.LegalIO(2, 2));
  EXPECT_TRUE(plug.LegalIO(-1, -1));
  EXPECT_TRUE(plug.LegalIO(-1, 1));
  EXPECT_FALSE(plug.LegalIO(1, 2));
  EXPECT_FALSE(plug.LegalIO(3, -1));
}

TEST(BaseChannels, ConnectionsAreCutAtChannelCount)
{
  TestPlug plug(0, "4-4", 0);
  plug.SetInputChannelConnections(1, 10, true);
  EXPECT_FALSE(plug.IsInChannelConnected(0));
  EXPECT_TRUE(plug.IsInChannelConnected(3));
  EXPECT_FALSE(plug.IsInChannelConnected(4));
  plug.SetOutputChannelConnections(-2, 3, true);
  EXPECT_TRUE(plug.IsOutChannelConnected(0));
  EXPECT_FALSE(plug.IsOutChannelConnected(1));
}

TEST(BaseChannels, LimitToStereo)
{
  TestPlug plug(0, "4-4", 0);
  plug.SetBlockSize(8);
  plug.SetInputChannelConnections(0, 4, true);
  plug.LimitToStereoIO();
  EXPECT_TRUE(plug.IsInChannelConnected(1));
  EXPECT_FALSE(plug.IsInChannelConnected(2));
  EXPECT_FALSE(plug.IsInChannelConnected(3));
  // Outputs beyond the pair are connected, as hosts of stereo plug-ins expect.
  EXPECT_FALSE(plug.IsOutChannelConnected(1));
  EXPECT_TRUE(plug.IsOutChannelConnected(2));
  EXPECT_TRUE(plug.IsOutChannelConnected(3));
}

// A stereo plug-in as an adapter sets it up.
struct StereoFixture : ::testing::Test {
  StereoFixture() : plug(0, "1-1 2-2", 0)
  {
    plug.SetInputChannelConnections(0, 2, true);
    plug.SetOutputChannelConnections(0, 2, true);
    plug.SetBlockSize(kFrames);
  }
  static constexpr int kFrames = 16;
  TestPlug plug;
};

TEST_F(StereoFixture, DoubleBlockCopiesInputs)
{
  std::vector<double> inL(kFrames), inR(kFrames), outL(kFrames, 9.0), outR(kFrames, 9.0);
  for (int i = 0; i < kFrames; ++i) inL[i] = i, inR[i] = -i;
  double* ins[] = {inL.data(), inR.data()};
  double* outs[] = {outL.data(), outR.data()};
  plug.AttachInputBuffers(0, 2, ins, kFrames);
  plug.AttachOutputBuffers(0, 2, outs);
  EXPECT_EQ(plug.InSlot(0), inL.data());
  EXPECT_EQ(plug.OutSlot(1), outR.data());
  plug.ProcessBuffers(0.0, kFrames);
  EXPECT_EQ(outL, inL);
  EXPECT_EQ(outR, inR);
}

TEST_F(StereoFixture, FloatBlockConvertsBothWays)
{
  std::vector<float> inL(kFrames), inR(kFrames), outL(kFrames, 9.0f), outR(kFrames, 9.0f);
  for (int i = 0; i < kFrames; ++i) inL[i] = 0.25f * i, inR[i] = -0.5f * i;
  float* ins[] = {inL.data(), inR.data()};
  float* outs[] = {outL.data(), outR.data()};
  plug.AttachInputBuffers(0, 2, ins, kFrames);
  plug.AttachOutputBuffers(0, 2, outs);
  EXPECT_NE(plug.InSlot(0), nullptr);
  EXPECT_EQ(plug.InSlot(0)[3], 0.75);
  plug.ProcessBuffers(0.0f, kFrames);
  EXPECT_EQ(outL, inL);
  EXPECT_EQ(outR, inR);
}

TEST_F(StereoFixture, AccumulatingAddsToHostOutput)
{
  std::vector<float> in(kFrames, 0.5f), outL(kFrames, 1.0f), outR(kFrames, 2.0f);
  float* ins[] = {in.data(), in.data()};
  float* outs[] = {outL.data(), outR.data()};
  plug.AttachInputBuffers(0, 2, ins, kFrames);
  plug.AttachOutputBuffers(0, 2, outs);
  plug.ProcessBuffersAccumulating(0.0f, kFrames);
  for (int i = 0; i < kFrames; ++i) {
    EXPECT_EQ(outL[i], 1.5f);
    EXPECT_EQ(outR[i], 2.5f);
  }
}

TEST_F(StereoFixture, UnconnectedChannelsConsumeNoHostBuffer)
{
  plug.SetInputChannelConnections(0, 1, false);
  plug.SetOutputChannelConnections(0, 1, false);
  std::vector<float> in(kFrames, 0.75f), out(kFrames, 0.0f), untouched(kFrames, 3.0f);
  float* ins[] = {in.data(), nullptr};
  float* outs[] = {out.data(), untouched.data()};
  plug.AttachInputBuffers(0, 2, ins, kFrames);
  plug.AttachOutputBuffers(0, 2, outs);
  // Input 0 reads its zeroed scratch; input 1 took the first host buffer.
  EXPECT_EQ(plug.InSlot(0)[0], 0.0);
  EXPECT_EQ(plug.InSlot(1)[0], 0.75);
  plug.ProcessBuffers(0.0f, kFrames);
  for (int i = 0; i < kFrames; ++i) EXPECT_EQ(out[i], 0.75f);  // output 1 wrote the first host buffer
  for (int i = 0; i < kFrames; ++i) EXPECT_EQ(untouched[i], 3.0f);
}

TEST_F(StereoFixture, NoFramesMovesNoSamples)
{
  std::vector<float> in(kFrames, 0.5f), out(kFrames, 7.0f);
  float* ins[] = {in.data(), in.data()};
  float* outs[] = {out.data(), out.data()};
  plug.AttachInputBuffers(0, 2, ins, 0);
  EXPECT_EQ(plug.InSlot(0)[0], 0.0);  // points at scratch, nothing converted
  plug.AttachOutputBuffers(0, 2, outs);
  plug.ProcessBuffers(0.0f, 0);
  EXPECT_EQ(out[0], 7.0f);
}

TEST_F(StereoFixture, PassThroughAndZeroScratch)
{
  std::vector<float> in(kFrames, 0.5f), outL(kFrames), outR(kFrames);
  float* ins[] = {in.data(), in.data()};
  float* outs[] = {outL.data(), outR.data()};
  plug.AttachInputBuffers(0, 2, ins, kFrames);
  plug.AttachOutputBuffers(0, 2, outs);
  plug.PassThroughBuffers(0.0f, kFrames);
  EXPECT_EQ(outL[kFrames - 1], 0.5f);
  plug.ZeroScratchBuffers();
  EXPECT_EQ(plug.InSlot(0)[0], 0.0);
}

TEST(BaseProcessing, MonoInputZeroesSecondOutput)
{
  TestPlug plug(0, "1-2", 0);
  plug.SetInputChannelConnections(0, 1, true);
  plug.SetOutputChannelConnections(0, 2, true);
  plug.SetBlockSize(4);
  double in[4] = {1, 2, 3, 4}, outL[4] = {}, outR[4] = {9, 9, 9, 9};
  double* ins[] = {in};
  double* outs[] = {outL, outR};
  plug.AttachInputBuffers(0, 1, ins, 4);
  plug.AttachOutputBuffers(0, 2, outs);
  plug.ProcessBuffers(0.0, 4);
  EXPECT_EQ(outL[3], 4.0);
  EXPECT_EQ(outR[0], 0.0);
  EXPECT_EQ(outR[3], 0.0);
}

TEST(BaseBlockSize, ResizesZeroesAndKeepsSlotsValid)
{
  TestPlug plug(0, "2-2", 0);
  plug.SetInputChannelConnections(0, 2, false);
  plug.SetOutputChannelConnections(0, 2, false);
  plug.SetBlockSize(4);
  ASSERT_NE(plug.InSlot(0), nullptr);
  plug.InSlot(0)[1] = 5.0;
  plug.SetBlockSize(4);  // same size: untouched
  EXPECT_EQ(plug.InSlot(0)[1], 5.0);
  // Growing moves the scratch memory; unconnected slots follow it.
  plug.SetBlockSize(5000);
  EXPECT_EQ(plug.GetBlockSize(), 5000);
  EXPECT_EQ(plug.GetMaxFramesPerCall(), 5000);
  EXPECT_EQ(plug.InSlot(0)[1], 0.0);
  EXPECT_EQ(plug.InSlot(0)[4999], 0.0);
  plug.OutSlot(1)[4999] = 1.0;
  plug.ProcessBuffers(0.0, 5000);
  EXPECT_EQ(plug.OutSlot(1)[4999], 0.0);
}

TEST(BaseBlockSize, HugeBlockSizesAreServedFromCappedScratch)
{
  TestPlug plug(0, "2-2", 0);
  plug.SetBlockSize(1 << 24);
  EXPECT_EQ(plug.GetBlockSize(), 1 << 24);
  const int cap = plug.GetMaxFramesPerCall();
  EXPECT_GE(cap, 4096);
  EXPECT_LE(cap, 65536);
  // Every scratch buffer holds the capped size: the last frame is usable.
  plug.OutSlot(1)[cap - 1] = 1.0;
  plug.ProcessBuffers(0.0, 1 << 24);
  EXPECT_EQ(plug.OutSlot(1)[cap - 1], 0.0);
  plug.SetBlockSize(-3);
  EXPECT_EQ(plug.GetMaxFramesPerCall(), 0);
  plug.ProcessBuffers(0.0, 10);  // nothing to process into
}

TEST(BaseBlockSize, FloatSlotsFollowResizedScratch)
{
  TestPlug plug(0, "1-1", 0);
  plug.SetInputChannelConnections(0, 1, true);
  plug.SetOutputChannelConnections(0, 1, true);
  plug.SetBlockSize(8);
  std::vector<float> in(64, 1.0f), out(64, 5.0f);
  float* ins[] = {in.data()};
  float* outs[] = {out.data()};
  plug.AttachInputBuffers(0, 1, ins, 8);
  plug.AttachOutputBuffers(0, 1, outs);
  plug.SetBlockSize(64);
  // Until the next attach, the slots point at live scratch memory.
  plug.ProcessBuffers(0.0f, 64);
  EXPECT_EQ(out[63], 0.0f);
}

TEST(BaseParams, SetParameterFromGUIInformsAndNotifies)
{
  TestPlug plug(2, "2-2", 0);
  plug.GetParam(1)->InitDouble("x", 0.0, 0.0, 10.0, 0.1);
  plug.SetParameterFromGUI(1, 0.5);
  EXPECT_EQ(plug.GetParam(1)->Value(), 5.0);
  ASSERT_EQ(plug.informed.size(), 1u);
  EXPECT_EQ(plug.informed[0].first, 1);
  EXPECT_EQ(plug.informed[0].second, 0.5);
  EXPECT_EQ(plug.paramChanges, std::vector<int>{1});
  plug.SetParameterFromGUI(7, 0.5);
  EXPECT_EQ(plug.informed.size(), 1u);
  plug.paramChanges.clear();
  plug.OnParamReset();
  EXPECT_EQ(plug.paramChanges, (std::vector<int>{0, 1}));
}

TEST(BaseParams, SetParameterFromGUIWaitsForBlock)
{
  TestPlug plug(1, "2-2", 0);
  plug.GetParam(0)->InitDouble("x", 0.0, 0.0, 1.0, 0.01);
  std::atomic<bool> done{false};
  plug.GetMutex().Enter();  // the audio thread holds the mutex for a block
  std::thread gui([&] {
    plug.SetParameterFromGUI(0, 1.0);
    done = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(done.load());
  EXPECT_EQ(plug.GetParam(0)->Value(), 0.0);
  plug.GetMutex().Leave();
  gui.join();
  EXPECT_TRUE(done.load());
  EXPECT_EQ(plug.GetParam(0)->Value(), 1.0);
}

TEST(BaseParams, DirtyParametersInformsEveryParameter)
{
  TestPlug plug(2, "2-2", 0);
  plug.GetParam(0)->InitDouble("a", 5.0, 0.0, 10.0, 0.1);
  plug.GetParam(1)->InitBool("b", true);
  plug.DirtyParameters();
  ASSERT_EQ(plug.informed.size(), 2u);
  EXPECT_EQ(plug.informed[0].second, 0.5);
  EXPECT_EQ(plug.informed[1].second, 1.0);
}

TEST(BaseLabels, ChannelAndBusLabels)
{
  TestPlug plug(0, "2-2", 0);
  plug.SetInputLabel(1, "Side");
  plug.SetInputLabel(2, "ignored");
  plug.SetOutputLabel(0, nullptr);
  EXPECT_STREQ(plug.GetInputLabel(1), "Side");
  EXPECT_STREQ(plug.GetInputLabel(2), "");
  EXPECT_STREQ(plug.GetOutputLabel(0), "");

  plug.SetInputBusLabel(2, "no");
  EXPECT_STREQ(plug.GetInputBusLabel(2), "");
  plug.SetInputBusLabel(0, "Main");
  plug.SetInputBusLabel(0, "Main In");
  EXPECT_STREQ(plug.GetInputBusLabel(0), "Main In");
  EXPECT_STREQ(plug.GetInputBusLabel(1), "");

  plug.SetOutputBusLabel(5, "x");
  EXPECT_STREQ(plug.GetOutputBusLabel(0), "x");
  plug.SetOutputBusLabel(-1, "no");
  plug.SetOutputBusLabel(0, "y");
  EXPECT_STREQ(plug.GetOutputBusLabel(0), "y");
  EXPECT_STREQ(plug.GetOutputBusLabel(1), "");
}

TEST(BaseMidi, SendMidiMsgsSendsAllAndReportsFailure)
{
  TestPlug plug(0, "2-2", 0);
  BASE_TypedBuf<IMidiMsg> msgs;
  IMidiMsg msg;
  msg.MakeNoteOnMsg(60, 100, 0);
  msgs.Add(msg);
  msg.MakeNoteOnMsg(0xFF & 0x7F, 100, 1);
  msg.mData1 = 0xFF;  // the test plug-in refuses this one
  msgs.Add(msg);
  msg.MakeNoteOffMsg(60, 2);
  msgs.Add(msg);
  EXPECT_FALSE(plug.SendMidiMsgs(&msgs));
  EXPECT_EQ(plug.sentMidi.size(), 3u);
  msgs.Resize(1);
  EXPECT_TRUE(plug.SendMidiMsgs(&msgs));
  // MIDI thru by default.
  plug.ProcessMidiMsg(&msg);
  EXPECT_EQ(plug.sentMidi.back().mData1, 60);
  char name[8] = "x";
  EXPECT_FALSE(plug.MidiNoteName(60, name));
  EXPECT_STREQ(name, "");
}

TEST(BaseHost, VersionsAndNames)
{
  TestPlug plug(0, "2-2", 0);
  EXPECT_EQ(plug.GetEffectVersion(true), 10000);
  EXPECT_EQ(plug.GetEffectVersion(false), 0x10000);
  char text[32];
  plug.GetEffectVersionStr(text);
  EXPECT_STREQ(text, "v1.0.0");
  plug.SetHost("REAPER", 0x50203);
  EXPECT_EQ(plug.GetHost(), kHostReaper);
  EXPECT_EQ(plug.GetHostVersion(true), 50203);
  plug.GetHostVersionStr(text);
  EXPECT_STREQ(text, "v5.2.3");
  EXPECT_STREQ(plug.GetAPIString(), "VST2");
  EXPECT_STREQ(plug.GetArchString(), "x64");
}

TEST(BaseTiming, SamplesPerBeatNeedsTempo)
{
  TestPlug plug(0, "2-2", 0);
  EXPECT_EQ(plug.GetSamplesPerBeat(), 0.0);
  plug.tempo = 120.0;
  plug.SetSampleRate(48000.0);
  EXPECT_EQ(plug.GetSamplesPerBeat(), 24000.0);
}

}  // namespace

namespace {

TEST_F(StereoFixture, MissingHostBuffersReadSilenceAndWriteNowhere)
{
  std::vector<float> in(kFrames, 0.5f), out(kFrames, 3.0f);
  float* ins[] = {nullptr, in.data()};
  float* outs[] = {nullptr, out.data()};
  plug.AttachInputBuffers(0, 2, ins, kFrames);
  plug.AttachOutputBuffers(0, 2, outs);
  EXPECT_EQ(plug.InSlot(0)[kFrames - 1], 0.0);
  plug.ProcessBuffers(0.0f, kFrames);
  EXPECT_EQ(out[0], 0.5f);

  double dout[kFrames];
  double* dins[] = {nullptr, nullptr};
  double* douts[] = {nullptr, dout};
  plug.AttachInputBuffers(0, 2, static_cast<double**>(nullptr), kFrames);
  plug.AttachInputBuffers(0, 2, dins, kFrames);
  plug.AttachOutputBuffers(0, 2, douts);
  plug.ProcessBuffers(0.0, kFrames);
  EXPECT_EQ(dout[kFrames - 1], 0.0);
  plug.AttachOutputBuffers(0, 2, static_cast<float**>(nullptr));
  plug.ProcessBuffers(0.0f, kFrames);
}

}  // namespace

namespace {

// ---- Host buffers the base must not trust ----

TEST_F(StereoFixture, ACallLongerThanTheBlockProcessesOnlyWhatTheScratchHolds)
{
  // A caller of the base (not the VST adapter, which splits) passes far
  // more frames than the block size: the base converts and writes at most
  // the block, the rest of the host's buffers stays as it was.
  const int n = 20000;
  std::vector<float> in(n, 0.5f), out(n, 7.0f);
  float* ins[] = {in.data(), in.data()};
  float* outs[] = {out.data(), out.data()};
  plug.AttachInputBuffers(0, 2, ins, n);
  plug.AttachOutputBuffers(0, 2, outs);
  plug.ProcessBuffers(0.0f, n);
  for (int i = 0; i < kFrames; ++i) ASSERT_EQ(out[i], 0.5f) << i;
  for (int i = kFrames; i < n; ++i) ASSERT_EQ(out[i], 7.0f) << i;

  std::vector<double> din(n, 0.25), dout(n, 3.0);
  double* dins[] = {din.data(), din.data()};
  double* douts[] = {dout.data(), dout.data()};
  plug.AttachInputBuffers(0, 2, dins, n);
  plug.AttachOutputBuffers(0, 2, douts);
  plug.ProcessBuffers(0.0, n);
  EXPECT_EQ(dout[kFrames - 1], 0.25);
  EXPECT_EQ(dout[kFrames], 3.0);
}

TEST_F(StereoFixture, AnInputDisconnectedAfterAFloatBlockReadsSilence)
{
  std::vector<float> inL(kFrames, 0.5f), inR(kFrames, -0.75f), outL(kFrames), outR(kFrames);
  float* ins[] = {inL.data(), inR.data()};
  float* outs[] = {outL.data(), outR.data()};
  plug.AttachInputBuffers(0, 2, ins, kFrames);
  plug.AttachOutputBuffers(0, 2, outs);
  plug.ProcessBuffers(0.0f, kFrames);
  ASSERT_EQ(outR[0], -0.75f);

  // Mono in, stereo out: the right input is no longer the host's.
  plug.SetInputChannelConnections(1, 1, false);
  for (int block = 0; block < 3; ++block) {
    float* mono[] = {inL.data()};
    plug.AttachInputBuffers(0, 2, mono, kFrames);
    plug.AttachOutputBuffers(0, 2, outs);
    plug.ProcessBuffers(0.0f, kFrames);
    for (int i = 0; i < kFrames; ++i) {
      ASSERT_EQ(outL[i], 0.5f);
      ASSERT_EQ(outR[i], 0.0f) << block << " " << i;
    }
  }
  // The double path reads the same silence.
  std::vector<double> d(kFrames, 1.0), doutL(kFrames), doutR(kFrames, 9.0);
  double* dins[] = {d.data()};
  double* douts[] = {doutL.data(), doutR.data()};
  plug.AttachInputBuffers(0, 2, dins, kFrames);
  plug.AttachOutputBuffers(0, 2, douts);
  plug.ProcessBuffers(0.0, kFrames);
  for (int i = 0; i < kFrames; ++i) ASSERT_EQ(doutR[i], 0.0);
}

TEST_F(StereoFixture, OutputsThatWouldBeSubnormalFloatsBecomeZero)
{
  // Passed through, each input comes out as itself: the smallest normal
  // float and everything above stay, subnormal floats become zero.
  const float tiny = std::numeric_limits<float>::denorm_min();
  const float normal = std::numeric_limits<float>::min();
  const std::vector<float> in = {1e-40f, -1e-40f, tiny,   -tiny,      normal, -normal, 1.0f,   0.0f,
                                 -0.0f,  1e-39f,  3e-39f, normal / 2, 0.5f,   -0.5f,   2e-38f, -2e-38f};
  ASSERT_EQ(static_cast<int>(in.size()), kFrames);
  std::vector<float> out(kFrames, 9.0f);
  float* ins[] = {const_cast<float*>(in.data()), const_cast<float*>(in.data())};
  float* outs[] = {out.data(), out.data()};
  plug.AttachInputBuffers(0, 2, ins, kFrames);
  plug.AttachOutputBuffers(0, 2, outs);
  plug.ProcessBuffers(0.0f, kFrames);
  for (int i = 0; i < kFrames; ++i) {
    const bool subnormal = std::fpclassify(in[i]) == FP_SUBNORMAL;
    EXPECT_EQ(out[i], subnormal ? 0.0f : in[i]) << i;
    EXPECT_NE(std::fpclassify(out[i]), FP_SUBNORMAL) << i;
  }

  // Accumulating: the sum the host reads back is never subnormal either.
  std::vector<float> acc(kFrames, 0.0f), accR(kFrames, 0.0f);
  float* accs[] = {acc.data(), accR.data()};
  plug.AttachInputBuffers(0, 2, ins, kFrames);
  plug.AttachOutputBuffers(0, 2, accs);
  plug.ProcessBuffersAccumulating(0.0f, kFrames);
  for (int i = 0; i < kFrames; ++i) EXPECT_NE(std::fpclassify(acc[i]), FP_SUBNORMAL) << i;
  EXPECT_EQ(acc[6], 1.0f);
}

}  // namespace
