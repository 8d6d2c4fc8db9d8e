#pragma once
// Buttons and modifier keys at a mouse event. The platform fills it: a
// click with the platform's command modifier reports both left and right.
//
// Threads: a plain value.

struct IMouseMod {
  bool mL = false;  // left button
  bool mR = false;  // right button
  bool mS = false;  // shift
  bool mC = false;  // control
  bool mA = false;  // alt

  IMouseMod() {}
  IMouseMod(bool l, bool r, bool s = false, bool c = false, bool a = false)
      : mL(l), mR(r), mS(s), mC(c), mA(a)
  {
  }
};
