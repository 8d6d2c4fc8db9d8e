// Nanoseconds for a host parameter change posted to an attached editor
// (what setParameter adds), for an idle tick of an open editor with
// nothing to draw, and for building a Quarry-sized editor (background,
// five controls, attachment) as a plug-in constructor does during a
// host's scan.

#include <benchmark/benchmark.h>

#include "framework/IParam.h"
#include "framework/editor/controls/IBitmapControl.h"
#include "tests/framework/editor/headless_graphics.h"
#include "tests/framework/test_plug.h"

namespace {

HeadlessGraphics* BuildEditor(IEffectBase* plug)
{
  HeadlessGraphics* gui = new HeadlessGraphics(plug, 303, 436);
  gui->RegisterImage("bg.png", 303, 436, 0xFF202020u);
  gui->RegisterImage("knob.png", 60, 31 * 60, 0xFF808080u, 31);
  gui->AttachBackground(1, "bg.png");
  IBitmap knob = gui->LoadIBitmap(2, "knob.png", 31);
  for (int i = 0; i < 4; ++i) gui->AttachControl(new IBitmapControl(plug, 10 + 70 * i, 100, i, &knob));
  plug->AttachGraphics(gui);
  return gui;
}

void BM_PostParameterFromHost(benchmark::State& state)
{
  QuarryLikePlug plug;
  HeadlessGraphics* gui = BuildEditor(&plug);
  double v = 0.0;
  for (auto _ : state) {
    gui->PostParameterFromPlug(1, v, true);
    v = v < 1.0 ? v + 0.001 : 0.0;
  }
}
BENCHMARK(BM_PostParameterFromHost);

void BM_IdleTickWithNothingToDraw(benchmark::State& state)
{
  QuarryLikePlug plug;
  HeadlessGraphics* gui = BuildEditor(&plug);
  gui->OpenWindow(nullptr);
  gui->TimerStep();
  gui->TimerStep();
  for (auto _ : state) benchmark::DoNotOptimize(gui->TimerStep());
}
BENCHMARK(BM_IdleTickWithNothingToDraw);

void BM_BuildEditorInConstructor(benchmark::State& state)
{
  for (auto _ : state) {
    QuarryLikePlug plug;
    benchmark::DoNotOptimize(BuildEditor(&plug));
  }
}
BENCHMARK(BM_BuildEditorInConstructor);

void BM_BuildPlugInWithoutEditor(benchmark::State& state)
{
  for (auto _ : state) {
    QuarryLikePlug plug;
    benchmark::DoNotOptimize(&plug);
  }
}
BENCHMARK(BM_BuildPlugInWithoutEditor);

}  // namespace

BENCHMARK_MAIN();
