#pragma once
// A one-line progress bar on the terminal for long renders. It stays silent
// when stderr is not a terminal, when it is not wanted (-q) and for renders
// that finish within a second or so, and it draws at most ten times a
// second.
//
// Threads: main thread only.

#include <chrono>

class Progress {
public:
  // totalFrames < 0 when the length is not known in advance.
  Progress(long long totalFrames, double sampleRate, bool wanted);
  ~Progress();  // clears the line when anything was drawn
  void Update(long long framesDone);

private:
  void Draw(long long framesDone);

  long long m_total;
  double m_rate;
  bool m_enabled;
  bool m_drawn = false;
  std::chrono::steady_clock::time_point m_start;
  std::chrono::steady_clock::time_point m_lastDraw;
};
