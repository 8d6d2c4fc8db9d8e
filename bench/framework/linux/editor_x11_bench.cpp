// Costs of the X11 editor on a real X server (set DISPLAY): an editor of
// the effect's size and artwork (the 303 x 436 background, a two-frame
// switch and three 31-frame knobs built into the module) opened in a
// window, then
// - an effEditIdle with nothing dirty, and the timer step alone;
// - a full redraw copied to the server (through MIT-SHM and without);
// - one knob turned by the host, drawn and copied;
// - the processor time an open, idle editor costs while the host calls
//   effEditIdle every 10 ms and the editor steps 25 times a second (with
//   nothing changing, and with one knob automated at every step).
// Copies wait for the server (XSync) so its work is counted too.

#include <benchmark/benchmark.h>

#include <time.h>

#include <chrono>
#include <memory>
#include <thread>

// Before anything that includes Xlib, whose macros clash with their names.
#include "framework/editor/controls/IKnobControls.h"
#include "framework/editor/controls/ISwitchControls.h"
#include "tests/framework/vst/probe_effect.h"

#include <X11/Xlib.h>

#include "framework/linux/IGraphicsLinux.h"
#include "framework/linux/IGraphicsLinuxView.h"

namespace {

VstIntPtr SilentHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
  return opcode == audioMasterVersion ? 2400 : 0;
}

// The plug-in with the editor open in a window of its own display.
class OpenEditor {
public:
  explicit OpenEditor(bool allowShm)
  {
    m_display = XOpenDisplay(nullptr);
    if (!m_display) return;
    IEffectInstanceInfo info;
    info.mVSTHostCallback = &SilentHost;
    m_plug.reset(new ProbeEffect(info));
    m_gui = MakeGraphics(m_plug.get(), 303, 436);
    m_gui->AttachBackground(101, "resources/img/bg.png");
    IBitmap by = m_gui->LoadIBitmap(102, "resources/img/by.png", 2);
    m_gui->AttachControl(new ISwitchControl(m_plug.get(), 11, 225, ProbeEffect::kFlip, &by));
    const char* knobs[] = {"resources/img/TON.png", "resources/img/SUS.png", "resources/img/OUT.png"};
    const int x[] = {180, 113, 44}, y[] = {104, 33, 104};
    const int params[] = {ProbeEffect::kGain, ProbeEffect::kDepth, ProbeEffect::kMode};
    for (int i = 0; i < 3; ++i) {
      IBitmap knob = m_gui->LoadIBitmap(109 + i, knobs[i], 31);
      m_gui->AttachControl(new IKnobMultiControl(m_plug.get(), x[i], y[i], params[i], &knob));
    }
    m_plug->AttachGraphics(m_gui);
    m_gui->SetAllowSharedMemory(allowShm);
    m_host = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 303, 436, 0, 0, 0);
    XMapWindow(m_display, m_host);
    XSync(m_display, False);
    m_open = m_gui->OpenWindow(reinterpret_cast<void*>(m_host)) != nullptr;
    // The first exposure and the first full drawing.
    for (int i = 0; i < 5; ++i) {
      Idle();
      std::this_thread::sleep_for(std::chrono::milliseconds(45));
    }
  }
  ~OpenEditor()
  {
    if (m_gui) m_gui->CloseWindow();
    m_plug.reset();
    if (m_display) {
      XDestroyWindow(m_display, m_host);
      XCloseDisplay(m_display);
    }
  }
  bool Ok() const { return m_open; }
  IGraphicsLinux* Gui() { return m_gui; }
  AEffect* Effect() { return m_plug->GetAEffect(); }
  void Idle() { Effect()->dispatcher(Effect(), effEditIdle, 0, 0, nullptr, 0.0f); }
  // Waits until the server has done what the editor sent it.
  void Sync() { XSync(m_gui->GetView()->GetDisplay(), False); }

private:
  Display* m_display = nullptr;
  Window m_host = 0;
  std::unique_ptr<ProbeEffect> m_plug;
  IGraphicsLinux* m_gui = nullptr;  // owned by the plug-in
  bool m_open = false;
};

bool Usable(benchmark::State& state, OpenEditor& editor)
{
  if (editor.Ok()) return true;
  state.SkipWithError("no X display (set DISPLAY)");
  return false;
}

void BM_EditIdleNothingDirty(benchmark::State& state)
{
  OpenEditor editor(true);
  if (!Usable(state, editor)) return;
  for (auto _ : state) editor.Idle();
}
BENCHMARK(BM_EditIdleNothingDirty);

void BM_TimerStepNothingDirty(benchmark::State& state)
{
  OpenEditor editor(true);
  if (!Usable(state, editor)) return;
  for (auto _ : state) benchmark::DoNotOptimize(editor.Gui()->TimerStep());
}
BENCHMARK(BM_TimerStepNothingDirty);

void FullRedraw(benchmark::State& state, bool shm)
{
  OpenEditor editor(shm);
  if (!Usable(state, editor)) return;
  for (auto _ : state) {
    editor.Gui()->SetAllControlsDirty();
    editor.Gui()->TimerStep();
    editor.Sync();
  }
  state.SetLabel(editor.Gui()->GetView()->UsesSharedMemory() ? "MIT-SHM" : "XPutImage");
}
void BM_FullRedrawCopiedShm(benchmark::State& state) { FullRedraw(state, true); }
void BM_FullRedrawCopiedPlain(benchmark::State& state) { FullRedraw(state, false); }
BENCHMARK(BM_FullRedrawCopiedShm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullRedrawCopiedPlain)->Unit(benchmark::kMicrosecond);

void BM_OneKnobTurned(benchmark::State& state)
{
  OpenEditor editor(true);
  if (!Usable(state, editor)) return;
  int i = 0;
  for (auto _ : state) {
    editor.Effect()->setParameter(editor.Effect(), ProbeEffect::kGain, (i++ % 31) / 30.0f);
    editor.Gui()->TimerStep();
    editor.Sync();
  }
}
BENCHMARK(BM_OneKnobTurned)->Unit(benchmark::kMicrosecond);

double ThreadCpuSeconds()
{
  timespec ts;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return ts.tv_sec + ts.tv_nsec * 1e-9;
}

// Two seconds of a host idling every 10 ms; the counter is the share of
// one core the host's user-interface thread spent in the editor.
void IdleCpu(benchmark::State& state, bool automate)
{
  OpenEditor editor(true);
  if (!Usable(state, editor)) return;
  double cpu = 0.0, wall = 0.0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ThreadCpuSeconds();
    int i = 0;
    while (std::chrono::steady_clock::now() - start < std::chrono::seconds(2)) {
      if (automate && i % 4 == 0)
        editor.Effect()->setParameter(editor.Effect(), ProbeEffect::kGain, (i % 31) / 30.0f);
      editor.Idle();
      ++i;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    editor.Sync();
    cpu += ThreadCpuSeconds() - cpuStart;
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  state.counters["cpu_percent"] = 100.0 * cpu / wall;
}
void BM_IdleEditorCpu(benchmark::State& state) { IdleCpu(state, false); }
void BM_IdleEditorOneKnobAutomatedCpu(benchmark::State& state) { IdleCpu(state, true); }
BENCHMARK(BM_IdleEditorCpu)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdleEditorOneKnobAutomatedCpu)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
