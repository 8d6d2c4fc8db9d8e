// The X11 editor as a host meets it: the probe plug-in loaded with dlopen,
// its editor opened into a window the test makes, idled from a host
// user-interface thread, and driven with real X input (XTest) on a real X
// server. The probe reports what each platform service answered through
// the host callback.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <memory>
#include <string>
#include <thread>
#include <vector>

// Before anything that includes Xlib, whose macros clash with their names.
#include "tests/framework/linux/x11_probe_effect.h"
#include "tests/framework/vst/vst_harness.h"

#include <X11/keysym.h>

#include "tests/framework/linux/clipboard_owner.h"
#include "tests/framework/linux/standin_programs.h"
#include "tests/framework/linux/x11_editor_host.h"
#include "tests/framework/linux/x11_harness.h"

namespace {

const int kW = ProbeX11Effect::kEditorWidth, kH = ProbeX11Effect::kEditorHeight;
const uint32_t kPanelPixel = 0x3C3C46;  // the probe's background colour
const uint32_t kWhite = 0xFFFFFF;
const uint32_t kYellow = 0xFFFF00;  // the text control's field

// The gain parameter's normalized value for a plain one (-60 ... 12 dB).
float GainNormalized(double dB) { return static_cast<float>((dB + 60.0) / 72.0); }

PluginModule& ProbeModule()
{
  static PluginModule module(X11_PROBE_PATH);
  return module;
}

unsigned long KeySymOf(char c)
{
  if (c >= '0' && c <= '9') return XK_0 + (c - '0');
  if (c >= 'a' && c <= 'z') return XK_a + (c - 'a');
  if (c == '-') return XK_minus;
  if (c == '.') return XK_period;
  if (c == ' ') return XK_space;
  return XK_question;
}

class ProbeEditorTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(x.Ok()) << x.Problem();
    ASSERT_TRUE(ProbeModule().Loaded()) << ProbeModule().Error();
    ProbeHost::Get().Reset();
    e = ProbeModule().Instantiate(&ProbeHost::Callback);
    ASSERT_NE(e, nullptr);
    ui.reset(new HostUIThread(e));
    ui->Dispatch(effOpen);
    host = x.MakeHostWindow(kW + 20, kH + 20);
    // The host's window has the keyboard focus, as a host's has when the
    // user works in it (whatever an earlier test left behind).
    XSetInputFocus(x.display(), host, RevertToPointerRoot, CurrentTime);
    XSync(x.display(), False);
  }
  void TearDown() override
  {
    if (!ui) return;
    ui->Idle(0);
    ui->Dispatch(effEditClose);
    ui->Dispatch(effClose);
    ui.reset();
  }

  // Opens the editor into the host window, idles it every periodMs and
  // waits until its window shows the editor.
  void OpenEditor(int periodMs = 10)
  {
    ASSERT_EQ(1, ui->Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(host)));
    const std::vector<Window> children = ChildWindows(x.display(), host);
    ASSERT_EQ(1u, children.size());
    view = children[0];
    ui->Idle(periodMs);
    ASSERT_TRUE(WaitUntil([&] { return Pixel(160, 150) == kPanelPixel; })) << "the editor never showed";
  }
  uint32_t Pixel(int px, int py)
  {
    const std::vector<uint32_t> p = x.ReadPixels(view, px, py, 1, 1);
    return p.empty() ? 0 : p[0];
  }
  void ClickAt(int px, int py, unsigned button = Button1)
  {
    x.MovePointer(view, px, py);
    x.Click(button);
  }
  void Type(const std::string& text)
  {
    for (char c : text) x.Tap(KeySymOf(c));
  }
  // Whether some client holds the keyboard: a grab of the test's own
  // fails then. Only asked while no grab of the editor is on its way.
  bool KeyboardGrabbed()
  {
    const int r = XGrabKeyboard(x.display(), host, False, GrabModeAsync, GrabModeAsync, CurrentTime);
    if (r == GrabSuccess) XUngrabKeyboard(x.display(), CurrentTime);
    XSync(x.display(), False);
    return r == AlreadyGrabbed;
  }
  // Opens the gain knob's value field (a right click) and empties it.
  void OpenGainField()
  {
    ClickAt(42, 42, Button3);
    // The field is a white box of 40 x 16 centred on the knob.
    ASSERT_TRUE(WaitUntil([&] { return Pixel(24, 36) == kWhite; })) << "no value field";
    x.Tap(XK_End);
    for (int i = 0; i < 12; ++i) x.Tap(XK_BackSpace);
  }
  bool GainBecomes(double dB)
  {
    return WaitUntil(
        [&] { return std::fabs(e->getParameter(e, ProbeEffect::kGain) - GainNormalized(dB)) < 1e-5f; });
  }
  ProbeReport Expect(int kind, int timeoutMs = 5000)
  {
    ProbeReport r;
    EXPECT_TRUE(ProbeHost::Get().Wait(kind, &r, timeoutMs)) << "no report " << kind;
    return r;
  }

  X11Harness x;
  AEffect* e = nullptr;
  std::unique_ptr<HostUIThread> ui;
  Window host = 0, view = 0;
};

