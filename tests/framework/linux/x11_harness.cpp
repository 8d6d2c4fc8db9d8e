#include "tests/framework/linux/x11_harness.h"

#include <poll.h>
#include <time.h>

#include <cstdlib>

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

// Several tests drive a second connection from another thread.
const bool s_threads = XInitThreads() != 0;

long NowMs()
{
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1000L + ts.tv_nsec / 1000000L;
}

}  // namespace

X11Harness::X11Harness()
{
  (void)s_threads;
  m_display = XOpenDisplay(nullptr);
}

X11Harness::~X11Harness()
{
  if (!m_display) return;
  for (auto it = m_windows.rbegin(); it != m_windows.rend(); ++it) XDestroyWindow(m_display, *it);
  XSync(m_display, False);
  XCloseDisplay(m_display);
}

std::string X11Harness::Problem() const
{
  const char* name = std::getenv("DISPLAY");
  return std::string("cannot open X display \"") + (name ? name : "") +
         "\": these tests need a running X server (scripts/test starts Xvfb)";
}

Window X11Harness::root() const { return DefaultRootWindow(m_display); }

Window X11Harness::MakeHostWindow(int width, int height)
{
  const int screen = DefaultScreen(m_display);
  Window w = XCreateSimpleWindow(m_display, root(), 40, 40, width, height, 0, BlackPixel(m_display, screen),
                                 WhitePixel(m_display, screen));
  m_windows.push_back(w);
  XStoreName(m_display, w, "quarry test host");
  XSelectInput(m_display, w, StructureNotifyMask | ExposureMask);
  XMapRaised(m_display, w);
  XEvent ev;
  WaitForEvent(w, MapNotify, &ev);
  return w;
}

Window X11Harness::MakeChildWindow(Window parent, int x, int y, int width, int height, long events)
{
  const int screen = DefaultScreen(m_display);
  Window w = XCreateSimpleWindow(m_display, parent, x, y, width, height, 0, BlackPixel(m_display, screen),
                                 BlackPixel(m_display, screen));
  m_windows.push_back(w);
  XSelectInput(m_display, w, events | StructureNotifyMask);
  XMapWindow(m_display, w);
  XEvent ev;
  WaitForEvent(w, MapNotify, &ev);
  XSync(m_display, False);
  return w;
}

void X11Harness::DestroyWindow(Window window)
{
  for (auto it = m_windows.begin(); it != m_windows.end(); ++it)
    if (*it == window) {
      m_windows.erase(it);
      XDestroyWindow(m_display, window);
      XSync(m_display, False);
      return;
    }
}

bool X11Harness::WaitForEvent(Window window, int type, XEvent* out, int timeoutMs)
{
  const long deadline = NowMs() + timeoutMs;
  for (;;) {
    if (XCheckTypedWindowEvent(m_display, window, type, out)) return true;
    const long left = deadline - NowMs();
    if (left <= 0) return false;
    pollfd p = {ConnectionNumber(m_display), POLLIN, 0};
    poll(&p, 1, (int)(left < 20 ? left : 20));
    XEventsQueued(m_display, QueuedAfterReading);
  }
}

void X11Harness::Drain()
{
  XSync(m_display, False);
  XEvent ev;
  while (XPending(m_display)) XNextEvent(m_display, &ev);
}

void X11Harness::MovePointer(Window window, int x, int y)
{
  int rx = 0, ry = 0;
  Window child;
  XTranslateCoordinates(m_display, window, root(), x, y, &rx, &ry, &child);
  XTestFakeMotionEvent(m_display, DefaultScreen(m_display), rx, ry, 0);
  XSync(m_display, False);
}

void X11Harness::Button(unsigned button, bool down, unsigned long delayMs)
{
  XTestFakeButtonEvent(m_display, button, down ? True : False, delayMs);
  XSync(m_display, False);
}

void X11Harness::Click(unsigned button)
{
  Button(button, true);
  Button(button, false);
}

void X11Harness::Key(unsigned long keysym, bool down)
{
  const KeyCode code = XKeysymToKeycode(m_display, keysym);
  XTestFakeKeyEvent(m_display, code, down ? True : False, 0);
  XSync(m_display, False);
}

void X11Harness::Tap(unsigned long keysym)
{
  Key(keysym, true);
  Key(keysym, false);
}

void X11Harness::PointerOnScreen(int* x, int* y)
{
  Window r, c;
  int wx, wy;
  unsigned mask;
  XQueryPointer(m_display, root(), &r, &c, x, y, &wx, &wy, &mask);
}

std::vector<uint32_t> X11Harness::ReadPixels(Window window, int x, int y, int width, int height)
{
  std::vector<uint32_t> pixels;
  XImage* image = XGetImage(m_display, window, x, y, width, height, AllPlanes, ZPixmap);
  if (!image) return pixels;
  pixels.reserve((size_t)width * height);
  for (int row = 0; row < height; ++row)
    for (int col = 0; col < width; ++col) pixels.push_back((uint32_t)XGetPixel(image, col, row) & 0xFFFFFFu);
  XDestroyImage(image);
  return pixels;
}

void X11Harness::MapSuperToMod4()
{
  const KeyCode super = XKeysymToKeycode(m_display, XK_Super_L);
  if (!super) return;
  XModifierKeymap* map = XGetModifierMapping(m_display);
  for (int i = 0; i < map->max_keypermod; ++i)
    if (map->modifiermap[Mod4MapIndex * map->max_keypermod + i] == super) {
      XFreeModifiermap(map);
      return;
    }
  map = XInsertModifiermapEntry(map, super, Mod4MapIndex);
  XSetModifierMapping(m_display, map);
  XFreeModifiermap(map);
  XSync(m_display, False);
}
