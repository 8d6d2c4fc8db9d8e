#include "tests/framework/linux/x11_editor_host.h"

#include <chrono>

ProbeHost& ProbeHost::Get()
{
  static ProbeHost host;
  return host;
}

VstIntPtr ProbeHost::Callback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                              float opt)
{
  ProbeHost& h = Get();
  std::lock_guard<std::mutex> guard(h.m_lock);
  ++h.m_calls[opcode];
  if (opcode == audioMasterVersion) return 2400;
  if (opcode != audioMasterVendorSpecific) return 0;
  ProbeReport r;
  r.kind = index;
  r.value = static_cast<int>(value);
  r.text = ptr ? static_cast<const char*>(ptr) : "";
  r.opt = opt;
  h.m_reports.push_back(r);
  h.m_arrived.notify_all();
  return 0;
}

void ProbeHost::Reset()
{
  std::lock_guard<std::mutex> guard(m_lock);
  m_reports.clear();
  m_calls.clear();
}

bool ProbeHost::Wait(int kind, ProbeReport* out, int timeoutMs)
{
  std::unique_lock<std::mutex> lock(m_lock);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    for (auto it = m_reports.begin(); it != m_reports.end(); ++it)
      if (it->kind == kind) {
        if (out) *out = *it;
        m_reports.erase(it);
        return true;
      }
    if (m_arrived.wait_until(lock, deadline) == std::cv_status::timeout) {
      for (auto it = m_reports.begin(); it != m_reports.end(); ++it)
        if (it->kind == kind) {
          if (out) *out = *it;
          m_reports.erase(it);
          return true;
        }
      return false;
    }
  }
}

int ProbeHost::Pending(int kind)
{
  std::lock_guard<std::mutex> guard(m_lock);
  int n = 0;
  for (const ProbeReport& r : m_reports) n += r.kind == kind;
  return n;
}

int ProbeHost::Calls(VstInt32 opcode)
{
  std::lock_guard<std::mutex> guard(m_lock);
  return m_calls[opcode];
}

// ---- The user-interface thread ----

HostUIThread::HostUIThread(AEffect* effect) : m_effect(effect), m_thread([this] { Run(); }) {}

HostUIThread::~HostUIThread()
{
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_stop = true;
  }
  m_wake.notify_all();
  m_thread.join();
}

void HostUIThread::Run()
{
  auto nextIdle = std::chrono::steady_clock::now();
  std::unique_lock<std::mutex> lock(m_lock);
  while (!m_stop) {
    if (!m_tasks.empty()) {
      std::function<void()> task = std::move(m_tasks.front());
      m_tasks.pop_front();
      lock.unlock();
      task();
      lock.lock();
      continue;
    }
    if (m_period > 0 && std::chrono::steady_clock::now() >= nextIdle) {
      nextIdle = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_period);
      lock.unlock();
      m_effect->dispatcher(m_effect, effEditIdle, 0, 0, nullptr, 0.0f);
      ++m_idles;
      lock.lock();
      m_wake.notify_all();
      continue;
    }
    if (m_period > 0) m_wake.wait_until(lock, nextIdle);
    else m_wake.wait(lock);
  }
}

void HostUIThread::Call(const std::function<void()>& f)
{
  std::mutex doneLock;
  std::condition_variable doneCv;
  bool done = false;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_tasks.push_back([&] {
      f();
      std::lock_guard<std::mutex> g(doneLock);
      done = true;
      doneCv.notify_all();
    });
  }
  m_wake.notify_all();
  std::unique_lock<std::mutex> wait(doneLock);
  doneCv.wait(wait, [&] { return done; });
}

VstIntPtr HostUIThread::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
  VstIntPtr result = 0;
  Call([&] { result = m_effect->dispatcher(m_effect, opcode, index, value, ptr, opt); });
  return result;
}

void HostUIThread::Idle(int periodMs)
{
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_period = periodMs;
  }
  m_wake.notify_all();
}

void HostUIThread::WaitIdles(int n)
{
  const int target = m_idles.load() + n;
  WaitUntil([&] { return m_idles.load() >= target; }, 10000);
}

// ---- The screen ----

std::vector<PopupWindow> FindPopups(Display* display)
{
  std::vector<PopupWindow> found;
  Window root, parent, *children = nullptr;
  unsigned n = 0;
  XSync(display, False);
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &n)) return found;
  for (unsigned i = 0; i < n; ++i) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(display, children[i], &a)) continue;
    if (!a.override_redirect || a.map_state != IsViewable) continue;
    found.push_back(PopupWindow{children[i], a.x, a.y, a.width, a.height});
  }
  if (children) XFree(children);
  return found;
}

bool WaitForPopups(Display* display, size_t n, std::vector<PopupWindow>* out, int timeoutMs)
{
  std::vector<PopupWindow> found;
  const bool ok = WaitUntil(
      [&] {
        found = FindPopups(display);
        return found.size() == n;
      },
      timeoutMs);
  if (out) *out = found;
  return ok;
}

bool WaitUntil(const std::function<bool()>& pred, int timeoutMs)
{
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    if (pred()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return pred();
}

std::vector<Window> ChildWindows(Display* display, Window parent)
{
  std::vector<Window> result;
  Window root, up, *children = nullptr;
  unsigned n = 0;
  XSync(display, False);
  if (XQueryTree(display, parent, &root, &up, &children, &n))
    for (unsigned i = 0; i < n; ++i) result.push_back(children[i]);
  if (children) XFree(children);
  return result;
}
