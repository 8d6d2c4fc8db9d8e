#pragma once
// The tooltip of the X11 editor: a small override-redirect window with the
// control's tooltip text, drawn with the editor's drawing operations, shown
// below the pointer and kept on the screen. When to show it is the view's
// business (after the pointer rests over a control with a tooltip).
//
// Threads: the editor's thread, with the editor's display connection.

#include <X11/Xlib.h>

#include <memory>
#include <string>

class LinuxCanvas;
class LinuxScreenCopy;

class LinuxTooltip {
public:
  enum { kOffsetY = 20 };  // pixels between the pointer and the tooltip's top

  explicit LinuxTooltip(Display* display);
  ~LinuxTooltip();
  LinuxTooltip(const LinuxTooltip&) = delete;
  LinuxTooltip& operator=(const LinuxTooltip&) = delete;

  // Shows text below the pointer at (rootX, rootY) in root coordinates;
  // false when the window could not be made. An empty text shows nothing.
  bool Show(const char* text, int rootX, int rootY);
  // Removes the window; nothing when none shows.
  void Hide();
  // Copies the drawn tooltip to its window again (after an Expose).
  void Repaint();
  bool Shown() const { return m_window != 0; }
  Window GetXWindow() const { return m_window; }
  const std::string& Text() const { return m_text; }

private:
  Display* m_display;
  Window m_window = 0;
  std::string m_text;
  std::unique_ptr<LinuxCanvas> m_canvas;
  std::unique_ptr<LinuxScreenCopy> m_copy;
};
