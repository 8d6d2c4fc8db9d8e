// Blit and fill speed against pixman doing the same work on the same images,
// and against memcpy of the same bytes for the editor-sized blits. Each pair
// runs in one process; the summary at the end prints the ratios (use
// --benchmark_repetitions=5 for medians, and pin the process with
// taskset -c 1 on a loaded machine).
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>

#include "bench/pix/bench_ratios.h"
#include "pix/pix_blendmode.h"
#include "pix/pix_blit.h"
#include "pix/pix_membitmap.h"

namespace {
const int kSize = 512;
const int kEditorW = 303, kEditorH = 436;
const double kAngle = 0.3;
// A general alpha, 100/256: no word-parallel form applies.
const float kAlpha100 = 100.0f / 256.0f;

PIX_pixel Premultiplied(uint32_t p, uint32_t a)
{
  const uint32_t r = ((p >> 16) & 255) * a / 255, g = ((p >> 8) & 255) * a / 255, b = (p & 255) * a / 255;
  return a << 24 | r << 16 | g << 8 | b;
}

// Source pixels with a spread of alphas: a third transparent, a third opaque,
// the rest in between (premultiplied, so that pixman sees valid pixels).
void FillMixedAlphas(PIX_MemBitmap& bm, uint32_t seed)
{
  std::mt19937 rng(seed);
  for (int y = 0; y < bm.getHeight(); ++y)
    for (int x = 0; x < bm.getWidth(); ++x) {
      const uint32_t p = rng(), pick = rng() % 3;
      const uint32_t a = pick == 0 ? 0 : pick == 1 ? 255 : p >> 24;
      bm.getBits()[y * bm.getRowSpan() + x] = Premultiplied(p, a);
    }
}

// What the editor blits with source alpha: knobs with anti-aliased rims and
// a translucent shadow over transparent surroundings (about two fifths
// transparent, two fifths opaque, the rest in between).
void FillEditorImage(PIX_MemBitmap& bm)
{
  std::mt19937 rng(7);
  const int w = bm.getWidth(), h = bm.getHeight();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      // Knobs of radius 40 on a 101-pixel grid, shadows offset by 4.
      const double cx = (x / 101) * 101 + 50, cy = (y / 109) * 109 + 54;
      const double knob = 40.0 - std::hypot(x - cx, y - cy);
      const double shadow = 44.0 - std::hypot(x - cx - 4, y - cy - 4);
      uint32_t a = 0;
      if (knob >= 0.5) a = 255;
      else if (knob > -0.5) a = (uint32_t)((knob + 0.5) * 255.0);
      else if (shadow > 0) a = 0x50;
      bm.getBits()[y * bm.getRowSpan() + x] = (a << 24) | (rng() & 0xFFFFFFu);
    }
}

void FillOpaque(PIX_MemBitmap& bm, uint32_t seed)
{
  std::mt19937 rng(seed);
  for (int y = 0; y < bm.getHeight(); ++y)
    for (int x = 0; x < bm.getWidth(); ++x) bm.getBits()[y * bm.getRowSpan() + x] = rng() | 0xFF000000u;
}

pixman_image_t* Wrap(PIX_MemBitmap& bm)
{
  return pixman_image_create_bits(PIXMAN_a8r8g8b8, bm.getWidth(), bm.getHeight(), bm.getBits(),
                                  bm.getRowSpan() * 4);
}

