#pragma once
// Keeps X protocol errors of the editor's own display connection away from
// the host. Xlib reports errors through one process-wide handler whose
// default ends the process; a window the host destroyed under the editor
// (its parent went first) must not take the host down with it. While a
// trap is alive, errors of the trapped connection are counted and dropped,
// and errors of every other connection go on to the handler that was
// installed before.
//
// Traps live only for the length of one editor call on the host's
// user-interface thread: Xlib reads the editor's connection only inside
// such calls, so every error of it meets a trap, and no handler of this
// module stays installed between calls (the module may be unloaded then).
//
// Threads: the editor's thread creates and destroys traps; the handler may
// run on any thread that reads an X connection while a trap is alive. The
// trap table is guarded by its own mutex.

#include <X11/Xlib.h>

class LinuxXErrorTrap {
public:
  // Installs the handler for display (nothing for null). Traps nest.
  explicit LinuxXErrorTrap(Display* display);
  // The previous handler comes back when the outermost trap ends and the
  // handler is still this module's.
  ~LinuxXErrorTrap();
  LinuxXErrorTrap(const LinuxXErrorTrap&) = delete;
  LinuxXErrorTrap& operator=(const LinuxXErrorTrap&) = delete;

  // Errors of any trapped connection since the process started.
  static unsigned long ErrorCount();

private:
  Display* m_display;
};