// ---- The text field ----

TEST_F(ProbeEditorTest, ValueFieldFiltersLimitsCommitsAndCancelsWithTheKeyboardGrabbedOnlyWhileOpen)
{
  OpenEditor();
  EXPECT_FALSE(KeyboardGrabbed());

  // Letters are refused by a double parameter's field; the rest commits.
  OpenGainField();
  EXPECT_TRUE(KeyboardGrabbed());
  Type("abc-12.5");
  x.Tap(XK_Return);
  EXPECT_TRUE(GainBecomes(-12.5));
  ASSERT_TRUE(WaitUntil([&] { return Pixel(24, 36) != kWhite; }));
  EXPECT_FALSE(KeyboardGrabbed());

  // Seven characters at most: the eighth does not arrive.
  OpenGainField();
  Type("00000012");
  x.Tap(XK_Return);
  EXPECT_TRUE(GainBecomes(1.0));

  // Escape leaves the value as it was.
  OpenGainField();
  Type("5");
  x.Tap(XK_Escape);
  ASSERT_TRUE(WaitUntil([&] { return Pixel(24, 36) != kWhite; }));
  EXPECT_FALSE(KeyboardGrabbed());
  EXPECT_TRUE(GainBecomes(1.0));

  // Caret keys edit in the middle; a click outside commits.
  OpenGainField();
  Type("-35");
  x.Tap(XK_Left);
  x.Tap(XK_BackSpace);  // "-5"
  x.Tap(XK_Home);
  x.Tap(XK_Delete);  // "5"
  x.Tap(XK_End);
  Type(".5");
  ClickAt(160, 150);
  EXPECT_TRUE(GainBecomes(5.5));
  EXPECT_FALSE(KeyboardGrabbed());
}

TEST_F(ProbeEditorTest, PastingPutsTheClipboardsFirstLineInThroughTheFilter)
{
  OpenEditor();
  {
    ClipboardOwner owner("-7.5\nsecond line", ClipboardOwner::kAnswer);
    OpenGainField();
    x.Key(XK_Control_L, true);
    x.Tap(XK_v);
    x.Key(XK_Control_L, false);
    x.Tap(XK_Return);
    EXPECT_TRUE(GainBecomes(-7.5)) << e->getParameter(e, ProbeEffect::kGain) * 72.0 - 60.0;
    EXPECT_EQ(1, owner.Requests());
  }
  {
    // Text the field does not take is not pasted at all.
    ClipboardOwner owner("4 dB", ClipboardOwner::kAnswer);
    OpenGainField();
    Type("3");
    x.Key(XK_Shift_L, true);
    x.Tap(XK_Insert);
    x.Key(XK_Shift_L, false);
    x.Tap(XK_Return);
    EXPECT_TRUE(GainBecomes(3.0));
  }
}

