// quarry-demo DRY.wav WET.wav
// Synthesises the demo riff, feeds it to the effect at its default settings
// the way a single-precision host does, and writes what went in and what came
// out as 32-bit float stereo WAV files, with their levels.

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "base/mutex.h"
#include "effects/Quarry/Quarry.h"
#include "tools/demo/DemoRiff.h"

namespace {

constexpr double kSampleRate = 44100.0;
constexpr int kBlockSize = 512;

struct Stereo {
  std::vector<float> left, right;
  explicit Stereo(int n) : left(n), right(n) {}
  int Frames() const { return static_cast<int>(left.size()); }
};

void RunEffect(const Stereo& dry, Stereo& wet)
{
  Quarry plug{IEffectInstanceInfo{}};
  BASE_MutexLock lock(plug.GetMutex());
  plug.SetInputChannelConnections(0, plug.NInChannels(), true);
  plug.SetOutputChannelConnections(0, plug.NOutChannels(), true);
  plug.SetSampleRate(kSampleRate);
  plug.SetBlockSize(kBlockSize);
  plug.OnParamReset();
  for (int pos = 0; pos < dry.Frames(); pos += kBlockSize) {
    const int n = std::min(kBlockSize, dry.Frames() - pos);
    // The host's buffers; the effect never writes its inputs.
    float* ins[2] = {const_cast<float*>(&dry.left[pos]), const_cast<float*>(&dry.right[pos])};
    float* outs[2] = {&wet.left[pos], &wet.right[pos]};
    plug.AttachInputBuffers(0, 2, ins, n);
    plug.AttachOutputBuffers(0, 2, outs);
    plug.ProcessBuffers(0.0f, n);
  }
}

bool WriteWav(const char* path, const Stereo& audio)
{
  SF_INFO info = {};
  info.samplerate = static_cast<int>(kSampleRate);
  info.channels = 2;
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SNDFILE* file = sf_open(path, SFM_WRITE, &info);
  if (!file) {
    std::fprintf(stderr, "quarry-demo: cannot write %s: %s\n", path, sf_strerror(nullptr));
    return false;
  }
  std::vector<float> interleaved(2 * static_cast<size_t>(audio.Frames()));
  for (int i = 0; i < audio.Frames(); ++i) {
    interleaved[2 * i] = audio.left[i];
    interleaved[2 * i + 1] = audio.right[i];
  }
  const sf_count_t written = sf_writef_float(file, interleaved.data(), audio.Frames());
  bool ok = written == audio.Frames();
  if (!ok) std::fprintf(stderr, "quarry-demo: writing %s failed: %s\n", path, sf_strerror(file));
  if (sf_close(file) != 0) {
    std::fprintf(stderr, "quarry-demo: closing %s failed\n", path);
    ok = false;
  }
  return ok;
}

double ToDbfs(double level)
{
  return level > 0.0 ? 20.0 * std::log10(level) : -INFINITY;
}

void PrintLevels(const char* what, const char* path, const Stereo& audio)
{
  double peak = 0.0, sumSquares = 0.0;
  for (const std::vector<float>* ch : {&audio.left, &audio.right}) {
    for (float v : *ch) {
      peak = std::max(peak, std::fabs(static_cast<double>(v)));
      sumSquares += static_cast<double>(v) * v;
    }
  }
  const double rms = audio.Frames() > 0 ? std::sqrt(sumSquares / (2.0 * audio.Frames())) : 0.0;
  std::printf("%-4s %s: peak %.2f dBFS, RMS %.2f dBFS\n", what, path, ToDbfs(peak), ToDbfs(rms));
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc != 3) {
    std::fprintf(stderr, "usage: quarry-demo DRY.wav WET.wav\n");
    return 2;
  }
  const int frames = DemoRiffFrames(kSampleRate);
  Stereo dry(frames), wet(frames);
  SynthesizeDemoRiff(dry.left.data(), dry.right.data(), frames, kSampleRate);
  RunEffect(dry, wet);
  if (!WriteWav(argv[1], dry) || !WriteWav(argv[2], wet)) return 1;

  std::printf("Quarry demo: %d frames, %.2f s, stereo, %.0f Hz, 32-bit float\n", frames, frames / kSampleRate,
              kSampleRate);
  PrintLevels("dry", argv[1], dry);
  PrintLevels("wet", argv[2], wet);
  return 0;
}
