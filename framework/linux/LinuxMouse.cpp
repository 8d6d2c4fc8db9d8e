#include "framework/linux/LinuxMouse.h"

#include <cstdlib>

namespace {

IMouseMod Modifiers(unsigned state)
{
  IMouseMod m;
  m.mS = (state & ShiftMask) != 0;
  m.mC = (state & ControlMask) != 0;
  m.mA = (state & Mod1Mask) != 0;
  return m;
}

IMouseMod LeftEvent(unsigned state)
{
  IMouseMod m = Modifiers(state);
  m.mL = true;
  m.mR = (state & Mod4Mask) != 0;
  return m;
}

IMouseMod RightEvent(unsigned state)
{
  IMouseMod m = Modifiers(state);
  m.mR = true;
  return m;
}

}  // namespace

IMouseMod LinuxButtonMod(unsigned state, unsigned button)
{
  return button == Button3 ? RightEvent(state) : LeftEvent(state);
}

IMouseMod LinuxMotionMod(unsigned state)
{
  const bool rightOnly = (state & Button3Mask) && !(state & Button1Mask);
  return rightOnly ? RightEvent(state) : LeftEvent(state);
}

bool LinuxIsClickButton(unsigned button) { return button == Button1 || button == Button3; }

int LinuxWheelStep(unsigned button) { return button == Button4 ? 1 : (button == Button5 ? -1 : 0); }

unsigned LinuxButtonMask(unsigned button)
{
  switch (button) {
    case Button1:
      return Button1Mask;
    case Button2:
      return Button2Mask;
    case Button3:
      return Button3Mask;
    default:
      return 0;
  }
}

bool LinuxDoubleClick::Press(Time time, int x, int y, unsigned button)
{
  if (button != Button1) {
    m_armed = false;
    return false;
  }
  // X time stamps are milliseconds that wrap at 2^32; the unsigned
  // difference is right across the wrap.
  const unsigned long elapsed = (unsigned long)(unsigned)((unsigned)time - (unsigned)m_time);
  const bool isDouble = m_armed && elapsed <= kMaxDelayMs && std::abs(x - m_x) <= kMaxDistance &&
                        std::abs(y - m_y) <= kMaxDistance;
  m_armed = !isDouble;
  m_time = time;
  m_x = x;
  m_y = y;
  return isDouble;
}
