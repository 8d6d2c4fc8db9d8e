// The Xlib helpers against a real X server: the screen copy with and
// without shared memory, the clipboard owned by another client, hiding and
// showing the cursor, and real XTest input read through the key table,
// the modifier record and the double-click rule.

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include <X11/Xatom.h>
#include <X11/keysym.h>

#include "base/string.h"
#include "framework/linux/LinuxClipboard.h"
#include "framework/linux/LinuxCursor.h"
#include "framework/linux/LinuxKeys.h"
#include "framework/linux/LinuxMouse.h"
#include "framework/linux/LinuxScreenCopy.h"
#include "tests/framework/linux/clipboard_owner.h"
#include "tests/framework/linux/x11_harness.h"

namespace {

const int kW = 303, kH = 436;

class X11Test : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(x.Ok()) << x.Problem();
    host = x.MakeHostWindow(kW + 40, kH + 40);
    view = x.MakeChildWindow(host, 20, 20, kW, kH,
                             ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask |
                                 KeyReleaseMask | ExposureMask);
  }
  X11Harness x;
  Window host = 0, view = 0;
};

// A bitmap whose every byte varies, with rows padded beyond the width.
struct Bitmap {
  int width, height, rowBytes;
  std::vector<uint32_t> pixels;
  Bitmap(int w, int h, int pad) : width(w), height(h), rowBytes((w + pad) * 4), pixels((size_t)(w + pad) * h)
  {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w + pad; ++x)
        pixels[(size_t)y * (w + pad) + x] = 0xA5000000u | (uint32_t)((x * 7 + y) & 0xFF) << 16 |
                                            (uint32_t)((y * 3) & 0xFF) << 8 | ((x ^ y) & 0xFF);
  }
  uint32_t At(int x, int y) const { return pixels[(size_t)y * (rowBytes / 4) + x] & 0xFFFFFFu; }
};

void ExpectWindowShows(X11Harness& x, Window view, const Bitmap& bm, int left, int top, int w, int h)
{
  const std::vector<uint32_t> shown = x.ReadPixels(view, left, top, w, h);
  ASSERT_EQ((size_t)w * h, shown.size());
  int wrong = 0;
  for (int y = 0; y < h; ++y)
    for (int col = 0; col < w; ++col)
      if (shown[(size_t)y * w + col] != bm.At(left + col, top + y) && wrong++ < 3)
        ADD_FAILURE() << "pixel " << left + col << "," << top + y << " shows " << std::hex
                      << shown[(size_t)y * w + col] << " instead of " << bm.At(left + col, top + y);
  EXPECT_EQ(0, wrong);
}

void RoundTrip(X11Harness& x, Window view, bool allowShm)
{
  Bitmap bm(kW, kH, 5);
  LinuxScreenCopy copy(x.display(), view, allowShm);
  EXPECT_TRUE(copy.DirectPixels());
  ASSERT_TRUE(copy.Put(bm.pixels.data(), kW, kH, bm.rowBytes, 0, 0, kW, kH));
  EXPECT_EQ(allowShm, copy.UsesShm());
  XSync(x.display(), False);
  ExpectWindowShows(x, view, bm, 0, 0, kW, kH);

  // A later partial copy changes only its own rectangle.
  Bitmap changed = bm;
  for (uint32_t& p : changed.pixels) p ^= 0x00FFFFFFu;
  ASSERT_TRUE(copy.Put(changed.pixels.data(), kW, kH, changed.rowBytes, 100, 50, 60, 40));
  XSync(x.display(), False);
  ExpectWindowShows(x, view, changed, 100, 50, 60, 40);
  ExpectWindowShows(x, view, bm, 0, 0, kW, 50);
  ExpectWindowShows(x, view, bm, 0, 90, kW, kH - 90);
  ExpectWindowShows(x, view, bm, 0, 50, 100, 40);

  // Parts reaching outside the bitmap are cut to it; nothing left is no copy.
  EXPECT_TRUE(copy.Put(changed.pixels.data(), kW, kH, changed.rowBytes, -10, -10, 30, 30));
  XSync(x.display(), False);
  ExpectWindowShows(x, view, changed, 0, 0, 20, 20);
  EXPECT_FALSE(copy.Put(changed.pixels.data(), kW, kH, changed.rowBytes, kW, 0, 10, 10));
  EXPECT_FALSE(copy.Put(nullptr, kW, kH, changed.rowBytes, 0, 0, kW, kH));
  EXPECT_FALSE(copy.Put(changed.pixels.data(), kW, kH, kW * 4 - 4, 0, 0, kW, kH));
}

TEST_F(X11Test, ScreenCopyThroughSharedMemory) { RoundTrip(x, view, true); }

