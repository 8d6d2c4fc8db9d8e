// Mouse and key routing: which control an event reaches, captures, host
// gestures around a press, hover tracking and the automation queries.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/editor/IKeyCodes.h"
#include "framework/editor/controls/IControl.h"
#include "tests/framework/editor/headless_graphics.h"
#include "tests/framework/test_plug.h"

namespace {

// A control that logs every event it receives as "name:event x,y".
class LoggingControl : public IControl {
public:
  LoggingControl(IEffectBase* plug, IRECT rect, int paramIdx, const char* name, std::vector<std::string>* log)
      : IControl(plug, rect, paramIdx), mName(name), mLog(log)
  {
  }
  bool Draw(IGraphics*) override { return true; }
  void OnMouseDown(int x, int y, IMouseMod*) override { Log("down", x, y); }
  void OnMouseUp(int x, int y, IMouseMod*) override { Log("up", x, y); }
  void OnMouseDrag(int x, int y, int dX, int dY, IMouseMod*) override
  {
    Log("drag", x, y);
    mLog->back() += " by " + std::to_string(dX) + "," + std::to_string(dY);
  }
  void OnMouseDblClick(int x, int y, IMouseMod*) override { Log("dblclick", x, y); }
  void OnMouseWheel(int x, int y, IMouseMod*, int d) override { Log("wheel" + std::to_string(d), x, y); }
  bool OnKeyDown(int x, int y, int key) override
  {
    Log("key" + std::to_string(key), x, y);
    return takesKeys;
  }
  void OnMouseOver(int x, int y, IMouseMod*) override { Log("over", x, y); }
  void OnMouseOut() override { mLog->push_back(mName + ":out"); }
  bool takesKeys = true;

private:
  void Log(const std::string& what, int x, int y)
  {
    mLog->push_back(mName + ":" + what + " " + std::to_string(x) + "," + std::to_string(y));
  }
  std::string mName;
  std::vector<std::string>* mLog;
};

// Records the host gesture calls the editor makes around a press.
struct GesturePlug : QuarryLikePlug {
  void BeginInformHostOfParamChange(int idx) override { gestures.push_back("begin " + std::to_string(idx)); }
  void EndInformHostOfParamChange(int idx) override { gestures.push_back("end " + std::to_string(idx)); }
  std::vector<std::string> gestures;
};

// A 100 x 100 editor: a background over everything, a knob for GainM
// (param 1), and a bypass switch (param 3) lying over the knob's right half.
class EditorInputTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    gui = new HeadlessGraphics(&plug, 100, 100);
    background = Attach(IRECT(0, 0, 100, 100), -1, "bg");
    knob = Attach(IRECT(10, 10, 50, 50), 1, "knob");
    button = Attach(IRECT(30, 10, 50, 30), 3, "button");
    plug.AttachGraphics(gui);
  }
  LoggingControl* Attach(IRECT r, int paramIdx, const char* name)
  {
    LoggingControl* control = new LoggingControl(&plug, r, paramIdx, name, &log);
    gui->AttachControl(control);
    return control;
  }

  GesturePlug plug;
  HeadlessGraphics* gui = nullptr;
  LoggingControl* background = nullptr;
  LoggingControl* knob = nullptr;
  LoggingControl* button = nullptr;
  std::vector<std::string> log;
  IMouseMod left{true, false};
};

using Log = std::vector<std::string>;

TEST_F(EditorInputTest, LookupTakesTheTopmostVisibleUngreyedControl)
{
  EXPECT_EQ(gui->GetMouseControlIdx(35, 15), 2);  // the button lies over the knob
  EXPECT_EQ(gui->GetMouseControlIdx(20, 40), 1);
  EXPECT_EQ(gui->GetMouseControlIdx(50, 15), 0);  // right edges are exclusive
  EXPECT_EQ(gui->GetMouseControlIdx(100, 50), -1);
  EXPECT_EQ(gui->GetMouseControlIdx(-1, 0), -1);

  button->Hide(true);
  EXPECT_EQ(gui->GetMouseControlIdx(35, 15), 1);
  button->Hide(false);
  button->GrayOut(true);
  EXPECT_EQ(gui->GetMouseControlIdx(35, 15), 1);
  EXPECT_EQ(gui->GetMouseControlIdx(35, 15, true), 1);  // hover skips it too...
  button->SetMOWhenGrayed(true);
  EXPECT_EQ(gui->GetMouseControlIdx(35, 15, true), 2);  // ...unless it asks for hover
  EXPECT_EQ(gui->GetMouseControlIdx(35, 15), 1);        // clicks never reach it
}

