// The editor on a real plug-in base: attachment, the timer step with its
// parameter mailbox, the drawing pass and the control value protocol.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "base/mutex.h"
#include "framework/IParam.h"
#include "framework/editor/controls/IControl.h"
#include "framework/editor/controls/IPanelControl.h"
#include "framework/editor/controls/ITextControls.h"
#include "tests/framework/editor/headless_graphics.h"
#include "tests/framework/test_plug.h"

namespace {

// A control that counts its draws.
class CountingControl : public IControl {
public:
  CountingControl(IEffectBase* plug, IRECT rect, int paramIdx = -1) : IControl(plug, rect, paramIdx) {}
  bool Draw(IGraphics*) override
  {
    ++draws;
    return true;
  }
  int draws = 0;
};

// A Quarry-like plug-in (OUT, GainM 0.7, GainL 0.3, Bypass) with a
// 100 x 50 headless editor: a blue panel and knobs for GainM and GainL.
class EditorTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    gui = new HeadlessGraphics(&plug, 100, 50);
    gainM = new CountingControl(&plug, IRECT(10, 10, 30, 30), 1);
    gainL = new CountingControl(&plug, IRECT(60, 10, 80, 30), 2);
    EXPECT_EQ(gui->AttachControl(gainM), 0);
    EXPECT_EQ(gui->AttachControl(gainL), 1);
    gui->AttachPanelBackground(&COLOR_BLUE);
    plug.AttachGraphics(gui);
  }

  QuarryLikePlug plug;
  HeadlessGraphics* gui = nullptr;  // owned by the plug-in
  CountingControl* gainM = nullptr;
  CountingControl* gainL = nullptr;
};

TEST_F(EditorTest, AttachingFixesTheDefaultsAndMakesNoPixels)
{
  EXPECT_EQ(plug.GetGUI(), gui);
  ASSERT_EQ(gui->NControls(), 3);
  EXPECT_EQ(gui->GetControl(1), gainM);  // the panel went in front
  EXPECT_EQ(*gui->GetControl(0)->GetRECT(), IRECT(0, 0, 100, 50));
  EXPECT_DOUBLE_EQ(gainM->GetDefaultValue(), 0.7);
  EXPECT_DOUBLE_EQ(gainM->GetValue(), 0.7);
  EXPECT_DOUBLE_EQ(gainL->GetDefaultValue(), 0.3);
  EXPECT_EQ(gui->FPS(), 25);
  EXPECT_FALSE(gui->HasDrawBitmap());
  EXPECT_EQ(gui->osLoads, 0);
}

TEST_F(EditorTest, TheTimerStepDrawsOnlyWhileOpenAndOnlyWhatIsDirty)
{
  EXPECT_FALSE(gui->TimerStep());
  EXPECT_EQ(gainM->draws, 0);
  EXPECT_FALSE(gui->HasDrawBitmap());

  ASSERT_NE(gui->OpenWindow(nullptr), nullptr);
  IRECT drawn;
  EXPECT_TRUE(gui->TimerStep(&drawn));
  EXPECT_EQ(drawn, IRECT(0, 0, 100, 50));
  ASSERT_EQ(gui->screenRects.size(), 1u);
  EXPECT_EQ(gainM->draws, 1);
  EXPECT_EQ(gainL->draws, 1);
  ASSERT_NE(gui->GetBits(), nullptr);
  EXPECT_EQ(gui->GetBits()[0] & 0xFFFFFF, 0x0000FFu);  // the blue panel
  EXPECT_FALSE(gui->TimerStep());

  // A host change reaches the control on the editor's next tick, which
  // redraws the knob's area; the knob is drawn once more on the tick after.
  {
    BASE_MutexLock lock(plug.GetMutex());
    plug.GetParam(1)->Set(0.2);
    plug.RedrawParamControls();
  }
  EXPECT_DOUBLE_EQ(gainM->GetValue(), 0.7);
  EXPECT_TRUE(gui->TimerStep(&drawn));
  EXPECT_DOUBLE_EQ(gainM->GetValue(), 0.2);
  EXPECT_EQ(drawn, IRECT(10, 10, 30, 30));
  EXPECT_EQ(gainM->draws, 2);
  EXPECT_EQ(gainL->draws, 1);
  EXPECT_TRUE(gui->TimerStep(&drawn));
  EXPECT_EQ(gainM->draws, 3);
  EXPECT_FALSE(gui->TimerStep());
  // Nothing changed for the other parameters, so nothing else was touched.
  EXPECT_DOUBLE_EQ(gainL->GetValue(), 0.3);

  gui->CloseWindow();
  gui->PostParameterFromPlug(2, 0.9, true);
  EXPECT_FALSE(gui->TimerStep());  // closed: values move, nothing is drawn
  EXPECT_DOUBLE_EQ(gainL->GetValue(), 0.9);
  EXPECT_EQ(gainL->draws, 1);
}

