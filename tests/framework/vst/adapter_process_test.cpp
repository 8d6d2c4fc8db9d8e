// Audio through the record's three process callbacks on the probe plug-in,
// which multiplies by its gain: every call shape a host may use.

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
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

// The first nChannels outputs are their inputs times the gain, in the
// outputs' precision.
template <class T>
void ExpectGainApplied(const std::vector<std::vector<T>>& out, const std::vector<std::vector<T>>& in,
                       double gain, int nChannels = 2)
{
  for (int c = 0; c < nChannels; ++c)
    for (size_t i = 0; i < in[c].size(); ++i)
      ASSERT_EQ(out[c][i], static_cast<T>(static_cast<double>(in[c][i]) * gain)) << c << " " << i;
}

TEST_F(ProbeProcessTest, FloatDoubleAndAccumulatingFollowTheEffect)
{
  const int n = 300;
  auto inF = Noise<float>(n);
  auto outF = Noise<float>(n, 2);
  e->processReplacing(e, Pointers(inF).data(), Pointers(outF).data(), n);
  ExpectGainApplied(outF, inF, gain);

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

// ---- Hosts that pass less than the plug-in could ask for ----

// A host's array of channel pointers, placed at the very end of a readable
// page with an unreadable page behind it: reading one pointer more than the
// host passed faults at once, with or without the sanitizer.
template <class T>
class GuardedPointers {
public:
  explicit GuardedPointers(const std::vector<T*>& pointers)
  {
    mPage = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    mBase = static_cast<char*>(
        mmap(nullptr, 2 * mPage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    if (mBase == MAP_FAILED) mBase = nullptr;
    if (!mBase || mprotect(mBase + mPage, mPage, PROT_NONE) != 0) return;
    mArray = reinterpret_cast<T**>(mBase + mPage) - pointers.size();
    std::copy(pointers.begin(), pointers.end(), mArray);
  }
  ~GuardedPointers()
  {
    if (mBase) munmap(mBase, 2 * mPage);
  }
  GuardedPointers(const GuardedPointers&) = delete;
  GuardedPointers& operator=(const GuardedPointers&) = delete;
  T** Get() const { return mArray; }

private:
  size_t mPage = 0;
  char* mBase = nullptr;
  T** mArray = nullptr;
};

void SetArrangement(AEffect* e, int nIn, int nOut)
{
  VstSpeakerArrangement in = {}, out = {};
  in.type = nIn == 1 ? kSpeakerArrMono : kSpeakerArrStereo;
  in.numChannels = nIn;
  out.type = nOut == 1 ? kSpeakerArrMono : kSpeakerArrStereo;
  out.numChannels = nOut;
  ASSERT_EQ(Dispatch(e, effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 1);
}

TEST_F(ProbeProcessTest, LongMonoCallsReadOnlyThePointersTheHostPassed)
{
  SetArrangement(e, 1, 1);
  Dispatch(e, effSetBlockSize, 0, 16);
  const int n = 100;  // longer than the block: processed in pieces
  auto in = Noise<float>(n);
  auto out = Noise<float>(n, 2);
  GuardedPointers<float> ins({in[0].data()}), outs({out[0].data()});
  ASSERT_NE(ins.Get(), nullptr);
  ASSERT_NE(outs.Get(), nullptr);
  e->processReplacing(e, ins.Get(), outs.Get(), n);
  ExpectGainApplied(out, in, gain, 1);
  const std::vector<float> replaced = out[0];
  e->process(e, ins.Get(), outs.Get(), n);
  for (int i = 0; i < n; ++i)
    ASSERT_EQ(out[0][i], replaced[i] + static_cast<float>(static_cast<double>(in[0][i]) * gain));

  auto inD = Noise<double>(n);
  auto outD = Noise<double>(n, 2);
  GuardedPointers<double> dins({inD[0].data()}), douts({outD[0].data()});
  e->processDoubleReplacing(e, dins.Get(), douts.Get(), n);
  ExpectGainApplied(outD, inD, gain, 1);
}

TEST_F(ProbeProcessTest, AnInputLeftOutOfTheArrangementReadsSilenceNotItsLastBlock)
{
  const int n = 64;
  auto in = Noise<float>(n);
  auto out = Noise<float>(n, 2);
  e->processReplacing(e, Pointers(in).data(), Pointers(out).data(), n);
  ASSERT_NE(out[1][0], 0.0f);

  SetArrangement(e, 1, 2);
  for (int block = 0; block < 3; ++block) {
    auto next = Noise<float>(n, 10 + block);
    out = Noise<float>(n, 2);
    e->processReplacing(e, Pointers(next).data(), Pointers(out).data(), n);
    for (int i = 0; i < n; ++i) {
      ASSERT_EQ(out[0][i], static_cast<float>(static_cast<double>(next[0][i]) * gain));
      ASSERT_EQ(out[1][i], 0.0f) << block << " " << i;
    }
  }
  auto inD = Noise<double>(n, 20);
  auto outD = Noise<double>(n, 2);
  e->processDoubleReplacing(e, Pointers(inD).data(), Pointers(outD).data(), n);
  for (int i = 0; i < n; ++i) ASSERT_EQ(outD[1][i], 0.0);
}

long ResidentBytes()
{
  long pages = 0, resident = 0;
  FILE* f = std::fopen("/proc/self/statm", "r");
  if (!f) return -1;
  const int got = std::fscanf(f, "%ld %ld", &pages, &resident);
  std::fclose(f);
  return got == 2 ? resident * sysconf(_SC_PAGESIZE) : -1;
}

TEST_F(ProbeProcessTest, AHugeBlockSizeCommitsNoHugeScratchAndLongCallsStillComeOutRight)
{
  const long before = ResidentBytes();
  ASSERT_GT(before, 0);
  Dispatch(e, effSetBlockSize, 0, 1 << 24);
  EXPECT_LT(ResidentBytes() - before, 64L << 20);

  const int n = 100000;
  auto in = Noise<float>(n);
  auto out = Noise<float>(n, 2);
  e->processReplacing(e, Pointers(in).data(), Pointers(out).data(), n);
  ExpectGainApplied(out, in, gain);
}

}  // namespace
