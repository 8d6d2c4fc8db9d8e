// Audio through the record's three process callbacks on the probe plug-in,
// which multiplies by its gain: every call shape a host may use.

#include <cmath>
#include <random>
#include <vector>

#include "tests/framework/vst/probe_fixture.h"

namespace {

class ProbeProcessTest : public ProbeTest {
protected:
  void SetUp() override
  {
    ProbeTest::SetUp();
    e->setParameter(e, kGain, 0.5f);  // -24 dB
    gain = std::pow(10.0, GainDb() / 20.0);
  }
  double GainDb() { return ParamDisplayNumber(kGain); }

  template <class T>
  std::vector<std::vector<T>> Noise(int frames, unsigned seed = 1)
  {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    std::vector<std::vector<T>> channels(2, std::vector<T>(static_cast<size_t>(frames)));
    for (auto& ch : channels)
      for (T& s : ch) s = static_cast<T>(dist(rng));
    return channels;
  }

  double gain = 1.0;
};

template <class T>
std::vector<T*> Pointers(std::vector<std::vector<T>>& channels, int offset = 0)
{
  std::vector<T*> p;
  for (auto& ch : channels) p.push_back(ch.data() + offset);
  return p;
}

TEST_F(ProbeProcessTest, FloatDoubleAndAccumulatingFollowTheEffect)
{
  const int n = 300;
  auto inF = Noise<float>(n);
  auto outF = Noise<float>(n, 2);
  e->processReplacing(e, Pointers(inF).data(), Pointers(outF).data(), n);
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < n; ++i)
      ASSERT_EQ(outF[c][i], static_cast<float>(static_cast<double>(inF[c][i]) * gain));

  auto inD = Noise<double>(n);
  auto outD = Noise<double>(n, 2);
  e->processDoubleReplacing(e, Pointers(inD).data(), Pointers(outD).data(), n);
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < n; ++i) ASSERT_EQ(outD[c][i], inD[c][i] * gain);

  auto acc = Noise<float>(n, 3);
  const auto before = acc;
  e->process(e, Pointers(inF).data(), Pointers(acc).data(), n);
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < n; ++i)
      ASSERT_EQ(acc[c][i], before[c][i] + static_cast<float>(static_cast<double>(inF[c][i]) * gain));
}

TEST_F(ProbeProcessTest, UnevenBlocksAndCallsLongerThanTheBlockSize)
{
  Dispatch(e, effSetBlockSize, 0, 64);
  const int sizes[] = {1, 7, 64, 65, 1000, 3, 4096};
  for (int n : sizes) {
    auto in = Noise<float>(n, static_cast<unsigned>(n));
    auto out = Noise<float>(n, 9);
    e->processReplacing(e, Pointers(in).data(), Pointers(out).data(), n);
    for (int c = 0; c < 2; ++c)
      for (int i = 0; i < n; ++i)
        ASSERT_EQ(out[c][i], static_cast<float>(static_cast<double>(in[c][i]) * gain)) << n << " " << i;

    auto inD = Noise<double>(n, static_cast<unsigned>(n));
    auto outD = Noise<double>(n, 9);
    e->processDoubleReplacing(e, Pointers(inD).data(), Pointers(outD).data(), n);
    for (int c = 0; c < 2; ++c)
      for (int i = 0; i < n; ++i) ASSERT_EQ(outD[c][i], inD[c][i] * gain);

    auto acc = Noise<float>(n, 5);
    const auto before = acc;
    e->process(e, Pointers(in).data(), Pointers(acc).data(), n);
    for (int c = 0; c < 2; ++c)
      for (int i = 0; i < n; ++i)
        ASSERT_EQ(acc[c][i], before[c][i] + static_cast<float>(static_cast<double>(in[c][i]) * gain));
  }
}

TEST_F(ProbeProcessTest, UnusableBlockSizesAreIgnored)
{
  Dispatch(e, effSetBlockSize, 0, 32);
  Dispatch(e, effSetBlockSize, 0, 0);
  Dispatch(e, effSetBlockSize, 0, -5);
  Dispatch(e, effSetBlockSize, 0, VstIntPtr(1) << 40);
  const int n = 100;
  auto in = Noise<float>(n);
  auto out = Noise<float>(n, 2);
  e->processReplacing(e, Pointers(in).data(), Pointers(out).data(), n);
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < n; ++i) ASSERT_EQ(out[c][i], static_cast<float>(in[c][i] * gain));
}

TEST_F(ProbeProcessTest, MissingHostBuffersReadSilenceAlsoInLongCalls)
{
  Dispatch(e, effSetBlockSize, 0, 16);
  const int n = 40;  // longer than the block size: processed in pieces
  auto in = Noise<float>(n);
  auto out = Noise<float>(n, 2);
  e->processReplacing(e, nullptr, Pointers(out).data(), n);
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < n; ++i) ASSERT_EQ(out[c][i], 0.0f);

  std::vector<float*> holey = Pointers(in);
  holey[1] = nullptr;
  out = Noise<float>(n, 2);
  e->processReplacing(e, holey.data(), Pointers(out).data(), n);
  for (int i = 0; i < n; ++i) {
    ASSERT_EQ(out[0][i], static_cast<float>(in[0][i] * gain));
    ASSERT_EQ(out[1][i], 0.0f);
  }
  std::vector<double*> none(2, nullptr);
  e->processDoubleReplacing(e, none.data(), none.data(), n);
  e->processReplacing(e, Pointers(in).data(), nullptr, n);  // nowhere to write: nothing reaches the host
}

TEST_F(ProbeProcessTest, EmptyBlocksLeaveOutputsAlone)
{
  auto in = Noise<float>(16);
  auto out = Noise<float>(16, 2);
  const auto before = out;
  e->processReplacing(e, Pointers(in).data(), Pointers(out).data(), 0);
  e->processReplacing(e, Pointers(in).data(), Pointers(out).data(), -3);
  e->process(e, Pointers(in).data(), Pointers(out).data(), 0);
  EXPECT_EQ(out, before);
}

TEST_F(ProbeProcessTest, InputsBeyondTheSpeakerArrangementReadSilence)
{
  VstSpeakerArrangement mono = {};
  mono.type = kSpeakerArrMono;
  mono.numChannels = 1;
  EXPECT_EQ(Dispatch(e, effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&mono), nullptr), 1);
  const int n = 32;
  auto in = Noise<double>(n);
  auto out = Noise<double>(n, 2);
  e->processDoubleReplacing(e, Pointers(in).data(), Pointers(out).data(), n);
  for (int i = 0; i < n; ++i) {
    ASSERT_EQ(out[0][i], in[0][i] * gain);
    ASSERT_EQ(out[1][i], 0.0);
  }
}

TEST_F(ProbeProcessTest, AMidiPlugInAsksForMidiOncePerBlock)
{
  RecordingHost::Get().calls.clear();
  auto in = Noise<float>(8);
  auto out = Noise<float>(8);
  e->processReplacing(e, Pointers(in).data(), Pointers(out).data(), 8);
  auto inD = Noise<double>(8);
  auto outD = Noise<double>(8);
  e->processDoubleReplacing(e, Pointers(inD).data(), Pointers(outD).data(), 8);
  EXPECT_EQ(RecordingHost::Get().Calls(audioMasterWantMidi).size(), 2u);
}

}  // namespace
