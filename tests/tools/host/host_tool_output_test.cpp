// What quarry-host writes and reads can be trusted: WAV past 4 GiB,
// clipping that is reported, program files that say what is wrong.

#include <sys/stat.h>

#include "tests/tools/host/host_tool_fixture.h"

namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A mono 16-bit AU header of unknown length, for audio streamed on stdin.
void WriteStreamHeader(const std::string& path, int rate)
{
  const unsigned char header[24] = {'.',
                                    's',
                                    'n',
                                    'd',
                                    0,
                                    0,
                                    0,
                                    24,
                                    0xFF,
                                    0xFF,
                                    0xFF,
                                    0xFF,
                                    0,
                                    0,
                                    0,
                                    3,
                                    static_cast<unsigned char>(rate >> 24),
                                    static_cast<unsigned char>(rate >> 16),
                                    static_cast<unsigned char>(rate >> 8),
                                    static_cast<unsigned char>(rate),
                                    0,
                                    0,
                                    0,
                                    1};
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(header), sizeof header);
}

std::string Magic(const std::string& path) { return ReadText(path).substr(0, 4); }

// 4 GiB and a little more of 32-bit float stereo, streamed from silence of
// unknown length, must come out as RF64 that reads back whole. Takes about
// 15 s in a normal build (the file is written for real, then deleted).
TEST_F(HostToolTest, WavPastFourGiBIsWrittenAsRf64AndReadsBackWhole)
{
  const long long frames = (1LL << 29) + 65536;  // 8 bytes a frame: 4 GiB + 512 KiB
  WriteStreamHeader(Path("head.au"), 44100);
  RunResult r = RunFed("cat '" + Path("head.au") + "'; head -c " + std::to_string(2 * frames) + " /dev/zero",
                       "render " + Probe() + " -i /dev/stdin -o '" + Path("big.wav") + "' --block 65536 -q");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  SF_INFO info = {};
  SNDFILE* f = sf_open(Path("big.wav").c_str(), SFM_READ, &info);
  ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
  EXPECT_EQ(info.format & SF_FORMAT_TYPEMASK, SF_FORMAT_RF64);
  EXPECT_EQ(info.frames, frames);
  EXPECT_EQ(info.channels, 2);
  // The last frames are where they belong and hold what was fed.
  std::vector<float> tail(2 * 16, 1.0f);
  EXPECT_EQ(sf_seek(f, frames - 16, SEEK_SET), frames - 16);
  EXPECT_EQ(sf_readf_float(f, tail.data(), 32), 16);
  sf_close(f);
  struct stat st;
  ASSERT_EQ(stat(Path("big.wav").c_str(), &st), 0);
  std::remove(Path("big.wav").c_str());
  EXPECT_GT(st.st_size, 8 * frames);
  EXPECT_EQ(tail, std::vector<float>(32, 0.0f));
}

// Renders whose data fits stay plain RIFF WAV, whether their length was
// known in advance or not.
TEST_F(HostToolTest, WavThatFitsStaysPlainRiff)
{
  WriteWav("in.wav", 2, Ramp(1000, 2));
  RunResult r = Run("render " + Probe() + " -i '" + Path("in.wav") + "' -o '" + Path("known.wav") + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Magic(Path("known.wav")), "RIFF");

  WriteStreamHeader(Path("head.au"), 48000);
  r = RunFed("cat '" + Path("head.au") + "'; head -c 20000 /dev/urandom",
             "render " + Probe() + " -i /dev/stdin -o '" + Path("streamed.wav") + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Magic(Path("streamed.wav")), "RIFF");
  SF_INFO info = {};
  SNDFILE* f = sf_open(Path("streamed.wav").c_str(), SFM_READ, &info);
  ASSERT_NE(f, nullptr);
  sf_close(f);
  EXPECT_EQ(info.frames, 10000);
  EXPECT_EQ(info.samplerate, 48000);
}

