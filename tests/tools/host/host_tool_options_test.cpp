// quarry-host's command line as its users know such tools: help for each
// command, --version, -q, -n, --format and --set with units.

#include "tests/tools/host/host_tool_fixture.h"

namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(HostToolTest, EveryCommandHasHelpAndTheToolItsVersion)
{
  RunResult r = Run("--help");
  ASSERT_EQ(r.status, 0);
  EXPECT_TRUE(Has(r.out, "info") && Has(r.out, "render") && Has(r.out, "--version") && Has(r.out, "--quiet"))
      << r.out;
  EXPECT_EQ(Run("-h").out, r.out);
  EXPECT_EQ(Run("help").out, r.out);

  r = Run("render --help");
  ASSERT_EQ(r.status, 0);
  for (const char* option : {"PLUGIN", "-i,--input", "-o,--output", "--format 16|24|32|float",
                             "--set NAME=VALUE", "--rate", "--block", "--precision", "--dry", "--load-fxp",
                             "--load-fxb", "--save-fxp", "--save-fxb", "-n,--no-clobber"})
    EXPECT_TRUE(Has(r.out, option)) << option << "\n" << r.out;
  EXPECT_EQ(Run("help render").out, r.out);

  r = Run("info --help");
  ASSERT_EQ(r.status, 0);
  EXPECT_TRUE(Has(r.out, "PLUGIN")) << r.out;
  EXPECT_FALSE(Has(r.out, "--output")) << r.out;

  r = Run("--version");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "quarry-host 1.0.0\n");

  // Without a command: the help on stderr and a usage failure.
  r = Run("");
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(Has(r.err, "render")) << r.err;
  for (const char* args : {"frobnicate", "render --no-such-option", "info a.so b.so", "render -o"}) {
    r = Run(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(LineCount(r.err), 1) << args << "\n" << r.err;
  }
}

TEST_F(HostToolTest, QuietLeavesOnlyWarningsAndErrors)
{
  WriteWav("in.wav", 2, Ramp(300, 2));
  const std::string render =
      "render " + Probe() + " -i '" + Path("in.wav") + "' -o '" + Path("out.wav") + "'";
  RunResult r = Run(render);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Has(r.out, "out.wav: ")) << r.out;  // the summary
  for (const std::string& args : {"-q " + render, render + " -q", "--quiet " + render}) {
    r = Run(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "") << args;
    EXPECT_EQ(r.err, "") << args;
  }
  r = Run("-q " + render + " --set Gain=abc");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(LineCount(r.err), 1) << r.err;
}

TEST_F(HostToolTest, NoClobberNeverReplacesAFile)
{
  WriteWav("in.wav", 2, Ramp(100, 2));
  const std::string in = "render " + Probe() + " -i '" + Path("in.wav") + "' ";
  {
    std::ofstream keep(Path("kept.wav"));
    keep << "keep";
  }
  // Each file the render would write, in turn, already exists.
  const std::string cases[] = {
      "-o '" + Path("kept.wav") + "'",
      "-o '" + Path("new1.wav") + "' --dry '" + Path("kept.wav") + "'",
      "-o '" + Path("new2.wav") + "' --save-fxp '" + Path("kept.wav") + "'",
      "-o '" + Path("new3.wav") + "' --save-fxb '" + Path("kept.wav") + "'",
  };
  for (const std::string& files : cases) {
    for (const char* flag : {" -n", " --no-clobber"}) {
      RunResult r = Run(in + files + flag);
      EXPECT_EQ(r.status, 1) << files;
      EXPECT_EQ(LineCount(r.err), 1) << r.err;
      EXPECT_TRUE(Has(r.err, Path("kept.wav") + " exists")) << r.err;
      EXPECT_EQ(ReadText(Path("kept.wav")), "keep");
    }
  }
  // Refused before anything was written.
  for (const std::string& name : Entries()) EXPECT_TRUE(name == "in.wav" || name == "kept.wav") << name;
  RunResult r = Run(in + "-n -o '" + Path("fresh.wav") + "'");
  EXPECT_EQ(r.status, 0) << r.err;
  int channels = 0;
  EXPECT_EQ(ReadWav("fresh.wav", &channels).size(), 200u);
  // Without -n the file is replaced, as before.
  r = Run(in + "-o '" + Path("kept.wav") + "'");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(ReadText(Path("kept.wav")), "keep");
}

TEST_F(HostToolTest, TheDryFeedNeverReplacesTheOutputOrTheInput)
{
  WriteWav("in.wav", 2, Ramp(100, 2));
  const std::string original = ReadText(Path("in.wav"));
  ASSERT_EQ(symlink(Path("in.wav").c_str(), Path("link.wav").c_str()), 0);
  const std::string in = "render " + Probe() + " -i '" + Path("in.wav") + "' ";
  const std::string cases[] = {
      "-o '" + Path("out.wav") + "' --dry '" + dir + "/./out.wav'",
      "-o '" + Path("out.wav") + "' --dry '" + Path("in.wav") + "'",
      "-o '" + Path("out.wav") + "' --dry '" + Path("link.wav") + "'",
  };
  for (const std::string& files : cases) {
    RunResult r = Run(in + files);
    EXPECT_EQ(r.status, 2) << files;
    EXPECT_EQ(LineCount(r.err), 1) << r.err;
  }
  EXPECT_EQ(ReadText(Path("in.wav")), original);
  for (const std::string& name : Entries()) EXPECT_NE(name, "out.wav");
}

