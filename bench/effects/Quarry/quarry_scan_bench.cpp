// What a host's plug-in scan costs: dlopen of Quarry.so, VSTPluginMain,
// effOpen and effClose. The effect builds its editor in its constructor, so
// this is where a slow editor set-up would show.
//
// FirstInstanceInProcess times the whole sequence, dlopen included, in a
// fresh child process per iteration (what a host's scanner process pays);
// LaterInstance times VSTPluginMain + effOpen + effClose once the module is
// loaded and one instance has been made (every later instance of a
// session). Targets: under 5 ms and under 0.5 ms.

#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "framework/vst/VSTInterface.h"

namespace {

typedef AEffect* (*Entry)(audioMasterCallback);

VstIntPtr SilentHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
  return opcode == audioMasterVersion ? kVstVersion : 0;
}

double NowSeconds()
{
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec + ts.tv_nsec * 1e-9;
}

bool ScanOnce(Entry entry)
{
  AEffect* e = entry(&SilentHost);
  if (!e) return false;
  e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f);
  e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
  return true;
}

// In a child process: seconds for dlopen + one scan, or a negative value.
double ChildScan()
{
  if (dlopen(QUARRY_SO_PATH, RTLD_NOW | RTLD_NOLOAD)) return -2.0;  // not the first instance
  const double start = NowSeconds();
  void* module = dlopen(QUARRY_SO_PATH, RTLD_NOW | RTLD_LOCAL);
  Entry entry = module ? reinterpret_cast<Entry>(dlsym(module, "VSTPluginMain")) : nullptr;
  if (!entry || !ScanOnce(entry)) return -1.0;
  return NowSeconds() - start;
}

void FirstInstanceInProcess(benchmark::State& state)
{
  for (auto _ : state) {
    int fds[2];
    if (pipe(fds) != 0) return state.SkipWithError("no pipe");
    const pid_t pid = fork();
    if (pid == 0) {
      const double seconds = ChildScan();
      ssize_t written = write(fds[1], &seconds, sizeof seconds);
      _exit(written == sizeof seconds ? 0 : 1);
    }
    close(fds[1]);
    double seconds = -1.0;
    const ssize_t got = read(fds[0], &seconds, sizeof seconds);
    close(fds[0]);
    waitpid(pid, nullptr, 0);
    if (got != sizeof seconds || seconds < 0.0)
      return state.SkipWithError(seconds == -2.0 ? "Quarry.so already loaded" : "scan failed");
    state.SetIterationTime(seconds);
  }
}
BENCHMARK(FirstInstanceInProcess)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

void LaterInstance(benchmark::State& state)
{
  static void* module = dlopen(QUARRY_SO_PATH, RTLD_NOW | RTLD_LOCAL);
  Entry entry = module ? reinterpret_cast<Entry>(dlsym(module, "VSTPluginMain")) : nullptr;
  if (!entry || !ScanOnce(entry)) return state.SkipWithError("cannot load Quarry.so");
  for (auto _ : state)
    if (!ScanOnce(entry)) return state.SkipWithError("scan failed");
}
BENCHMARK(LaterInstance)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