TEST_F(X11Test, ScreenCopyThroughTheConnection) { RoundTrip(x, view, false); }

TEST_F(X11Test, ScreenCopyFollowsABitmapThatChangesSize)
{
  LinuxScreenCopy copy(x.display(), view);
  Bitmap small(40, 30, 0), large(kW, kH, 3);
  ASSERT_TRUE(copy.Put(small.pixels.data(), 40, 30, small.rowBytes, 0, 0, 40, 30));
  ASSERT_TRUE(copy.Put(large.pixels.data(), kW, kH, large.rowBytes, 0, 0, kW, kH));
  XSync(x.display(), False);
  ExpectWindowShows(x, view, large, 0, 0, kW, kH);
}

TEST_F(X11Test, ClipboardTextFromAnotherClient)
{
  const std::string text = "-12.5 dB \xC3\xBC\xE2\x82\xAC \"quoted\"; end";
  ClipboardOwner owner(text, ClipboardOwner::kAnswer);
  // A key press for the editor's window arrives before the transfer.
  x.MovePointer(view, 10, 10);
  XSetInputFocus(x.display(), view, RevertToParent, CurrentTime);
  x.Drain();
  x.Tap(XK_a);
  BASE_String got("old");
  ASSERT_TRUE(LinuxReadClipboard(x.display(), view, &got, 2000));
  EXPECT_EQ(text, std::string(got.Get()));
  EXPECT_EQ(1, owner.Requests());
  // It is still queued for the editor's event loop.
  XEvent ev;
  EXPECT_TRUE(x.WaitForEvent(view, KeyPress, &ev, 100));
}

TEST_F(X11Test, ClipboardWithoutTextReadsEmpty)
{
  BASE_String got("old");
  {
    ClipboardOwner refusing("x", ClipboardOwner::kRefuse);
    EXPECT_FALSE(LinuxReadClipboard(x.display(), view, &got, 2000));
    EXPECT_STREQ("", got.Get());
  }
  // The owner left: no owner at all answers at once.
  got.Set("old");
  EXPECT_FALSE(LinuxReadClipboard(x.display(), view, &got, 2000));
  EXPECT_STREQ("", got.Get());
  {
    ClipboardOwner silent("x", ClipboardOwner::kSilent);
    got.Set("old");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(LinuxReadClipboard(x.display(), view, &got, 150));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_STREQ("", got.Get());
    EXPECT_GE(waited, std::chrono::milliseconds(150));
    EXPECT_LT(waited, std::chrono::seconds(5));
  }
}

TEST_F(X11Test, HiddenCursorComesBackWhereItWasHidden)
{
  x.MovePointer(view, 120, 200);
  int hx = 0, hy = 0;
  x.PointerOnScreen(&hx, &hy);
  LinuxCursorHider cursor;
  EXPECT_FALSE(cursor.IsHidden());
  cursor.Hide(x.display(), view);
  ASSERT_TRUE(cursor.IsHidden());
  EXPECT_EQ(hx, cursor.HiddenX());
  EXPECT_EQ(hy, cursor.HiddenY());
  // A second hide neither stacks nor moves the remembered point.
  x.MovePointer(view, 10, 10);
  cursor.Hide(x.display(), view);
  EXPECT_EQ(hx, cursor.HiddenX());
  x.MovePointer(view, 250, 30);
  cursor.Show(x.display(), view);
  EXPECT_FALSE(cursor.IsHidden());
  XSync(x.display(), False);
  int px = 0, py = 0;
  x.PointerOnScreen(&px, &py);
  EXPECT_EQ(hx, px);
  EXPECT_EQ(hy, py);
  // Showing a shown cursor does nothing, the pointer stays.
  x.MovePointer(view, 30, 40);
  cursor.Show(x.display(), view);
  int sx = 0, sy = 0;
  x.PointerOnScreen(&sx, &sy);
  EXPECT_NE(hx, sx);
}

