// Quarry.so driven the way strict validators and careless hosts drive it:
// normalised values outside 0..1, state that holds NaN, signals at the
// bottom of the float range. Whatever arrives, the plug-in keeps sound
// parameters and hands back only sound samples.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <type_traits>
#include <vector>

#include "tests/framework/vst/vst_harness.h"

namespace {

enum { kOut = 0, kGainM, kGainL, kBypass };
const int kBlock = 512;

PluginModule& QuarryModule()
{
  static PluginModule module(QUARRY_SO_PATH);
  return module;
}

AEffect* OpenQuarry()
{
  AEffect* e = QuarryModule().Instantiate();
  if (!e) return nullptr;
  Dispatch(e, effOpen);
  Dispatch(e, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  Dispatch(e, effSetBlockSize, 0, kBlock);
  Dispatch(e, effMainsChanged, 0, 1);
  return e;
}

template <class T>
using Channels = std::vector<std::vector<T>>;

template <class T>
Channels<T> Noise(unsigned seed, double level = 0.8)
{
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> dist(-level, level);
  Channels<T> ch(2, std::vector<T>(kBlock));
  for (auto& c : ch)
    for (T& s : c) s = static_cast<T>(dist(rng));
  return ch;
}

enum class Path { Replacing, Accumulating, Double };

// One block through the plug-in; the outputs start from fill.
template <class T>
Channels<T> Block(AEffect* e, Channels<T> in, Path path, T fill = 0)
{
  Channels<T> out(2, std::vector<T>(kBlock, fill));
  T* ins[2] = {in[0].data(), in[1].data()};
  T* outs[2] = {out[0].data(), out[1].data()};
  if constexpr (std::is_same<T, double>::value) {
    e->processDoubleReplacing(e, ins, outs, kBlock);
  } else if (path == Path::Accumulating) {
    e->process(e, ins, outs, kBlock);
  } else {
    e->processReplacing(e, ins, outs, kBlock);
  }
  return out;
}

class QuarryHostTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(QuarryModule().Loaded()) << QuarryModule().Error();
    e = OpenQuarry();
    ASSERT_NE(e, nullptr);
  }
  void TearDown() override { Close(e); }
  AEffect* e = nullptr;
};

TEST_F(QuarryHostTest, NormalizedValuesBelowZeroActAsZero)
{
  // The same settings sent in range to a second instance.
  AEffect* inRange = OpenQuarry();
  ASSERT_NE(inRange, nullptr);
  e->setParameter(e, kBypass, -0.6f);
  e->setParameter(e, kOut, -1.0f);
  inRange->setParameter(inRange, kBypass, 0.0f);
  inRange->setParameter(inRange, kOut, 0.0f);
  EXPECT_EQ(e->getParameter(e, kBypass), 0.0f);
  EXPECT_EQ(e->getParameter(e, kOut), 0.0f);
  EXPECT_EQ(DispatchText(e, effGetParamDisplay, kOut), "-40.00");
  EXPECT_EQ(DispatchText(e, effGetParamDisplay, kBypass), "0");

  for (unsigned block = 0; block < 3; ++block) {
    const Channels<float> in = Noise<float>(block + 1);
    EXPECT_EQ(Block(e, in, Path::Replacing), Block(inRange, in, Path::Replacing)) << block;
    const Channels<double> inD = Noise<double>(block + 7);
    // Outputs start from a value the plug-in must overwrite.
    EXPECT_EQ(Block(e, inD, Path::Double, 5.0), Block(inRange, inD, Path::Double, 5.0)) << block;
  }
  Close(inRange);
}

TEST_F(QuarryHostTest, StateHoldingNotANumberIsRefused)
{
  const std::vector<unsigned char> liveBefore = GetChunk(e, true);
  const std::vector<unsigned char> bankBefore = GetChunk(e, false);
  const float outBefore = e->getParameter(e, kOut);
  const double nan = std::numeric_limits<double>::quiet_NaN();

  // "tffp", version 1.0.0, then {NaN, 0.7, 0.3, 0}; the bank holds the
  // same values as its one preset, named "-".
  const double values[4] = {nan, 0.7, 0.3, 0.0};
  std::vector<unsigned char> program = {'t', 'f', 'f', 'p', 0, 0, 1, 0};
  std::vector<unsigned char> bank = {'t', 'f', 'f', 'p', 0, 0, 1, 0, 1, 0, 0, 0, '-', 1};
  for (size_t i = 0; i < sizeof(values); ++i) {
    program.push_back(reinterpret_cast<const unsigned char*>(values)[i]);
    bank.push_back(reinterpret_cast<const unsigned char*>(values)[i]);
  }
  EXPECT_EQ(Dispatch(e, effSetChunk, 1, program.size(), program.data()), 0);
  EXPECT_EQ(Dispatch(e, effSetChunk, 0, bank.size(), bank.data()), 0);
  std::vector<unsigned char> ff(32, 0xFF);
  EXPECT_EQ(Dispatch(e, effSetChunk, 1, ff.size(), ff.data()), 0);
  EXPECT_EQ(Dispatch(e, effSetChunk, 0, ff.size(), ff.data()), 0);

  EXPECT_EQ(e->getParameter(e, kOut), outBefore);
  EXPECT_EQ(GetChunk(e, true), liveBefore);
  EXPECT_EQ(GetChunk(e, false), bankBefore);
  for (const auto& ch : Block(e, Noise<float>(3), Path::Replacing))
    for (float s : ch) ASSERT_TRUE(std::isfinite(s));
}

int CountSubnormal(const Channels<float>& out)
{
  int n = 0;
  for (const auto& ch : out)
    for (float s : ch) n += std::fpclassify(s) == FP_SUBNORMAL;
  return n;
}

TEST_F(QuarryHostTest, FloatOutputsAreNeverSubnormal)
{
  // Music, then a tail of +-1e-40 (itself subnormal as a float), processed
  // and bypassed, replacing and accumulating.
  Block(e, Noise<float>(4), Path::Replacing);
  Channels<float> tiny(2, std::vector<float>(kBlock));
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < kBlock; ++i) tiny[c][i] = (i + c) % 3 ? 1e-40f : -1e-40f;
  for (float bypass : {0.0f, 1.0f}) {
    e->setParameter(e, kBypass, bypass);
    for (int block = 0; block < 8; ++block) {
      EXPECT_EQ(CountSubnormal(Block(e, tiny, Path::Replacing)), 0) << bypass << " " << block;
      EXPECT_EQ(CountSubnormal(Block(e, tiny, Path::Accumulating)), 0) << bypass << " " << block;
    }
  }
}

}  // namespace
