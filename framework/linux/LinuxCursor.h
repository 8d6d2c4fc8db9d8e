#pragma once
// Hiding the pointer while a control is dragged, and putting it back where
// it was hidden when it shows again (XFixes).
//
// Threads: the editor's thread with its own display connection.

#include <X11/Xlib.h>

class LinuxCursorHider {
public:
  // Nothing when already hidden. Remembers the pointer's screen position in
  // any case; marks the cursor hidden only when the server could hide it.
  void Hide(Display* display, Window window);
  // Only when hidden: moves the pointer back to the remembered position,
  // then shows the cursor.
  void Show(Display* display, Window window);
  bool IsHidden() const { return m_hidden; }
  // Remembered position in root-window coordinates; -1, -1 before any hide.
  int HiddenX() const { return m_x; }
  int HiddenY() const { return m_y; }

private:
  bool m_hidden = false;
  int m_x = -1, m_y = -1;
  Window m_root = 0;
};