TEST_F(X11Test, RealClicksGiveTheModifierRecord)
{
  x.MapSuperToMod4();
  x.MovePointer(view, 60, 70);
  x.Drain();
  XEvent ev;

  x.Click(Button1);
  ASSERT_TRUE(x.WaitForEvent(view, ButtonPress, &ev));
  EXPECT_EQ(60, ev.xbutton.x);
  EXPECT_EQ(70, ev.xbutton.y);
  IMouseMod m = LinuxButtonMod(ev.xbutton.state, ev.xbutton.button);
  EXPECT_TRUE(m.mL);
  EXPECT_FALSE(m.mR || m.mS || m.mC || m.mA);
  ASSERT_TRUE(x.WaitForEvent(view, ButtonRelease, &ev));

  x.Key(XK_Shift_L, true);
  x.Key(XK_Control_L, true);
  x.Click(Button3);
  x.Key(XK_Control_L, false);
  x.Key(XK_Shift_L, false);
  ASSERT_TRUE(x.WaitForEvent(view, ButtonPress, &ev));
  m = LinuxButtonMod(ev.xbutton.state, ev.xbutton.button);
  EXPECT_TRUE(m.mR && m.mS && m.mC);
  EXPECT_FALSE(m.mL || m.mA);

  x.Key(XK_Super_L, true);
  x.Click(Button1);
  x.Key(XK_Super_L, false);
  ASSERT_TRUE(x.WaitForEvent(view, ButtonPress, &ev));
  m = LinuxButtonMod(ev.xbutton.state, ev.xbutton.button);
  EXPECT_TRUE(m.mL && m.mR);

  x.Key(XK_Alt_L, true);
  x.Click(Button5);
  x.Key(XK_Alt_L, false);
  ASSERT_TRUE(x.WaitForEvent(view, ButtonPress, &ev));
  EXPECT_EQ(-1, LinuxWheelStep(ev.xbutton.button));
  EXPECT_TRUE(LinuxButtonMod(ev.xbutton.state, ev.xbutton.button).mA);
  x.Click(Button4);
  ASSERT_TRUE(x.WaitForEvent(view, ButtonPress, &ev));
  EXPECT_EQ(1, LinuxWheelStep(ev.xbutton.button));
}

TEST_F(X11Test, RealDragsReportTheHeldButton)
{
  x.MovePointer(view, 100, 100);
  x.Drain();
  XEvent ev;
  x.Button(Button3, true);
  x.MovePointer(view, 100, 90);
  x.Button(Button3, false);
  ASSERT_TRUE(x.WaitForEvent(view, MotionNotify, &ev));
  EXPECT_EQ(90, ev.xmotion.y);
  IMouseMod m = LinuxMotionMod(ev.xmotion.state);
  EXPECT_TRUE(m.mR);
  EXPECT_FALSE(m.mL);

  x.Drain();
  x.Key(XK_Shift_L, true);
  x.Button(Button1, true);
  x.MovePointer(view, 100, 80);
  x.Button(Button1, false);
  x.Key(XK_Shift_L, false);
  ASSERT_TRUE(x.WaitForEvent(view, MotionNotify, &ev));
  m = LinuxMotionMod(ev.xmotion.state);
  EXPECT_TRUE(m.mL && m.mS);
  EXPECT_FALSE(m.mR);
}

TEST_F(X11Test, RealDoubleClicksByTimeAndDistance)
{
  x.MovePointer(view, 40, 40);
  x.Drain();
  LinuxDoubleClick detector;
  XEvent ev;
  auto press = [&](unsigned long delayMs) {
    x.Button(Button1, true, delayMs);
    x.Button(Button1, false);
    EXPECT_TRUE(x.WaitForEvent(view, ButtonPress, &ev));
    return detector.Press(ev.xbutton.time, ev.xbutton.x, ev.xbutton.y, ev.xbutton.button);
  };
  EXPECT_FALSE(press(0));
  EXPECT_TRUE(press(0));
  EXPECT_FALSE(press(0));
  // The server holds the next press back half a second: too late to pair.
  EXPECT_FALSE(press(500));
  x.MovePointer(view, 50, 40);
  EXPECT_FALSE(press(0));  // moved ten pixels
  EXPECT_TRUE(press(0));
}

TEST_F(X11Test, RealKeysThroughTheKeyTable)
{
  x.MovePointer(view, 10, 10);
  XSetInputFocus(x.display(), view, RevertToParent, CurrentTime);
  x.Drain();
  struct Case {
    KeySym key;
    bool shift;
    int code;
  };
  const Case cases[] = {{XK_a, false, 15},
                        {XK_z, true, 40},
                        {XK_5, false, 10},
                        {XK_space, false, 0},
                        {XK_Up, false, 1},
                        {XK_Right, false, 4},
                        {XK_F1, false, kLinuxKeyNotTaken},
                        {XK_Return, false, kLinuxKeyNotTaken}};
  for (const Case& c : cases) {
    if (c.shift) x.Key(XK_Shift_L, true);
    x.Tap(c.key);
    if (c.shift) x.Key(XK_Shift_L, false);
    XEvent ev;
    ASSERT_TRUE(x.WaitForEvent(view, KeyPress, &ev)) << c.key;
    while (LinuxEventKeySym(&ev.xkey) == XK_Shift_L) ASSERT_TRUE(x.WaitForEvent(view, KeyPress, &ev));
    EXPECT_EQ(c.code, LinuxEditorKeyCode(LinuxEventKeySym(&ev.xkey))) << c.key;
    x.Drain();
  }
}

}  // namespace
