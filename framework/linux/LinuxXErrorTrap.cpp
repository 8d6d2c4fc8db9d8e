#include "framework/linux/LinuxXErrorTrap.h"

#include <atomic>
#include <mutex>

namespace {

const int kMaxTrapped = 16;

// The handler reads only the atomics, so it takes no lock of its own while
// Xlib holds its locks; traps change the table under the mutex.
struct TrapTable {
  std::mutex lock;
  std::atomic<Display*> displays[kMaxTrapped] = {};
  int counts[kMaxTrapped] = {};
  int depth = 0;
  std::atomic<XErrorHandler> previous{nullptr};
};

TrapTable& Table()
{
  static TrapTable table;
  return table;
}

std::atomic<unsigned long> s_errors{0};

int Handle(Display* display, XErrorEvent* error)
{
  TrapTable& t = Table();
  for (int i = 0; i < kMaxTrapped; ++i)
    if (display && t.displays[i].load() == display) {
      ++s_errors;
      return 0;
    }
  XErrorHandler previous = t.previous.load();
  return previous ? previous(display, error) : 0;
}

}  // namespace

LinuxXErrorTrap::LinuxXErrorTrap(Display* display) : m_display(display)
{
  if (!m_display) return;
  TrapTable& t = Table();
  std::lock_guard<std::mutex> guard(t.lock);
  int slot = -1;
  for (int i = 0; i < kMaxTrapped && slot < 0; ++i)
    if (t.counts[i] > 0 && t.displays[i].load() == display) slot = i;
  for (int i = 0; i < kMaxTrapped && slot < 0; ++i)
    if (t.counts[i] == 0) slot = i;
  if (slot >= 0 && t.counts[slot]++ == 0) t.displays[slot] = display;
  if (t.depth++ == 0) t.previous = XSetErrorHandler(Handle);
}

LinuxXErrorTrap::~LinuxXErrorTrap()
{
  if (!m_display) return;
  TrapTable& t = Table();
  std::lock_guard<std::mutex> guard(t.lock);
  for (int i = 0; i < kMaxTrapped; ++i)
    if (t.counts[i] > 0 && t.displays[i].load() == m_display) {
      if (--t.counts[i] == 0) t.displays[i] = nullptr;
      break;
    }
  if (--t.depth > 0) return;
  // Someone who replaced the handler meanwhile keeps theirs.
  XErrorHandler current = XSetErrorHandler(t.previous.load());
  if (current != Handle) XSetErrorHandler(current);
  t.previous = nullptr;
}

unsigned long LinuxXErrorTrap::ErrorCount() { return s_errors.load(); }
