#pragma once
// Mouse input of the X11 editor: the modifier record of each event, wheel
// steps and double clicks.
//
// Buttons: 1 is left, 3 right; a left press with Mod4 (Super) reports left
// and right, as a command-click does elsewhere. Shift, Control and Mod1
// (Alt) fill the modifier flags. Buttons 4 and 5 are wheel steps +1 and -1.
// X reports no click count, so a second left press within 400 ms and 4
// pixels of the first is taken as a double click.
//
// Threads: plain values; the editor's thread uses them.

#include <X11/Xlib.h>

#include "framework/editor/IMouseMod.h"

// A press or release of an editor button (1 or 3), or a wheel step (which
// reads as a left-button event).
IMouseMod LinuxButtonMod(unsigned state, unsigned button);
// Motion: a drag with only button 3 held is a right-button event; any
// other motion (a left drag, or hovering) reads as a left-button event.
IMouseMod LinuxMotionMod(unsigned state);

// True for the buttons the editor takes as clicks (1 and 3).
bool LinuxIsClickButton(unsigned button);
// +1 for button 4, -1 for button 5, 0 for every other button.
int LinuxWheelStep(unsigned button);
// The state mask of a button (Button1Mask ... Button3Mask); 0 for the
// wheel and the others.
unsigned LinuxButtonMask(unsigned button);

// Tells double clicks from single ones.
class LinuxDoubleClick {
public:
  enum { kMaxDelayMs = 400, kMaxDistance = 4 };

  // Call for every button press; true when this press completes a double
  // click (the next press then starts a new pair). Only left presses pair.
  bool Press(Time time, int x, int y, unsigned button);
  void Reset() { m_armed = false; }

private:
  bool m_armed = false;
  Time m_time = 0;
  int m_x = 0, m_y = 0;
};
