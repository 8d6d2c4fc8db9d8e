// Nanoseconds per stereo frame through the plug-in's processReplacing and
// processDoubleReplacing (dlopen-ed Quarry.so, entered through its record)
// and through the effect's own ProcessDoubleReplacing, for blocks of 64 and
// 512 frames. The difference is what the adapter and the base's buffer
// plumbing cost.

#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cmath>
#include <memory>
#include <vector>

#include "effects/Quarry/Quarry.h"

namespace {

VstIntPtr SilentHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
  return opcode == audioMasterVersion ? kVstVersion : 0;
}

AEffect* OpenPlugin(int block)
{
  static void* module = dlopen(QUARRY_SO_PATH, RTLD_NOW | RTLD_LOCAL);
  if (!module) return nullptr;
  typedef AEffect* (*Entry)(audioMasterCallback);
  Entry entry = reinterpret_cast<Entry>(dlsym(module, "VSTPluginMain"));
  AEffect* e = entry ? entry(&SilentHost) : nullptr;
  if (!e) return nullptr;
  e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f);
  e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  e->dispatcher(e, effSetBlockSize, 0, block, nullptr, 0.0f);
  e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0.0f);
  return e;
}

template <class T>
struct StereoBuffers {
  explicit StereoBuffers(int frames) : in(2, std::vector<T>(frames)), out(2, std::vector<T>(frames))
  {
    for (int i = 0; i < frames; ++i) {
      in[0][i] = static_cast<T>(0.5 * std::sin(i * 0.05));
      in[1][i] = static_cast<T>(0.5 * std::cos(i * 0.03));
    }
    ins[0] = in[0].data();
    ins[1] = in[1].data();
    outs[0] = out[0].data();
    outs[1] = out[1].data();
  }
  std::vector<std::vector<T>> in, out;
  T* ins[2];
  T* outs[2];
};

void Report(benchmark::State& state, int frames)
{
  state.SetItemsProcessed(state.iterations() * frames);
  // Seconds per frame, which the report prints in ns.
  state.counters["ns_per_frame"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * frames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_EffectOwnDouble(benchmark::State& state)
{
  const int frames = static_cast<int>(state.range(0));
  Quarry q{IEffectInstanceInfo()};
  q.SetSampleRate(44100.0);
  q.OnParamReset();
  StereoBuffers<double> b(frames);
  for (auto _ : state) {
    q.ProcessDoubleReplacing(b.ins, b.outs, frames);
    benchmark::DoNotOptimize(b.out[0].data());
  }
  Report(state, frames);
}

void BM_PluginDoubleReplacing(benchmark::State& state)
{
  const int frames = static_cast<int>(state.range(0));
  AEffect* e = OpenPlugin(frames);
  if (!e) {
    state.SkipWithError("Quarry.so could not be loaded");
    return;
  }
  StereoBuffers<double> b(frames);
  for (auto _ : state) {
    e->processDoubleReplacing(e, b.ins, b.outs, frames);
    benchmark::DoNotOptimize(b.out[0].data());
  }
  Report(state, frames);
  e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
}

void BM_PluginReplacing(benchmark::State& state)
{
  const int frames = static_cast<int>(state.range(0));
  AEffect* e = OpenPlugin(frames);
  if (!e) {
    state.SkipWithError("Quarry.so could not be loaded");
    return;
  }
  StereoBuffers<float> b(frames);
  for (auto _ : state) {
    e->processReplacing(e, b.ins, b.outs, frames);
    benchmark::DoNotOptimize(b.out[0].data());
  }
  Report(state, frames);
  e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
}

BENCHMARK(BM_EffectOwnDouble)->Arg(64)->Arg(512);
BENCHMARK(BM_PluginDoubleReplacing)->Arg(64)->Arg(512);
BENCHMARK(BM_PluginReplacing)->Arg(64)->Arg(512);

}  // namespace

BENCHMARK_MAIN();
