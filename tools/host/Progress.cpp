#include "tools/host/Progress.h"

#include <unistd.h>

#include <cstdio>

namespace {
const double kQuietSeconds = 1.0;  // shorter renders show no bar at all
const double kRedrawSeconds = 0.1;
const int kBarWidth = 30;

double SecondsBetween(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b)
{
  return std::chrono::duration<double>(b - a).count();
}
}  // namespace

Progress::Progress(long long totalFrames, double sampleRate, bool wanted)
    : m_total(totalFrames), m_rate(sampleRate > 0 ? sampleRate : 1.0), m_enabled(wanted && isatty(2) != 0)
{
  m_start = m_lastDraw = std::chrono::steady_clock::now();
}

Progress::~Progress()
{
  if (m_drawn) std::fprintf(stderr, "\r%*s\r", kBarWidth + 40, "");
}

void Progress::Update(long long framesDone)
{
  if (!m_enabled) return;
  const auto now = std::chrono::steady_clock::now();
  if (SecondsBetween(m_start, now) < kQuietSeconds) return;
  if (m_drawn && SecondsBetween(m_lastDraw, now) < kRedrawSeconds) return;
  m_lastDraw = now;
  Draw(framesDone);
}

void Progress::Draw(long long framesDone)
{
  m_drawn = true;
  const double doneSeconds = framesDone / m_rate;
  if (m_total <= 0) {
    std::fprintf(stderr, "\rrendering %.1f s", doneSeconds);
  } else {
    double fraction = static_cast<double>(framesDone) / static_cast<double>(m_total);
    if (fraction > 1.0) fraction = 1.0;
    char bar[kBarWidth + 1];
    const int filled = static_cast<int>(fraction * kBarWidth);
    for (int i = 0; i < kBarWidth; ++i) bar[i] = i < filled ? '#' : '.';
    bar[kBarWidth] = '\0';
    std::fprintf(stderr, "\rrendering [%s] %3d%%  %.1f s of %.1f s", bar, static_cast<int>(fraction * 100.0),
                 doneSeconds, m_total / m_rate);
  }
  std::fflush(stderr);
}