TEST_F(EditorTest, StrictPassDrawsWhatTouchesTheAreaAndCleansEverything)
{
  CountingControl* touching = new CountingControl(&plug, IRECT(50, 0, 60, 10));
  CountingControl* beyond = new CountingControl(&plug, IRECT(51, 0, 60, 10));
  CountingControl* hidden = new CountingControl(&plug, IRECT(0, 0, 10, 10));
  gui->AttachControl(touching);
  gui->AttachControl(beyond);
  gui->AttachControl(hidden);
  hidden->Hide(true);
  gui->OpenWindow(nullptr);
  IRECT area(0, 0, 50, 50);
  EXPECT_TRUE(gui->Draw(&area));
  EXPECT_EQ(gainM->draws, 1);
  EXPECT_EQ(touching->draws, 1);  // its left edge lies on the area's right edge
  EXPECT_EQ(beyond->draws, 0);
  EXPECT_EQ(hidden->draws, 0);
  // Every control is cleaned, drawn or not; hiding set the hidden one's
  // redraw flag, so it is dirty for one more pass.
  EXPECT_FALSE(gainM->IsDirty());
  EXPECT_FALSE(beyond->IsDirty());
  EXPECT_FALSE(gui->GetControl(0)->IsDirty());
  EXPECT_TRUE(hidden->IsDirty());
  IRECT dirty;
  EXPECT_TRUE(gui->IsDirty(&dirty));
  EXPECT_EQ(dirty, IRECT(0, 0, 10, 10));
  EXPECT_EQ(gui->GetDrawRECT(), area);
}

TEST_F(EditorTest, LoosePassRepaintsOnlyTheDirtyControlsAndWhatLiesUnder)
{
  // A third control overlaps the GainM knob.
  CountingControl* overlap = new CountingControl(&plug, IRECT(20, 20, 40, 40));
  gui->AttachControl(overlap);
  gui->OpenWindow(nullptr);
  gui->SetStrictDrawing(false);
  IRECT r;
  ASSERT_TRUE(gui->IsDirty(&r));
  EXPECT_TRUE(gui->Draw(&r));  // background dirty: everything, once
  EXPECT_EQ(gainM->draws, 1);
  EXPECT_EQ(gainL->draws, 1);
  EXPECT_EQ(overlap->draws, 1);
  r = IRECT();
  EXPECT_FALSE(gui->IsDirty(&r));

  gainM->SetDirty(false);
  overlap->SetDirty(false);
  r = IRECT();
  ASSERT_TRUE(gui->IsDirty(&r));
  EXPECT_EQ(r, IRECT(10, 10, 40, 40));
  EXPECT_TRUE(gui->Draw(&r));
  // Each dirty control is repainted with what overlaps it, one after the other.
  EXPECT_EQ(gainM->draws, 3);
  EXPECT_EQ(overlap->draws, 3);
  EXPECT_EQ(gainL->draws, 1);
  EXPECT_EQ(gui->GetDrawRECT(), IRECT(20, 20, 40, 40));
  r = IRECT();
  EXPECT_FALSE(gui->IsDirty(&r));
}

// A host thread automates a parameter while the editor's thread ticks.
TEST_F(EditorTest, HostPostsWhileTheEditorTicks)
{
  gui->OpenWindow(nullptr);
  // Start from the bottom, so every value the host posts lies above it.
  gui->SetParameterFromPlug(2, 0.0, true);
  const int kPosts = 5000;
  std::atomic<bool> done{false};
  std::thread host([&] {
    for (int i = 1; i <= kPosts; ++i) {
      BASE_MutexLock lock(plug.GetMutex());
      gui->PostParameterFromPlug(2, static_cast<double>(i) / kPosts, true);
    }
    done = true;
  });
  double last = 0.0;
  bool rising = true;
  while (!done) {
    gui->TimerStep();
    rising = rising && gainL->GetValue() >= last;
    last = gainL->GetValue();
  }
  host.join();
  gui->TimerStep();
  EXPECT_TRUE(rising);
  EXPECT_DOUBLE_EQ(gainL->GetValue(), 1.0);
}

