// The editor as a host reaches it through the module: its size and flag,
// window opening and closing, and the idle call that drives its drawing,
// which must never make the audio thread wait.

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>
#include <vector>

#include "tests/framework/editor/headless_graphics.h"
#include "tests/framework/vst/vst_harness.h"

namespace {

PluginModule& EditorProbeModule()
{
  static PluginModule module(VST_PROBE_EDITOR_PATH);
  return module;
}

class EditorProbeTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(EditorProbeModule().Loaded()) << EditorProbeModule().Error();
    RecordingHost::Get().Reset();
    e = EditorProbeModule().Instantiate();
    ASSERT_NE(e, nullptr);
    Dispatch(e, effOpen);
  }
  void TearDown() override
  {
    if (e) Close(e);
  }

  AEffect* e = nullptr;
};

// Waits up to ten seconds; a call that has not finished by then is stuck.
template <class T>
bool Finishes(std::future<T>& f)
{
  return f.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
}

TEST_F(EditorProbeTest, ReportsItsEditorAndSize)
{
  EXPECT_NE(e->flags & effFlagsHasEditor, 0);
  ERect* rect = nullptr;
  EXPECT_EQ(Dispatch(e, effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->right, 120);
  EXPECT_EQ(rect->bottom, 80);
  EXPECT_EQ(Dispatch(e, effEditGetRect, 0, 0, nullptr), 0);
}

TEST_F(EditorProbeTest, OpenIdleAndCloseReachTheEditor)
{
  HeadlessWindow window;
  EXPECT_EQ(Dispatch(e, effEditOpen, 0, 0, &window), 1);
  EXPECT_EQ(window.opens, 1);

  // The first tick draws everything; with nothing changed the next draws nothing.
  EXPECT_EQ(Dispatch(e, effEditIdle), 0);
  EXPECT_EQ(window.idles, 1);
  EXPECT_EQ(window.screenCopies, 1);
  Dispatch(e, effEditIdle);
  EXPECT_EQ(window.idles, 2);
  EXPECT_EQ(window.screenCopies, 1);

  // Opening again closes the first view before the second.
  HeadlessWindow second;
  EXPECT_EQ(Dispatch(e, effEditOpen, 0, 0, &second), 1);
  EXPECT_EQ(window.closes, 1);
  EXPECT_EQ(second.opens, 1);

  EXPECT_EQ(Dispatch(e, effEditClose), 1);
  EXPECT_EQ(second.closes, 1);
  Dispatch(e, effEditIdle);  // closed: nothing reaches a window
  EXPECT_EQ(second.idles, 0);
  EXPECT_EQ(window.opens, 1);
}

TEST_F(EditorProbeTest, AudioAndAutomationGoOnWhileTheEditorDraws)
{
  HeadlessWindow window;
  ASSERT_EQ(Dispatch(e, effEditOpen, 0, 0, &window), 1);
  Dispatch(e, effSetBlockSize, 0, 64);
  Dispatch(e, effMainsChanged, 0, 1);

  window.holdScreenCopy = true;
  std::future<void> idle = std::async(std::launch::async, [this] { Dispatch(e, effEditIdle); });
  while (!window.screenCopyWaiting) std::this_thread::sleep_for(std::chrono::milliseconds(1));

  // The editor's thread now sits in its drawing pass. A block and a host
  // parameter change on other threads must finish all the same.
  std::vector<float> in(64, 0.5f), outL(64), outR(64);
  float* inputs[2] = {in.data(), in.data()};
  float* outputs[2] = {outL.data(), outR.data()};
  std::future<void> audio = std::async(std::launch::async, [&] {
    e->processReplacing(e, inputs, outputs, 64);
    e->setParameter(e, 0, 0.25f);
  });
  const bool audioFinished = Finishes(audio);
  window.holdScreenCopy = false;  // release the editor whatever happened
  ASSERT_TRUE(Finishes(idle));
  EXPECT_TRUE(audioFinished) << "the audio thread waited for the editor's drawing";
  if (!audioFinished) audio.wait();
  EXPECT_FLOAT_EQ(e->getParameter(e, 0), 0.25f);
  EXPECT_EQ(Dispatch(e, effEditClose), 1);
}

}  // namespace
