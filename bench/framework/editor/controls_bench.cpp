// Nanoseconds for what a user's gesture costs on the editor's thread: one
// drag step of a knob (value, clamp, the plug-in's mutex and the host
// notice), a value from the plug-in that equals the shown one, the
// timer-driven pass that redraws one Quarry knob over its background, and
// a line of bitmap-font text.

#include <benchmark/benchmark.h>

#include "framework/editor/controls/IBitmapMonoText.h"
#include "framework/editor/controls/IKnobControls.h"
#include "tests/framework/editor/headless_graphics.h"
#include "tests/framework/test_plug.h"

namespace {

// Forgets what it tells the host, so a long run does not grow a record.
struct QuietPlug : QuarryLikePlug {
  void InformHostOfParamChange(int, double) override {}
  void OnParamChange(int) override {}
};

struct QuarryEditor {
  explicit QuarryEditor(IEffectBase* plug) : gui(new HeadlessGraphics(plug, 303, 436))
  {
    gui->RegisterImage("bg.png", 303, 436, 0xFF202020u);
    gui->RegisterImage("knob.png", 60, 31 * 60, 0x80808080u, 31);
    gui->AttachBackground(1, "bg.png");
    IBitmap strip = gui->LoadIBitmap(2, "knob.png", 31);
    knob = new IKnobMultiControl(plug, 180, 104, 1, &strip, kVertical, 4.0);
    gui->AttachControl(knob);
    plug->AttachGraphics(gui);
    gui->OpenWindow(nullptr);
    gui->TimerStep();
    gui->TimerStep();
  }
  HeadlessGraphics* gui;  // owned by the plug-in
  IKnobMultiControl* knob;
};

void BM_KnobDragStep(benchmark::State& state)
{
  QuietPlug plug;
  QuarryEditor editor(&plug);
  IMouseMod mod(true, false);
  int dY = -1;
  for (auto _ : state) {
    editor.knob->OnMouseDrag(0, 0, 0, dY, &mod);
    dY = -dY;
  }
}
BENCHMARK(BM_KnobDragStep);

void BM_EqualValueFromPlug(benchmark::State& state)
{
  QuietPlug plug;
  QuarryEditor editor(&plug);
  const double value = editor.knob->GetValue();
  for (auto _ : state) editor.knob->SetValueFromPlug(value);
}
BENCHMARK(BM_EqualValueFromPlug);

void BM_RedrawOneKnob(benchmark::State& state)
{
  QuietPlug plug;
  QuarryEditor editor(&plug);
  double value = 0.0;
  for (auto _ : state) {
    editor.knob->SetValueFromPlug(value);
    value = value < 1.0 ? value + 1.0 / 30 : 0.0;
    benchmark::DoNotOptimize(editor.gui->TimerStep());
  }
}
BENCHMARK(BM_RedrawOneKnob);

void BM_BitmapTextLine(benchmark::State& state)
{
  QuietPlug plug;
  QuarryEditor editor(&plug);
  editor.gui->RegisterImage("font.png", 6, 96 * 12, 0xFFFFFFFFu, 96);
  IBitmap font = editor.gui->LoadIBitmap(3, "font.png", 96);
  IRECT r(10, 10, 200, 30);
  IText text;
  for (auto _ : state)
    DrawBitmapedText(editor.gui, &font, &r, &text, nullptr, "Output -12.5 dB", true, false, 6, 12, 0);
}
BENCHMARK(BM_BitmapTextLine);

}  // namespace

BENCHMARK_MAIN();
