// What the editor's drawing pass costs on the effect's own layout and
// artwork: a 303 x 436 editor with an opaque background, a two-frame switch
// and three 31-frame knob strips of 64 x 64 with alpha. A full redraw and the redraw of one knob
// whose value changed are measured against a plain copy of the background
// in the same run; the ratio of the full redraw to the copy is printed
// after the run.

#include <benchmark/benchmark.h>

#include "bench/pix/bench_ratios.h"
#include "framework/editor/BitmapStorage.h"
#include "framework/editor/controls/IKnobControls.h"
#include "framework/editor/controls/ISwitchControls.h"
#include "pix/pix_blit.h"
#include "pix/pix_sysbitmap.h"
#include "tests/framework/editor/headless_graphics.h"
#include "tests/framework/test_plug.h"

namespace {

const int kW = 303, kH = 436;

// The effect's layout with its own artwork: background, bypass switch and
// three knobs, in its attachment order. The images are loaded from the
// source tree's PNG files through libpng.
struct QuarryEditor {
  QuarryLikePlug plug;
  HeadlessGraphics* gui;
  IControl* knob;  // the TON knob
  PIX_IBitmap* background;

  QuarryEditor() : gui(new HeadlessGraphics(&plug, kW, kH))
  {
    gui->imageFolder = QUARRY_IMAGE_DIR;
    gui->AttachBackground(101, "resources/img/bg.png");
    IBitmap bypass = gui->LoadIBitmap(102, "resources/img/by.png", 2);
    gui->AttachControl(new ISwitchControl(&plug, 11, 225, 3, &bypass));
    knob = AttachKnob(109, "resources/img/TON.png", 180, 104, 1);
    AttachKnob(110, "resources/img/SUS.png", 113, 33, 2);
    AttachKnob(113, "resources/img/OUT.png", 44, 104, 0);
    plug.AttachGraphics(gui);
    background = s_bitmapCache.Find(101);
    IRECT all(0, 0, kW, kH);
    gui->Draw(&all);  // makes the draw bitmap
  }
  IControl* AttachKnob(int id, const char* name, int x, int y, int paramIdx)
  {
    IBitmap strip = gui->LoadIBitmap(id, name, 31);
    IControl* control = new IKnobMultiControl(&plug, x, y, paramIdx, &strip, kVertical, 4.0);
    gui->AttachControl(control);
    return control;
  }
  bool Loaded() const { return background && background->getWidth() == kW && gui->NControls() == 5; }
};

void Editor_PlainCopy(benchmark::State& state)
{
  QuarryEditor e;
  if (!e.Loaded()) return state.SkipWithError("the effect's images did not load");
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
  if (!e.Loaded()) return state.SkipWithError("the effect's images did not load");
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
  if (!e.Loaded()) return state.SkipWithError("the effect's images did not load");
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