TEST_F(ProbeEditorTest, AFieldWithoutParameterHandsItsTextToTheControl)
{
  OpenEditor();
  ClickAt(140, 105);
  ASSERT_TRUE(WaitUntil([&] { return Pixel(82, 92) == kYellow; })) << "no text field";
  // "hello" is there with the caret at its end; any text goes.
  x.Tap(XK_BackSpace);
  Type(" world");
  x.Tap(XK_Return);
  EXPECT_EQ("hell world", Expect(kReportText).text);
  // A wheel step closes a field without committing it. (The click lands
  // far enough from the first not to pair with it.)
  ClickAt(150, 112);
  ASSERT_TRUE(WaitUntil([&] { return Pixel(82, 92) == kYellow; })) << "no text field";
  Type("xyz");
  x.Click(Button4);
  ASSERT_TRUE(WaitUntil([&] { return !KeyboardGrabbed(); }));
  EXPECT_FALSE(ProbeHost::Get().Wait(kReportText, nullptr, 300));
}

// ---- Popup menus ----

TEST_F(ProbeEditorTest, MenuChosenWithTheKeyboardSkipsSeparatorsAndDisabledItemsAndEntersTheSubmenu)
{
  OpenEditor();
  ClickAt(200, 25);
  std::vector<PopupWindow> popups;
  ASSERT_TRUE(WaitForPopups(x.display(), 1, &popups));
  // Placed right under the button.
  int vx = 0, vy = 0;
  Window child;
  XTranslateCoordinates(x.display(), view, x.root(), 170, 40, &vx, &vy, &child);
  EXPECT_EQ(vx, popups[0].x);
  EXPECT_EQ(vy, popups[0].y);

  // Alpha, Beta, (separator, disabled Gamma skipped), Delta, More.
  for (int i = 0; i < 4; ++i) x.Tap(XK_Down);
  x.Tap(XK_Right);
  ASSERT_TRUE(WaitForPopups(x.display(), 2, &popups));
  x.Tap(XK_Down);  // the submenu opened on its first item
  x.Tap(XK_Return);
  const ProbeReport r = Expect(kReportMenu);
  EXPECT_EQ("sub", r.text);
  EXPECT_EQ(1, r.value);
  EXPECT_TRUE(WaitForPopups(x.display(), 0, nullptr));
}

TEST_F(ProbeEditorTest, MenuChosenWithTheMouseIncludingASubmenuItem)
{
  OpenEditor();
  // Rows: Alpha, Beta, separator, Gamma, Delta, More; a frame of one
  // pixel, five item rows of one height and a separator of seven.
  ClickAt(200, 25);
  std::vector<PopupWindow> popups;
  ASSERT_TRUE(WaitForPopups(x.display(), 1, &popups));
  const PopupWindow menu = popups[0];
  const int row = (menu.height - 2 - 7) / 5;
  x.MovePointer(x.root(), menu.x + menu.width / 2, menu.y + 1 + row + row / 2);  // Beta
  x.Click(Button1);
  ProbeReport r = Expect(kReportMenu);
  EXPECT_EQ("main", r.text);
  EXPECT_EQ(1, r.value);
  ASSERT_TRUE(WaitForPopups(x.display(), 0, nullptr));

  // Hovering More opens the submenu; its third item is chosen.
  ClickAt(200, 25);
  ASSERT_TRUE(WaitForPopups(x.display(), 1, &popups));
  x.MovePointer(x.root(), menu.x + menu.width / 2, menu.y + 1 + 4 * row + 7 + row / 2);
  ASSERT_TRUE(WaitForPopups(x.display(), 2, &popups));
  const PopupWindow sub = popups[1];
  EXPECT_EQ(menu.x + menu.width - 1, sub.x);  // beside its parent, overlapping the frame
  const int subRow = (sub.height - 2) / 3;
  x.MovePointer(x.root(), sub.x + sub.width / 2, sub.y + 1 + 2 * subRow + subRow / 2);
  x.Click(Button1);
  r = Expect(kReportMenu);
  EXPECT_EQ("sub", r.text);
  EXPECT_EQ(2, r.value);

  // The disabled item and the separator choose nothing; a click outside
  // dismisses the menu with nothing chosen.
  ClickAt(200, 25);
  ASSERT_TRUE(WaitForPopups(x.display(), 1, &popups));
  x.MovePointer(x.root(), menu.x + menu.width / 2, menu.y + 1 + 2 * row + 7 + row / 2);  // Gamma
  x.Click(Button1);
  x.MovePointer(x.root(), menu.x + menu.width / 2, menu.y + 1 + 2 * row + 3);  // the separator
  x.Click(Button1);
  EXPECT_EQ(1u, FindPopups(x.display()).size());
  ClickAt(300, 5);
  r = Expect(kReportMenu);
  EXPECT_EQ(-1, r.value);
  EXPECT_EQ("", r.text);
  // Escape dismisses too.
  ClickAt(200, 25);
  ASSERT_TRUE(WaitForPopups(x.display(), 1, &popups));
  x.Tap(XK_Escape);
  EXPECT_EQ(-1, Expect(kReportMenu).value);
}

