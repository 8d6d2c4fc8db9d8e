#pragma once
// Copies the editor's draw bitmap (32-bit pixels, memory order blue, green,
// red, unused) onto its X window. On the usual 24-bit TrueColor visual with
// 32-bit little-endian pixels the bytes go over unchanged, through a shared
// memory segment (MIT-SHM) when the server offers one to this client and
// through the connection otherwise. Any other visual gets the pixels
// converted one by one.
//
// Threads: the editor's thread, with the display connection the window
// belongs to. The copy waits for the server only before it reuses the
// shared segment, never for drawing.

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

class LinuxScreenCopy {
public:
  // allowShm false keeps to the plain connection (for servers or tests that
  // must not share memory).
  LinuxScreenCopy(Display* display, Window window, bool allowShm = true);
  ~LinuxScreenCopy();
  LinuxScreenCopy(const LinuxScreenCopy&) = delete;
  LinuxScreenCopy& operator=(const LinuxScreenCopy&) = delete;

  // Copies the part (x, y, w, h) of a width x height bitmap with rowBytes
  // bytes per row to the same place in the window. The part is clipped to
  // the bitmap; false when nothing could be copied.
  bool Put(const void* bits, int width, int height, int rowBytes, int x, int y, int w, int h);

  // True once a copy went through shared memory.
  bool UsesShm() const { return m_shmAttached; }
  // True when the window's pixels take the bitmap's bytes unchanged.
  bool DirectPixels() const { return m_direct; }

private:
  bool EnsureImage(int width, int height);
  bool AttachShm(int width, int height);
  void ReleaseImage();
  void WaitForServer();
  void CopyRows(const unsigned char* bits, int rowBytes, int x, int y, int w, int h);

  Display* m_display;
  Window m_window;
  GC m_gc = nullptr;
  Visual* m_visual = nullptr;
  int m_depth = 0;
  bool m_direct = false;
  bool m_shmAllowed;
  bool m_shmAttached = false;
  bool m_shmPending = false;  // the server may still be reading the segment
  XShmSegmentInfo m_shm = {};
  XImage* m_image = nullptr;
  int m_width = 0, m_height = 0;
};
