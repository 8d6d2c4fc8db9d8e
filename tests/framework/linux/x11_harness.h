#pragma once
// A real X server for the platform tests: the display named by DISPLAY
// (the test command starts Xvfb for it), a top-level window made as a host
// makes one for a plug-in's editor, real input through the XTest
// extension and pixels read back with XGetImage. A test that finds no
// display fails; it never passes by skipping.

#include <X11/Xlib.h>

#include <cstdint>
#include <string>
#include <vector>

class X11Harness {
public:
  X11Harness();   // opens DISPLAY; see Ok()
  ~X11Harness();  // destroys the windows it made, closes the display
  X11Harness(const X11Harness&) = delete;
  X11Harness& operator=(const X11Harness&) = delete;

  bool Ok() const { return m_display != nullptr; }
  // Why there is no display, for the failure message.
  std::string Problem() const;
  Display* display() const { return m_display; }
  Window root() const;

  // A mapped top-level window of the given size, as a host's editor frame.
  Window MakeHostWindow(int width, int height);
  // A mapped child window (the editor's view) selecting events.
  Window MakeChildWindow(Window parent, int x, int y, int width, int height, long events);
  // Destroys a window the harness made, before the harness ends.
  void DestroyWindow(Window window);
  // Waits up to timeoutMs for an event of type on window; true when found.
  bool WaitForEvent(Window window, int type, XEvent* out, int timeoutMs = 3000);
  // Drops every queued event.
  void Drain();

  // Real input (XTest), positions relative to window. delayMs delays the
  // event in the server, which moves its time stamp on.
  void MovePointer(Window window, int x, int y);
  void Button(unsigned button, bool down, unsigned long delayMs = 0);
  void Click(unsigned button);
  void Key(unsigned long keysym, bool down);
  void Tap(unsigned long keysym);
  // The pointer's position in root coordinates.
  void PointerOnScreen(int* x, int* y);

  // The window's pixels as 0x00RRGGBB, row by row.
  std::vector<uint32_t> ReadPixels(Window window, int x, int y, int width, int height);

  // Makes sure Super_L sits on Mod4, as desktops map it.
  void MapSuperToMod4();

private:
  Display* m_display = nullptr;
  std::vector<Window> m_windows;
};
