#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "tools/host/Commands.h"
#include "tools/host/FeedSource.h"
#include "tools/host/HostedPlugin.h"
#include "tools/host/ParameterText.h"
#include "tools/host/ProgramFiles.h"
#include "tools/host/Progress.h"
#include "tools/host/SoundFiles.h"

namespace {

const int kDefaultRate = 44100;
const double kMaxTailSeconds = 60.0;

// One processing call in the precision of T.
void ProcessBlock(AEffect* e, float** in, float** out, int frames, int numOutputs)
{
  if (e->flags & effFlagsCanReplacing) {
    e->processReplacing(e, in, out, frames);
    return;
  }
  // Only the old accumulating call: it adds to what the outputs hold.
  for (int c = 0; c < numOutputs; ++c) std::fill(out[c], out[c] + frames, 0.0f);
  e->process(e, in, out, frames);
}

void ProcessBlock(AEffect* e, double** in, double** out, int frames, int)
{
  e->processDoubleReplacing(e, in, out, frames);
}

// Planar buffers for the plug-in's channels, one block long.
template <class T>
struct Planar {
  Planar(int channels, int frames)
      : data(static_cast<size_t>(std::max(channels, 1)), std::vector<T>(static_cast<size_t>(frames))),
        pointers(data.size())
  {
    for (size_t c = 0; c < data.size(); ++c) pointers[c] = data[c].data();
  }
  std::vector<std::vector<T>> data;
  std::vector<T*> pointers;
};

// What was written, for the summary line.
struct Written {
  long long frames = 0;
  double outPeak = 0.0;
  double dryPeak = 0.0;
};

template <class T>
double PeakOf(const std::vector<T>& samples, size_t count, double peak)
{
  for (size_t i = 0; i < count; ++i) peak = std::max(peak, std::fabs(static_cast<double>(samples[i])));
  return peak;
}

struct Session {
  const RenderOptions& options;
  HostedPlugin* plugin;
  FeedSource* feed;
  SoundWriter* out;
  SoundWriter* dry;
  int block;
  double rate;
};

// Feeds the whole source (then the tail the plug-in asks for) through the
// plug-in in blocks and writes what comes out.
template <class T>
bool RenderAll(const Session& s, Written* written, std::string* error)
{
  AEffect* e = s.plugin->Effect();
  const int nIn = e->numInputs;
  const int nOut = e->numOutputs;
  const int srcChannels = s.feed->Channels();
  Planar<T> in(nIn, s.block);
  Planar<T> outBufs(nOut, s.block);
  std::vector<double> source(static_cast<size_t>(s.block) * srcChannels);
  std::vector<T> outInterleaved(static_cast<size_t>(s.block) * nOut);
  std::vector<T> dryInterleaved(static_cast<size_t>(s.block) * std::max(nIn, 1));

  VstIntPtr tail = s.plugin->Dispatch(effGetTailSize);
  if (tail <= 1) tail = 0;  // 0 means unknown, 1 means none
  tail = std::min<VstIntPtr>(tail, static_cast<VstIntPtr>(kMaxTailSeconds * s.rate));
  const long long sourceFrames = s.feed->Frames();
  Progress progress(sourceFrames < 0 ? -1 : sourceFrames + tail, s.rate);

  long long done = 0;
  long long tailLeft = tail;
  bool sourceEnded = false;
  for (;;) {
    long long frames = 0;
    if (!sourceEnded) {
      frames = s.feed->Read(source.data(), s.block);
      if (frames <= 0) sourceEnded = true;
    }
    if (sourceEnded) {
      frames = std::min<long long>(tailLeft, s.block);
      if (frames <= 0) break;
      tailLeft -= frames;
      std::fill(source.begin(), source.end(), 0.0);
    }
    const int n = static_cast<int>(frames);
    // A mono source feeds every input; a stereo one its first two.
    for (int c = 0; c < nIn; ++c) {
      T* dst = in.pointers[c];
      if (srcChannels == 1 || c < srcChannels) {
        const int sc = srcChannels == 1 ? 0 : c;
        for (int i = 0; i < n; ++i)
          dst[i] = static_cast<T>(source[static_cast<size_t>(i) * srcChannels + sc]);
      } else {
        std::fill(dst, dst + n, T(0));
      }
    }
    if (s.dry) {
      for (int i = 0; i < n; ++i)
        for (int c = 0; c < nIn; ++c) dryInterleaved[static_cast<size_t>(i) * nIn + c] = in.pointers[c][i];
      if (!s.dry->Write(dryInterleaved.data(), n, error)) return false;
      written->dryPeak = PeakOf(dryInterleaved, static_cast<size_t>(n) * nIn, written->dryPeak);
    }
    s.plugin->SetSamplePos(static_cast<double>(done));
    ProcessBlock(e, in.pointers.data(), outBufs.pointers.data(), n, nOut);
    for (int i = 0; i < n; ++i)
      for (int c = 0; c < nOut; ++c)
        outInterleaved[static_cast<size_t>(i) * nOut + c] = outBufs.pointers[c][i];
    if (!s.out->Write(outInterleaved.data(), n, error)) return false;
    written->outPeak = PeakOf(outInterleaved, static_cast<size_t>(n) * nOut, written->outPeak);
    done += n;
    written->frames = done;
    progress.Update(done);
  }
  return true;
}

bool Fail(const std::string& message)
{
  ReportFailure(message);
  return false;
}

bool OpenFeed(const RenderOptions& o, std::unique_ptr<FeedSource>* feed)
{
  std::string error;
  if (o.input.empty()) {
    *feed = MakeDemoFeed(o.rate > 0 ? static_cast<int>(o.rate) : kDefaultRate, &error);
    return *feed ? true : Fail(error);
  }
  std::unique_ptr<SoundReader> reader = SoundReader::Open(o.input, &error);
  if (!reader) return Fail(error);
  if (reader->Channels() > 2)
    return Fail(o.input + " has " + std::to_string(reader->Channels()) +
                " channels; only mono and stereo input can be rendered");
  if (o.rate > 0 && o.rate != reader->SampleRate())
    return Fail("--rate " + std::to_string(static_cast<int>(o.rate)) + " differs from the " +
                std::to_string(reader->SampleRate()) + " Hz of " + o.input +
                " (quarry-host does not resample)");
  feed->reset(new FileFeed(std::move(reader)));
  return true;
}

bool CheckPluginFits(HostedPlugin* plugin, const RenderOptions& o, int srcChannels)
{
  AEffect* e = plugin->Effect();
  if (e->numOutputs < 1) return Fail("the plug-in has no audio outputs");
  if (srcChannels == 2 && e->numInputs == 1)
    return Fail("the plug-in takes mono input; " + o.input + " is stereo");
  if (o.doublePrecision && !(e->flags & effFlagsCanDoubleReplacing))
    return Fail("the plug-in cannot process in double precision (use --precision float)");
  if (!o.doublePrecision && !(e->flags & effFlagsCanReplacing) && !e->process)
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
  if (!o.saveFxp.empty() && !SaveProgramFile(plugin, o.saveFxp, &error)) return Fail(error);
  if (!o.saveFxb.empty() && !SaveBankFile(plugin, o.saveFxb, &error)) return Fail(error);
  return true;
}

void PrintSummary(const std::string& path, long long frames, double rate, int channels, double peak)
{
  const double peakDb = peak > 0.0 ? 20.0 * std::log10(peak) : -HUGE_VAL;
  std::printf("%s: %.2f s, %d channels at %d Hz, peak %.1f dBFS\n", path.c_str(), frames / rate, channels,
              static_cast<int>(rate), peakDb);
}

bool Render(const RenderOptions& o)
{
  std::unique_ptr<FeedSource> feed;
  if (!OpenFeed(o, &feed)) return false;
  const double rate = feed->SampleRate();

  std::string error;
  std::unique_ptr<HostedPlugin> plugin(HostedPlugin::Load(o.plugin, &error));
  if (!plugin) return Fail(error);
  if (!CheckPluginFits(plugin.get(), o, feed->Channels())) return false;
  AEffect* e = plugin->Effect();

  plugin->SetSampleRate(rate);
  plugin->SetBlockSize(o.block);
  plugin->Dispatch(effOpen);
  plugin->Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
  plugin->Dispatch(effSetBlockSize, 0, o.block);
  plugin->Dispatch(effSetProcessPrecision, 0, o.doublePrecision ? 1 : 0);

  std::unique_ptr<SoundWriter> out =
      SoundWriter::Create(o.output, e->numOutputs, static_cast<int>(rate), false, &error);
  if (!out) return Fail(error);
  std::unique_ptr<SoundWriter> dry;
  if (!o.dry.empty()) {
    dry = SoundWriter::Create(o.dry, std::max(e->numInputs, 1), static_cast<int>(rate), o.doublePrecision,
                              &error);
    if (!dry) return Fail(error);
  }
  // Program and bank files are read and written once the sound files are
  // known to be writable.
  if (!ApplyState(plugin.get(), o)) return false;

  plugin->Dispatch(effMainsChanged, 0, 1);
  plugin->Dispatch(effStartProcess);
  const Session session{o, plugin.get(), feed.get(), out.get(), dry.get(), o.block, rate};
  Written written;
  const bool rendered = o.doublePrecision ? RenderAll<double>(session, &written, &error)
                                          : RenderAll<float>(session, &written, &error);
  plugin->Dispatch(effStopProcess);
  plugin->Dispatch(effMainsChanged, 0, 0);
  if (!rendered) return Fail(error);
  if (dry && !dry->Commit(&error)) return Fail(error);
  if (!out->Commit(&error)) return Fail(error);
  PrintSummary(o.output, written.frames, rate, e->numOutputs, written.outPeak);
  if (dry) PrintSummary(o.dry, written.frames, rate, std::max(e->numInputs, 1), written.dryPeak);
  return true;
}

}  // namespace

int RunRender(const RenderOptions& options) { return Render(options) ? 0 : 1; }
