// quarry-host run as a user runs it: commands, files, failures.

#include <sys/stat.h>

#include <algorithm>

#include "tests/tools/host/host_tool_fixture.h"

namespace {

TEST_F(HostToolTest, InfoShowsIdentityProgramsAndParameters)
{
  RunResult r = Run("info " + Probe());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Probe Vendor"), std::string::npos);
  EXPECT_NE(r.out.find("'Prb1'"), std::string::npos);
  EXPECT_NE(r.out.find(std::to_string(0x50726231)), std::string::npos);
  EXPECT_NE(r.out.find("10203"), std::string::npos);
  EXPECT_NE(r.out.find("Second"), std::string::npos);
  EXPECT_NE(r.out.find("Gain"), std::string::npos);
  EXPECT_NE(r.out.find("Hard"), std::string::npos);
  EXPECT_EQ(r.err, "");
}

// A fresh instance shows its defaults; the range is what the parameter
// shows at either end, in its own unit.
TEST_F(HostToolTest, InfoShowsEachParametersDefaultAndRange)
{
  RunResult r = Run("info " + Probe());
  ASSERT_EQ(r.status, 0) << r.err;
  const auto line = [&](const std::string& name) {
    const size_t at = r.out.find("  " + name + " ");
    return at == std::string::npos ? std::string() : r.out.substr(at, r.out.find('\n', at) - at);
  };
  EXPECT_NE(r.out.find("default"), std::string::npos);
  EXPECT_NE(r.out.find("range"), std::string::npos);
  const std::string gain = line("Gain");
  EXPECT_NE(gain.find(" 0.0 "), std::string::npos) << gain;
  EXPECT_NE(gain.find("-60.0 .. 12.0"), std::string::npos) << gain;
  EXPECT_NE(gain.find("dB"), std::string::npos) << gain;
  EXPECT_NE(line("Mode").find("Hard"), std::string::npos);
  EXPECT_NE(line("Mode").find("Soft .. Fold"), std::string::npos);
  EXPECT_NE(line("Flip").find("off .. on"), std::string::npos);
}

TEST_F(HostToolTest, FilesThatAreNotPlugInsFailWithOneLine)
{
  for (const std::string& plugin : {Path("missing.so"), std::string("/etc/hostname"),
                                    std::string("/usr/lib/x86_64-linux-gnu/libm.so.6")}) {
    RunResult r = Run("info '" + plugin + "'");
    EXPECT_NE(r.status, 0) << plugin;
    EXPECT_EQ(LineCount(r.err), 1) << r.err;
    EXPECT_EQ(r.err.rfind("quarry-host: ", 0), 0u) << r.err;
  }
}

TEST_F(HostToolTest, RenderRunsTheFileThroughThePlugIn)
{
  WriteWav("in.wav", 2, Ramp(5000, 2));
  RunResult r = Run("render " + Probe() + " -i '" + Path("in.wav") + "' -o '" + Path("out.wav") +
                    "' --set Gain=-6 --block 333");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");  // no progress bar without a terminal
  int channels = 0;
  std::vector<float> out = ReadWav("out.wav", &channels);
  std::vector<float> in = Ramp(5000, 2);
  ASSERT_EQ(channels, 2);
  ASSERT_EQ(out.size(), in.size());
  const double gain = std::pow(10.0, -6.0 / 20.0);
  for (size_t i = 0; i < in.size(); ++i)
    ASSERT_EQ(out[i], static_cast<float>(static_cast<double>(in[i]) * gain)) << i;
  // The same render gives the same file, byte for byte.
  r = Run("render " + Probe() + " -i '" + Path("in.wav") + "' -o '" + Path("again.wav") + "' --set Gain=-6");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadText(Path("again.wav")), ReadText(Path("out.wav")));
}