// 20 samples at 0.9 and 17 at -0.95, raised by 6 dB, go beyond full scale;
// the rest (0.1) does not. A 16-bit file clips them and says so.
TEST_F(HostToolTest, ClippedIntegerOutputIsCountedAndWarned)
{
  std::vector<float> in(2 * 500, 0.1f);
  for (int i = 0; i < 20; ++i) in[static_cast<size_t>(i) * 37] = 0.9f;
  for (int i = 0; i < 17; ++i) in[static_cast<size_t>(i) * 41 + 3] = -0.95f;
  WriteWav("in.wav", 2, in);
  const std::string render = "render " + Probe() + " -i '" + Path("in.wav") + "' --set Gain=6 -o '";
  RunResult r = Run(render + Path("hot.flac") + "' --format 16");
  ASSERT_EQ(r.status, 0) << r.err;
  // 0.95 x 10^(6/20) = 1.8955, +5.55 dB.
  EXPECT_EQ(
      r.err,
      "quarry-host: warning: 37 samples clipped in " + Path("hot.flac") +
          " (peak +5.6 dBFS; 16-bit samples end at full scale: lower the level or use --format float)\n");
  int channels = 0;
  const std::vector<float> out = ReadWav("hot.flac", &channels);
  ASSERT_EQ(out.size(), in.size());
  EXPECT_EQ(out[0], 32767.0f / 32768.0f);
  EXPECT_EQ(out[3], -1.0f);
  // -q keeps the warning; a float file holds the peaks and warns of nothing.
  EXPECT_TRUE(
      Has(Run("-q " + render + Path("hot24.wav") + "' --format 24").err, "warning: 37 samples clipped"));
  r = Run(render + Path("hot.wav") + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_GT(std::fabs(ReadWav("hot.wav", &channels)[3]), 1.89f);
}

// A damaged program or bank file is named for what is wrong with it, and
// nothing is rendered.
TEST_F(HostToolTest, DamagedProgramFilesAreReportedForWhatTheyAre)
{
  WriteWav("in.wav", 2, Ramp(100, 2));
  const std::string render =
      "render " + Probe() + " -i '" + Path("in.wav") + "' -o '" + Path("out.wav") + "' ";
  RunResult r = Run(render + "--save-fxp '" + Path("p.fxp") + "' --save-fxb '" + Path("b.fxb") + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  std::remove(Path("out.wav").c_str());
  const std::string fxp = ReadText(Path("p.fxp"));
  const std::string fxb = ReadText(Path("b.fxb"));
  const auto write = [&](const std::string& name, const std::string& bytes) {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  };
  for (size_t cut : {size_t(0), size_t(3), size_t(20), size_t(56), fxp.size() - 1}) {
    write("cut.fxp", fxp.substr(0, cut));
    r = Run(render + "--load-fxp '" + Path("cut.fxp") + "'");
    EXPECT_EQ(r.status, 1) << cut;
    EXPECT_EQ(r.err, "quarry-host: " + Path("cut.fxp") + " is truncated\n") << cut;
  }
  write("cut.fxb", fxb.substr(0, 200));
  r = Run(render + "--load-fxb '" + Path("cut.fxb") + "'");
  EXPECT_EQ(r.err, "quarry-host: " + Path("cut.fxb") + " is truncated\n");

  r = Run(render + "--load-fxp '" + Path("b.fxb") + "'");
  EXPECT_EQ(r.err, "quarry-host: " + Path("b.fxb") + " is a bank file, not a program file\n");
  r = Run(render + "--load-fxp '" + Path("in.wav") + "'");
  EXPECT_TRUE(Has(r.err, "is not a VST program or bank file")) << r.err;
  // Larger than any program file may be: refused without reading it all.
  {
    std::ofstream big(Path("big.fxp"), std::ios::binary);
    big << fxp;
  }
  ASSERT_EQ(truncate(Path("big.fxp").c_str(), 65 * 1024 * 1024), 0);
  r = Run(render + "--load-fxp '" + Path("big.fxp") + "'");
  EXPECT_EQ(r.err, "quarry-host: " + Path("big.fxp") + " is too large for a program or bank file\n");
  for (const std::string& name : Entries()) EXPECT_EQ(name.find("out.wav"), std::string::npos) << name;
}

}  // namespace
