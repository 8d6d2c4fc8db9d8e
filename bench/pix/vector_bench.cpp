// Speed of the vector primitives on a 512 x 512 bitmap: lines and
// anti-aliased lines per pixel, filled anti-aliased discs and polygon fills
// per covered pixel. The summary compares polygon fills at general alphas
// with the word-parallel half mix (use --benchmark_repetitions=5 for medians).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "bench/pix/bench_ratios.h"
#include "pix/pix_blendmode.h"
#include "pix/pix_membitmap.h"
#include "pix/pix_vector.h"

namespace {

const int kSize = 512;

struct Segment {
  int x1, y1, x2, y2;
};

std::vector<Segment> Segments()
{
  std::mt19937 rng(1);
  std::vector<Segment> v;
  auto coord = [&rng] { return (int)(rng() % kSize); };
  for (int i = 0; i < 256; ++i) {
    const int x1 = coord(), y1 = coord(), x2 = coord(), y2 = coord();
    v.push_back({x1, y1, x2, y2});
  }
  return v;
}

int64_t LinePixels(const std::vector<Segment>& segs)
{
  int64_t n = 0;
  for (const Segment& s : segs) n += std::max(std::abs(s.x2 - s.x1), std::abs(s.y2 - s.y1)) + 1;
  return n;
}

void BM_Line(benchmark::State& state)
{
  PIX_MemBitmap bm(kSize, kSize, 4);
  const std::vector<Segment> segs = Segments();
  const bool aa = state.range(0) != 0;
  const float alpha = state.range(1) ? 1.0f : 0.7f;
  for (auto _ : state)
    for (const Segment& s : segs) PIX_Line(&bm, s.x1, s.y1, s.x2, s.y2, 0xFF3080C0u, alpha, PIX_OP_COPY, aa);
  state.SetItemsProcessed(state.iterations() * LinePixels(segs));
}
BENCHMARK(BM_Line)->ArgNames({"aa", "opaque"})->Args({0, 1})->Args({0, 0})->Args({1, 1})->Args({1, 0});

// Rows of a horizontal line across the bitmap, the editor's separators and frames.
void BM_HorizontalLine(benchmark::State& state)
{
  PIX_MemBitmap bm(kSize, kSize, 4);
  const float alpha = state.range(0) ? 1.0f : 0.7f;
  for (auto _ : state)
    for (int y = 0; y < kSize; ++y) PIX_Line(&bm, 0, y, kSize - 1, y, 0xFF3080C0u, alpha, PIX_OP_COPY, false);
  state.SetItemsProcessed(state.iterations() * (int64_t)kSize * kSize);
}
BENCHMARK(BM_HorizontalLine)->ArgNames({"opaque"})->Arg(1)->Arg(0);

void BM_FLineAA(benchmark::State& state)
{
  PIX_MemBitmap bm(kSize, kSize, 4);
  const std::vector<Segment> segs = Segments();
  for (auto _ : state)
    for (const Segment& s : segs)
      PIX_FLine(&bm, s.x1 + 0.3f, s.y1 + 0.6f, s.x2 + 0.2f, s.y2 + 0.1f, 0xFF3080C0u, 1.0f, PIX_OP_COPY,
                true);
  state.SetItemsProcessed(state.iterations() * LinePixels(segs));
}
BENCHMARK(BM_FLineAA);

void BM_FillCircleAA(benchmark::State& state)
{
  PIX_MemBitmap bm(kSize, kSize, 4);
  const float r = (float)state.range(0);
  const int mode = (int)state.range(1);
  for (auto _ : state) PIX_FillCircle(&bm, 256.3f, 255.6f, r, 0xFF3080C0u, 0.8f, mode, true);
  state.SetItemsProcessed(state.iterations() * (int64_t)(3.14159265 * (r + 0.5) * (r + 0.5)));
}
BENCHMARK(BM_FillCircleAA)
    ->ArgNames({"r", "mode"})
    ->Args({8, 0})
    ->Args({60, 0})
    ->Args({200, 0})
    ->Args({60, 1});

void BM_FillPolygon(benchmark::State& state)
{
  PIX_MemBitmap bm(kSize, kSize, 4);
  const int n = 12;
  int x[n], y[n];
  for (int i = 0; i < n; ++i) {
    x[i] = (int)std::lround(256 + 200 * std::sin(i * 2 * 3.14159265 / n));
    y[i] = (int)std::lround(256 - 200 * std::cos(i * 2 * 3.14159265 / n));
  }
  const float alpha = state.range(0) / 256.0f;
  for (auto _ : state) PIX_FillConvexPolygon(&bm, x, y, n, 0xFF3080C0u, alpha, PIX_OP_COPY);
  // A regular 12-gon of circumradius 200: 3 r^2.
  state.SetItemsProcessed(state.iterations() * (int64_t)(3 * 200 * 200));
}
BENCHMARK(BM_FillPolygon)->ArgNames({"ia"})->Arg(256)->Arg(128)->Arg(100)->Arg(37);

}  // namespace

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  BenchRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double half = reporter.time("BM_FillPolygon/ia:128");
  printf("\nPolygon fill against the same at alpha 128 (times slower):\n");
  for (const char* ia : {"256", "100", "37"}) {
    const double t = reporter.time(std::string("BM_FillPolygon/ia:") + ia);
    if (half > 0 && t > 0) printf("  alpha %-4s %6.2f x\n", ia, t / half);
  }
  benchmark::Shutdown();
  return 0;
}