TEST_F(HostToolTest, MonoInputFeedsBothInputsAndDoublePrecisionWorks)
{
  WriteWav("mono.wav", 1, Ramp(1000, 1));
  RunResult r = Run("render " + Probe() + " -i '" + Path("mono.wav") + "' -o '" + Path("out.wav") +
                    "' --precision double --dry '" + Path("dry.wav") + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  int channels = 0;
  std::vector<float> out = ReadWav("out.wav", &channels);
  std::vector<float> in = Ramp(1000, 1);
  ASSERT_EQ(channels, 2);
  ASSERT_EQ(out.size(), 2 * in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    ASSERT_EQ(out[2 * i], in[i]);
    ASSERT_EQ(out[2 * i + 1], in[i]);
  }
  std::vector<float> dry = ReadWav("dry.wav", &channels);
  ASSERT_EQ(channels, 2);
  for (size_t i = 0; i < in.size(); ++i) ASSERT_EQ(dry[2 * i + 1], in[i]);
}

TEST_F(HostToolTest, BadRequestsFailWithoutTouchingAnExistingOutput)
{
  WriteWav("in.wav", 2, Ramp(100, 2));
  WriteWav("four.wav", 4, Ramp(100, 4));
  {
    std::ofstream keep(Path("out.wav"));
    keep << "keep";
  }
  const std::string base = "render " + Probe() + " -o '" + Path("out.wav") + "' -i '";
  const std::string cases[] = {
      base + Path("in.wav") + "' --set Nothing=1",
      base + Path("in.wav") + "' --set Mode=Nope",
      base + Path("in.wav") + "' --set Gain=abc",
      base + Path("in.wav") + "' --set Gain=100",
      base + Path("in.wav") + "' --set Gain",
      base + Path("four.wav") + "'",
      base + Path("nothing.wav") + "'",
      base + Path("in.wav") + "' --load-fxp '" + Path("nothing.fxp") + "'",
      base + Path("in.wav") + "' --load-fxb '" + Path("in.wav") + "'",
      base + Path("in.wav") + "' --rate 48000",
      base + Path("in.wav") + "' --block 0",
      base + Path("in.wav") + "' --precision half",
      "render '" + Path("missing.so") + "' -o '" + Path("out.wav") + "' -i '" + Path("in.wav") + "'",
      "render " + Probe() + " -i '" + Path("in.wav") + "'",
  };
  for (const std::string& args : cases) {
    RunResult r = Run(args);
    EXPECT_NE(r.status, 0) << args;
    EXPECT_EQ(LineCount(r.err), 1) << args << "\n" << r.err;
    EXPECT_EQ(ReadText(Path("out.wav")), "keep") << args;
  }
  // Nothing half-written is left behind.
  for (const std::string& name : Entries()) EXPECT_EQ(name.find(".out.wav"), std::string::npos) << name;
}

TEST_F(HostToolTest, ParametersAreFoundByNameIgnoringCaseOrByIndex)
{
  WriteWav("in.wav", 2, Ramp(64, 2));
  for (const char* set : {"gain=-6", "0=-6", "GAIN=-6.0"}) {
    RunResult r = Run("render " + Probe() + " -i '" + Path("in.wav") + "' -o '" + Path("out.wav") +
                      "' --set " + std::string(set));
    EXPECT_EQ(r.status, 0) << set << r.err;
  }
  RunResult r = Run("render " + Probe() + " -i '" + Path("in.wav") + "' -o '" + Path("out.wav") +
                    "' --set Mode=Fold --set Flip=on");
  EXPECT_EQ(r.status, 0) << r.err;
}

TEST_F(HostToolTest, ProgramAndBankFilesRoundTrip)
{
  WriteWav("in.wav", 2, Ramp(200, 2));
  const std::string in = " -i '" + Path("in.wav") + "' ";
  RunResult r = Run("render " + Probe() + in + "-o '" + Path("a.wav") + "' --set Gain=-12 --save-fxp '" +
                    Path("p.fxp") + "' --save-fxb '" + Path("b.fxb") + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string fxp = ReadText(Path("p.fxp"));
  ASSERT_GE(fxp.size(), 60u);
  EXPECT_EQ(fxp.substr(0, 4), "CcnK");
  EXPECT_EQ(fxp.substr(8, 4), "FPCh");  // the probe declares chunks
  EXPECT_EQ(fxp.substr(16, 4), "Prb1");
  EXPECT_EQ(ReadText(Path("b.fxb")).substr(8, 4), "FBCh");

  for (const std::string& load :
       {"--load-fxp '" + Path("p.fxp") + "'", "--load-fxb '" + Path("b.fxb") + "'"}) {
    r = Run("render " + Probe() + in + "-o '" + Path("b.wav") + "' " + load);
    ASSERT_EQ(r.status, 0) << r.err;
    int ca = 0, cb = 0;
    EXPECT_EQ(ReadWav("a.wav", &ca), ReadWav("b.wav", &cb)) << load;
  }
  // A program file is refused by a bank load and the other way round.
  r = Run("render " + Probe() + in + "-o '" + Path("c.wav") + "' --load-fxb '" + Path("p.fxp") + "'");
  EXPECT_NE(r.status, 0);
}

#ifdef QUARRY_SO_PATH
std::string QuarryPlugin() { return std::string("'") + QUARRY_SO_PATH + "'"; }

TEST_F(HostToolTest, QuarryRendersTheDemoRiffAndItsDryFeed)
{
  RunResult r = Run("render " + QuarryPlugin() + " -o '" + Path("wet.wav") + "' --dry '" + Path("dry.wav") +
                    "' --set OUT=-6 --block 1000");
  ASSERT_EQ(r.status, 0) << r.err;
  int wetChannels = 0, dryChannels = 0;
  std::vector<float> wet = ReadWav("wet.wav", &wetChannels);
  std::vector<float> dry = ReadWav("dry.wav", &dryChannels);
  ASSERT_EQ(wetChannels, 2);
  ASSERT_EQ(dryChannels, 2);
  ASSERT_EQ(wet.size(), dry.size());
  ASSERT_GT(wet.size(), 44100u);
  double wetPeak = 0, dryPeak = 0;
  for (size_t i = 0; i < wet.size(); ++i) {
    wetPeak = std::max(wetPeak, std::fabs(static_cast<double>(wet[i])));
    dryPeak = std::max(dryPeak, std::fabs(static_cast<double>(dry[i])));
  }
  EXPECT_GT(dryPeak, 0.05);
  EXPECT_GT(wetPeak, 0.01);
  EXPECT_NE(wet, dry);

  // The same riff fed back from the dry file gives the same result.
  r = Run("render " + QuarryPlugin() + " -i '" + Path("dry.wav") + "' -o '" + Path("again.wav") +
          "' --set OUT=-6");
  ASSERT_EQ(r.status, 0) << r.err;
  int channels = 0;
  EXPECT_EQ(ReadWav("again.wav", &channels), wet);
}

TEST_F(HostToolTest, QuarryProgramFilesUseTheParameterForms)
{
  WriteWav("in.wav", 2, Ramp(500, 2));
  RunResult r = Run("render " + QuarryPlugin() + " -i '" + Path("in.wav") + "' -o '" + Path("a.wav") +
                    "' --set GainL=0.5 --set GainM=0.25 --set OUT=-10 --set Bypass=0 --save-fxp '" +
                    Path("q.fxp") + "' --save-fxb '" + Path("q.fxb") + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string fxp = ReadText(Path("q.fxp"));
  // Values whose normalised form is exact in single precision survive the
  // parameter form unchanged.
  ASSERT_EQ(fxp.size(), 72u);  // 56-byte header and four floats
  EXPECT_EQ(fxp.substr(8, 4), "FxCk");
  EXPECT_EQ(fxp.substr(16, 4), "Qry1");
  const std::string fxb = ReadText(Path("q.fxb"));
  ASSERT_EQ(fxb.size(), 228u);  // 156 + one 72-byte program
  EXPECT_EQ(fxb.substr(8, 4), "FxBk");
  for (const std::string& load :
       {"--load-fxp '" + Path("q.fxp") + "'", "--load-fxb '" + Path("q.fxb") + "'"}) {
    r = Run("render " + QuarryPlugin() + " -i '" + Path("in.wav") + "' -o '" + Path("b.wav") + "' " + load);
    ASSERT_EQ(r.status, 0) << r.err;
    int ca = 0, cb = 0;
    EXPECT_EQ(ReadWav("a.wav", &ca), ReadWav("b.wav", &cb)) << load;
  }
  // A program for another plug-in is refused.
  r = Run("render " + QuarryPlugin() + " -i '" + Path("in.wav") + "' -o '" + Path("c.wav") +
          "' --load-fxp '" + Path("p.fxp") + "'");
  EXPECT_NE(r.status, 0);
  r = Run("render " + Probe() + " -i '" + Path("in.wav") + "' -o '" + Path("c.wav") + "' --load-fxp '" +
          Path("q.fxp") + "'");
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("'Qry1'"), std::string::npos) << r.err;
}

// An install into a prefix inside the home folder puts the plug-in in
// ~/.vst and the host in the prefix's bin, where it finds the plug-in
// without being told.
TEST_F(HostToolTest, AUserInstallPutsThePlugInWhereHostsLook)
{
  ASSERT_EQ(mkdir(Path("home").c_str(), 0755), 0);
  const std::string home = Path("home");
  const std::string install = "HOME='" + home + "' '" + CMAKE_COMMAND_PATH + "' --install '" +
                              QUARRY_BUILD_DIR + "' --prefix '" + home + "/.local' >/dev/null";
  ASSERT_EQ(std::system(install.c_str()), 0);
  EXPECT_EQ(ReadText(home + "/.vst/Quarry.so"), ReadText(QUARRY_SO_PATH));
  const std::string info =
      "HOME='" + home + "' '" + home + "/.local/bin/quarry-host' info >'" + Path("info") + "'";
  ASSERT_EQ(std::system(info.c_str()), 0);
  EXPECT_NE(ReadText(Path("info")).find("Plug-in:      " + home + "/.vst/Quarry.so"), std::string::npos)
      << ReadText(Path("info"));
}
#endif

}  // namespace