TEST_F(ProbeEditorTest, AnEnumeratedParameterIsChosenFromAMenuOfItsDisplayTexts)
{
  OpenEditor();
  EXPECT_FLOAT_EQ(0.5f, e->getParameter(e, ProbeEffect::kMode));  // "Hard", the second of three
  ClickAt(120, 40, Button3);
  ASSERT_TRUE(WaitForPopups(x.display(), 1, nullptr));
  x.Tap(XK_Up);  // from nothing lit, Up goes to the last item
  x.Tap(XK_Return);
  EXPECT_TRUE(WaitUntil([&] { return e->getParameter(e, ProbeEffect::kMode) == 1.0f; }));
  // The gesture the right click began ended when the menu closed.
  EXPECT_TRUE(WaitUntil([&] {
    return ProbeHost::Get().Calls(audioMasterEndEdit) == ProbeHost::Get().Calls(audioMasterBeginEdit);
  }));
  EXPECT_GE(ProbeHost::Get().Calls(audioMasterBeginEdit), 1);

  // Pressed on the knob, dragged into the menu and released on "Soft":
  // chosen, and the gesture ends on the knob all the same.
  x.MovePointer(view, 110, 30);
  x.Button(Button3, true);
  std::vector<PopupWindow> popups;
  ASSERT_TRUE(WaitForPopups(x.display(), 1, &popups));
  const int row = (popups[0].height - 2) / 3;
  x.MovePointer(x.root(), popups[0].x + popups[0].width / 2, popups[0].y + 1 + row / 2);
  x.Button(Button3, false);
  EXPECT_TRUE(WaitUntil([&] { return e->getParameter(e, ProbeEffect::kMode) == 0.0f; }));
  EXPECT_TRUE(WaitUntil([&] {
    return ProbeHost::Get().Calls(audioMasterEndEdit) == ProbeHost::Get().Calls(audioMasterBeginEdit);
  }));
  EXPECT_EQ(2, ProbeHost::Get().Calls(audioMasterBeginEdit));
}

// ---- Tooltips ----

TEST_F(ProbeEditorTest, TooltipShowsAfterThePointerRestsOverAControlWithOne)
{
  OpenEditor();
  x.MovePointer(view, 30, 30);
  x.MovePointer(view, 32, 31);
  std::vector<PopupWindow> popups;
  ASSERT_TRUE(WaitForPopups(x.display(), 1, &popups, 3000)) << "no tooltip";
  int px = 0, py = 0;
  x.PointerOnScreen(&px, &py);
  EXPECT_EQ(py + 20, popups[0].y);  // below the pointer
  EXPECT_GT(popups[0].width, 10);
  // Leaving the control takes it away; a control without one shows none.
  x.MovePointer(view, 120, 40);
  EXPECT_TRUE(WaitForPopups(x.display(), 0, nullptr));
  std::this_thread::sleep_for(std::chrono::milliseconds(800));
  EXPECT_TRUE(FindPopups(x.display()).empty());
}

// ---- Mouse and keys ----