TEST_F(EditorTest, UserValuesAreClampedAndSentToThePlugIn)
{
  gainM->SetValue(1.5);
  gainM->SetDirty(true);
  EXPECT_DOUBLE_EQ(gainM->GetValue(), 1.0);
  ASSERT_FALSE(plug.informed.empty());
  EXPECT_EQ(plug.informed.back(), std::make_pair(1, 1.0));
  EXPECT_DOUBLE_EQ(plug.GetParam(1)->Value(), 1.0);

  gainM->Clamp(0.2, 0.8);
  gainM->SetValueFromUserInput(0.95);
  EXPECT_DOUBLE_EQ(gainM->GetValue(), 0.8);
  EXPECT_EQ(plug.informed.back(), std::make_pair(1, 0.8));

  // A double click returns to the value the plug-in first pushed.
  gainM->OnMouseDblClick(15, 15, nullptr);
  EXPECT_DOUBLE_EQ(gainM->GetValue(), 0.7);
  EXPECT_EQ(plug.informed.back(), std::make_pair(1, 0.7));

  // The plug-in's own value marks nothing when it is the current one.
  gainM->SetClean();
  gainM->SetClean();
  ASSERT_FALSE(gainM->IsDirty());
  const size_t sent = plug.informed.size();
  gainM->SetValueFromPlug(0.7);
  EXPECT_FALSE(gainM->IsDirty());
  gainM->SetValueFromPlug(0.4);
  EXPECT_TRUE(gainM->IsDirty());
  EXPECT_EQ(plug.informed.size(), sent);  // nothing goes back to the plug-in
}

TEST(EditorDisplayTest, ValueAndNameDisplaysFollowAUserChange)
{
  TestPlug plug(1, "2-2", 0);
  plug.GetParam(0)->InitDouble("Level", 12.0, 0.0, 24.0, 0.1, "dB");
  HeadlessGraphics* gui = new HeadlessGraphics(&plug, 100, 50);
  CountingControl* knob = new CountingControl(&plug, IRECT(0, 0, 20, 20), 0);
  IText text;
  ITextControl* value = new ITextControl(&plug, IRECT(0, 30, 50, 40), &text);
  ITextControl* name = new ITextControl(&plug, IRECT(50, 30, 100, 40), &text, "Level");
  gui->AttachControl(knob);
  gui->AttachControl(value);
  gui->AttachControl(name);
  knob->SetValDisplayControl(value);
  knob->SetNameDisplayControl(name);
  plug.AttachGraphics(gui);
  name->SetClean();
  name->SetClean();

  knob->SetValueFromUserInput(0.75);
  EXPECT_STREQ(value->GetTextForPlug(), "18.0 dB");
  EXPECT_TRUE(value->IsDirty());
  EXPECT_FALSE(name->IsDirty());  // the name was already shown
}

TEST(EditorOwnershipTest, ResizeAndKeyCatcherGiveUpWhatTheyReplace)
{
  QuarryLikePlug plug;
  HeadlessGraphics* gui = new HeadlessGraphics(&plug, 100, 50, 30);
  gui->AttachPanelBackground(&COLOR_WHITE);
  gui->AttachControl(new CountingControl(&plug, IRECT(0, 0, 5, 5), 0));
  gui->AttachKeyCatcher(new CountingControl(&plug, IRECT()));
  gui->AttachKeyCatcher(new CountingControl(&plug, IRECT()));  // the first goes
  plug.AttachGraphics(gui);
  EXPECT_EQ(gui->FPS(), 30);
  gui->OpenWindow(nullptr);
  EXPECT_TRUE(gui->TimerStep());
  EXPECT_TRUE(gui->HasDrawBitmap());
  gui->Resize(200, 80);
  EXPECT_EQ(gui->NControls(), 0);
  EXPECT_EQ(gui->Width(), 200);
  EXPECT_EQ(gui->Height(), 80);
  EXPECT_FALSE(gui->HasDrawBitmap());
  EXPECT_EQ(gui->GetMouseCapture(), -1);
  IRECT all(0, 0, 200, 80);
  EXPECT_TRUE(gui->Draw(&all));  // no controls: nothing copied
  EXPECT_EQ(gui->screenRects.size(), 1u);
  // The plug-in deletes the editor with the key catcher (leaks would show
  // under the sanitizer build).
}

}  // namespace
