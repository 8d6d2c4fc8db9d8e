// "render": a sound file (or the built-in demo riff) through the plug-in,
// as a host would run it, into a sound file.

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>

#include "tools/host/FeedSource.h"
#include "tools/host/FileIdentity.h"
#include "tools/host/HostCommand.h"
#include "tools/host/HostedPlugin.h"
#include "tools/host/Messages.h"
#include "tools/host/ParameterText.h"
#include "tools/host/PluginLocation.h"
#include "tools/host/ProgramFiles.h"
#include "tools/host/RenderLoop.h"
#include "tools/host/SoundFiles.h"

namespace {

const int kDefaultRate = 44100;

struct RenderOptions {
  std::string plugin;
  std::string input;  // empty: the built-in demo riff
  std::string output;
  std::string dry;                       // empty: not written
  std::vector<std::string> assignments;  // NAME=VALUE, in the order given
  int rate = 0;                          // 0: the input's rate, or 44100 for the demo riff
  int block = 512;
  std::string precision = "float";
  SampleFormat format = SampleFormat::kAuto;
  bool noClobber = false;
  std::string loadFxp, loadFxb, saveFxp, saveFxb;
};

bool Fail(const std::string& message)
{
  ReportFailure(message);
  return false;
}

// Files that cannot be the same, found before anything is loaded.
bool CheckFileNames(const RenderOptions& o)
{
  if (!o.dry.empty() && NameSameFile(o.dry, o.output)) return Fail("OUT and the --dry file must differ");
  if (!o.dry.empty() && !o.input.empty() && NameSameFile(o.dry, o.input))
    return Fail("the --dry file must not replace the input " + o.input);
  return true;
}

// With -n, a file that is there already stops the render before it starts
// (and again, should one appear meanwhile, when each file is put in place).
bool CheckNothingReplaced(const RenderOptions& o)
{
  for (const std::string& path : {o.output, o.dry, o.saveFxp, o.saveFxb}) {
    const std::string refusal = path.empty() ? "" : SafeOutputFile::ClobberRefusal(path);
    if (!refusal.empty()) return Fail(refusal);
  }
  return true;
}

bool OpenFeed(const RenderOptions& o, std::unique_ptr<FeedSource>* feed)
{
  std::string error;
  if (o.input.empty()) {
    *feed = MakeDemoFeed(o.rate > 0 ? o.rate : kDefaultRate, &error);
    return *feed ? true : Fail(error);
  }
  std::unique_ptr<SoundReader> reader = SoundReader::Open(o.input, &error);
  if (!reader) return Fail(error);
  if (reader->Channels() > 2)
    return Fail(o.input + " has " + std::to_string(reader->Channels()) +
                " channels; only mono and stereo input can be rendered");
  if (o.rate > 0 && o.rate != reader->SampleRate())
    return Fail("--rate " + std::to_string(o.rate) + " differs from the " +
                std::to_string(reader->SampleRate()) + " Hz of " + o.input +
                " (quarry-host does not resample)");
  feed->reset(new FileFeed(std::move(reader)));
  return true;
}

bool CheckPluginFits(HostedPlugin* plugin, const RenderOptions& o, int srcChannels, bool doublePrecision)
{
  AEffect* e = plugin->Effect();
  if (e->numOutputs < 1) return Fail("the plug-in has no audio outputs");
  if (srcChannels == 2 && e->numInputs == 1)
    return Fail("the plug-in takes mono input; " + o.input + " is stereo");
  if (doublePrecision && !(e->flags & effFlagsCanDoubleReplacing))
    return Fail("the plug-in cannot process in double precision (use --precision float)");
  if (!doublePrecision && !(e->flags & effFlagsCanReplacing) && !e->process)
    return Fail("the plug-in offers no single-precision processing (use --precision double)");
  return true;
}

// Program and bank files, then the --set assignments, which override them.
bool ApplyState(HostedPlugin* plugin, const RenderOptions& o)
{
  std::string error;
  if (!o.loadFxb.empty() && !LoadBankFile(plugin, o.loadFxb, &error)) return Fail(error);
  if (!o.loadFxp.empty() && !LoadProgramFile(plugin, o.loadFxp, &error)) return Fail(error);
  for (const std::string& assignment : o.assignments)
    if (!ApplyAssignment(plugin, assignment, &error)) return Fail(error);
  if (!o.saveFxp.empty() && !SaveProgramFile(plugin, o.saveFxp, o.noClobber, &error)) return Fail(error);
  if (!o.saveFxb.empty() && !SaveBankFile(plugin, o.saveFxb, o.noClobber, &error)) return Fail(error);
  return true;
}

void PrintSummary(const SoundWriter& file, double rate, int channels)
{
  if (IsQuiet()) return;
  std::printf("%s: %.2f s, %d channels at %d Hz, %s, peak %.1f dBFS\n", file.Path().c_str(),
              file.FramesWritten() / rate, channels, static_cast<int>(rate), file.SampleFormatName().c_str(),
              file.Levels().PeakDb());
}

// Integer formats cannot hold what lies beyond full scale: say how much
// was clipped and by how far the render went over.
void WarnOfClipping(const SoundWriter& file)
{
  const LevelMeter& levels = file.Levels();
  if (!file.Clips() || levels.beyond == 0) return;
  char peak[32];
  std::snprintf(peak, sizeof peak, "%+.1f dBFS", levels.PeakDb());
  ReportWarning(std::to_string(levels.beyond) + (levels.beyond == 1 ? " sample" : " samples") +
                " clipped in " + file.Path() + " (peak " + peak + "; " + file.SampleFormatName() +
                " samples end at full scale: lower the level or use --format float)");
}

bool Render(const RenderOptions& o)
{
  if (o.noClobber && !CheckNothingReplaced(o)) return false;
  std::unique_ptr<FeedSource> feed;
  if (!OpenFeed(o, &feed)) return false;
  const double rate = feed->SampleRate();
  const bool doublePrecision = o.precision == "double";

  std::string error;
  std::unique_ptr<HostedPlugin> plugin(HostedPlugin::Load(o.plugin, &error));
  if (!plugin) return Fail(error);
  if (!CheckPluginFits(plugin.get(), o, feed->Channels(), doublePrecision)) return false;
  AEffect* e = plugin->Effect();

  plugin->SetSampleRate(rate);
  plugin->SetBlockSize(o.block);
  plugin->Dispatch(effOpen);
  plugin->Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
  plugin->Dispatch(effSetBlockSize, 0, o.block);
  plugin->Dispatch(effSetProcessPrecision, 0, doublePrecision ? 1 : 0);

  const long long tail = TailFrames(plugin.get(), rate);
  SoundLayout layout;
  layout.sampleRate = static_cast<int>(rate);
  layout.expectedFrames = feed->Frames() < 0 ? -1 : feed->Frames() + tail;
  layout.noClobber = o.noClobber;
  layout.channels = e->numOutputs;
  layout.format = o.format;
  std::unique_ptr<SoundWriter> out = SoundWriter::Create(o.output, layout, &error);
  if (!out) return Fail(error);
  std::unique_ptr<SoundWriter> dry;
  if (!o.dry.empty()) {
    // The dry file holds exactly what was fed: floating point in the
    // render's precision, whatever --format says.
    layout.channels = std::max(e->numInputs, 1);
    layout.format = SampleFormat::kAuto;
    layout.preferDouble = doublePrecision;
    dry = SoundWriter::Create(o.dry, layout, &error);
    if (!dry) return Fail(error);
  }
  // Program and bank files are read and written once the sound files are
  // known to be writable.
  if (!ApplyState(plugin.get(), o)) return false;

  plugin->Dispatch(effMainsChanged, 0, 1);
  plugin->Dispatch(effStartProcess);
  const RenderSession session{plugin.get(), feed.get(), out.get(), dry.get(),
                              o.block,      rate,       tail,      !IsQuiet()};
  const bool rendered = doublePrecision ? RenderDouble(session, &error) : RenderFloat(session, &error);
  plugin->Dispatch(effStopProcess);
  plugin->Dispatch(effMainsChanged, 0, 0);
  if (!rendered) return Fail(error);
  if (dry && !dry->Commit(&error)) return Fail(error);
  if (!out->Commit(&error)) return Fail(error);
  PrintSummary(*out, rate, e->numOutputs);
  if (dry) PrintSummary(*dry, rate, std::max(e->numInputs, 1));
  WarnOfClipping(*out);
  return true;
}

class RenderCommand : public HostCommand {
public:
  const char* Name() const override { return "render"; }
  const char* Summary() const override
  {
    return "Run a sound file (or the built-in demo riff) through a plug-in into a sound file";
  }

