#pragma once
// A test host for plug-in editors on X11: a user-interface thread that
// sends the editor opcodes and idles the editor at a chosen rate, as a
// host's event loop does, a host callback that collects what the probe
// plug-in reports, and ways to find the editor's popup windows (menus,
// tooltips) on the screen.

#include <X11/Xlib.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "framework/vst/VSTInterface.h"

// One report of the probe plug-in (x11_probe_effect.h).
struct ProbeReport {
  int kind = 0;
  int value = 0;
  std::string text;
  float opt = 0.0f;
};

// The host callback's side: every audioMasterVendorSpecific call is a
// report; other calls are counted by opcode. Thread-safe.
class ProbeHost {
public:
  static ProbeHost& Get();
  static VstIntPtr Callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                            float opt);
  void Reset();
  // Takes the first report of the kind, waiting up to timeoutMs for one.
  bool Wait(int kind, ProbeReport* out, int timeoutMs = 5000);
  // Reports of the kind waiting to be taken.
  int Pending(int kind);
  int Calls(VstInt32 opcode);

private:
  std::mutex m_lock;
  std::condition_variable m_arrived;
  std::deque<ProbeReport> m_reports;
  std::map<VstInt32, int> m_calls;
};

// The host's user-interface thread: runs calls there and idles the editor.
class HostUIThread {
public:
  explicit HostUIThread(AEffect* effect);
  ~HostUIThread();  // stops idling and ends the thread
  HostUIThread(const HostUIThread&) = delete;
  HostUIThread& operator=(const HostUIThread&) = delete;

  // Runs f on the thread and waits until it has run.
  void Call(const std::function<void()>& f);
  // The dispatcher on the thread.
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  // effEditIdle every periodMs (0 stops).
  void Idle(int periodMs);
  int Idles() const { return m_idles.load(); }
  // Waits until at least n more idle calls have returned.
  void WaitIdles(int n);

private:
  void Run();

  AEffect* m_effect;
  std::mutex m_lock;
  std::condition_variable m_wake;
  std::deque<std::function<void()>> m_tasks;
  int m_period = 0;
  bool m_stop = false;
  std::atomic<int> m_idles{0};
  std::thread m_thread;
};

// A mapped override-redirect window on the screen (a menu level or a
// tooltip), in root coordinates.
struct PopupWindow {
  Window window = 0;
  int x = 0, y = 0, width = 0, height = 0;
};
// Every such window, bottom to top of the stacking order.
std::vector<PopupWindow> FindPopups(Display* display);
// Waits up to timeoutMs until there are exactly n of them.
bool WaitForPopups(Display* display, size_t n, std::vector<PopupWindow>* out, int timeoutMs = 5000);

// Polls pred every few milliseconds up to timeoutMs; its last answer.
bool WaitUntil(const std::function<bool()>& pred, int timeoutMs = 5000);

// The children of a window (the editor's view inside the host's window).
std::vector<Window> ChildWindows(Display* display, Window parent);
