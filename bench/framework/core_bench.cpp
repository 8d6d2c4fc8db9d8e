// Cost of the base's per-block plumbing (float conversion around the
// effect) and of state round trips.
#include <benchmark/benchmark.h>

#include <vector>

#include "tests/framework/test_plug.h"

namespace {

void BM_FloatBlock(benchmark::State& state)
{
  const int frames = static_cast<int>(state.range(0));
  TestPlug plug(0, "1-1 2-2", 0);
  plug.SetInputChannelConnections(0, 2, true);
  plug.SetOutputChannelConnections(0, 2, true);
  plug.SetBlockSize(frames);
  std::vector<float> inL(frames, 0.5f), inR(frames, -0.5f), outL(frames), outR(frames);
  float* ins[] = {inL.data(), inR.data()};
  float* outs[] = {outL.data(), outR.data()};
  for (auto _ : state) {
    plug.AttachInputBuffers(0, 2, ins, frames);
    plug.AttachOutputBuffers(0, 2, outs);
    plug.ProcessBuffers(0.0f, frames);
    benchmark::DoNotOptimize(outL.data());
  }
  state.SetItemsProcessed(state.iterations() * frames);
}
BENCHMARK(BM_FloatBlock)->Arg(64)->Arg(1024);

void BM_StateRoundTrip(benchmark::State& state)
{
  QuarryLikePlug plug;
  ByteChunk chunk;
  for (auto _ : state) {
    InitChunkWithFrameworkVer(&chunk);
    plug.SerializeState(&chunk);
    int pos = 0;
    GetFrameworkVerFromChunk(&chunk, &pos);
    benchmark::DoNotOptimize(plug.UnserializeState(&chunk, pos));
    plug.paramChanges.clear();
  }
}
BENCHMARK(BM_StateRoundTrip);

void BM_ProgramFile(benchmark::State& state)
{
  QuarryLikePlug plug;
  ByteChunk file;
  for (auto _ : state) {
    plug.MakeProgramFile(&file);
    benchmark::DoNotOptimize(plug.LoadProgramFromMemory(file.Data(), file.Size()));
    plug.paramChanges.clear();
  }
}
BENCHMARK(BM_ProgramFile);

}  // namespace

BENCHMARK_MAIN();
