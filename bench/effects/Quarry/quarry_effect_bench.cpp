// Cost of the effect per stereo frame, in blocks of 512 at 44100 Hz, through
// the double path (ProcessDoubleReplacing) and the float path of the base
// (ProcessBuffers(float, ...)). "Steady" keeps the parameters unchanged for
// a few seconds first; "Automating" moves a parameter every block;
// "AfterSilence" measures silence after a minute of it; "Noise" is steady
// with loud white noise.

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "effects/Quarry/Quarry.h"

namespace {

constexpr int kBlock = 512;
constexpr double kRate = 44100.0;

enum class Path { kDouble, kFloat };
enum class Load { kSteady, kAutomating, kAfterSilence, kNoise };

struct Rig {
  Quarry plug{IEffectInstanceInfo{}};
  std::vector<double> inL, inR, outL, outR;
  std::vector<float> fInL, fInR, fOutL, fOutR;
  long blocks = 0;

  Rig()
      : inL(kBlock), inR(kBlock), outL(kBlock), outR(kBlock), fInL(kBlock), fInR(kBlock), fOutL(kBlock),
        fOutR(kBlock)
  {
    plug.SetSampleRate(kRate);
    plug.SetBlockSize(kBlock);
    plug.OnParamReset();
    unsigned state = 1u;
    for (int i = 0; i < kBlock; ++i) {
      state = state * 1664525u + 1013904223u;
      const double noise = static_cast<double>(state >> 8) / 16777216.0 - 0.5;
      inL[i] = 0.6 * std::sin(i * 2 * M_PI * 5 / kBlock) + 0.1 * noise;
      inR[i] = 0.5 * std::sin(i * 2 * M_PI * 3 / kBlock) - 0.1 * noise;
      fInL[i] = static_cast<float>(inL[i]);
      fInR[i] = static_cast<float>(inR[i]);
    }
  }

  // Loud white noise: the signal crosses zero and the clipping knee at
  // random, where the tune of the other loads is predictable.
  void Noise()
  {
    unsigned state = 7u;
    for (int i = 0; i < kBlock; ++i) {
      state = state * 1664525u + 1013904223u;
      inL[i] = static_cast<double>(state >> 8) / 16777216.0 - 0.5;
      state = state * 1664525u + 1013904223u;
      inR[i] = static_cast<double>(state >> 8) / 16777216.0 - 0.5;
      fInL[i] = static_cast<float>(inL[i]);
      fInR[i] = static_cast<float>(inR[i]);
    }
  }

  void Silence()
  {
    for (int i = 0; i < kBlock; ++i) {
      inL[i] = inR[i] = 0.0;
      fInL[i] = fInR[i] = 0.0f;
    }
  }

  void Automate()
  {
    // Both tone knobs sweep back and forth, as a host's automation lanes
    // would move them, so every stage recomputes its coefficients each frame.
    BASE_MutexLock lock(plug.GetMutex());
    plug.GetParam(Quarry::kGainL)->SetNormalized(0.5 + 0.45 * std::sin(blocks * 0.05));
    plug.OnParamChange(Quarry::kGainL);
    plug.GetParam(Quarry::kGainM)->SetNormalized(0.5 + 0.45 * std::cos(blocks * 0.03));
    plug.OnParamChange(Quarry::kGainM);
  }

  void Run(Path path)
  {
    BASE_MutexLock lock(plug.GetMutex());
    if (path == Path::kDouble) {
      double* ins[2] = {inL.data(), inR.data()};
      double* outs[2] = {outL.data(), outR.data()};
      plug.AttachInputBuffers(0, 2, ins, kBlock);
      plug.AttachOutputBuffers(0, 2, outs);
      plug.ProcessBuffers(0.0, kBlock);
    } else {
      float* ins[2] = {fInL.data(), fInR.data()};
      float* outs[2] = {fOutL.data(), fOutR.data()};
      plug.AttachInputBuffers(0, 2, ins, kBlock);
      plug.AttachOutputBuffers(0, 2, outs);
      plug.ProcessBuffers(0.0f, kBlock);
    }
    ++blocks;
  }

  void RunSeconds(Path path, double seconds, bool automate)
  {
    const long n = static_cast<long>(seconds * kRate / kBlock);
    for (long i = 0; i < n; ++i) {
      if (automate) Automate();
      Run(path);
    }
  }
};

template <Path path, Load load>
void BM_Quarry(benchmark::State& state)
{
  Rig rig;
  if (load == Load::kAfterSilence) {
    // One second of signal, then a minute of silence, so the filters have
    // decayed as far as they ever will.
    rig.RunSeconds(path, 1.0, false);
    rig.Silence();
    rig.RunSeconds(path, 60.0, false);
  } else {
    if (load == Load::kNoise) rig.Noise();
    rig.RunSeconds(path, 3.0, load == Load::kAutomating);
  }
  for (auto _ : state) {
    if (load == Load::kAutomating) rig.Automate();
    rig.Run(path);
    benchmark::DoNotOptimize(rig.outL.data());
    benchmark::DoNotOptimize(rig.fOutL.data());
    benchmark::ClobberMemory();
  }
  const double frames = static_cast<double>(state.iterations()) * kBlock;
  state.SetItemsProcessed(static_cast<int64_t>(frames));
  state.counters["ns_per_frame"] =
      benchmark::Counter(frames * 1e-9, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["x_realtime"] = benchmark::Counter(frames / kRate, benchmark::Counter::kIsRate);
}

BENCHMARK_TEMPLATE(BM_Quarry, Path::kDouble, Load::kSteady)->Name("Double/Steady");
BENCHMARK_TEMPLATE(BM_Quarry, Path::kDouble, Load::kAutomating)->Name("Double/Automating");
BENCHMARK_TEMPLATE(BM_Quarry, Path::kDouble, Load::kAfterSilence)->Name("Double/AfterSilence");
BENCHMARK_TEMPLATE(BM_Quarry, Path::kDouble, Load::kNoise)->Name("Double/Noise");
BENCHMARK_TEMPLATE(BM_Quarry, Path::kFloat, Load::kSteady)->Name("Float/Steady");
BENCHMARK_TEMPLATE(BM_Quarry, Path::kFloat, Load::kAutomating)->Name("Float/Automating");
BENCHMARK_TEMPLATE(BM_Quarry, Path::kFloat, Load::kAfterSilence)->Name("Float/AfterSilence");

}  // namespace

BENCHMARK_MAIN();
