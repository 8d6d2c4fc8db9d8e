// The built-in demo riff the command-line host renders without an input.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/demo/DemoRiff.h"

namespace {

TEST(DemoRiff, IsDeterministicStereoAndLongEnough)
{
  const int frames = DemoRiffFrames(44100.0);
  ASSERT_GE(frames, 4 * 44100);
  std::vector<float> l1(frames + 100, 9.0f), r1(frames + 100, 9.0f), l2(frames + 100), r2(frames + 100);
  SynthesizeDemoRiff(l1.data(), r1.data(), frames + 100, 44100.0);
  SynthesizeDemoRiff(l2.data(), r2.data(), frames + 100, 44100.0);
  EXPECT_EQ(l1, l2);
  EXPECT_EQ(r1, r2);
  float peak = 0.0f;
  bool channelsDiffer = false;
  for (int i = 0; i < frames; ++i) {
    ASSERT_TRUE(std::isfinite(l1[i]) && std::isfinite(r1[i])) << i;
    peak = std::fmax(peak, std::fmax(std::fabs(l1[i]), std::fabs(r1[i])));
    channelsDiffer = channelsDiffer || l1[i] != r1[i];
  }
  EXPECT_GT(peak, 0.1f);
  EXPECT_LT(peak, 1.0f);
  EXPECT_TRUE(channelsDiffer);
  // Past the end of the riff there is silence.
  for (int i = frames; i < frames + 100; ++i) EXPECT_EQ(0.0f, l1[i]);

  // A shorter request is the start of the same riff.
  std::vector<float> shortL(1000), shortR(1000);
  SynthesizeDemoRiff(shortL.data(), shortR.data(), 1000, 44100.0);
  EXPECT_TRUE(std::equal(shortL.begin(), shortL.end(), l1.begin()));
}

TEST(DemoRiff, RefusesUnusableArguments)
{
  EXPECT_EQ(0, DemoRiffFrames(0.0));
  EXPECT_EQ(0, DemoRiffFrames(-44100.0));
  EXPECT_EQ(0, DemoRiffFrames(NAN));
  EXPECT_EQ(0, DemoRiffFrames(1e12));
  float l = 5.0f, r = 5.0f;
  SynthesizeDemoRiff(&l, &r, 0, 44100.0);
  SynthesizeDemoRiff(&l, &r, -1, 44100.0);
  SynthesizeDemoRiff(&l, &r, 1, -1.0);
  EXPECT_EQ(5.0f, l);
  EXPECT_EQ(5.0f, r);
}

}  // namespace