struct Images {
  PIX_MemBitmap src{kSize, kSize, 4}, half{kSize / 2, kSize / 2, 4}, dst{kSize, kSize, 4};
  PIX_MemBitmap editor{kEditorW, kEditorH, 4}, editorMixed{kEditorW, kEditorH, 4};
  PIX_MemBitmap editorDst{kEditorW, kEditorH, 4};
  pixman_image_t *psrc, *phalf, *pdst;
  Images()
  {
    FillMixedAlphas(src, 1);
    FillMixedAlphas(half, 2);
    FillMixedAlphas(dst, 3);
    FillEditorImage(editor);
    FillMixedAlphas(editorMixed, 4);
    FillOpaque(editorDst, 5);
    psrc = Wrap(src);
    phalf = Wrap(half);
    pdst = Wrap(dst);
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

void Pixels(benchmark::State& st, int64_t perIteration)
{
  st.SetItemsProcessed(st.iterations() * perIteration);
}
void Pixels512(benchmark::State& st) { Pixels(st, (int64_t)kSize * kSize); }

// pixman's solid colour of (colour at alpha), premultiplied.
pixman_image_t* PixmanSolid(uint32_t colour, double alpha)
{
  auto chan = [&](int shift) { return (uint16_t)(((colour >> shift) & 255) * 257 * alpha); };
  const pixman_color_t c = {chan(16), chan(8), chan(0), (uint16_t)(0xFFFF * alpha)};
  return pixman_image_create_solid_fill(&c);
}

void PixmanComposite(pixman_op_t op, pixman_image_t* src, pixman_image_t* mask, benchmark::State& st)
{
  for (auto _ : st) pixman_image_composite32(op, src, mask, Img().pdst, 0, 0, 0, 0, 0, 0, kSize, kSize);
  Pixels512(st);
}
void PixmanOver(pixman_image_t* src, pixman_image_t* mask, benchmark::State& st)
{
  PixmanComposite(PIXMAN_OP_OVER, src, mask, st);
}

// ---- source-alpha blits ----

void Quarry_SourceAlpha512(benchmark::State& st)
{
  for (auto _ : st) PIX_Blit(&Img().dst, &Img().src, 0, 0, nullptr, 1.0f, PIX_OP_COPY | PIX_USE_SOURCE_ALPHA);
  Pixels512(st);
}
void Pixman_SourceAlpha512(benchmark::State& st) { PixmanOver(Img().psrc, nullptr, st); }

void Quarry_SourceAlphaAt100(benchmark::State& st)
{
  for (auto _ : st)
    PIX_Blit(&Img().dst, &Img().src, 0, 0, nullptr, kAlpha100, PIX_OP_COPY | PIX_USE_SOURCE_ALPHA);
  Pixels512(st);
}
void Pixman_SourceAlphaAt100(benchmark::State& st)
{
  pixman_image_t* mask = PixmanSolid(0xFFFFFFFFu, kAlpha100);
  PixmanOver(Img().psrc, mask, st);
  pixman_image_unref(mask);
}

// ---- plain blends and copies ----

void Quarry_BlitAlpha100(benchmark::State& st)
{
  for (auto _ : st) PIX_Blit(&Img().dst, &Img().src, 0, 0, nullptr, kAlpha100, PIX_OP_COPY);
  Pixels512(st);
}
// SRC through a constant mask: the destination moved toward the source by
// the mask's alpha, the same work as the plain-alpha blend.
void Pixman_BlitAlpha100(benchmark::State& st)
{
  pixman_image_t* mask = PixmanSolid(0xFFFFFFFFu, kAlpha100);
  PixmanComposite(PIXMAN_OP_SRC, Img().psrc, mask, st);
  pixman_image_unref(mask);
}

void Quarry_Copy512(benchmark::State& st)
{
  for (auto _ : st) PIX_Blit(&Img().dst, &Img().src, 0, 0, nullptr, 1.0f, PIX_OP_COPY);
  Pixels512(st);
}
void Pixman_Copy512(benchmark::State& st)
{
  for (auto _ : st)
    pixman_image_composite32(PIXMAN_OP_SRC, Img().psrc, nullptr, Img().pdst, 0, 0, 0, 0, 0, 0, kSize, kSize);
  Pixels512(st);
}

// ---- editor-sized blits against memcpy of the same rows ----

void EditorBlit(benchmark::State& st, PIX_MemBitmap& src, int mode)
{
  for (auto _ : st) PIX_Blit(&Img().editorDst, &src, 0, 0, nullptr, 1.0f, mode);
  Pixels(st, (int64_t)kEditorW * kEditorH);
}
void Quarry_EditorSourceAlpha(benchmark::State& st)
{
  EditorBlit(st, Img().editor, PIX_OP_COPY | PIX_USE_SOURCE_ALPHA);
}
void Quarry_EditorSourceAlphaMixed(benchmark::State& st)
{
  EditorBlit(st, Img().editorMixed, PIX_OP_COPY | PIX_USE_SOURCE_ALPHA);
}
void Quarry_EditorCopy(benchmark::State& st) { EditorBlit(st, Img().editor, PIX_OP_COPY); }
void Memcpy_EditorRows(benchmark::State& st)
{
  PIX_MemBitmap& src = Img().editor;
  PIX_MemBitmap& dst = Img().editorDst;
  for (auto _ : st) {
    for (int y = 0; y < kEditorH; ++y)
      memcpy(dst.getBits() + y * dst.getRowSpan(), src.getBits() + y * src.getRowSpan(), kEditorW * 4);
    benchmark::ClobberMemory();
  }
  Pixels(st, (int64_t)kEditorW * kEditorH);
}

// ---- fills ----

void Quarry_FillHalf(benchmark::State& st)
{
  for (auto _ : st) PIX_FillRect(&Img().dst, 0, 0, kSize, kSize, 0xFF336699u, 0.5f, PIX_OP_COPY);
  Pixels512(st);
}
void Pixman_FillHalf(benchmark::State& st)
{
  pixman_image_t* solid = PixmanSolid(0xFF336699u, 0.5);
  PixmanOver(solid, nullptr, st);
  pixman_image_unref(solid);
}

void Quarry_FillAlpha100(benchmark::State& st)
{
  for (auto _ : st) PIX_FillRect(&Img().dst, 0, 0, kSize, kSize, 0xFF336699u, kAlpha100, PIX_OP_COPY);
  Pixels512(st);
}
void Pixman_FillAlpha100(benchmark::State& st)
{
  pixman_image_t* solid = PixmanSolid(0xFF336699u, kAlpha100);
  PixmanOver(solid, nullptr, st);
  pixman_image_unref(solid);
}

// ---- scaling and rotation ----

void Quarry_ScaleBilinear2x(benchmark::State& st)
{
  for (auto _ : st)
    PIX_ScaledBlit(&Img().dst, &Img().half, 0, 0, kSize, kSize, 0, 0, kSize / 2, kSize / 2, 1.0f,
                   PIX_OP_COPY | PIX_FILTER_BILINEAR);
  Pixels512(st);
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
  Pixels512(st);
}

template <bool bilinear>
void Quarry_Rotate(benchmark::State& st)
{
  for (auto _ : st)
    PIX_RotatedBlit(&Img().dst, &Img().src, 0, 0, kSize, kSize, 0, 0, kSize, kSize, kAngle, false, 1.0f,
                    PIX_OP_COPY | (bilinear ? PIX_FILTER_BILINEAR : 0));
  Pixels512(st);
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
  Pixels512(st);
}

BENCHMARK(Quarry_SourceAlpha512);
BENCHMARK(Pixman_SourceAlpha512);
BENCHMARK(Quarry_SourceAlphaAt100);
BENCHMARK(Pixman_SourceAlphaAt100);
BENCHMARK(Quarry_BlitAlpha100);
BENCHMARK(Pixman_BlitAlpha100);
BENCHMARK(Quarry_Copy512);
BENCHMARK(Pixman_Copy512);
BENCHMARK(Quarry_EditorSourceAlpha);
BENCHMARK(Quarry_EditorSourceAlphaMixed);
BENCHMARK(Quarry_EditorCopy);
BENCHMARK(Memcpy_EditorRows);
BENCHMARK(Quarry_FillHalf);
BENCHMARK(Pixman_FillHalf);
BENCHMARK(Quarry_FillAlpha100);
BENCHMARK(Pixman_FillAlpha100);
BENCHMARK(Quarry_ScaleBilinear2x);
BENCHMARK(Pixman_ScaleBilinear2x);
BENCHMARK_TEMPLATE(Quarry_Rotate, false)->Name("Quarry_RotateNearest");
BENCHMARK_TEMPLATE(Pixman_Rotate, false)->Name("Pixman_RotateNearest");
BENCHMARK_TEMPLATE(Quarry_Rotate, true)->Name("Quarry_RotateBilinear");
BENCHMARK_TEMPLATE(Pixman_Rotate, true)->Name("Pixman_RotateBilinear");
}  // namespace

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  BenchRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printSpeedup("Quarry", "Pixman",
                        "Speed relative to pixman (pixman time / ours; above 1: faster):");
  printf("\nEditor-sized (%d x %d) blits against memcpy of the same rows (times slower):\n", kEditorW,
         kEditorH);
  const double mem = reporter.time("Memcpy_EditorRows");
  for (const char* op : {"EditorSourceAlpha", "EditorSourceAlphaMixed", "EditorCopy"}) {
    const double t = reporter.time(std::string("Quarry_") + op);
    if (mem > 0 && t > 0) printf("  %-28s %6.2f x\n", op, t / mem);
  }
  benchmark::Shutdown();
  return 0;
}
