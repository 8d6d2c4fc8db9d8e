#include "tools/host/EditorWindow.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

// Until the plug-in reports a size, the window takes this one.
const int kFallbackWidth = 400;
const int kFallbackHeight = 300;

volatile sig_atomic_t g_stopRequested = 0;

void RequestStop(int) { g_stopRequested = 1; }

// SIGINT, SIGTERM and SIGHUP close the window as the user would, for as
// long as the loop runs; the earlier handlers come back afterwards.
class StopSignals {
public:
  StopSignals()
  {
    g_stopRequested = 0;
    struct sigaction action = {};
    action.sa_handler = RequestStop;  // no SA_RESTART: poll wakes up at once
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < kCount; ++i) sigaction(kSignals[i], &action, &m_old[i]);
  }
  ~StopSignals()
  {
    for (int i = 0; i < kCount; ++i) sigaction(kSignals[i], &m_old[i], nullptr);
  }

private:
  static const int kCount = 3;
  static constexpr int kSignals[kCount] = {SIGINT, SIGTERM, SIGHUP};
  struct sigaction m_old[kCount];
};
constexpr int StopSignals::kSignals[];

long long NowMs()
{
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// The first X error while one is installed; Xlib's default handler would
// end the program.
int g_xError = 0;
int RecordXError(Display*, XErrorEvent* event)
{
  if (!g_xError) g_xError = event->error_code;
  return 0;
}

class XErrorTrap {
public:
  explicit XErrorTrap(Display* display) : m_display(display)
  {
    XSync(display, False);
    g_xError = 0;
    m_old = XSetErrorHandler(RecordXError);
  }
  ~XErrorTrap() { XSetErrorHandler(m_old); }
  // The first error of the calls made since construction, or 0.
  int Error()
  {
    XSync(m_display, False);
    return g_xError;
  }

private:
  Display* m_display;
  int (*m_old)(Display*, XErrorEvent*);
};

// One colour channel of a TrueColor pixel scaled to 0-255.
uint32_t Channel(unsigned long pixel, unsigned long mask)
{
  if (!mask) return 0;
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  const unsigned long max = mask >> shift;
  return static_cast<uint32_t>(((pixel & mask) >> shift) * 255 / max);
}

void SetFixedSize(Display* display, Window window, int width, int height)
{
  XSizeHints* hints = XAllocSizeHints();
  if (!hints) return;
  hints->flags = PMinSize | PMaxSize;
  hints->min_width = hints->max_width = width;
  hints->min_height = hints->max_height = height;
  XSetWMNormalHints(display, window, hints);
  XFree(hints);
}

void SetTitle(Display* display, Window window, const std::string& title)
{
  XStoreName(display, window, title.c_str());
  const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  XChangeProperty(display, window, netName, utf8, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
  XClassHint* classHint = XAllocClassHint();
  if (!classHint) return;
  char name[] = "quarry-host";
  char className[] = "Quarry-host";
  classHint->res_name = name;
  classHint->res_class = className;
  XSetClassHint(display, window, classHint);
  XFree(classHint);
}

}  // namespace

std::unique_ptr<EditorWindow> EditorWindow::Open(HostedPlugin* plugin, std::string* error)
{
  const char* name = std::getenv("DISPLAY");
  if (!name || !*name) {
    *error =
        "no X display to show the editor on (DISPLAY is not set; run it in a desktop session or under "
        "xvfb-run)";
    return nullptr;
  }
  Display* display = XOpenDisplay(name);
  if (!display) {
    *error = std::string("cannot connect to the X display ") + name;
    return nullptr;
  }
  return std::unique_ptr<EditorWindow>(new EditorWindow(plugin, display));
}

EditorWindow::EditorWindow(HostedPlugin* plugin, Display* display) : m_plugin(plugin), m_display(display)
{
  m_plugin->SetListener(this);
}

EditorWindow::~EditorWindow()
{
  CloseEditor();
  m_plugin->SetListener(nullptr);
  if (m_window) XDestroyWindow(m_display, m_window);
  XCloseDisplay(m_display);
}

bool EditorWindow::EditorSize(int* width, int* height)
{
  ERect* rect = nullptr;
  if (!m_plugin->Dispatch(effEditGetRect, 0, 0, &rect) && !rect) return false;
  if (!rect || rect->right - rect->left <= 0 || rect->bottom - rect->top <= 0) return false;
  *width = rect->right - rect->left;
  *height = rect->bottom - rect->top;
  return true;
}

bool EditorWindow::ShowEditor(const std::string& title, bool pinned, std::string* error)
{
  if (!EditorSize(&m_width, &m_height)) {
    m_width = kFallbackWidth;
    m_height = kFallbackHeight;
  }
  const int screen = DefaultScreen(m_display);
  XSetWindowAttributes attributes = {};
  attributes.background_pixel = BlackPixel(m_display, screen);
  attributes.override_redirect = pinned ? True : False;
  attributes.event_mask = StructureNotifyMask;
  m_window =
      XCreateWindow(m_display, RootWindow(m_display, screen), 0, 0, m_width, m_height, 0, CopyFromParent,
                    InputOutput, CopyFromParent, CWBackPixel | CWOverrideRedirect | CWEventMask, &attributes);
  m_wmDelete = XInternAtom(m_display, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(m_display, m_window, &m_wmDelete, 1);
  SetTitle(m_display, m_window, title);
  SetFixedSize(m_display, m_window, m_width, m_height);
  XMapRaised(m_display, m_window);
  WaitForMap();

  if (!m_plugin->Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(m_window))) {
    *error = m_plugin->Path() + " could not open its editor";
    return false;
  }
  m_editorOpen = true;
  // Some plug-ins know their size only once the editor is open.
  int width, height;
  if (EditorSize(&width, &height) && (width != m_width || height != m_height)) OnSizeWindow(width, height);
  XFlush(m_display);
  return true;
}

void EditorWindow::WaitForMap()
{
  const long long deadline = NowMs() + 2000;
  XEvent event;
  while (NowMs() < deadline) {
    while (XPending(m_display)) {
      XNextEvent(m_display, &event);
      if (event.type == MapNotify && event.xmap.window == m_window) return;
      HandleEvent(event);
    }
    pollfd fd = {ConnectionNumber(m_display), POLLIN, 0};
    poll(&fd, 1, 20);
  }
}

void EditorWindow::HandleEvent(const XEvent& event)
{
  if (event.type == ClientMessage && event.xclient.window == m_window &&
      static_cast<Atom>(event.xclient.data.l[0]) == m_wmDelete)
    m_closeRequested = true;
  else if (event.type == DestroyNotify && event.xdestroywindow.window == m_window) m_closeRequested = true;
}

void EditorWindow::Tick()
{
  XEvent event;
  while (XPending(m_display)) {
    XNextEvent(m_display, &event);
    HandleEvent(event);
  }
  if (m_editorOpen) m_plugin->Dispatch(effEditIdle);
  XFlush(m_display);
}

void EditorWindow::RunUntilClosed()
{
  StopSignals signals;
  long long next = NowMs();
  while (!m_closeRequested && !g_stopRequested) {
    long long now = NowMs();
    if (now >= next) {
      Tick();
      next += kIdleIntervalMs;
      if (next <= now) next = now + kIdleIntervalMs;  // fell behind: no burst of idle calls
      continue;
    }
    if (XPending(m_display)) {
      XEvent event;
      XNextEvent(m_display, &event);
      HandleEvent(event);
      continue;
    }
    pollfd fd = {ConnectionNumber(m_display), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(next - now));
  }
  CloseEditor();
}

bool EditorWindow::ReadPixels(std::vector<uint32_t>* pixels, std::string* error)
{
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(m_display, m_window, &attributes) || attributes.map_state != IsViewable) {
    *error = "the editor's window is not on screen";
    return false;
  }
  if (attributes.visual->c_class != TrueColor) {
    *error = "the X display has no TrueColor visual to read the editor's pixels from";
    return false;
  }
  XErrorTrap trap(m_display);
  XImage* image = XGetImage(m_display, m_window, 0, 0, m_width, m_height, AllPlanes, ZPixmap);
  if (trap.Error() || !image) {
    if (image) XDestroyImage(image);
    *error = "cannot read the editor's pixels (is the screen smaller than the " + std::to_string(m_width) +
             " x " + std::to_string(m_height) + " editor?)";
    return false;
  }
  const Visual* visual = attributes.visual;
  pixels->resize(static_cast<size_t>(m_width) * m_height);
  for (int y = 0; y < m_height; ++y)
    for (int x = 0; x < m_width; ++x) {
      const unsigned long p = XGetPixel(image, x, y);
      (*pixels)[static_cast<size_t>(y) * m_width + x] = Channel(p, visual->red_mask) << 16 |
                                                        Channel(p, visual->green_mask) << 8 |
                                                        Channel(p, visual->blue_mask);
    }
  XDestroyImage(image);
  return true;
}