TEST_F(EditorInputTest, APressAndReleaseOnABoundControlFormOneHostGesture)
{
  gui->OnMouseDown(20, 20, &left);
  EXPECT_EQ(gui->GetMouseCapture(), 1);
  EXPECT_EQ(gui->GetMouseX(), 20);
  EXPECT_EQ(gui->GetMouseY(), 20);
  // The release lands elsewhere but still goes to the captured knob.
  gui->OnMouseUp(90, 90, &left);
  EXPECT_EQ(gui->GetMouseCapture(), -1);
  EXPECT_EQ(log, (Log{"knob:down 20,20", "knob:up 90,90"}));
  EXPECT_EQ(plug.gestures, (Log{"begin 1", "end 1"}));

  // The background has no parameter: no gesture.
  log.clear();
  plug.gestures.clear();
  gui->OnMouseDown(80, 80, &left);
  gui->OnMouseUp(80, 80, &left);
  EXPECT_EQ(log, (Log{"bg:down 80,80", "bg:up 80,80"}));
  EXPECT_TRUE(plug.gestures.empty());

  // A press on nothing captures nothing; a release there reaches nothing.
  log.clear();
  gui->OnMouseDown(200, 200, &left);
  EXPECT_EQ(gui->GetMouseCapture(), -1);
  gui->OnMouseUp(200, 200, &left);
  EXPECT_TRUE(log.empty());
}

TEST_F(EditorInputTest, AClickOnAGreyedControlReachesTheOneBeneath)
{
  gui->GrayOutControl(3, true);
  EXPECT_TRUE(button->IsGrayed());
  gui->OnMouseDown(35, 15, &left);
  gui->OnMouseUp(35, 15, &left);
  EXPECT_EQ(log, (Log{"knob:down 35,15", "knob:up 35,15"}));
  EXPECT_EQ(plug.gestures, (Log{"begin 1", "end 1"}));
}

TEST_F(EditorInputTest, DragsGoToTheCapturedControlOnlyWhenThePointerMoved)
{
  gui->OnMouseDrag(20, 20, &left);  // nothing captured
  EXPECT_TRUE(log.empty());
  gui->OnMouseDown(20, 20, &left);
  gui->OnMouseDrag(20, 20, &left);  // same position as the press: not delivered
  gui->OnMouseDrag(22, 17, &left);
  gui->OnMouseDrag(22, 17, &left);  // same as the last drag: not delivered
  gui->OnMouseDrag(95, 17, &left);  // outside the knob, still captured
  gui->OnMouseDrag(95, 20, &left);
  EXPECT_EQ(log, (Log{"knob:down 20,20", "knob:drag 22,17 by 2,-3", "knob:drag 95,17 by 73,0",
                      "knob:drag 95,20 by 0,3"}));
  gui->OnMouseUp(95, 20, &left);
  log.clear();
  gui->OnMouseDrag(96, 20, &left);  // released: nothing
  EXPECT_TRUE(log.empty());
}

TEST_F(EditorInputTest, ADoubleClickCapturesOnlyWhenTheControlTakesItAsAPress)
{
  EXPECT_FALSE(gui->OnMouseDblClick(20, 20, &left));
  EXPECT_EQ(gui->GetMouseCapture(), -1);
  EXPECT_EQ(log, (Log{"knob:dblclick 20,20"}));

  log.clear();
  knob->SetDblAsSingleClick(true);
  EXPECT_TRUE(gui->OnMouseDblClick(20, 20, &left));
  EXPECT_EQ(gui->GetMouseCapture(), 1);
  gui->OnMouseDrag(20, 25, &left);
  EXPECT_EQ(log, (Log{"knob:down 20,20", "knob:drag 20,25 by 0,5"}));
  // No gesture begins with a double click; the release ends one all the same.
  EXPECT_TRUE(plug.gestures.empty());
  gui->OnMouseUp(20, 25, &left);
  EXPECT_EQ(plug.gestures, (Log{"end 1"}));

  // A double click first lets go of a capture.
  gui->OnMouseDown(35, 15, &left);
  log.clear();
  EXPECT_FALSE(gui->OnMouseDblClick(80, 80, &left));
  EXPECT_EQ(log, (Log{"bg:dblclick 80,80"}));
  EXPECT_EQ(gui->GetMouseCapture(), -1);
  EXPECT_FALSE(gui->OnMouseDblClick(300, 300, &left));
}

TEST_F(EditorInputTest, TheWheelGoesToTheCapturedControlOrTheOneUnderThePointer)
{
  gui->OnMouseWheel(35, 15, &left, -3);
  gui->OnMouseDown(20, 20, &left);
  gui->OnMouseWheel(80, 80, &left, 2);
  gui->OnMouseUp(20, 20, &left);
  gui->OnMouseWheel(300, 300, &left, 1);
  EXPECT_EQ(log, (Log{"button:wheel-3 35,15", "knob:down 20,20", "knob:wheel2 80,80", "knob:up 20,20"}));
}

