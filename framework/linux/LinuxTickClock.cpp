#include "framework/linux/LinuxTickClock.h"

#include <time.h>

LinuxTickClock::LinuxTickClock(int fps) : m_period(1000000000LL / (fps > 0 ? fps : 25)) {}

bool LinuxTickClock::Due(int64_t nowNs)
{
  if (m_started && nowNs < m_next) return false;
  // Less than a period late: the next step keeps the grid, so the average
  // stays at the frame rate. Later than that: start a new grid from now.
  m_next = m_started && nowNs - m_next < m_period ? m_next + m_period : nowNs + m_period;
  m_started = true;
  return true;
}

int64_t LinuxTickClock::Until(int64_t nowNs) const
{
  if (!m_started || nowNs >= m_next) return 0;
  return m_next - nowNs;
}

int64_t LinuxTickClock::NowNs()
{
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return (int64_t)ts.tv_sec * 1000000000LL + ts.tv_nsec;
}