bool EditorWindow::CaptureSettled(int minTicks, int maxTicks, std::vector<uint32_t>* pixels,
                                  std::string* error)
{
  std::vector<uint32_t> previous;
  for (int tick = 1; tick <= maxTicks; ++tick) {
    const long long due = NowMs() + kIdleIntervalMs;
    Tick();
    XSync(m_display, False);
    if (!ReadPixels(pixels, error)) return false;
    if (tick >= minTicks && *pixels == previous) return true;
    previous.swap(*pixels);
    const long long wait = due - NowMs();
    if (wait > 0) poll(nullptr, 0, static_cast<int>(wait));
  }
  pixels->swap(previous);  // still changing: the latest picture
  return true;
}

void EditorWindow::CloseEditor()
{
  if (!m_editorOpen) return;
  m_editorOpen = false;
  m_plugin->Dispatch(effEditClose);
  XSync(m_display, False);
}

void EditorWindow::OnAutomate(int index, float value)
{
  if (m_onAutomate) m_onAutomate(index, value);
}

bool EditorWindow::OnSizeWindow(int width, int height)
{
  if (!m_window) return false;
  m_width = width;
  m_height = height;
  SetFixedSize(m_display, m_window, width, height);
  XResizeWindow(m_display, m_window, width, height);
  XFlush(m_display);
  return true;
}