TEST_F(ProbeEditorTest, MouseEventsCarryTheModifierRecordWheelStepsAndDoubleClicks)
{
  OpenEditor();
  x.MapSuperToMod4();
  x.MovePointer(view, 250, 120);
  x.Click(Button1);
  ProbeReport r = Expect(kReportMouseDown);
  EXPECT_EQ(kModL, r.value);
  EXPECT_EQ(250 * 1000 + 120, static_cast<int>(r.opt));  // window coordinates as they are
  EXPECT_EQ(kModL, Expect(kReportMouseUp).value);

  // A press 450 ms after the last one is a press again; one within 400 ms
  // and 4 pixels of it is a double click.
  x.MovePointer(view, 252, 122);
  x.Button(Button1, true, 450);
  x.Button(Button1, false);
  EXPECT_EQ(kModL, Expect(kReportMouseDown).value);
  x.MovePointer(view, 255, 125);
  x.Click(Button1);
  EXPECT_EQ(kModL, Expect(kReportMouseDblClick).value);

  x.Key(XK_Shift_L, true);
  x.Click(Button3);
  x.Key(XK_Shift_L, false);
  EXPECT_EQ(kModR | kModS, Expect(kReportMouseDown).value);
  x.Key(XK_Super_L, true);
  x.Click(Button1);
  x.Key(XK_Super_L, false);
  EXPECT_EQ(kModL | kModR, Expect(kReportMouseDown).value);
  x.Key(XK_Control_L, true);
  x.Click(Button5);
  x.Key(XK_Control_L, false);
  r = Expect(kReportWheel);
  EXPECT_EQ(-1, r.value);
  EXPECT_EQ(kModL | kModC, static_cast<int>(r.opt));
  x.Click(Button4);
  EXPECT_EQ(1, Expect(kReportWheel).value);
}

TEST_F(ProbeEditorTest, KeysTheEditorDoesNotTakeGoToTheHostWindow)
{
  OpenEditor();
  XSelectInput(x.display(), host, KeyPressMask | StructureNotifyMask | ExposureMask);
  x.Drain();
  x.MovePointer(view, 160, 150);  // over the background: keys go to the key catcher
  x.Tap(XK_Up);
  EXPECT_EQ(1, Expect(kReportKey).value);
  x.Tap(XK_q);  // a letter the catcher is offered but does not take
  EXPECT_EQ(15 + ('q' - 'a'), Expect(kReportKey).value);
  XEvent ev;
  ASSERT_TRUE(x.WaitForEvent(host, KeyPress, &ev));
  EXPECT_EQ(XK_q, XLookupKeysym(&ev.xkey, 0));
  x.Tap(XK_F5);  // not in the key table at all
  ASSERT_TRUE(x.WaitForEvent(host, KeyPress, &ev));
  EXPECT_EQ(XK_F5, XLookupKeysym(&ev.xkey, 0));
  // The arrow the catcher took never reached the host.
  EXPECT_FALSE(x.WaitForEvent(host, KeyPress, &ev, 300));
}

TEST_F(ProbeEditorTest, DraggingTheKnobAutomatesItsParameterBetweenBeginAndEnd)
{
  OpenEditor();
  const float before = e->getParameter(e, ProbeEffect::kGain);
  x.MovePointer(view, 42, 60);
  x.Button(Button1, true);
  for (int y = 58; y >= 30; y -= 4) x.MovePointer(view, 42, y);
  x.Button(Button1, false);
  EXPECT_TRUE(WaitUntil([&] { return ProbeHost::Get().Calls(audioMasterEndEdit) == 1; }));
  EXPECT_EQ(1, ProbeHost::Get().Calls(audioMasterBeginEdit));
  EXPECT_GT(ProbeHost::Get().Calls(audioMasterAutomate), 0);
  // Upwards raises a vertical knob: 30 pixels of 64 at gearing 4.
  // (The parameter keeps steps of 0.1 dB of its 72.)
  EXPECT_NEAR(before + 30.0 / 64.0 / 4.0, e->getParameter(e, ProbeEffect::kGain), 0.1 / 72.0);
}

// ---- Dialogs, URL and paths through the desktop's programs ----

