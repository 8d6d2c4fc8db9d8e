// The X11 editor in this process against a real X server: the window
// shows exactly the draw bitmap (through shared memory and without, after
// partial redraws, exposures and with the text field open), the tick keeps
// to the frame rate, windows that vanish under the editor, and the error
// trap that keeps X errors of the editor away from the host.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

// Before anything that includes Xlib, whose macros clash with their names.
#include "framework/editor/controls/IKnobControls.h"
#include "framework/editor/controls/IPanelControl.h"
#include "tests/framework/vst/probe_effect.h"

#include "framework/linux/IGraphicsLinux.h"
#include "framework/linux/IGraphicsLinuxView.h"
#include "framework/linux/LinuxXErrorTrap.h"
#include "pix/pix_sysbitmap.h"
#include "tests/framework/linux/x11_editor_host.h"
#include "tests/framework/linux/x11_harness.h"

namespace {

const int kW = 200, kH = 120;

VstIntPtr SilentHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
  return opcode == audioMasterVersion ? 2400 : 0;
}

// Counts the timer steps: every step calls each control's OnGUIIdle.
class StepCounter : public IPanelControl {
public:
  StepCounter(IEffectBase* plug, int* steps)
      : IPanelControl(plug, IRECT(150, 80, 190, 110), &COLOR_ORANGE), mSteps(steps)
  {
  }
  void OnGUIIdle() override { ++*mSteps; }

private:
  int* mSteps;
};

class EditorX11Test : public ::testing::Test {
public:
  void SetUp() override
  {
    ASSERT_TRUE(x.Ok()) << x.Problem();
    IEffectInstanceInfo info;
    info.mVSTHostCallback = &SilentHost;
    plug.reset(new ProbeEffect(info));
    gui = MakeGraphics(plug.get(), kW, kH);
    AttachBackground();
    gui->AttachControl(new IKnobLineControl(plug.get(), IRECT(10, 10, 70, 70), ProbeEffect::kGain,
                                            &COLOR_YELLOW, 5.0, 28.0));
    gui->AttachControl(new StepCounter(plug.get(), &steps));
    plug->AttachGraphics(gui);
    host = x.MakeHostWindow(kW, kH);
  }
  void TearDown() override
  {
    if (gui) gui->CloseWindow();
    plug.reset();  // deletes the editor
  }
  Window Open(bool allowShm = true)
  {
    gui->SetAllowSharedMemory(allowShm);
    EXPECT_NE(nullptr, gui->OpenWindow(reinterpret_cast<void*>(host)));
    const std::vector<Window> children = ChildWindows(x.display(), host);
    EXPECT_EQ(1u, children.size());
    return children.empty() ? 0 : children[0];
  }
  // The effect's own background image: bitmaps are clipped to each pass's
  // rectangle, so the whole draw bitmap stays current.
  virtual void AttachBackground() { gui->AttachBackground(101, "resources/img/bg.png"); }
  void SetGain(float v) { plug->GetAEffect()->setParameter(plug->GetAEffect(), ProbeEffect::kGain, v); }
  // Idles the editor until it has taken a timer step, lets the server
  // finish what the step sent, and compares the window with the bitmap.
  bool StepShows(Window view)
  {
    const int before = steps;
    if (!WaitUntil([&] {
          gui->OnEditIdle();
          return steps > before;
        }))
      return false;
    XSync(gui->GetView()->GetDisplay(), False);
    return WindowEqualsBitmap(view);
  }
  // Idles the editor until its window shows its draw bitmap again.
  bool ShowsAgain(Window view)
  {
    return WaitUntil([&] {
      gui->OnEditIdle();
      return WindowEqualsBitmap(view, false);
    });
  }
  bool WindowEqualsBitmap(Window view, bool report = true)
  {
    PIX_SysBitmap* bitmap = gui->GetDrawBitmap();
    const std::vector<uint32_t> shown = x.ReadPixels(view, 0, 0, kW, kH);
    if (!bitmap || shown.size() != static_cast<size_t>(kW * kH)) return false;
    int wrong = 0;
    for (int yy = 0; yy < kH; ++yy)
      for (int xx = 0; xx < kW; ++xx) {
        const uint32_t want = bitmap->getBits()[yy * bitmap->getRowSpan() + xx] & 0xFFFFFFu;
        if (shown[yy * kW + xx] != want && wrong++ < 3 && report)
          ADD_FAILURE() << "pixel " << xx << "," << yy << " shows " << std::hex << shown[yy * kW + xx]
                        << " not " << want;
      }
    return wrong == 0;
  }

  X11Harness x;
  std::unique_ptr<ProbeEffect> plug;
  IGraphicsLinux* gui = nullptr;
  int steps = 0;
  Window host = 0;
};

