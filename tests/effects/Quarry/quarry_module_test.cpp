// Quarry.so as a host sees it: loaded with dlopen, created through
// VSTPluginMain with a recording host, and compared sample for sample with
// the effect's own processing built into the test.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "effects/Quarry/Quarry.h"
#include "framework/IParam.h"
#include "tests/framework/vst/vst_harness.h"

namespace {

PluginModule& QuarryModule()
{
  static PluginModule module(QUARRY_SO_PATH);
  return module;
}

enum { kOut = 0, kGainM, kGainL, kBypass };

class QuarryModuleTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(QuarryModule().Loaded()) << QuarryModule().Error();
    RecordingHost::Get().Reset();
    e = QuarryModule().Instantiate();
    ASSERT_NE(e, nullptr);
    Dispatch(e, effOpen);
    Dispatch(e, effSetSampleRate, 0, 0, nullptr, 48000.0f);
    Dispatch(e, effSetBlockSize, 0, 256);
    Dispatch(e, effMainsChanged, 0, 1);
  }
  void TearDown() override { Close(e); }
  AEffect* e = nullptr;
};

std::vector<unsigned char> GetChunk(AEffect* e, int index)
{
  void* data = nullptr;
  const VstIntPtr size = Dispatch(e, effGetChunk, index, 0, &data);
  if (size <= 0 || !data) return {};
  return std::vector<unsigned char>(static_cast<unsigned char*>(data),
                                    static_cast<unsigned char*>(data) + size);
}

TEST_F(QuarryModuleTest, RecordCarriesTheEffectsIdentity)
{
  EXPECT_EQ(e->magic, kEffectMagic);
  EXPECT_EQ(e->uniqueID, CCONST('Q', 'r', 'y', '1'));
  EXPECT_EQ(e->version, 10000);
  EXPECT_EQ(e->numPrograms, 1);
  EXPECT_EQ(e->numParams, 4);
  EXPECT_EQ(e->numInputs, 2);
  EXPECT_EQ(e->numOutputs, 2);
  EXPECT_EQ(e->initialDelay, 0);
  EXPECT_EQ(e->ioRatio, 1.0f);
  EXPECT_EQ(e->flags,
            effFlagsHasEditor | effFlagsCanReplacing | effFlagsCanDoubleReplacing | effFlagsCanMono);
  EXPECT_EQ(DispatchText(e, effGetEffectName), "Quarry");
  EXPECT_EQ(DispatchText(e, effGetVendorString), "Lumenfold");
  EXPECT_EQ(DispatchText(e, effGetProductString), "");
  EXPECT_EQ(Dispatch(e, effGetVendorVersion), 10000);
  EXPECT_EQ(Dispatch(e, effGetPlugCategory), kPlugCategEffect);
  EXPECT_EQ(Dispatch(e, effIdentify), 0x4E764566);
  EXPECT_EQ(Dispatch(e, effGetVstVersion), 2400);
  EXPECT_EQ(Dispatch(e, effStartProcess), 0);
  EXPECT_EQ(Dispatch(e, effCanDo, 0, 0, const_cast<char*>("receiveVstTimeInfo")), 1);
  EXPECT_EQ(Dispatch(e, effCanDo, 0, 0, const_cast<char*>("receiveVstEvents")), 0);
}

