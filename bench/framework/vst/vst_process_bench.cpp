// Nanoseconds per stereo frame through the plug-in's processReplacing and
// processDoubleReplacing (dlopen-ed Quarry.so, entered through its record)
// and through the effect's own ProcessDoubleReplacing, for blocks of 64 and
// 512 frames. Each path is set against the effect driven directly in the
// same precision (float through the base's own conversion), so the
// difference is what the adapter costs. Timings of the paths differ by less
// than their run-to-run noise; under valgrind --tool=callgrind the
// inclusive instruction count of each path's Run per frame compares them
// exactly.

#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cmath>
#include <memory>
#include <vector>

#include "effects/Quarry/Quarry.h"

#define NOINLINE __attribute__((noinline))

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
  state.counters["ns_per_frame"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * frames,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The effect's own processing, without the adapter: double buffers straight
// into ProcessDoubleReplacing, float buffers through the base's conversion.
struct EffectOwn {
  explicit EffectOwn(int) : q(IEffectInstanceInfo())
  {
    q.SetSampleRate(44100.0);
    q.OnParamReset();
  }
  bool Ready() const { return true; }
  // Not inlined, so that an instruction count of Run under callgrind covers
  // the same work on every path.
  NOINLINE void Run(double** in, double** out, int frames) { q.ProcessDoubleReplacing(in, out, frames); }
  NOINLINE void Run(float** in, float** out, int frames)
  {
    q.AttachInputBuffers(0, 2, in, frames);
    q.AttachOutputBuffers(0, 2, out);
    q.ProcessBuffers(0.0f, frames);
  }
  Quarry q;
};

// The loaded plug-in, entered through its record as a host would.
struct ThroughPlugin {
  explicit ThroughPlugin(int frames) : e(OpenPlugin(frames)) {}
  ~ThroughPlugin()
  {
    if (e) e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
  }
  bool Ready() const { return e != nullptr; }
  NOINLINE void Run(double** in, double** out, int frames) { e->processDoubleReplacing(e, in, out, frames); }
  NOINLINE void Run(float** in, float** out, int frames) { e->processReplacing(e, in, out, frames); }
  AEffect* e;
};

template <class Path, class Sample>
void BM_Process(benchmark::State& state)
{
  const int frames = static_cast<int>(state.range(0));
  Path path(frames);
  if (!path.Ready()) {
    state.SkipWithError("Quarry.so could not be loaded");
    return;
  }
  StereoBuffers<Sample> b(frames);
  for (auto _ : state) {
    path.Run(b.ins, b.outs, frames);
    benchmark::DoNotOptimize(b.out[0].data());
  }
  Report(state, frames);
}

BENCHMARK_TEMPLATE(BM_Process, EffectOwn, double)->Name("Double/Effect")->Arg(64)->Arg(512);
BENCHMARK_TEMPLATE(BM_Process, ThroughPlugin, double)
    ->Name("Double/processDoubleReplacing")
    ->Arg(64)
    ->Arg(512);
BENCHMARK_TEMPLATE(BM_Process, EffectOwn, float)->Name("Float/Effect")->Arg(64)->Arg(512);
BENCHMARK_TEMPLATE(BM_Process, ThroughPlugin, float)->Name("Float/processReplacing")->Arg(64)->Arg(512);

}  // namespace

BENCHMARK_MAIN();