// The first step shows the whole bitmap; a knob the host turns is copied
// over at a later one.
void ExpectWindowFollowsTheBitmap(EditorX11Test* t, bool allowShm)
{
  const Window view = t->Open(allowShm);
  ASSERT_TRUE(t->StepShows(view));
  EXPECT_EQ(allowShm, t->gui->GetView()->UsesSharedMemory());
  const std::vector<uint32_t> knob = t->x.ReadPixels(view, 10, 10, 60, 60);
  t->SetGain(allowShm ? 0.1f : 0.9f);
  EXPECT_TRUE(t->StepShows(view));
  EXPECT_NE(knob, t->x.ReadPixels(view, 10, 10, 60, 60));
}

TEST_F(EditorX11Test, TheWindowShowsTheDrawBitmapThroughSharedMemory)
{
  ExpectWindowFollowsTheBitmap(this, true);
}

TEST_F(EditorX11Test, TheWindowShowsTheDrawBitmapThroughTheConnection)
{
  ExpectWindowFollowsTheBitmap(this, false);
}

TEST_F(EditorX11Test, ExposedAreasAreCopiedAgain)
{
  const Window view = Open();
  ASSERT_TRUE(StepShows(view));
  // Another client paints over the window and has the server expose it.
  XSetWindowBackground(x.display(), view, 0x00FF00);
  XClearArea(x.display(), view, 20, 20, 100, 50, True);
  XSync(x.display(), False);
  EXPECT_FALSE(WindowEqualsBitmap(view, false));
  EXPECT_TRUE(ShowsAgain(view));
}

// A plain colour background: a pass fills it beyond its own rectangle,
// over controls the pass does not redraw.
class PanelEditorX11Test : public EditorX11Test {
protected:
  void AttachBackground() override
  {
    const IColor panel(255, 30, 90, 140);
    gui->AttachPanelBackground(&panel);
  }
  uint32_t WindowPixel(Window view, int px, int py) { return x.ReadPixels(view, px, py, 1, 1).at(0); }
};

TEST_F(PanelEditorX11Test, AnExposureRedrawsTheControlsItUncovers)
{
  const Window view = Open();
  ASSERT_TRUE(StepShows(view));
  const uint32_t orange = 0xFF7F00;  // the step counter's colour
  ASSERT_EQ(orange, WindowPixel(view, 160, 90));
  // A pass for the knob alone.
  const int before = steps;
  SetGain(0.4f);
  ASSERT_TRUE(WaitUntil([&] {
    gui->OnEditIdle();
    return steps > before;
  }));
  // Uncovered, the counter shows again, not the background painted over it.
  XSetWindowBackground(x.display(), view, 0x00FF00);
  XClearArea(x.display(), view, 140, 70, 60, 50, True);
  XSync(x.display(), False);
  EXPECT_TRUE(WaitUntil([&] {
    gui->OnEditIdle();
    XSync(gui->GetView()->GetDisplay(), False);
    return WindowPixel(view, 160, 90) == orange;
  })) << std::hex
      << WindowPixel(view, 160, 90);
}

TEST_F(PanelEditorX11Test, AClosedFieldShowsTheControlsUnderIt)
{
  const Window view = Open();
  ASSERT_TRUE(StepShows(view));
  const uint32_t orange = 0xFF7F00;
  IText text;
  IRECT r(140, 70, 195, 100);
  gui->CreateTextEntry(gui->GetControl(1), &text, &r, "1", nullptr);
  XSync(gui->GetView()->GetDisplay(), False);
  ASSERT_EQ(0xFFFFFFu, WindowPixel(view, 142, 72));
  // A pass for the knob alone paints the background beyond it.
  const int before = steps;
  SetGain(0.6f);
  ASSERT_TRUE(WaitUntil([&] {
    gui->OnEditIdle();
    return steps > before;
  }));
  gui->ForceEndUserEdit();
  XSync(gui->GetView()->GetDisplay(), False);
  EXPECT_EQ(orange, WindowPixel(view, 160, 90));
}