TEST_F(ProbeEditorTest, MessageBoxesGoThroughZenityElseKdialogWithEveryTextOneArgument)
{
  OpenEditor();
  StandInPrograms bin;
  bin.Add("zenity", 0);
  bin.Add("kdialog", 1);
  ClickAt(200, 65);
  EXPECT_EQ(1, Expect(kReportMessageBox).value);  // Yes
  const std::vector<std::string> args = bin.Args("zenity");
  bool textWhole = false, titleWhole = false;
  for (const std::string& a : args) {
    textWhole = textWhole || a == "--text=He said \"stop\"; rm -rf ~ & echo $HOME";
    titleWhole = titleWhole || a == "--title=Caption; 'quoted'";
  }
  EXPECT_TRUE(textWhole);
  EXPECT_TRUE(titleWhole);
  EXPECT_FALSE(bin.Ran("kdialog"));

  // Without zenity, kdialog: its No answers 7. (The click lands far
  // enough from the first not to pair with it.)
  std::remove((bin.Folder() + "/zenity").c_str());
  ClickAt(190, 72);
  EXPECT_EQ(7, Expect(kReportMessageBox).value);
  const std::vector<std::string> kargs = bin.Args("kdialog");
  ASSERT_GE(kargs.size(), 4u);
  EXPECT_EQ("--yesno", kargs[2]);
  EXPECT_EQ("He said \"stop\"; rm -rf ~ & echo $HOME", kargs[3]);
}

TEST_F(ProbeEditorTest, FilePromptsReturnTheChosenFileAndItsFolder)
{
  OpenEditor();
  StandInPrograms bin;
  bin.Add("zenity", 0, "/tmp/chosen dir/bank.fxb\n");
  ClickAt(275, 25);
  ProbeReport r = Expect(kReportFile);
  EXPECT_EQ(0, r.value);
  EXPECT_EQ("/tmp/chosen dir/bank.fxb\n/tmp/chosen dir/", r.text);
  bool startsInFolder = false;
  for (const std::string& a : bin.Args("zenity"))
    startsInFolder = startsInFolder || a == "--filename=/tmp/probe dir/preset";
  EXPECT_TRUE(startsInFolder);

  // Saving: a name without one of the types gets the first.
  std::remove((bin.Folder() + "/zenity").c_str());
  bin.Add("kdialog", 0, "/tmp/out/mine\n");
  ClickAt(275, 65);
  r = Expect(kReportFile);
  EXPECT_EQ(1, r.value);
  EXPECT_EQ("/tmp/out/mine.fxp\n/tmp/out/", r.text);
}

TEST_F(ProbeEditorTest, WithoutDialogProgramsNothingIsChosenAndNothingWaits)
{
  OpenEditor();
  StandInPrograms bin;  // an empty PATH
  ClickAt(200, 65);
  EXPECT_EQ(0, Expect(kReportMessageBox).value);
  ClickAt(275, 25);
  EXPECT_EQ("\n/tmp/probe dir", Expect(kReportFile).text);
  ClickAt(40, 105);
  EXPECT_EQ(0, Expect(kReportURL).value);
  // The editor still answers at once.
  ClickAt(250, 150);
  EXPECT_TRUE(ProbeHost::Get().Wait(kReportMouseDown, nullptr, 2000));
}

TEST_F(ProbeEditorTest, OpenURLStartsXdgOpenWithTheAddressAsItsOneArgument)
{
  OpenEditor();
  StandInPrograms bin;
  bin.Add("xdg-open", 0);
  ClickAt(40, 105);
  EXPECT_EQ(1, Expect(kReportURL).value);
  ASSERT_TRUE(bin.WaitForRun("xdg-open", 5000));
  EXPECT_EQ(std::vector<std::string>{"https://example.com/a page?q=\"x\";y"}, bin.Args("xdg-open"));
}

TEST_F(ProbeEditorTest, PathsNameThePluginModuleAndTheApiIsX11)
{
  OpenEditor();
  ClickAt(40, 160);
  const ProbeReport r = Expect(kReportPaths);
  const std::string module = X11_PROBE_PATH;
  const std::string folder = module.substr(0, module.rfind('/') + 1);
  EXPECT_EQ("X11 GUI\n" + folder + "\n" + module, r.text);
  EXPECT_GT(r.value, 0x00030000);  // a kernel of version 3 or later
}

