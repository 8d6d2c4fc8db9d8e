#include "base/heapbuf.h"

#include <climits>
#include <cstdlib>
#include <cstring>

BASE_HeapBuf::BASE_HeapBuf(int granularity) : m_granularity(granularity > 0 ? granularity : 1) {}

BASE_HeapBuf::~BASE_HeapBuf() { std::free(m_buf); }

long long BASE_HeapBuf::AllocationFor(int newSize, int granularity)
{
  const long long size = newSize;
  long long extra = size / 2 > granularity ? size / 2 : granularity;
  long long alloc;
  if (granularity >= 4096) {
    // Large buffers grow in whole pages, leaving room for the allocator's
    // own header so that the block stays within those pages.
    extra &= ~4095LL;
    if (extra < 4096) extra = 4096;
    if (extra > 4194304) extra = 4194304;
    alloc = ((size + extra + 96) & ~4095LL) - 96;
  } else {
    alloc = size + extra;
  }
  return alloc > INT_MAX ? -1 : alloc;
}

bool BASE_HeapBuf::Reallocate(int newAlloc, int keepBytes)
{
  void* grown = std::realloc(m_buf, static_cast<size_t>(newAlloc));
  if (!grown) {
    // realloc may fail where a fresh block still fits.
    grown = std::malloc(static_cast<size_t>(newAlloc));
    if (!grown) return false;
    if (m_buf && keepBytes > 0) std::memcpy(grown, m_buf, static_cast<size_t>(keepBytes));
    std::free(m_buf);
  }
  m_buf = grown;
  m_alloc = newAlloc;
  return true;
}

void* BASE_HeapBuf::Resize(int newSize, bool resizeDown)
{
  if (newSize < 0) newSize = 0;
  const int keep = m_used < newSize ? m_used : newSize;
  if (newSize > m_alloc) {
    const long long alloc = AllocationFor(newSize, m_granularity);
    if (alloc < 0 || !Reallocate(static_cast<int>(alloc), keep)) return nullptr;
  } else if (resizeDown) {
    int half = m_alloc / 2;
    const int lessPages = m_alloc - 4 * m_granularity;
    if (lessPages < half) half = lessPages;
    const int threshold = half > 1 ? half : 1;
    if (newSize < threshold) {
      if (newSize == 0) {
        std::free(m_buf);
        m_buf = nullptr;
        m_alloc = 0;
      } else {
        const long long alloc = AllocationFor(newSize, m_granularity);
        if (alloc >= 0 && alloc < m_alloc) Reallocate(static_cast<int>(alloc), keep);
      }
    }
  }
  m_used = newSize;
  return m_used ? m_buf : nullptr;
}
