#include "framework/linux/LinuxClipboard.h"

#include <poll.h>

#include <cstdint>

#include <X11/Xatom.h>

#include "framework/linux/LinuxTickClock.h"

namespace {

const int64_t kNsPerMs = 1000000;

struct Wanted {
  Window requestor;
  Atom selection;
};

Bool IsOurNotify(Display*, XEvent* ev, XPointer arg)
{
  const Wanted* w = reinterpret_cast<const Wanted*>(arg);
  return ev->type == SelectionNotify && ev->xselection.requestor == w->requestor &&
         ev->xselection.selection == w->selection;
}

// Waits for the owner's SelectionNotify; false after the deadline.
bool WaitForNotify(Display* d, Wanted* wanted, int timeoutMs, XEvent* out)
{
  const int64_t deadline = LinuxTickClock::NowNs() + timeoutMs * kNsPerMs;
  for (;;) {
    if (XCheckIfEvent(d, out, IsOurNotify, reinterpret_cast<XPointer>(wanted))) return true;
    const int64_t left = deadline - LinuxTickClock::NowNs();
    if (left <= 0) return false;
    pollfd p = {ConnectionNumber(d), POLLIN, 0};
    poll(&p, 1, (int)((left + kNsPerMs - 1) / kNsPerMs));
    // Reads what arrived into the queue without blocking.
    XEventsQueued(d, QueuedAfterReading);
  }
}

}  // namespace

bool LinuxReadClipboard(Display* d, Window requestor, BASE_String* text, int timeoutMs)
{
  text->Set("");
  if (!d || !requestor) return false;
  const Atom clipboard = XInternAtom(d, "CLIPBOARD", False);
  const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
  const Atom target = XInternAtom(d, "QUARRY_CLIPBOARD", False);
  if (XGetSelectionOwner(d, clipboard) == None) return false;

  XDeleteProperty(d, requestor, target);
  XConvertSelection(d, clipboard, utf8, target, requestor, CurrentTime);
  XFlush(d);
  Wanted wanted = {requestor, clipboard};
  XEvent ev;
  if (!WaitForNotify(d, &wanted, timeoutMs, &ev) || ev.xselection.property == None) return false;

  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  // Up to 16 MiB in one go; larger texts come in increments (INCR), which
  // nothing typed into a value field needs.
  const int ok = XGetWindowProperty(d, requestor, target, 0, 4L * 1024 * 1024, True, AnyPropertyType, &type,
                                    &format, &count, &after, &data);
  bool result = false;
  if (ok == Success && data && type == utf8 && format == 8 && after == 0) {
    text->Set(reinterpret_cast<const char*>(data), (int)count);
    result = true;
  }
  if (data) XFree(data);
  if (!result) XDeleteProperty(d, requestor, target);
  return result;
}
