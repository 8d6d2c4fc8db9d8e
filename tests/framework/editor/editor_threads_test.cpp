// The editor among the host's threads, through the loaded module: a host
// thread sets every parameter a thousand times and an audio thread
// processes blocks while the user-interface thread idles the editor,
// which draws and takes mouse gestures that reach the host. Built also
// with ThreadSanitizer, where any unsynchronised access fails it.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "tests/framework/editor/headless_graphics.h"
#include "tests/framework/editor/threads_probe_effect.h"
#include "tests/framework/vst/vst_harness.h"

namespace {

const int kParams = ThreadsProbeEffect::kNumParams;

// The colour the knob strip shows for a normalized value.
uint32_t KnobColour(double value)
{
  const int frame = static_cast<int>((ThreadsProbeEffect::kKnobFrames - 1) * value + 0.5) + 1;
  return (ThreadsProbeEffect::kKnobPixel + frame - 1) & 0xFFFFFFu;
}

// Posts a drag on the parameter's knob: press, two moves, release.
void PostKnobGesture(HeadlessWindow* window, int paramIdx)
{
  const int x = ThreadsProbeEffect::KnobX(paramIdx) + 5, y = ThreadsProbeEffect::KnobY() + 5;
  window->Post({HeadlessEvent::kDown, x, y});
  window->Post({HeadlessEvent::kDrag, x, y - 3});
  window->Post({HeadlessEvent::kWheel, x, y - 3, 2});
  window->Post({HeadlessEvent::kUp, x, y - 3});
}

TEST(EditorThreadsTest, HostAndAudioThreadsRunWhileTheEditorDrawsAndTakesGestures)
{
  static PluginModule module(VST_THREADS_PROBE_PATH);  // kept loaded, as hosts do
  ASSERT_TRUE(module.Loaded()) << module.Error();
  RecordingHost::Get().Reset();
  AEffect* e = module.Instantiate();
  ASSERT_NE(e, nullptr);
  Dispatch(e, effOpen);
  Dispatch(e, effSetSampleRate, 0, 0, nullptr, 48000.0f);
  Dispatch(e, effSetBlockSize, 0, 64);
  Dispatch(e, effMainsChanged, 0, 1);
  HeadlessWindow window;
  window.keepScreen = true;
  ASSERT_EQ(Dispatch(e, effEditOpen, 0, 0, &window), 1);

  std::atomic<bool> uiRunning{false}, hostDone{false}, audioStop{false};
  std::thread host([&] {
    while (!uiRunning) std::this_thread::yield();
    for (int round = 0; round < 1000; ++round) {
      for (int p = 0; p < kParams; ++p)
        e->setParameter(e, p, static_cast<float>((round * 7 + p * 13) % 101) / 100);
      // Spread the rounds over many editor ticks.
      std::this_thread::sleep_for(std::chrono::microseconds(20));
    }
    hostDone = true;
  });
  std::thread audio([&] {
    std::vector<float> in(64, 0.25f), outL(64), outR(64);
    float* inputs[2] = {in.data(), in.data()};
    float* outputs[2] = {outL.data(), outR.data()};
    while (!audioStop) e->processReplacing(e, inputs, outputs, 64);
  });

  int gestures = 0;
  uiRunning = true;
  for (int tick = 0; !hostDone; ++tick) {
    if (tick % 8 == 0) {
      PostKnobGesture(&window, gestures % kParams);
      ++gestures;
    }
    Dispatch(e, effEditIdle);
  }
  host.join();
  Dispatch(e, effEditIdle);  // delivers the last gesture
  audioStop = true;
  audio.join();

  // Every gesture reached the host as a bracketed edit of its knob's parameter.
  const RecordingHost& rec = RecordingHost::Get();
  EXPECT_EQ(rec.Calls(audioMasterBeginEdit).size(), static_cast<size_t>(gestures));
  EXPECT_EQ(rec.Calls(audioMasterEndEdit).size(), static_cast<size_t>(gestures));
  EXPECT_GE(rec.Calls(audioMasterAutomate).size(), static_cast<size_t>(gestures));
  EXPECT_GT(window.screenCopies, 1);

  // The host's last values are what the screen shows after the next ticks.
  const float last[kParams] = {0.25f, 0.5f, 1.0f, 0.75f};  // values each parameter can hold
  for (int p = 0; p < kParams; ++p) e->setParameter(e, p, last[p]);
  Dispatch(e, effEditIdle);
  for (int p = 0; p < kParams; ++p) {
    const int x = ThreadsProbeEffect::KnobX(p) + 12, y = ThreadsProbeEffect::KnobY() + 12;
    EXPECT_EQ(window.ScreenPixel(x, y), KnobColour(last[p])) << "parameter " << p;
    EXPECT_FLOAT_EQ(e->getParameter(e, p), last[p]);
  }

  EXPECT_EQ(Dispatch(e, effEditClose), 1);
  Close(e);
}

}  // namespace
