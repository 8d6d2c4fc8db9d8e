#include <gtest/gtest.h>

#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <string>
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

std::vector<float> ReadWav(const std::string& path, SF_INFO* info)
{
  *info = SF_INFO{};
  SNDFILE* f = sf_open(path.c_str(), SFM_READ, info);
  if (!f) return {};
  std::vector<float> data(static_cast<size_t>(info->frames) * info->channels);
  sf_readf_float(f, data.data(), info->frames);
  sf_close(f);
  return data;
}

TEST(DemoTool, WritesWhatWentInAndWhatCameOut)
{
  char dir[] = "/tmp/quarry-demo-test-XXXXXX";
  ASSERT_NE(nullptr, mkdtemp(dir));
  const std::string dry = std::string(dir) + "/dry.wav", wet = std::string(dir) + "/wet.wav";
  const std::string cmd = std::string(QUARRY_DEMO_PATH) + " " + dry + " " + wet + " > " + dir + "/out.txt";
  ASSERT_EQ(0, std::system(cmd.c_str()));

  SF_INFO dryInfo, wetInfo;
  const std::vector<float> dryData = ReadWav(dry, &dryInfo);
  const std::vector<float> wetData = ReadWav(wet, &wetInfo);
  const int frames = DemoRiffFrames(44100.0);
  ASSERT_EQ(frames, dryInfo.frames);
  ASSERT_EQ(frames, wetInfo.frames);
  for (const SF_INFO* info : {&dryInfo, &wetInfo}) {
    EXPECT_EQ(2, info->channels);
    EXPECT_EQ(44100, info->samplerate);
    EXPECT_EQ(SF_FORMAT_WAV | SF_FORMAT_FLOAT, info->format);
  }
  std::vector<float> l(frames), r(frames);
  SynthesizeDemoRiff(l.data(), r.data(), frames, 44100.0);
  bool changed = false;
  for (int i = 0; i < frames; ++i) {
    ASSERT_EQ(l[i], dryData[2 * i]) << i;
    ASSERT_EQ(r[i], dryData[2 * i + 1]) << i;
    ASSERT_TRUE(std::isfinite(wetData[2 * i])) << i;
    changed = changed || wetData[2 * i] != dryData[2 * i];
  }
  EXPECT_TRUE(changed);

  // A file that cannot be written is reported, not ignored.
  const std::string bad = std::string(QUARRY_DEMO_PATH) + " " + dir + "/no/such/dir.wav " + wet + " 2> /dev/null";
  EXPECT_NE(0, std::system(bad.c_str()));
  std::remove(dry.c_str());
  std::remove(wet.c_str());
  std::remove((std::string(dir) + "/out.txt").c_str());
  rmdir(dir);
}

}  // namespace