TEST_F(EditorX11Test, TheTextFieldIsPartOfTheBitmapWhileOpenAndLeavesNoTrace)
{
  const Window view = Open();
  ASSERT_TRUE(StepShows(view));
  PIX_SysBitmap* bitmap = gui->GetDrawBitmap();
  const int span = bitmap->getRowSpan();
  IText text(14);
  text.mTextEntryBGColor = IColor(255, 250, 250, 210);
  IRECT r(20, 30, 100, 50);
  gui->CreateTextEntry(gui->GetControl(1), &text, &r, "-12.5", plug->GetParam(ProbeEffect::kGain));
  ASSERT_TRUE(gui->GetView()->HasTextEntry());
  EXPECT_TRUE(gui->GetView()->KeyboardGrabbed());
  EXPECT_EQ(0xFFFAFAD2u, bitmap->getBits()[31 * span + 21]);
  XSync(gui->GetView()->GetDisplay(), False);
  EXPECT_TRUE(WindowEqualsBitmap(view));
  // A second request while one is open is ignored.
  gui->CreateTextEntry(gui->GetControl(1), &text, &r, "other", nullptr);
  EXPECT_EQ("-12.5", gui->GetView()->TextEntry().Text());

  // The knob under the field redraws while it is open; the field stays on top.
  SetGain(0.2f);
  EXPECT_TRUE(StepShows(view));
  EXPECT_EQ(0xFFFAFAD2u, bitmap->getBits()[31 * span + 21]);

  // Closed without a commit, it leaves the picture a full redraw makes,
  // with the knob as it turned meanwhile.
  gui->ForceEndUserEdit();
  EXPECT_FALSE(gui->GetView()->HasTextEntry());
  EXPECT_FALSE(gui->GetView()->KeyboardGrabbed());
  XSync(gui->GetView()->GetDisplay(), False);
  EXPECT_TRUE(WindowEqualsBitmap(view));
  const std::vector<PIX_pixel> closed(bitmap->getBits(), bitmap->getBits() + kH * span);
  gui->SetAllControlsDirty();
  IRECT all(0, 0, kW, kH);
  gui->Draw(&all);
  EXPECT_TRUE(std::equal(closed.begin(), closed.end(), bitmap->getBits()));
  EXPECT_NEAR(0.2f, plug->GetAEffect()->getParameter(plug->GetAEffect(), ProbeEffect::kGain), 1e-3f);
}

TEST_F(EditorX11Test, TheTimerStepKeepsToTheFrameRateHoweverOftenTheHostIdles)
{
  const Window view = Open();
  ASSERT_NE(0u, view);
  steps = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 300; ++i) {
    gui->OnEditIdle();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  const double elapsedMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LE(steps, static_cast<int>(elapsedMs / 40.0) + 1);
  EXPECT_GE(steps, 1);
}

TEST_F(EditorX11Test, ResizeGivesTheWindowTheNewSize)
{
  const Window view = Open();
  gui->Resize(kW, kH);
  EXPECT_EQ(3, gui->NControls());
  gui->Resize(150, 90);
  XWindowAttributes a;
  XSync(gui->GetView()->GetDisplay(), False);
  ASSERT_TRUE(XGetWindowAttributes(x.display(), view, &a));
  EXPECT_EQ(150, a.width);
  EXPECT_EQ(90, a.height);
}

TEST_F(EditorX11Test, AParentThatDoesNotExistOpensNothing)
{
  EXPECT_EQ(nullptr, gui->OpenWindow(reinterpret_cast<void*>(static_cast<uintptr_t>(0x7FFFFF0))));
  EXPECT_FALSE(gui->WindowIsOpen());
  gui->OnEditIdle();
  // And the editor opens fine afterwards.
  EXPECT_NE(0u, Open());
}

TEST_F(EditorX11Test, AWindowDestroyedUnderTheEditorClosesItsView)
{
  const Window view = Open();
  ASSERT_TRUE(StepShows(view));
  x.DestroyWindow(host);
  ASSERT_TRUE(WaitUntil([&] {
    gui->OnEditIdle();
    return !gui->WindowIsOpen();
  }));
  gui->CloseWindow();
}

// ---- The error trap ----

int s_hostErrors = 0;
int HostHandler(Display*, XErrorEvent*)
{
  ++s_hostErrors;
  return 0;
}

TEST(LinuxXErrorTrap, ErrorsOfTheTrappedConnectionStayOutOfTheHostsHandler)
{
  Display* editor = XOpenDisplay(nullptr);
  Display* hostDisplay = XOpenDisplay(nullptr);
  ASSERT_TRUE(editor && hostDisplay) << "these tests need a running X server";
  XErrorHandler before = XSetErrorHandler(HostHandler);
  s_hostErrors = 0;
  const unsigned long trapped = LinuxXErrorTrap::ErrorCount();
  {
    LinuxXErrorTrap trap(editor);
    {
      LinuxXErrorTrap nested(editor);
      XDestroyWindow(editor, 0x7FFFFF1);  // no such window
      XSync(editor, False);
    }
    XUnmapWindow(editor, 0x7FFFFF2);
    XSync(editor, False);
    // Another connection's error goes on to the host's handler.
    XDestroyWindow(hostDisplay, 0x7FFFFF3);
    XSync(hostDisplay, False);
  }
  EXPECT_EQ(trapped + 2, LinuxXErrorTrap::ErrorCount());
  EXPECT_EQ(1, s_hostErrors);
  // Out of the trap, the host's handler is back.
  XDestroyWindow(editor, 0x7FFFFF4);
  XSync(editor, False);
  EXPECT_EQ(2, s_hostErrors);
  EXPECT_EQ(HostHandler, XSetErrorHandler(before));
  XCloseDisplay(hostDisplay);
  XCloseDisplay(editor);
}

}  // namespace
