#pragma once
// Another client that owns the CLIPBOARD selection, on its own display
// connection and thread, and answers requests for its text as the test
// tells it: with the text as UTF8_STRING, with a refusal, or not at all.

#include <atomic>
#include <string>
#include <thread>

class ClipboardOwner {
public:
  enum Mode { kAnswer, kRefuse, kSilent };
  // Owns the clipboard once the constructor returns.
  ClipboardOwner(const std::string& text, Mode mode);
  ~ClipboardOwner();  // gives the clipboard up
  ClipboardOwner(const ClipboardOwner&) = delete;
  ClipboardOwner& operator=(const ClipboardOwner&) = delete;
  int Requests() const { return m_requests; }

private:
  void Run();
  std::string m_text;
  Mode m_mode;
  std::atomic<bool> m_ready{false}, m_stop{false};
  std::atomic<int> m_requests{0};
  std::thread m_thread;
};