TEST_F(EditorInputTest, HoverIsTrackedOnlyWhenAskedFor)
{
  EXPECT_FALSE(gui->OnMouseOver(20, 20, nullptr));
  EXPECT_TRUE(log.empty());

  gui->HandleMouseOver(true);
  EXPECT_TRUE(gui->OnMouseOver(20, 20, nullptr));
  EXPECT_TRUE(gui->OnMouseOver(21, 20, nullptr));  // still the knob: no mouse-out
  EXPECT_TRUE(gui->OnMouseOver(35, 15, nullptr));  // onto the button: the knob is left
  EXPECT_EQ(gui->GetMouseOver(), 2);
  EXPECT_EQ(gui->GetMouseX(), 35);
  EXPECT_EQ(log, (Log{"knob:over 20,20", "knob:over 21,20", "button:over 35,15", "knob:out"}));

  // Over nothing: reported as handled, nothing changes.
  log.clear();
  EXPECT_TRUE(gui->OnMouseOver(300, 300, nullptr));
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(gui->GetMouseOver(), 2);
  EXPECT_EQ(gui->GetMouseX(), 35);

  // A greyed control is hovered only with its mouse-over-when-greyed flag.
  button->GrayOut(true);
  EXPECT_TRUE(gui->OnMouseOver(36, 15, nullptr));
  button->SetMOWhenGrayed(true);
  EXPECT_TRUE(gui->OnMouseOver(37, 15, nullptr));
  EXPECT_EQ(log, (Log{"knob:over 36,15", "button:out", "button:over 37,15", "knob:out"}));

  log.clear();
  gui->OnMouseOut();
  EXPECT_EQ(log, (Log{"bg:out", "knob:out", "button:out"}));
  EXPECT_EQ(gui->GetMouseOver(), -1);
}

TEST_F(EditorInputTest, KeysGoToTheControlUnderThePointerElseToTheKeyCatcher)
{
  EXPECT_TRUE(gui->OnKeyDown(20, 20, kKeySpace));
  knob->takesKeys = false;
  EXPECT_FALSE(gui->OnKeyDown(20, 20, kKeyUpArrow));  // not taken: left to the host
  EXPECT_FALSE(gui->OnKeyDown(80, 80, kKeyAlphaA));   // the background takes no keys
  EXPECT_FALSE(gui->OnKeyDown(300, 300, kKeyAlphaA));
  EXPECT_EQ(log, (Log{"knob:key0 20,20", "knob:key1 20,20"}));

  LoggingControl* catcher = new LoggingControl(&plug, IRECT(), -1, "catcher", &log);
  gui->AttachKeyCatcher(catcher);
  log.clear();
  EXPECT_TRUE(gui->OnKeyDown(80, 80, kKeyDigit0));
  EXPECT_TRUE(gui->OnKeyDown(300, 300, kKeyDigit9));
  EXPECT_FALSE(gui->OnKeyDown(20, 20, kKeyAlphaZ));  // the knob still comes first
  // A captured control gets the keys wherever the pointer is.
  gui->OnMouseDown(35, 15, &left);
  EXPECT_TRUE(gui->OnKeyDown(80, 80, kKeyLeftArrow));
  EXPECT_EQ(log, (Log{"catcher:key5 80,80", "catcher:key14 300,300", "knob:key40 20,20", "button:down 35,15",
                      "button:key3 80,80"}));
}

TEST_F(EditorInputTest, AutomationQueriesNameTheParameterUnderThePointerOnce)
{
  EXPECT_EQ(gui->GetParamIdxForPTAutomation(20, 40), 1);
  EXPECT_EQ(gui->GetLastClickedParamForPTAutomation(), 1);
  EXPECT_EQ(gui->GetLastClickedParamForPTAutomation(), -1);
  EXPECT_EQ(gui->GetParamIdxForPTAutomation(35, 15), 3);
  EXPECT_EQ(gui->GetParamIdxForPTAutomation(80, 80), -1);  // the background
  EXPECT_EQ(gui->GetLastClickedParamForPTAutomation(), -1);
  EXPECT_EQ(gui->GetParamIdxForPTAutomation(300, 300), -1);
}

TEST_F(EditorInputTest, AControlBoundToAMissingParameterOpensNoGesture)
{
  LoggingControl* stray = Attach(IRECT(60, 60, 70, 70), 99, "stray");
  gui->OnMouseDown(65, 65, &left);
  gui->OnMouseUp(65, 65, &left);
  EXPECT_EQ(log, (Log{"stray:down 65,65", "stray:up 65,65"}));
  EXPECT_TRUE(plug.gestures.empty());
  EXPECT_EQ(stray->ParamIdx(), 99);
}

}  // namespace
