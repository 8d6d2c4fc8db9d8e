#pragma once
// Paces the editor's timer step at its frame rate, driven by whatever rate
// the host sends its idle calls at. A step is due when the previous one is
// at least one period old; a host that calls a little late keeps the
// average at the frame rate, and one that stalls does not get a burst of
// steps to catch up.
//
// Threads: a plain value of the editor's thread.

#include <cstdint>

class LinuxTickClock {
public:
  // fps 0 or less gives 25.
  explicit LinuxTickClock(int fps);

  // True when a step is due at nowNs (a monotonic time in nanoseconds);
  // the step then counts as taken. The first call is always due.
  bool Due(int64_t nowNs);
  // Nanoseconds from nowNs until the next step is due (0 when it is due).
  int64_t Until(int64_t nowNs) const;
  int64_t PeriodNs() const { return m_period; }

  // CLOCK_MONOTONIC in nanoseconds.
  static int64_t NowNs();

private:
  int64_t m_period;
  int64_t m_next = 0;
  bool m_started = false;
};
