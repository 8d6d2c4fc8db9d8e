#pragma once
// A popup menu of the X11 editor: one override-redirect window per open
// level (the menu and the submenus opened from it), drawn with the
// editor's drawing operations, placed under the editor rectangle it
// belongs to and kept on the screen. It is modal: Run grabs the pointer
// and the keyboard and runs an event loop of its own on the editor's
// display connection until an item is chosen or the menu is dismissed.
// Meanwhile the editor keeps its timer step going and answers Expose.
//
// Mouse: moving over a row highlights it and opens its submenu; releasing
// a button over an item chooses it; pressing outside every level
// dismisses. Keyboard: Up and Down move through the items of the deepest
// level (skipping separators and disabled items), Right or Return opens a
// highlighted submenu, Left closes the deepest submenu, Return (or Space)
// chooses, Escape dismisses.
//
// Threads: the editor's thread, inside an editor call.

#include <X11/Xlib.h>

#include <memory>
#include <vector>

#include "framework/editor/IRECT.h"
#include "framework/linux/LinuxMenuLayout.h"

class IGraphicsLinuxView;
class IPopupMenu;
class LinuxCanvas;
class LinuxScreenCopy;

class LinuxPopupMenu {
public:
  enum { kMaxLevels = 16 };  // submenus nested deeper are not opened

  explicit LinuxPopupMenu(IGraphicsLinuxView* view);
  // Closes every level and lets go of the grabs.
  ~LinuxPopupMenu();
  LinuxPopupMenu(const LinuxPopupMenu&) = delete;
  LinuxPopupMenu& operator=(const LinuxPopupMenu&) = delete;

  // Shows menu under r (editor coordinates) and returns when it closes:
  // the menu or submenu whose item was chosen, with its chosen index set,
  // or null when nothing was chosen (or the menu could not be shown).
  IPopupMenu* Run(IPopupMenu* menu, const IRECT& r);

private:
  struct Level;

  // Lays out a new deepest level for the menu; null when it cannot be
  // made. ShowLevel then places its window at (x, y) in root coordinates.
  Level* OpenLevel(IPopupMenu* menu);
  void ShowLevel(Level* level, int x, int y);
  void OpenSubmenu(int level, int row, bool highlightFirst);
  void CloseLevelsFrom(int level);
  void Paint(Level* level);
  void Highlight(int level, int row);
  // The level and row under a root position; level -1 outside every level.
  int LevelAt(int rootX, int rootY, int* row) const;
  void Grab();
  void Ungrab();
  void Handle(XEvent* event);
  void OnMotion(int rootX, int rootY);
  void OnRelease(XButtonEvent* e);
  void OnKey(XKeyEvent* e);
  void Choose(int level, int row);
  void Activate(int level, int row);

  IGraphicsLinuxView* m_view;
  Display* m_display;
  std::vector<std::unique_ptr<Level>> m_levels;
  bool m_done = false;
  IPopupMenu* m_chosen = nullptr;
  bool m_pointerGrabbed = false;
  bool m_keyboardGrabbed = false;
  // Buttons the editor saw pressed and not released when the menu opened,
  // and the release of one of them while the menu was up: the editor gets
  // it after the menu, so the gesture its press began ends.
  unsigned m_heldButtons = 0;
  bool m_haveOpeningRelease = false;
  XEvent m_openingRelease;
};