TEST_F(QuarryModuleTest, EditorIsReportedWhenAttached)
{
  EXPECT_TRUE(e->flags & effFlagsHasEditor);
  ERect* rect = nullptr;
  EXPECT_EQ(Dispatch(e, effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->right, 303);
  EXPECT_EQ(rect->bottom, 436);
  // The one preset holds the defaults under the name "-".
  EXPECT_EQ(e->numPrograms, 1);
  EXPECT_EQ(DispatchText(e, effGetProgramName), "-");
  EXPECT_EQ(DispatchText(e, effGetProgramNameIndexed, 0), "-");
}

TEST_F(QuarryModuleTest, ParametersShowTheirDefaults)
{
  const char* names[] = {"OUT", "GainM", "GainL", "Bypass"};
  const char* shown[] = {"-30.00", "0.70", "0.30", "0"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(DispatchText(e, effGetParamName, i), names[i]);
    EXPECT_EQ(DispatchText(e, effGetParamDisplay, i), shown[i]);
    EXPECT_EQ(DispatchText(e, effGetParamLabel, i), "");
  }
  EXPECT_EQ(Dispatch(e, effString2Parameter, kOut, 0, const_cast<char*>("-12")), 1);
  EXPECT_EQ(DispatchText(e, effGetParamDisplay, kOut), "-12.00");
  EXPECT_FLOAT_EQ(e->getParameter(e, kOut), 0.7f);
  EXPECT_EQ(Dispatch(e, effVendorSpecific, kVstParameterUsesIntStep, kBypass), 0xBEEF);
  EXPECT_EQ(Dispatch(e, effVendorSpecific, kVstParameterUsesIntStep, kOut), 0);
}

TEST_F(QuarryModuleTest, PinsAreOneStereoPair)
{
  VstPinProperties pin = {};
  EXPECT_EQ(Dispatch(e, effGetInputProperties, 0, 0, &pin), 1);
  EXPECT_EQ(pin.flags, 3);
  EXPECT_STREQ(pin.label, "Input 1");
  EXPECT_EQ(Dispatch(e, effGetInputProperties, 1, 0, &pin), 1);
  EXPECT_EQ(pin.flags, 1);
  EXPECT_STREQ(pin.label, "Input 2");
  EXPECT_EQ(Dispatch(e, effGetInputProperties, 2, 0, &pin), 0);
  EXPECT_EQ(Dispatch(e, effGetOutputProperties, 1, 0, &pin), 1);
  EXPECT_STREQ(pin.label, "Output 2");
}

TEST_F(QuarryModuleTest, ChunksRoundTripWithAndWithoutTheHeader)
{
  e->setParameter(e, kOut, 0.25f);
  e->setParameter(e, kGainL, 0.9f);
  const std::vector<unsigned char> program = GetChunk(e, 1);
  ASSERT_EQ(program.size(), 40u);
  EXPECT_EQ(std::memcmp(program.data(), "tffp", 4), 0);
  const float out = e->getParameter(e, kOut), gainL = e->getParameter(e, kGainL);

  e->setParameter(e, kOut, 1.0f);
  e->setParameter(e, kGainL, 0.0f);
  EXPECT_EQ(Dispatch(e, effSetChunk, 1, program.size(), const_cast<unsigned char*>(program.data())), 1);
  EXPECT_EQ(e->getParameter(e, kOut), out);
  EXPECT_EQ(e->getParameter(e, kGainL), gainL);

  e->setParameter(e, kOut, 1.0f);
  std::vector<unsigned char> bare(program.begin() + 8, program.end());
  EXPECT_EQ(Dispatch(e, effSetChunk, 1, bare.size(), bare.data()), 1);
  EXPECT_EQ(e->getParameter(e, kOut), out);
  e->setParameter(e, kOut, 1.0f);
  EXPECT_EQ(Dispatch(e, effSetChunk, 0, bare.size(), bare.data()), 1);  // read as a program
  EXPECT_EQ(e->getParameter(e, kOut), out);

  const std::vector<unsigned char> bank = GetChunk(e, 0);
  ASSERT_EQ(bank.size(), 8u + 38u);  // name "-", flag, four doubles
  e->setParameter(e, kOut, 1.0f);
  EXPECT_EQ(Dispatch(e, effSetChunk, 0, bank.size(), const_cast<unsigned char*>(bank.data())), 1);
  EXPECT_EQ(e->getParameter(e, kOut), out);
}

TEST_F(QuarryModuleTest, TheOnePresetKeepsTheLiveState)
{
  EXPECT_EQ(DispatchText(e, effGetProgramNameIndexed, 0), "-");
  char buffer[32] = "x";
  EXPECT_EQ(Dispatch(e, effGetProgramNameIndexed, 1, 0, buffer), 0);
  EXPECT_STREQ(buffer, "");
  e->setParameter(e, kGainM, 0.2f);
  Dispatch(e, effSetProgram, 0, 0);  // stores, then restores: nothing changes
  EXPECT_FLOAT_EQ(e->getParameter(e, kGainM), 0.2f);
  e->setParameter(e, kGainM, 0.4f);
  Dispatch(e, effSetProgram, 0, 5);  // only the store happens
  EXPECT_FLOAT_EQ(e->getParameter(e, kGainM), 0.4f);
  EXPECT_EQ(Dispatch(e, effGetProgram), 0);
  e->setParameter(e, kGainM, 0.9f);
  Dispatch(e, effSetProgram, 0, 0);
  EXPECT_FLOAT_EQ(e->getParameter(e, kGainM), 0.9f);
}

// ---- Audio against the effect's own processing ----

// The effect built into the test, set up like the plug-in.
std::unique_ptr<Quarry> MakeReference(double rate, const std::vector<std::pair<int, float>>& settings)
{
  std::unique_ptr<Quarry> q(new Quarry(IEffectInstanceInfo()));
  q->SetSampleRate(rate);
  q->OnParamReset();
  for (const auto& s : settings) {
    q->GetParam(s.first)->SetNormalized(s.second);
    q->OnParamChange(s.first);
  }
  return q;
}

std::vector<std::vector<double>> Riff(int frames)
{
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> noise(-0.05, 0.05);
  std::vector<std::vector<double>> ch(2, std::vector<double>(static_cast<size_t>(frames)));
  for (int i = 0; i < frames; ++i) {
    ch[0][i] = 0.6 * std::sin(i * 0.031) + noise(rng);
    ch[1][i] = 0.5 * std::sin(i * 0.017 + 1.0) + noise(rng);
  }
  return ch;
}

// Runs the whole signal through the reference in one double call.
std::vector<std::vector<double>> ReferenceRun(Quarry* q, std::vector<std::vector<double>> in)
{
  const int n = static_cast<int>(in[0].size());
  std::vector<std::vector<double>> out(2, std::vector<double>(static_cast<size_t>(n)));
  double* ins[2] = {in[0].data(), in[1].data()};
  double* outs[2] = {out[0].data(), out[1].data()};
  q->ProcessDoubleReplacing(ins, outs, n);
  return out;
}

const int kBlockPattern[] = {256, 1, 100, 17, 700, 256, 3, 1000};

enum class Path { Float, Double, Accumulate };

// Feeds the signal through the plug-in in uneven calls (some longer than
// the announced block size of 256).
std::vector<std::vector<double>> PluginRun(AEffect* e, const std::vector<std::vector<double>>& in, Path path)
{
  const int n = static_cast<int>(in[0].size());
  std::vector<std::vector<double>> out(2, std::vector<double>(static_cast<size_t>(n)));
  std::vector<std::vector<float>> inF(2), outF(2);
  for (int c = 0; c < 2; ++c) {
    inF[c].assign(in[c].begin(), in[c].end());
    outF[c].assign(static_cast<size_t>(n), path == Path::Accumulate ? 0.25f : 0.0f);
  }
  int pos = 0;
  for (int k = 0; pos < n; ++k) {
    const int len = std::min(kBlockPattern[k % 8], n - pos);
    if (path == Path::Double) {
      double* ins[2] = {const_cast<double*>(in[0].data()) + pos, const_cast<double*>(in[1].data()) + pos};
      double* outs[2] = {out[0].data() + pos, out[1].data() + pos};
      e->processDoubleReplacing(e, ins, outs, len);
    } else {
      float* ins[2] = {inF[0].data() + pos, inF[1].data() + pos};
      float* outs[2] = {outF[0].data() + pos, outF[1].data() + pos};
      if (path == Path::Float) e->processReplacing(e, ins, outs, len);
      else e->process(e, ins, outs, len);
    }
    pos += len;
  }
  if (path != Path::Double)
    for (int c = 0; c < 2; ++c) out[c].assign(outF[c].begin(), outF[c].end());
  return out;
}

void ExpectSameAudio(const std::vector<std::vector<double>>& got,
                     const std::vector<std::vector<double>>& want, Path path)
{
  for (int c = 0; c < 2; ++c) {
    for (size_t i = 0; i < want[c].size(); ++i) {
      double expected = want[c][i];
      if (path == Path::Float) expected = static_cast<float>(expected);
      if (path == Path::Accumulate) expected = 0.25f + static_cast<float>(expected);
      ASSERT_EQ(got[c][i], expected) << "channel " << c << " frame " << i;
    }
  }
}

TEST_F(QuarryModuleTest, AllThreeProcessPathsMatchTheEffectSampleForSample)
{
  const std::vector<std::pair<int, float>> settings = {{kOut, 0.8f}, {kGainL, 0.45f}, {kGainM, 0.15f}};
  std::vector<std::vector<double>> in = Riff(9000);
  for (Path path : {Path::Double, Path::Float, Path::Accumulate}) {
    AEffect* p = QuarryModule().Instantiate();
    ASSERT_NE(p, nullptr);
    Dispatch(p, effOpen);
    Dispatch(p, effSetSampleRate, 0, 0, nullptr, 48000.0f);
    Dispatch(p, effSetBlockSize, 0, 256);
    Dispatch(p, effMainsChanged, 0, 1);
    for (const auto& s : settings) p->setParameter(p, s.first, s.second);

    std::vector<std::vector<double>> feed = in;
    if (path != Path::Double)  // a float host feeds float samples
      for (auto& ch : feed)
        for (double& s : ch) s = static_cast<float>(s);
    std::unique_ptr<Quarry> ref = MakeReference(48000.0, settings);
    ExpectSameAudio(PluginRun(p, feed, path), ReferenceRun(ref.get(), feed), path);
    Close(p);
  }
}

TEST_F(QuarryModuleTest, AutomationInTheMiddleReachesTheEffect)
{
  std::vector<std::vector<double>> in = Riff(2000);
  std::unique_ptr<Quarry> ref = MakeReference(48000.0, {});
  std::vector<std::vector<double>> first(2), second(2);
  for (int c = 0; c < 2; ++c) {
    first[c].assign(in[c].begin(), in[c].begin() + 1000);
    second[c].assign(in[c].begin() + 1000, in[c].end());
  }
  const auto want1 = ReferenceRun(ref.get(), first);
  ref->GetParam(kOut)->SetNormalized(1.0);
  ref->OnParamChange(kOut);
  ref->GetParam(kBypass)->SetNormalized(1.0);
  const auto want2 = ReferenceRun(ref.get(), second);

  ExpectSameAudio(PluginRun(e, first, Path::Double), want1, Path::Double);
  e->setParameter(e, kOut, 1.0f);
  e->setParameter(e, kBypass, 1.0f);
  const auto got2 = PluginRun(e, second, Path::Double);
  ExpectSameAudio(got2, want2, Path::Double);
  EXPECT_EQ(got2[0], second[0]);  // bypassed
}

// ---- Sample-rate changes on a running instance ----

AEffect* OpenAt(double rate)
{
  AEffect* p = QuarryModule().Instantiate();
  if (!p) return nullptr;
  Dispatch(p, effOpen);
  Dispatch(p, effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
  Dispatch(p, effSetBlockSize, 0, 512);
  Dispatch(p, effMainsChanged, 0, 1);
  return p;
}

// How hosts move a running plug-in to another rate (or re-announce the same
// one): suspend, set the rate, resume.
void SuspendSetRateResume(AEffect* p, double rate)
{
  Dispatch(p, effMainsChanged, 0, 0);
  Dispatch(p, effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
  Dispatch(p, effMainsChanged, 0, 1);
}

std::vector<std::vector<double>> Noise(int frames, unsigned seed)
{
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> noise(-0.5, 0.5);
  std::vector<std::vector<double>> ch(2, std::vector<double>(static_cast<size_t>(frames)));
  for (auto& c : ch)
    for (double& s : c) s = static_cast<float>(noise(rng));
  return ch;
}

// With both tone knobs at 0 the smoothers never leave 0, so the filters'
// histories are all that the past leaves behind: after a real rate change
// the plug-in must sound exactly like one started afresh at the new rate.
TEST(QuarryModule, RateChangeStartsTheFiltersAfresh)
{
  ASSERT_TRUE(QuarryModule().Loaded());
  const double changes[][2] = {{96000, 192000}, {44100, 48000}, {48000, 96000}, {192000, 44100}};
  for (const auto& change : changes) {
    SCOPED_TRACE(std::to_string(change[0]) + " -> " + std::to_string(change[1]));
    AEffect* moved = OpenAt(change[0]);
    AEffect* fresh = OpenAt(change[1]);
    ASSERT_TRUE(moved && fresh);
    for (AEffect* p : {moved, fresh}) {
      p->setParameter(p, kGainL, 0.0f);
      p->setParameter(p, kGainM, 0.0f);
    }
    PluginRun(moved, Noise(static_cast<int>(change[0]), 1), Path::Float);
    SuspendSetRateResume(moved, change[1]);

    const std::vector<std::vector<double>> after = Noise(static_cast<int>(change[1]), 2);
    const auto got = PluginRun(moved, after, Path::Float);
    ExpectSameAudio(got, PluginRun(fresh, after, Path::Float), Path::Double);
    double sum = 0;
    for (double s : got[0]) sum += s;
    EXPECT_LT(std::fabs(sum / static_cast<double>(got[0].size())), 1e-3);
    Close(moved);
    Close(fresh);
  }
}

// A suspend and resume at the same rate is no change: the filters play on
// from where they were, exactly as if the host had never paused.
TEST(QuarryModule, SuspendAndResumeAtTheSameRateKeepsTheFilters)
{
  ASSERT_TRUE(QuarryModule().Loaded());
  AEffect* paused = OpenAt(48000);
  AEffect* steady = OpenAt(48000);
  ASSERT_TRUE(paused && steady);
  const std::vector<std::vector<double>> before = Riff(6000), after = Noise(6000, 3);
  ExpectSameAudio(PluginRun(paused, before, Path::Double), PluginRun(steady, before, Path::Double),
                  Path::Double);
  SuspendSetRateResume(paused, 48000);
  ExpectSameAudio(PluginRun(paused, after, Path::Double), PluginRun(steady, after, Path::Double),
                  Path::Double);
  Close(paused);
  Close(steady);
}

TEST_F(QuarryModuleTest, ProcessingDoesNotCallTheHost)
{
  RecordingHost::Get().calls.clear();
  std::vector<std::vector<double>> in = Riff(512);
  PluginRun(e, in, Path::Float);
  PluginRun(e, in, Path::Double);
  EXPECT_TRUE(RecordingHost::Get().calls.empty());
}

TEST(QuarryModule, InstancesSideBySideKeepTheirOwnSound)
{
  ASSERT_TRUE(QuarryModule().Loaded());
  AEffect* a = QuarryModule().Instantiate();
  AEffect* b = QuarryModule().Instantiate();
  for (AEffect* p : {a, b}) {
    Dispatch(p, effOpen);
    Dispatch(p, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    Dispatch(p, effSetBlockSize, 0, 512);
    Dispatch(p, effMainsChanged, 0, 1);
  }
  a->setParameter(a, kGainL, 0.1f);
  b->setParameter(b, kGainL, 0.95f);
  std::vector<std::vector<double>> in = Riff(3000);
  // Interleave the two instances' blocks: neither may disturb the other.
  std::vector<std::vector<double>> outA(2, std::vector<double>(3000)), outB(2, std::vector<double>(3000));
  for (int pos = 0; pos < 3000; pos += 500) {
    double* ins[2] = {in[0].data() + pos, in[1].data() + pos};
    double* oa[2] = {outA[0].data() + pos, outA[1].data() + pos};
    double* ob[2] = {outB[0].data() + pos, outB[1].data() + pos};
    a->processDoubleReplacing(a, ins, oa, 500);
    b->processDoubleReplacing(b, ins, ob, 500);
  }
  std::unique_ptr<Quarry> refA = MakeReference(44100.0, {{kGainL, 0.1f}});
  std::unique_ptr<Quarry> refB = MakeReference(44100.0, {{kGainL, 0.95f}});
  ExpectSameAudio(outA, ReferenceRun(refA.get(), in), Path::Double);
  ExpectSameAudio(outB, ReferenceRun(refB.get(), in), Path::Double);
  EXPECT_NE(outA[0], outB[0]);
  Close(a);
  Close(b);
}

TEST(QuarryModule, ManyThreadsInstantiateAtOnce)
{
  ASSERT_TRUE(QuarryModule().Loaded());
  std::vector<std::thread> threads;
  std::vector<int> bad(6, 0);
  for (int t = 0; t < 6; ++t) {
    threads.emplace_back([t, &bad] {
      for (int r = 0; r < 10; ++r) {
        AEffect* e = QuarryModule().Instantiate();
        if (!e || e->numParams != 4 || e->numPrograms != 1) {
          ++bad[t];
          continue;
        }
        Dispatch(e, effOpen);
        if (DispatchText(e, effGetParamDisplay, 0) != "-30.00") ++bad[t];
        Close(e);
      }
    });
  }
  for (auto& th : threads) th.join();
  for (int t = 0; t < 6; ++t) EXPECT_EQ(bad[t], 0);
}

TEST(QuarryModule, ExportsExactlyVSTPluginMainAndMain)
{
  std::set<std::string> names;
  FILE* pipe = popen((std::string("nm -D --defined-only '") + QUARRY_SO_PATH + "'").c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char line[1024];
  while (std::fgets(line, sizeof line, pipe)) {
    char addr[64], type[8], name[900];
    if (std::sscanf(line, "%63s %7s %899s", addr, type, name) == 3) names.insert(name);
  }
  pclose(pipe);
  EXPECT_EQ(names, std::set<std::string>({"VSTPluginMain", "main"}));
}

}  // namespace
