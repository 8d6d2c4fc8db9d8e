// Gestures on a real editor inside a loaded plug-in module: mouse events
// reach the editor through its window on the host's idle call, the controls
// turn them into values, and the host hears each gesture as begin edit,
// automation with the new values, end edit.

#include <gtest/gtest.h>

#include <vector>

#include "tests/framework/editor/headless_graphics.h"
#include "tests/framework/vst/probe_controls_effect.h"
#include "tests/framework/vst/vst_harness.h"

namespace {

PluginModule& ControlsProbeModule()
{
  static PluginModule module(VST_PROBE_CONTROLS_PATH);
  return module;
}

using P = ProbeControlsEffect;

// The host calls that make up automation, in the order the host got them.
struct Edit {
  VstInt32 opcode;
  VstInt32 index;
  float value;  // automation only
};

class EditorGestureTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(ControlsProbeModule().Loaded()) << ControlsProbeModule().Error();
    RecordingHost::Get().Reset();
    e = ControlsProbeModule().Instantiate();
    ASSERT_NE(e, nullptr);
    Dispatch(e, effOpen);
    ASSERT_EQ(Dispatch(e, effEditOpen, 0, 0, &window), 1);
    Dispatch(e, effEditIdle);  // the first full draw
    RecordingHost::Get().Reset();
  }
  void TearDown() override
  {
    if (!e) return;
    Dispatch(e, effEditClose);
    Close(e);
  }

  void Mouse(HeadlessEvent::Kind kind, int x, int y, bool shift = false)
  {
    HeadlessEvent event{kind, x, y};
    event.mod.mS = shift;
    window.Post(event);
  }
  void Click(int x, int y)
  {
    Mouse(HeadlessEvent::kDown, x, y);
    Mouse(HeadlessEvent::kUp, x, y);
  }

  std::vector<Edit> Edits() const
  {
    std::vector<Edit> edits;
    for (const HostCall& c : RecordingHost::Get().calls)
      if (c.opcode == audioMasterBeginEdit || c.opcode == audioMasterAutomate ||
          c.opcode == audioMasterEndEdit)
        edits.push_back({c.opcode, c.index, c.opcode == audioMasterAutomate ? c.opt : 0.0f});
    return edits;
  }

  // The knob's middle; Gain starts at 0 dB of -60..12, normalized 60 / 72.
  static const int kKnobX = P::kKnobX + P::kKnobSize / 2, kKnobY = P::kKnobY + P::kKnobSize / 2;
  static constexpr double kGainStart = 60.0 / 72.0;
  AEffect* e = nullptr;
  HeadlessWindow window;
};

void ExpectEdits(const std::vector<Edit>& got, const std::vector<Edit>& want)
{
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].opcode, want[i].opcode) << i;
    EXPECT_EQ(got[i].index, want[i].index) << i;
    EXPECT_FLOAT_EQ(got[i].value, want[i].value) << i;
  }
}

TEST_F(EditorGestureTest, AKnobTurnedFromTheEditorReachesThePlugInAndTheHost)
{
  // Two 10-pixel steps up a 40-pixel knob at gearing 4 raise it by 1/16
  // each; a long drag beyond the end stops at 1.
  Mouse(HeadlessEvent::kDown, kKnobX, kKnobY);
  Mouse(HeadlessEvent::kDrag, kKnobX, kKnobY - 10);
  Mouse(HeadlessEvent::kDrag, kKnobX, kKnobY - 20);
  Mouse(HeadlessEvent::kDrag, kKnobX, kKnobY - 20);  // not moved: not delivered
  Mouse(HeadlessEvent::kDrag, kKnobX + 3, kKnobY - 200);
  Mouse(HeadlessEvent::kUp, kKnobX + 3, kKnobY - 200);
  const int copies = window.screenCopies;
  Dispatch(e, effEditIdle);

  const float first = static_cast<float>(kGainStart + 1.0 / 16),
              second = static_cast<float>(kGainStart + 2.0 / 16);
  ExpectEdits(Edits(), {{audioMasterBeginEdit, P::kGain, 0.0f},
                        {audioMasterAutomate, P::kGain, first},
                        {audioMasterAutomate, P::kGain, second},
                        {audioMasterAutomate, P::kGain, 1.0f},
                        {audioMasterEndEdit, P::kGain, 0.0f}});
  EXPECT_FLOAT_EQ(e->getParameter(e, P::kGain), 1.0f);
  EXPECT_EQ(DispatchText(e, effGetParamDisplay, P::kGain), "12.0");
  EXPECT_EQ(window.screenCopies, copies + 1);  // the knob is redrawn on the same idle call

  // Fine steps with shift, down this time.
  RecordingHost::Get().Reset();
  Mouse(HeadlessEvent::kDown, kKnobX, kKnobY);
  Mouse(HeadlessEvent::kDrag, kKnobX, kKnobY + 40, true);
  Mouse(HeadlessEvent::kUp, kKnobX, kKnobY + 40);
  Dispatch(e, effEditIdle);
  ExpectEdits(Edits(), {{audioMasterBeginEdit, P::kGain, 0.0f},
                        {audioMasterAutomate, P::kGain, 1.0f - 1.0f / 40},
                        {audioMasterEndEdit, P::kGain, 0.0f}});
}

TEST_F(EditorGestureTest, ASwitchClickTogglesItsParameterInOneGesture)
{
  Click(P::kSwitchX + 5, P::kSwitchY + 5);
  Dispatch(e, effEditIdle);
  ExpectEdits(Edits(), {{audioMasterBeginEdit, P::kFlip, 0.0f},
                        {audioMasterAutomate, P::kFlip, 1.0f},
                        {audioMasterEndEdit, P::kFlip, 0.0f}});
  EXPECT_EQ(DispatchText(e, effGetParamDisplay, P::kFlip), "on");

  RecordingHost::Get().Reset();
  Click(P::kSwitchX + P::kSwitchW - 1, P::kSwitchY + P::kSwitchH - 1);
  Dispatch(e, effEditIdle);
  ExpectEdits(Edits(), {{audioMasterBeginEdit, P::kFlip, 0.0f},
                        {audioMasterAutomate, P::kFlip, 0.0f},
                        {audioMasterEndEdit, P::kFlip, 0.0f}});
  EXPECT_FLOAT_EQ(e->getParameter(e, P::kFlip), 0.0f);
}

TEST_F(EditorGestureTest, PressesBesideTheControlsAndHostChangesSendNothingBack)
{
  // The background takes the press: no parameter, no gesture.
  Click(P::kSwitchX + P::kSwitchW, P::kSwitchY);
  Mouse(HeadlessEvent::kDown, 5, 100);
  Mouse(HeadlessEvent::kDrag, 5, 50);
  Mouse(HeadlessEvent::kUp, 5, 50);
  Dispatch(e, effEditIdle);
  EXPECT_TRUE(Edits().empty());

  // A value from the host moves the knob and is not echoed as automation.
  e->setParameter(e, P::kGain, 0.25f);
  Dispatch(e, effEditIdle);
  EXPECT_TRUE(Edits().empty());
  // A double click brings the knob back to the value it started with.
  Mouse(HeadlessEvent::kDblClick, kKnobX, kKnobY);
  Dispatch(e, effEditIdle);
  ExpectEdits(Edits(), {{audioMasterAutomate, P::kGain, static_cast<float>(kGainStart)}});
}

}  // namespace
