#include "framework/linux/LinuxCursor.h"

#include <X11/extensions/Xfixes.h>

namespace {

bool HaveXFixes(Display* d)
{
  int event = 0, error = 0, major = 0, minor = 0;
  // Hiding needs version 4 of the extension.
  return XFixesQueryExtension(d, &event, &error) && XFixesQueryVersion(d, &major, &minor) && major >= 4;
}

}  // namespace

void LinuxCursorHider::Hide(Display* d, Window w)
{
  if (m_hidden || !d || !w) return;
  Window root = 0, child = 0;
  int rx = 0, ry = 0, wx = 0, wy = 0;
  unsigned mask = 0;
  if (XQueryPointer(d, w, &root, &child, &rx, &ry, &wx, &wy, &mask)) {
    m_root = root;
    m_x = rx;
    m_y = ry;
  }
  if (!HaveXFixes(d)) return;
  XFixesHideCursor(d, w);
  XFlush(d);
  m_hidden = true;
}

void LinuxCursorHider::Show(Display* d, Window w)
{
  if (!m_hidden || !d || !w) return;
  if (m_root) XWarpPointer(d, None, m_root, 0, 0, 0, 0, m_x, m_y);
  XFixesShowCursor(d, w);
  XFlush(d);
  m_hidden = false;
}
