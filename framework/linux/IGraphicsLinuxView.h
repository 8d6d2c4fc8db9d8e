#pragma once
// The X11 view of the Linux editor: a child window of the host's window on
// a display connection of its own. It drives the editor the way a toolkit
// view does:
// - the tick: every host idle call pumps the pending X events; the timer
//   step (posted values, dirty areas, drawing, screen copy) runs at most at
//   the editor's frame rate;
// - Expose events copy the exposed area of the draw bitmap again;
// - mouse events become editor calls with the modifier record (Super acts
//   as the command key), wheel steps and double clicks; keys of the key
//   table go to the editor, every other key (and every key the editor
//   does not take) goes on to the host's window;
// - the in-place text field, which grabs the keyboard while it is open;
// - popup menus (LinuxPopupMenu), modal with an event loop of their own;
// - tooltips after the pointer rests over a control with a tooltip.
//
// Threads: the host's user-interface thread only, which made the view; the
// display connection is used on no other thread. No lock is taken except
// the plug-in mutex, briefly, inside the editor calls that take it. Every
// call that reaches the X server runs under a LinuxXErrorTrap, so errors of
// a window the host destroyed first never reach the host.

#include <X11/Xlib.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "base/string.h"
#include "framework/editor/IRECT.h"
#include "framework/linux/LinuxCursor.h"
#include "framework/linux/LinuxMouse.h"
#include "framework/linux/LinuxTextEntry.h"
#include "framework/linux/LinuxTickClock.h"

class IControl;
class IGraphicsLinux;
class IParam;
class IPopupMenu;
class LinuxScreenCopy;
class LinuxTooltip;
struct IText;

class IGraphicsLinuxView {
public:
  enum {
    kTooltipDelayMs = 500,  // the pointer's rest before a tooltip shows
    kClipboardWaitMs = 500,
  };

  // Opens a display connection (DISPLAY) and maps a child window of the
  // editor's size in parent (0: the screen's root, a top-level window).
  // IsOpen tells whether that worked; a failed view holds nothing.
  IGraphicsLinuxView(IGraphicsLinux* graphics, Window parent, bool allowShm);
  // Ends the text field, hides the tooltip and the cursor's hiding,
  // destroys the window and closes the connection.
  ~IGraphicsLinuxView();
  IGraphicsLinuxView(const IGraphicsLinuxView&) = delete;
  IGraphicsLinuxView& operator=(const IGraphicsLinuxView&) = delete;

  bool IsOpen() const { return m_window != 0; }
  // True once the window was destroyed from outside (the host destroyed
  // its parent); the view then only waits to be closed.
  bool Lost() const { return m_lost; }
  Display* GetDisplay() const { return m_display; }
  Window GetXWindow() const { return m_window; }
  Window GetParent() const { return m_parent; }
  bool UsesSharedMemory() const;

  // The host's idle call: pending events, the timer step when due, and
  // the tooltip when the pointer has rested long enough.
  void Idle();
  // The timer step when it is due (modal loops call it to keep drawing).
  void TickIfDue();
  // Nanoseconds until the next timer step is due.
  int64_t UntilNextTick() const { return m_clock.Until(LinuxTickClock::NowNs()); }
  // Copies the area r (clipped to the bitmap; all of it the first time
  // after opening) of the draw bitmap to the window, with the text field
  // painted into the bitmap first. False when nothing could be copied.
  bool CopyToScreen(const IRECT& r);
  // Handles one event of the editor's window.
  void HandleEvent(XEvent* event);
  // The next event of the connection (waiting for one); of a run of
  // motions on one window, only the last.
  static void NextEvent(Display* display, XEvent* event);
  // The window takes the editor's new size.
  void SetSize(int w, int h);

  // ---- Text field ----
  void CreateTextEntry(IControl* control, IText* text, const IRECT& r, const char* str, IParam* param);
  // Closes the field without committing its text.
  void EndUserInput();
  // Closes the field and hands its text to the editor.
  void CommitUserInput();
  bool HasTextEntry() const { return m_entry.IsOpen(); }
  // Button1Mask and Button3Mask of presses the editor got and whose
  // release it has not seen yet.
  unsigned ButtonsDown() const { return m_buttonsDown; }
  // Where the editor's last press was, in window coordinates.
  int LastPressX() const { return m_pressX; }
  int LastPressY() const { return m_pressY; }
  // Presses something else took (a menu, the field) break a pair of
  // clicks: the next press starts a new one.
  void ResetDoubleClick() { m_doubleClick.Reset(); }
  const LinuxTextEntry& TextEntry() const { return m_entry; }
  bool KeyboardGrabbed() const { return m_keyboardGrabbed; }

  // ---- Menus ----
  // Shows the menu under r (editor coordinates) until an item is chosen
  // or it is dismissed: the menu holding the chosen item with its index
  // set, or null.
  IPopupMenu* CreatePopupMenu(IPopupMenu* menu, const IRECT& r);

  // ---- Tooltips ----
  void RemoveAllToolTips();
  void RegisterToolTip(const IRECT& r);
  // The tooltip's window while one shows, else 0.
  Window TooltipWindow() const;

  // ---- Cursor and clipboard ----
  void HideCursor();
  void ShowCursor();
  const LinuxCursorHider& Cursor() const { return m_cursor; }
  bool ReadClipboard(BASE_String* text);

private:
  void PumpEvents();
  void OnButtonPress(XButtonEvent* e);
  void OnButtonRelease(XButtonEvent* e);
  void OnMotion(XMotionEvent* e);
  void OnKeyPress(XKeyEvent* e);
  void OnTextEntryKey(XKeyEvent* e);
  void PassKeyToHost(XKeyEvent* e);
  void CopyExposed();
  // Draws the controls in the area (and every dirty one) and copies it.
  void Redraw(IRECT area);
  void GrabKeyboard(bool grab);
  // Paints the field into the bitmap (or takes it out) and shows the change.
  void ShowTextEntry();
  void HideTextEntry();
  void UpdateTooltip();
  void HideTooltip();

  IGraphicsLinux* m_graphics;
  Display* m_display = nullptr;
  Window m_parent = 0;
  Window m_window = 0;
  bool m_lost = false;
  std::unique_ptr<LinuxScreenCopy> m_copy;
  LinuxTickClock m_clock;
  bool m_shownOnce = false;  // a first whole copy went out since opening
  IRECT m_exposed;           // area asked for by Expose events this pump
  LinuxDoubleClick m_doubleClick;
  unsigned m_buttonsDown = 0;  // Button1Mask / Button3Mask of presses seen
  int m_pressX = 0, m_pressY = 0;
  LinuxTextEntry m_entry;
  bool m_keyboardGrabbed = false;
  LinuxCursorHider m_cursor;
  std::unique_ptr<LinuxTooltip> m_tooltip;
  std::vector<IRECT> m_tooltipAreas;
  int64_t m_restSince = 0;  // when the pointer last moved; 0: not armed
  int m_pointerX = 0, m_pointerY = 0;
};