  void AddOptions(CLI::App* c) override
  {
    RenderOptions& o = mOptions;
    AddPluginArgument(c, &o.plugin);
    c->add_option("-i,--input", o.input,
                  "Sound file to render (any format libsndfile reads); default: the demo riff")
        ->type_name("IN");
    c->add_option(
         "-o,--output", o.output,
         "Sound file to write; its extension chooses the format (.wav .flac .aiff .ogg .caf .au .w64 .rf64)")
        ->type_name("OUT")
        ->required();
    c->add_option("--format", o.format,
                  "Sample format of OUT: 16, 24 or 32-bit integers, or float (32-bit); default: float where "
                  "the format takes it")
        ->option_text("16|24|32|float")
        ->transform(
            CLI::CheckedTransformer(std::map<std::string, SampleFormat>{{"16", SampleFormat::kPcm16},
                                                                        {"24", SampleFormat::kPcm24},
                                                                        {"32", SampleFormat::kPcm32},
                                                                        {"float", SampleFormat::kFloat}}));
    c->add_option("--set", o.assignments,
                  "Set a parameter, by name or index, to a value in its own unit (the unit may follow the "
                  "number) or to one of its display texts; repeatable")
        ->type_name("NAME=VALUE")
        ->allow_extra_args(false);
    c->add_option("--rate", o.rate,
                  "Sample rate of the demo riff, 1000 to 1536000; must match IN when given with -i")
        ->option_text("HZ")
        ->check(CLI::Range(1000, 1536000));
    c->add_option("--block", o.block, "Frames per processing call, 1 to 65536 (default 512)")
        ->option_text("N")
        ->check(CLI::Range(1, 65536));
    c->add_option("--precision", o.precision, "Processing precision (default float)")
        ->option_text("float|double")
        ->check(CLI::IsMember({"float", "double"}));
    c->add_option("--dry", o.dry, "Also write exactly what was fed to the plug-in to FILE (floating point)")
        ->type_name("FILE");
    c->add_option("--load-fxb", o.loadFxb, "Load a bank file before rendering")->type_name("F");
    c->add_option("--load-fxp", o.loadFxp, "Load a program file before rendering (after any bank)")
        ->type_name("F");
    c->add_option("--save-fxp", o.saveFxp, "Save the program as rendered (after --set) to a program file")
        ->type_name("F");
    c->add_option("--save-fxb", o.saveFxb, "Save the plug-in's bank to a bank file")->type_name("F");
    c->add_flag("-n,--no-clobber", o.noClobber, "Never replace an existing file; fail instead");
  }

  int Run() override
  {
    if (mOptions.plugin.empty()) mOptions.plugin = DefaultPluginPath();
    if (!CheckFileNames(mOptions)) return kUsageExitStatus;
    return Render(mOptions) ? 0 : 1;
  }

private:
  RenderOptions mOptions;
};

}  // namespace

std::unique_ptr<HostCommand> MakeRenderCommand() { return std::make_unique<RenderCommand>(); }
