#include "tools/host/RenderLoop.h"

#include <algorithm>
#include <vector>

#include "tools/host/FeedSource.h"
#include "tools/host/HostedPlugin.h"
#include "tools/host/Progress.h"
#include "tools/host/SoundFiles.h"

namespace {

const double kMaxTailSeconds = 60.0;

// One processing call in the precision of the buffers.
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

template <class T>
void Interleave(const Planar<T>& planar, int channels, int frames, std::vector<T>* interleaved)
{
  for (int i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c)
      (*interleaved)[static_cast<size_t>(i) * channels + c] = planar.pointers[c][i];
}

// A mono source feeds every input; a stereo one its first two.
template <class T>
void Deinterleave(const std::vector<double>& source, int srcChannels, int frames, Planar<T>* in, int channels)
{
  for (int c = 0; c < channels; ++c) {
    T* dst = in->pointers[c];
    if (srcChannels == 1 || c < srcChannels) {
      const int sc = srcChannels == 1 ? 0 : c;
      for (int i = 0; i < frames; ++i)
        dst[i] = static_cast<T>(source[static_cast<size_t>(i) * srcChannels + sc]);
    } else {
      std::fill(dst, dst + frames, T(0));
    }
  }
}

template <class T>
bool RenderAll(const RenderSession& s, std::string* error)
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

  const long long sourceFrames = s.feed->Frames();
  Progress progress(sourceFrames < 0 ? -1 : sourceFrames + s.tailFrames, s.rate, s.showProgress);
  long long done = 0;
  long long tailLeft = s.tailFrames;
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
    Deinterleave(source, srcChannels, n, &in, nIn);
    if (s.dry) {
      Interleave(in, nIn, n, &dryInterleaved);
      if (!s.dry->Write(dryInterleaved.data(), n, error)) return false;
    }
    s.plugin->SetSamplePos(static_cast<double>(done));
    ProcessBlock(e, in.pointers.data(), outBufs.pointers.data(), n, nOut);
    Interleave(outBufs, nOut, n, &outInterleaved);
    if (!s.out->Write(outInterleaved.data(), n, error)) return false;
    done += n;
    progress.Update(done);
  }
  return true;
}

}  // namespace

long long TailFrames(HostedPlugin* plugin, double rate)
{
  VstIntPtr tail = plugin->Dispatch(effGetTailSize);
  if (tail <= 1) return 0;  // 0 means unknown, 1 means none
  return std::min<long long>(tail, static_cast<long long>(kMaxTailSeconds * rate));
}

bool RenderFloat(const RenderSession& session, std::string* error)
{
  return RenderAll<float>(session, error);
}
bool RenderDouble(const RenderSession& session, std::string* error)
{
  return RenderAll<double>(session, error);
}
