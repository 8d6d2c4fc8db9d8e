#pragma once
// The parent "window" a test host passes to the controls probe's
// effEditOpen: a headless window that also carries the mouse events a
// platform would read from its window system. The probe's editor takes
// them on the host's next effEditIdle, in order, as the X11 editor pumps
// its pending events on idle.
//
// Threads: the host's user-interface thread fills the queue and calls
// effEditIdle; the editor reads it inside that call.

#include "tests/framework/editor/headless_graphics.h"

struct ProbeMouseEvent {
  enum EKind { kDown, kDrag, kUp, kDblClick, kWheel };
  EKind kind = kDown;
  int x = 0, y = 0;
  bool left = true, right = false, shift = false, control = false, alt = false;
  int wheel = 0;  // whole steps, for kWheel
};

struct ProbeControlsWindow : HeadlessWindow {
  static const int kMaxEvents = 64;
  ProbeMouseEvent events[kMaxEvents];
  int nEvents = 0;

  // False when the queue is full.
  bool Push(const ProbeMouseEvent& e)
  {
    if (nEvents >= kMaxEvents) return false;
    events[nEvents++] = e;
    return true;
  }
};