// ---- Hosts that idle slowly, early or late ----

TEST_F(ProbeEditorTest, WorksWhenTheHostIdlesOnlyEveryHundredMilliseconds)
{
  OpenEditor(100);
  OpenGainField();
  Type("-6");
  x.Tap(XK_Return);
  EXPECT_TRUE(GainBecomes(-6.0));
  // Automation from another thread reaches the window at a later tick.
  const std::vector<uint32_t> knobBefore = x.ReadPixels(view, 10, 10, 64, 64);
  e->setParameter(e, ProbeEffect::kGain, 0.0f);
  EXPECT_TRUE(WaitUntil([&] { return x.ReadPixels(view, 10, 10, 64, 64) != knobBefore; }));
}

TEST_F(ProbeEditorTest, IdleBeforeOpenAndAfterCloseDoesNothing)
{
  EXPECT_EQ(0, ui->Dispatch(effEditIdle));
  EXPECT_TRUE(ChildWindows(x.display(), host).empty());
  OpenEditor();
  ui->Idle(0);
  EXPECT_EQ(1, ui->Dispatch(effEditClose));
  EXPECT_TRUE(ChildWindows(x.display(), host).empty());
  EXPECT_EQ(0, ui->Dispatch(effEditIdle));
  EXPECT_EQ(0, ui->Dispatch(effEditIdle));
  EXPECT_TRUE(ChildWindows(x.display(), host).empty());
}

// ---- Opening and closing ----

TEST_F(ProbeEditorTest, OpeningTwiceKeepsOneViewAndManyCyclesLeaveNoWindowBehind)
{
  OpenEditor();
  ASSERT_EQ(1, ui->Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(host)));
  EXPECT_EQ(1u, ChildWindows(x.display(), host).size());
  ui->Idle(0);
  for (int i = 0; i < 200; ++i) {
    ASSERT_EQ(1, ui->Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(host)));
    ui->Dispatch(effEditIdle);
    ASSERT_EQ(1, ui->Dispatch(effEditClose));
  }
  EXPECT_TRUE(ChildWindows(x.display(), host).empty());
  EXPECT_TRUE(FindPopups(x.display()).empty());
}

TEST_F(ProbeEditorTest, ClosesWhileAudioRunsAndAutomationArrivesOnOtherThreads)
{
  std::atomic<bool> stop{false};
  std::atomic<long> blocks{0};
  std::thread audio([&] {
    std::vector<float> in(256, 0.25f), out(256);
    float* ins[2] = {in.data(), in.data()};
    float* outs[2] = {out.data(), out.data()};
    while (!stop) {
      e->processReplacing(e, ins, outs, 128);
      ++blocks;
    }
  });
  std::thread automation([&] {
    for (int i = 0; !stop; ++i) {
      e->setParameter(e, ProbeEffect::kGain, (i % 100) / 100.0f);
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  });
  for (int i = 0; i < 20; ++i) {
    ASSERT_EQ(1, ui->Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(host)));
    for (int j = 0; j < 5; ++j) {
      ui->Dispatch(effEditIdle);
      std::this_thread::sleep_for(std::chrono::milliseconds(8));
    }
    ui->Dispatch(effEditClose);
  }
  stop = true;
  audio.join();
  automation.join();
  EXPECT_GT(blocks.load(), 0);
  EXPECT_TRUE(ChildWindows(x.display(), host).empty());
}

TEST_F(ProbeEditorTest, AHostThatDestroysItsWindowFirstLosesNothing)
{
  OpenEditor();
  // The host tears its window down before it closes the editor.
  x.DestroyWindow(host);
  ui->WaitIdles(3);
  EXPECT_EQ(1, ui->Dispatch(effEditClose));
  // The plug-in (and the host process) carry on.
  EXPECT_EQ(0, ui->Dispatch(effEditIdle));
  host = x.MakeHostWindow(kW, kH);
  OpenEditor();
}

}  // namespace
