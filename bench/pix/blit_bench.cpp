// Blit speed against pixman doing the same work on the same 512 x 512
// images. Each operation runs once per library; the summary at the end gives
// the rasteriser's speed as a fraction of pixman's (above 1: faster).
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>

#include "pix/pix_blendmode.h"
#include "pix/pix_blit.h"
#include "pix/pix_membitmap.h"

namespace {
const int kSize = 512;
const double kAngle = 0.3;

// Source pixels with a spread of alphas: a third transparent, a third opaque,
// the rest in between (premultiplied for pixman, which requires it).
struct Images {
  PIX_MemBitmap src{kSize, kSize, 4}, half{kSize / 2, kSize / 2, 4}, dst{kSize, kSize, 4};
  pixman_image_t *psrc, *phalf, *pdst;
  Images()
  {
    std::mt19937 rng(1);
    auto fill = [&](PIX_MemBitmap& bm) {
      for (int y = 0; y < bm.getHeight(); ++y)
        for (int x = 0; x < bm.getWidth(); ++x) {
          uint32_t p = rng();
          const uint32_t pick = rng() % 3;
          uint32_t a = pick == 0 ? 0 : pick == 1 ? 255 : p >> 24;
          // Premultiply so both libraries see the same valid pixels.
          uint32_t r = ((p >> 16) & 255) * a / 255, g = ((p >> 8) & 255) * a / 255, b = (p & 255) * a / 255;
          bm.getBits()[y * bm.getRowSpan() + x] = a << 24 | r << 16 | g << 8 | b;
        }
    };
    fill(src);
    fill(half);
    fill(dst);
    psrc = wrap(src);
    phalf = wrap(half);
    pdst = wrap(dst);
  }
  static pixman_image_t* wrap(PIX_MemBitmap& bm)
  {
    return pixman_image_create_bits(PIXMAN_a8r8g8b8, bm.getWidth(), bm.getHeight(), bm.getBits(),
                                    bm.getRowSpan() * 4);
  }
  ~Images()
  {
    pixman_image_unref(psrc);
    pixman_image_unref(phalf);
    pixman_image_unref(pdst);
  }
};

Images& Img()
{
  static Images images;
  return images;
}

void Pixels(benchmark::State& st) { st.SetItemsProcessed(st.iterations() * kSize * kSize); }

void Quarry_BlitSourceAlpha(benchmark::State& st)
{
  for (auto _ : st) PIX_Blit(&Img().dst, &Img().src, 0, 0, nullptr, 1.0f, PIX_OP_COPY | PIX_USE_SOURCE_ALPHA);
  Pixels(st);
}
void Pixman_BlitSourceAlpha(benchmark::State& st)
{
  for (auto _ : st)
    pixman_image_composite32(PIXMAN_OP_OVER, Img().psrc, nullptr, Img().pdst, 0, 0, 0, 0, 0, 0, kSize, kSize);
  Pixels(st);
}

void Quarry_Copy(benchmark::State& st)
{
  for (auto _ : st) PIX_Blit(&Img().dst, &Img().src, 0, 0, nullptr, 1.0f, PIX_OP_COPY);
  Pixels(st);
}
void Pixman_Copy(benchmark::State& st)
{
  for (auto _ : st)
    pixman_image_composite32(PIXMAN_OP_SRC, Img().psrc, nullptr, Img().pdst, 0, 0, 0, 0, 0, 0, kSize, kSize);
  Pixels(st);
}

void Quarry_FillHalf(benchmark::State& st)
{
  for (auto _ : st) PIX_FillRect(&Img().dst, 0, 0, kSize, kSize, 0xFF336699u, 0.5f, PIX_OP_COPY);
  Pixels(st);
}
void Pixman_FillHalf(benchmark::State& st)
{
  // The same colour at half opacity, premultiplied.
  const pixman_color_t c = {0x3333 / 2, 0x6666 / 2, 0x9999 / 2, 0x8000};
  pixman_image_t* solid = pixman_image_create_solid_fill(&c);
  for (auto _ : st)
    pixman_image_composite32(PIXMAN_OP_OVER, solid, nullptr, Img().pdst, 0, 0, 0, 0, 0, 0, kSize, kSize);
  pixman_image_unref(solid);
  Pixels(st);
}

void Quarry_ScaleBilinear2x(benchmark::State& st)
{
  for (auto _ : st)
    PIX_ScaledBlit(&Img().dst, &Img().half, 0, 0, kSize, kSize, 0, 0, kSize / 2, kSize / 2, 1.0f,
                   PIX_OP_COPY | PIX_FILTER_BILINEAR);
  Pixels(st);
}
void Pixman_ScaleBilinear2x(benchmark::State& st)
{
  pixman_transform_t t;
  pixman_transform_init_scale(&t, pixman_double_to_fixed(0.5), pixman_double_to_fixed(0.5));
  pixman_image_set_transform(Img().phalf, &t);
  pixman_image_set_filter(Img().phalf, PIXMAN_FILTER_BILINEAR, nullptr, 0);
  pixman_image_set_repeat(Img().phalf, PIXMAN_REPEAT_PAD);
  for (auto _ : st)
    pixman_image_composite32(PIXMAN_OP_SRC, Img().phalf, nullptr, Img().pdst, 0, 0, 0, 0, 0, 0, kSize, kSize);
  pixman_image_set_transform(Img().phalf, nullptr);
  Pixels(st);
}

template <bool bilinear>
void Quarry_Rotate(benchmark::State& st)
{
  for (auto _ : st)
    PIX_RotatedBlit(&Img().dst, &Img().src, 0, 0, kSize, kSize, 0, 0, kSize, kSize, kAngle, false, 1.0f,
                    PIX_OP_COPY | (bilinear ? PIX_FILTER_BILINEAR : 0));
  Pixels(st);
}
template <bool bilinear>
void Pixman_Rotate(benchmark::State& st)
{
  // Rotation about the centre, mapping destination to source.
  pixman_f_transform_t f;
  pixman_f_transform_init_translate(&f, -kSize / 2.0, -kSize / 2.0);
  pixman_f_transform_rotate(&f, nullptr, std::cos(kAngle), std::sin(kAngle));
  pixman_f_transform_translate(&f, nullptr, kSize / 2.0, kSize / 2.0);
  pixman_transform_t t;
  pixman_transform_from_pixman_f_transform(&t, &f);
  pixman_image_set_transform(Img().psrc, &t);
  pixman_image_set_filter(Img().psrc, bilinear ? PIXMAN_FILTER_BILINEAR : PIXMAN_FILTER_NEAREST, nullptr, 0);
  for (auto _ : st)
    pixman_image_composite32(PIXMAN_OP_SRC, Img().psrc, nullptr, Img().pdst, 0, 0, 0, 0, 0, 0, kSize, kSize);
  pixman_image_set_transform(Img().psrc, nullptr);
  Pixels(st);
}

BENCHMARK(Quarry_BlitSourceAlpha);
BENCHMARK(Pixman_BlitSourceAlpha);
BENCHMARK(Quarry_Copy);
BENCHMARK(Pixman_Copy);
BENCHMARK(Quarry_FillHalf);
BENCHMARK(Pixman_FillHalf);
BENCHMARK(Quarry_ScaleBilinear2x);
BENCHMARK(Pixman_ScaleBilinear2x);
BENCHMARK_TEMPLATE(Quarry_Rotate, false)->Name("Quarry_RotateNearest");
BENCHMARK_TEMPLATE(Pixman_Rotate, false)->Name("Pixman_RotateNearest");
BENCHMARK_TEMPLATE(Quarry_Rotate, true)->Name("Quarry_RotateBilinear");
BENCHMARK_TEMPLATE(Pixman_Rotate, true)->Name("Pixman_RotateBilinear");

// Keeps each run's time so the pairs can be compared at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  std::map<std::string, double> times;
  void ReportRuns(const std::vector<Run>& runs) override
  {
    for (const Run& r : runs) times[r.benchmark_name()] = r.GetAdjustedCPUTime();
    ConsoleReporter::ReportRuns(runs);
  }
};
}  // namespace

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  printf("\nSpeed relative to pixman (pixman CPU time / rasteriser CPU time; target >= 0.5):\n");
  for (const auto& kv : reporter.times) {
    if (kv.first.rfind("Quarry_", 0) != 0) continue;
    const std::string op = kv.first.substr(7);
    const auto p = reporter.times.find("Pixman_" + op);
    if (p == reporter.times.end() || kv.second <= 0) continue;
    printf("  %-18s %6.2f\n", op.c_str(), p->second / kv.second);
  }
  benchmark::Shutdown();
  return 0;
}
