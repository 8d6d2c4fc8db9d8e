// What the editor's drawing pass costs on the effect's own layout: a
// 303 x 436 editor with an opaque background, a two-frame switch and three
// 31-frame knob strips with alpha. A full redraw and the redraw of one knob
// whose value changed are measured against a plain copy of the background
// in the same run; the ratio of the full redraw to the copy is printed
// after the run.

#include <benchmark/benchmark.h>

#include <cmath>

#include "bench/pix/bench_ratios.h"
#include "framework/editor/BitmapStorage.h"
#include "framework/editor/controls/IKnobControls.h"
#include "framework/editor/controls/ISwitchControls.h"
#include "pix/pix_blit.h"
#include "pix/pix_membitmap.h"
#include "pix/pix_sysbitmap.h"
#include "pix/pix_vector.h"
#include "tests/framework/editor/headless_graphics.h"
#include "tests/framework/test_plug.h"

namespace {

const int kW = 303, kH = 436;
const int kKnobSize = 64, kKnobFrames = 31;

// An opaque background with some variety in every row.
PIX_MemBitmap* Background()
{
  PIX_MemBitmap* bm = new PIX_MemBitmap(kW, kH);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      bm->getBits()[y * bm->getRowSpan() + x] =
          0xFF000000u | ((x * 3) & 0xFF) << 16 | ((y * 5) & 0xFF) << 8 | 0x40;
  return bm;
}

// A knob strip: on a transparent ground, an anti-aliased disc (so its rim
// has partial alpha) with a pointer turned a little further each frame.
PIX_MemBitmap* KnobStrip()
{
  PIX_MemBitmap* bm = new PIX_MemBitmap(kKnobSize, kKnobSize * kKnobFrames);
  PIX_Clear(bm, 0);
  const float c = kKnobSize / 2.0f;
  for (int f = 0; f < kKnobFrames; ++f) {
    const float top = static_cast<float>(f * kKnobSize);
    PIX_FillCircle(bm, c, top + c, 28.0f, 0xFF606870u, 1.0f, 0, true);
    const float a = -2.4f + 4.8f * f / (kKnobFrames - 1);
    PIX_FLine(bm, c, top + c, c + 24.0f * std::sin(a), top + c - 24.0f * std::cos(a), 0xFFF0F0F0u, 1.0f, 0,
              true);
  }
  return bm;
}

// A two-frame switch with alpha: a rounded plate, dark and lit.
PIX_MemBitmap* SwitchStrip()
{
  PIX_MemBitmap* bm = new PIX_MemBitmap(40, 2 * 30);
  PIX_Clear(bm, 0);
  PIX_FillCircle(bm, 20.0f, 15.0f, 13.0f, 0xFF303030u, 1.0f, 0, true);
  PIX_FillCircle(bm, 20.0f, 45.0f, 13.0f, 0xFFE04020u, 1.0f, 0, true);
  return bm;
}

// The effect's layout: background, bypass switch, three knobs, in its
// attachment order. Images go into the cache under their ids, as loading
// them would put them.
struct QuarryEditor {
  QuarryLikePlug plug;
  HeadlessGraphics* gui;
  IControl* knob;  // the TON knob
  PIX_MemBitmap* background;

  QuarryEditor() : gui(new HeadlessGraphics(&plug, kW, kH)), background(Background())
  {
    s_bitmapCache.Add(background, 101);
    s_bitmapCache.Add(SwitchStrip(), 102);
    PIX_MemBitmap* knobs = KnobStrip();
    s_bitmapCache.Add(knobs, 109);
    gui->AttachBackground(101, "resources/img/bg.png");
    IBitmap bypass = gui->LoadIBitmap(102, "resources/img/by.png", 2);
    gui->AttachControl(new ISwitchControl(&plug, 11, 225, 3, &bypass));
    IBitmap strip = gui->LoadIBitmap(109, "resources/img/TON.png", kKnobFrames);
    knob = new IKnobMultiControl(&plug, 180, 104, 1, &strip, kVertical, 4.0);
    gui->AttachControl(knob);
    gui->AttachControl(new IKnobMultiControl(&plug, 113, 33, 2, &strip, kVertical, 4.0));
    gui->AttachControl(new IKnobMultiControl(&plug, 44, 104, 0, &strip, kVertical, 4.0));
    plug.AttachGraphics(gui);
    IRECT all(0, 0, kW, kH);
    gui->Draw(&all);  // makes the draw bitmap
  }
  ~QuarryEditor()
  {
    // Closing the plug-in deletes the editor; the images go back to the cache's care.
    for (int id : {101, 102, 109}) s_bitmapCache.Remove(s_bitmapCache.Find(id));
  }
};

void Editor_PlainCopy(benchmark::State& state)
{
  QuarryEditor e;
  PIX_IBitmap* canvas = e.gui->GetDrawBitmap();
  for (auto _ : state) {
    PIX_Blit(canvas, e.background, 0, 0, 0, 0, kW, kH, 1.0f, 0);
    benchmark::DoNotOptimize(canvas->getBits());
  }
  state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(Editor_PlainCopy);

void Editor_FullRedraw(benchmark::State& state)
{
  QuarryEditor e;
  IRECT all(0, 0, kW, kH);
  for (auto _ : state) {
    e.gui->SetAllControlsDirty();
    e.gui->Draw(&all);
    benchmark::DoNotOptimize(e.gui->GetBits());
  }
  state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(Editor_FullRedraw);

// A host change to one knob, as the timer step finds and draws it.
void Editor_OneKnobRedraw(benchmark::State& state)
{
  QuarryEditor e;
  double value = 0.2;
  for (auto _ : state) {
    value = value == 0.2 ? 0.8 : 0.2;
    e.knob->SetValueFromPlug(value);
    IRECT dirty;
    e.gui->IsDirty(&dirty);
    e.gui->Draw(&dirty);
    benchmark::DoNotOptimize(e.gui->GetBits());
  }
}
BENCHMARK(Editor_OneKnobRedraw);

}  // namespace

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  BenchRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double copy = reporter.time("Editor_PlainCopy"), full = reporter.time("Editor_FullRedraw");
  if (copy > 0 && full > 0) std::printf("\nFull redraw / plain copy of the background: %.2f\n", full / copy);
  benchmark::Shutdown();
  return 0;
}
