// Text drawing speed: the effect's value texts through cached glyphs and
// through the platform's own text drawing.

#include <benchmark/benchmark.h>

#include "gdi/gdi.h"
#include "pix/pix_cachedfont.h"
#include "pix/pix_membitmap.h"
#include "pix/pix_sysbitmap.h"

namespace {

const char* const kValues[] = {"-30.00", "12.50", "0.00", "-6.02", "100.0"};

HFONT ValueFont() { return CreateFont(14, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans"); }

// A thousand value texts per iteration.
void DrawValues(benchmark::State& state, PIX_IBitmap* bm, int fontFlags)
{
  PIX_CachedFont font;
  font.SetFromHFont(ValueFont(), fontFlags | PIX_FONT_OWNS_HFONT);
  font.SetTextColor(0xFFE0E0E0);
  RECT r = {10, 10, 90, 30};
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) {
      RECT box = r;
      benchmark::DoNotOptimize(
          font.DrawText(bm, kValues[i % 5], -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE));
    }
  }
  state.SetItemsProcessed(state.iterations() * 1000);
}

void BM_CachedGlyphText(benchmark::State& state)
{
  PIX_SysBitmap bm(100, 40);
  DrawValues(state, &bm, 0);
}
BENCHMARK(BM_CachedGlyphText)->Unit(benchmark::kMillisecond);

void BM_NativeText(benchmark::State& state)
{
  PIX_SysBitmap bm(100, 40);
  DrawValues(state, &bm, PIX_FONT_NATIVE);
}
BENCHMARK(BM_NativeText)->Unit(benchmark::kMillisecond);

// Native text into a bitmap without a drawing context goes through the
// scratch bitmap and two copies.
void BM_NativeTextMemBitmap(benchmark::State& state)
{
  PIX_MemBitmap bm(100, 40);
  DrawValues(state, &bm, PIX_FONT_NATIVE);
}
BENCHMARK(BM_NativeTextMemBitmap)->Unit(benchmark::kMillisecond);

// The text layer on its own: measure and draw into a memory context.
void BM_GdiDrawText(benchmark::State& state)
{
  HDC ctx = GDI_CreateMemContext(nullptr, 100, 40);
  HFONT font = ValueFont();
  SelectObject(ctx, font);
  const int flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | (state.range(0) ? DT_CALCRECT : 0);
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) {
      RECT box = {10, 10, 90, 30};
      benchmark::DoNotOptimize(GDI_DrawText(ctx, kValues[i % 5], -1, &box, flags));
    }
  }
  state.SetItemsProcessed(state.iterations() * 1000);
  SelectObject(ctx, GDI_DESELECT_FONT);
  DeleteObject(font);
  GDI_DeleteGfxContext(ctx);
}
BENCHMARK(BM_GdiDrawText)->Arg(0)->Arg(1)->ArgName("measure")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
