// Input translation without a server: the key table, the modifier record
// of each kind of mouse event, wheel steps and the double-click rule.

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <initializer_list>

#include "framework/linux/LinuxKeys.h"
#include "framework/linux/LinuxMouse.h"

namespace {

TEST(LinuxKeys, EditorCodesForTheKeysItTakes)
{
  EXPECT_EQ(0, LinuxEditorKeyCode(XK_space));
  EXPECT_EQ(1, LinuxEditorKeyCode(XK_Up));
  EXPECT_EQ(2, LinuxEditorKeyCode(XK_Down));
  EXPECT_EQ(3, LinuxEditorKeyCode(XK_Left));
  EXPECT_EQ(4, LinuxEditorKeyCode(XK_Right));
  EXPECT_EQ(5, LinuxEditorKeyCode(XK_0));
  EXPECT_EQ(14, LinuxEditorKeyCode(XK_9));
  EXPECT_EQ(12, LinuxEditorKeyCode(XK_KP_7));
  EXPECT_EQ(1, LinuxEditorKeyCode(XK_KP_Up));
  EXPECT_EQ(15, LinuxEditorKeyCode(XK_a));
  EXPECT_EQ(15, LinuxEditorKeyCode(XK_A));
  EXPECT_EQ(40, LinuxEditorKeyCode(XK_z));
  EXPECT_EQ(40, LinuxEditorKeyCode(XK_Z));
  EXPECT_EQ(27, LinuxEditorKeyCode(XK_m));
  // Everything else stays with the host.
  for (KeySym other :
       std::initializer_list<KeySym>{XK_Return, XK_Escape, XK_Tab, XK_F1, XK_BackSpace, XK_Shift_L,
                                     XK_adiaeresis, XK_at, XK_bracketleft, XK_grave, XK_KP_Enter, NoSymbol})
    EXPECT_EQ(kLinuxKeyNotTaken, LinuxEditorKeyCode(other)) << other;
}

TEST(LinuxMouse, ModifierRecordPerEvent)
{
  IMouseMod m = LinuxButtonMod(0, Button1);
  EXPECT_TRUE(m.mL);
  EXPECT_FALSE(m.mR || m.mS || m.mC || m.mA);
  m = LinuxButtonMod(ShiftMask | ControlMask | Mod1Mask, Button1);
  EXPECT_TRUE(m.mL && m.mS && m.mC && m.mA);
  EXPECT_FALSE(m.mR);
  // Super-click is a left and a right click at once.
  m = LinuxButtonMod(Mod4Mask, Button1);
  EXPECT_TRUE(m.mL && m.mR);
  m = LinuxButtonMod(Mod4Mask | ShiftMask, Button3);
  EXPECT_FALSE(m.mL);
  EXPECT_TRUE(m.mR && m.mS);
  // Lock and Num Lock change nothing.
  m = LinuxButtonMod(LockMask | Mod2Mask, Button1);
  EXPECT_TRUE(m.mL);
  EXPECT_FALSE(m.mR || m.mS || m.mC || m.mA);
  // Drags follow the held button; hovering reads as a left event.
  m = LinuxMotionMod(Button3Mask | ControlMask);
  EXPECT_FALSE(m.mL);
  EXPECT_TRUE(m.mR && m.mC);
  m = LinuxMotionMod(Button1Mask | Button3Mask);
  EXPECT_TRUE(m.mL);
  EXPECT_FALSE(m.mR);
  m = LinuxMotionMod(Mod4Mask);
  EXPECT_TRUE(m.mL && m.mR);
}

TEST(LinuxMouse, ButtonsWheelAndClicks)
{
  EXPECT_EQ(1, LinuxWheelStep(Button4));
  EXPECT_EQ(-1, LinuxWheelStep(Button5));
  EXPECT_EQ(0, LinuxWheelStep(Button1));
  EXPECT_EQ(0, LinuxWheelStep(6));
  EXPECT_TRUE(LinuxIsClickButton(Button1));
  EXPECT_TRUE(LinuxIsClickButton(Button3));
  EXPECT_FALSE(LinuxIsClickButton(Button2));
  EXPECT_FALSE(LinuxIsClickButton(Button4));
  EXPECT_FALSE(LinuxIsClickButton(8));
}

TEST(LinuxMouse, DoubleClickWithin400MsAnd4Pixels)
{
  LinuxDoubleClick d;
  EXPECT_FALSE(d.Press(1000, 50, 50, Button1));
  EXPECT_TRUE(d.Press(1400, 54, 46, Button1));
  // The pair is used up: a third quick press starts a new one.
  EXPECT_FALSE(d.Press(1450, 54, 46, Button1));
  EXPECT_TRUE(d.Press(1500, 54, 46, Button1));

  EXPECT_FALSE(d.Press(2000, 10, 10, Button1));
  EXPECT_FALSE(d.Press(2401, 10, 10, Button1));  // too late
  EXPECT_FALSE(d.Press(2500, 15, 10, Button1));  // too far
  EXPECT_FALSE(d.Press(2600, 15, 15, Button3));  // other buttons never pair...
  EXPECT_FALSE(d.Press(2650, 15, 15, Button1));  // ...and break a pair
  EXPECT_TRUE(d.Press(2700, 15, 15, Button1));

  // Time stamps wrap at 2^32 milliseconds.
  EXPECT_FALSE(d.Press(0xFFFFFF00ul, 5, 5, Button1));
  EXPECT_TRUE(d.Press(0x00000010ul, 5, 5, Button1));

  d.Reset();
  EXPECT_FALSE(d.Press(0x20, 5, 5, Button1));
}

}  // namespace
