#pragma once
// The editor's key codes (EKeyCode) for X key presses: space, the four
// arrows, digits and letters (case ignored). Every other key is the host's.
//
// Threads: pure functions; the editor's thread calls them with its own
// display connection's events.

#include <X11/Xlib.h>

enum { kLinuxKeyNotTaken = -1 };

// The editor code (EKeyCode) of a keysym, or kLinuxKeyNotTaken. Keypad digits, arrows
// and space count as their main-keyboard keys.
int LinuxEditorKeyCode(KeySym sym);

// The keysym a key event types, with Shift and Num Lock applied as the
// keyboard mapping says.
KeySym LinuxEventKeySym(XKeyEvent* event);
