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

// The character a key event types, as UTF-8 into text (room for 8 bytes,
// NUL-terminated); "" for keys that type nothing or a control character.
// Returns the keysym as LinuxEventKeySym does.
KeySym LinuxEventText(XKeyEvent* event, char text[8]);
// The Unicode code point a keysym types; 0 for none.
unsigned LinuxKeySymCodePoint(KeySym sym);
// Writes the code point as UTF-8 (at most 4 bytes and a NUL) into text;
// the number of bytes, 0 for code points that are not characters.
int LinuxEncodeUTF8(unsigned codePoint, char text[8]);
