#include "tools/host/FeedSource.h"

#include <algorithm>
#include <cstring>

long long MemoryFeed::Read(double* interleaved, long long frames)
{
  const long long n = std::max(0LL, std::min(frames, Frames() - m_pos));
  if (n > 0)
    std::memcpy(interleaved, m_samples.data() + m_pos * m_channels,
                static_cast<size_t>(n * m_channels) * sizeof(double));
  m_pos += n;
  return n;
}
