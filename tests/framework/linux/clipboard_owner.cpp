#include "tests/framework/linux/clipboard_owner.h"

#include <X11/Xlib.h>

#include <chrono>

ClipboardOwner::ClipboardOwner(const std::string& text, Mode mode) : m_text(text), m_mode(mode)
{
  m_thread = std::thread([this] { Run(); });
  while (!m_ready) std::this_thread::yield();
}

ClipboardOwner::~ClipboardOwner()
{
  m_stop = true;
  m_thread.join();
}

void ClipboardOwner::Run()
{
  Display* d = XOpenDisplay(nullptr);
  Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
  const Atom clipboard = XInternAtom(d, "CLIPBOARD", False);
  const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
  XSetSelectionOwner(d, clipboard, w, CurrentTime);
  XSync(d, False);
  m_ready = true;
  while (!m_stop) {
    while (XPending(d)) {
      XEvent ev;
      XNextEvent(d, &ev);
      if (ev.type != SelectionRequest) continue;
      ++m_requests;
      const XSelectionRequestEvent& req = ev.xselectionrequest;
      if (m_mode == kSilent) continue;
      XEvent reply = {};
      reply.xselection.type = SelectionNotify;
      reply.xselection.requestor = req.requestor;
      reply.xselection.selection = req.selection;
      reply.xselection.target = req.target;
      reply.xselection.time = req.time;
      reply.xselection.property = None;
      if (m_mode == kAnswer && req.target == utf8) {
        XChangeProperty(d, req.requestor, req.property, utf8, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(m_text.data()), (int)m_text.size());
        reply.xselection.property = req.property;
      }
      XSendEvent(d, req.requestor, False, 0, &reply);
      XFlush(d);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  XSetSelectionOwner(d, clipboard, None, CurrentTime);
  XDestroyWindow(d, w);
  XCloseDisplay(d);
}
