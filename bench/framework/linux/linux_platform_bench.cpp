// Costs of the X11 platform pieces: reading an image's size from its
// header (what building an editor needs) against decoding it (what the
// first draw needs), and copying the whole 303 x 436 editor to a window
// with and without shared memory. The screen-copy benchmarks need DISPLAY.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include <X11/Xlib.h>

#include "framework/linux/LinuxResources.h"
#include "framework/linux/LinuxScreenCopy.h"
#include "pix/pix_bitmap.h"

namespace {

const char* const kBundle = "com.Lumenfold.vst.Quarry";

void BM_ImageSizeFromHeader(benchmark::State& state)
{
  int w = 0, h = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(LinuxImageSize(kBundle, "resources/img/bg.png", &w, &h, ""));
  }
}
BENCHMARK(BM_ImageSizeFromHeader);

void BM_DecodeBuiltInImages(benchmark::State& state)
{
  const char* names[] = {"bg.png", "by.png", "TON.png", "SUS.png", "OUT.png"};
  for (auto _ : state) {
    for (const char* n : names) std::unique_ptr<PIX_IBitmap> bm(LinuxLoadImage(kBundle, n, ""));
  }
}
BENCHMARK(BM_DecodeBuiltInImages)->Unit(benchmark::kMillisecond);

void ScreenCopy(benchmark::State& state, bool shm)
{
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    state.SkipWithError("no X display (set DISPLAY)");
    return;
  }
  const int w = 303, h = 436;
  Window win = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, w, h, 0, 0, 0);
  XMapWindow(d, win);
  XSync(d, False);
  std::vector<uint32_t> bits((size_t)w * h, 0xFF336699u);
  {
    LinuxScreenCopy copy(d, win, shm);
    for (auto _ : state) {
      bits[0] ^= 1;
      copy.Put(bits.data(), w, h, w * 4, 0, 0, w, h);
      XSync(d, False);  // count the server's work too
    }
    state.SetLabel(copy.UsesShm() ? "MIT-SHM" : "XPutImage");
  }
  XDestroyWindow(d, win);
  XCloseDisplay(d);
}
void BM_ScreenCopyShm(benchmark::State& state) { ScreenCopy(state, true); }
void BM_ScreenCopyPlain(benchmark::State& state) { ScreenCopy(state, false); }
BENCHMARK(BM_ScreenCopyShm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScreenCopyPlain)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