// Each --format gives its sample format; a value that lands exactly on a
// 16-bit step reads back unchanged.
TEST_F(HostToolTest, FormatChoosesTheSampleFormat)
{
  const std::vector<float> in = {0.5f, -0.25f, 0.125f, -1.0f};
  WriteWav("in.wav", 2, in);
  const std::string render = "render " + Probe() + " -i '" + Path("in.wav") + "' ";
  const struct {
    const char* word;
    const char* file;
    int subtype;
  } kCases[] = {{"16", "a.wav", SF_FORMAT_PCM_16},  {"24", "b.wav", SF_FORMAT_PCM_24},
                {"32", "c.wav", SF_FORMAT_PCM_32},  {"float", "d.wav", SF_FORMAT_FLOAT},
                {"16", "e.flac", SF_FORMAT_PCM_16}, {"24", "f.aiff", SF_FORMAT_PCM_24}};
  for (const auto& c : kCases) {
    RunResult r = Run(render + "-o '" + Path(c.file) + "' --format " + c.word);
    ASSERT_EQ(r.status, 0) << c.file << r.err;
    SF_INFO info = {};
    SNDFILE* f = sf_open(Path(c.file).c_str(), SFM_READ, &info);
    ASSERT_NE(f, nullptr) << c.file;
    EXPECT_EQ(info.format & SF_FORMAT_SUBMASK, c.subtype) << c.file;
    std::vector<float> back(in.size());
    EXPECT_EQ(sf_readf_float(f, back.data(), 2), 2);
    sf_close(f);
    EXPECT_EQ(back, in) << c.file;
  }
  // WAV stays 32-bit float without --format.
  RunResult r = Run(render + "-o '" + Path("g.wav") + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  SF_INFO info = {};
  SNDFILE* f = sf_open(Path("g.wav").c_str(), SFM_READ, &info);
  ASSERT_NE(f, nullptr);
  sf_close(f);
  EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);

  // A format the container cannot hold names what it takes.
  r = Run(render + "-o '" + Path("h.flac") + "' --format float");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Has(r.err, "--format 16 or 24")) << r.err;
  r = Run(render + "-o '" + Path("i.wav") + "' --format 8");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(LineCount(r.err), 1) << r.err;
}

// --set takes the unit the parameter shows after the number, in any case
// and with or without a space; the result is the gain the number asks for.
TEST_F(HostToolTest, SetTakesTheParametersUnitAfterTheNumber)
{
  const std::vector<float> in = Ramp(200, 2);
  WriteWav("in.wav", 2, in);
  const double gain = std::pow(10.0, -6.0 / 20.0);
  for (const char* set : {"'Gain=-6 dB'", "Gain=-6dB", "'gain=-6 DB'", "Gain=-6", "'Depth=2.5 %'"}) {
    RunResult r = Run("render " + Probe() + " -i '" + Path("in.wav") + "' -o '" + Path("out.wav") +
                      "' --set " + set + (Has(set, "Depth") ? " --set Gain=-6" : ""));
    ASSERT_EQ(r.status, 0) << set << r.err;
    int channels = 0;
    const std::vector<float> out = ReadWav("out.wav", &channels);
    ASSERT_EQ(out.size(), in.size());
    for (size_t i = 0; i < in.size(); ++i)
      ASSERT_EQ(out[i], static_cast<float>(static_cast<double>(in[i]) * gain)) << set << " " << i;
  }
}

// A refused value says what is wrong and what would do, and never claims
// the parameter took it.
TEST_F(HostToolTest, RefusedValuesSayWhatTheParameterTakes)
{
  WriteWav("in.wav", 2, Ramp(50, 2));
  const struct {
    const char* set;
    const char* says;
  } kCases[] = {
      {"'Gain=-6 Hz'", "Gain is set in dB, not Hz, as in Gain=-6 dB"},
      {"Gain=abc", "it takes a number from -60.0 to 12.0 dB"},
      {"Gain=100", "100 is outside the range of Gain, which takes a number from -60.0 to 12.0 dB"},
      {"'Gain=20 dB'", "outside the range of Gain"},
      {"Mode=Nope", "'Nope' is not a value Mode takes; it takes values from Soft to Fold"},
      {"Mode=2", "is not a value Mode takes"},
  };
  for (const auto& c : kCases) {
    RunResult r =
        Run("render " + Probe() + " -i '" + Path("in.wav") + "' -o '" + Path("out.wav") + "' --set " + c.set);
    EXPECT_EQ(r.status, 1) << c.set;
    EXPECT_EQ(LineCount(r.err), 1) << r.err;
    EXPECT_TRUE(Has(r.err, c.says)) << c.set << "\n" << r.err;
    EXPECT_FALSE(Has(r.err, "now shows")) << r.err;
  }
}

#ifdef QUARRY_SO_PATH
// OUT shows its value without a unit: a unit typed after it is refused with
// the value it should have been, and the number alone works.
TEST_F(HostToolTest, QuarryOutTakesAPlainNumber)
{
  const std::string render =
      "render '" + std::string(QUARRY_SO_PATH) + "' -o '" + Path("out.wav") + "' --set ";
  RunResult r = Run(render + "'OUT=-12 dB'");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "quarry-host: OUT shows no unit: give the number alone, as in OUT=-12\n");
  r = Run(render + "OUT=-12");
  EXPECT_EQ(r.status, 0) << r.err;
}
#endif

}  // namespace
