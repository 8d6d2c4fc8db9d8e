#include "pix/pix_membitmap.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

namespace {
// Extra bytes so the bits can start at the next multiple of 64 bytes.
const int kAlignSlack = 63;
// Largest byte count a bitmap may need: it and the slack must fit an int.
const int64_t kMaxBytes = INT_MAX - kAlignSlack;
}  // namespace

PIX_MemBitmap::PIX_MemBitmap(int w, int h, int rowAlignment)
    : m_buffer(nullptr), m_width(0), m_height(0), m_allocsize(0), m_rowalign_mask(0)
{
  if (rowAlignment >= 2) {
    const int lowest = rowAlignment & -rowAlignment;
    m_rowalign_mask = lowest - 1 > 15 ? 15 : lowest - 1;
  }
  if (w > 0 && h > 0) resize(w, h);
}

PIX_MemBitmap::~PIX_MemBitmap() { free(m_buffer); }

PIX_pixel* PIX_MemBitmap::getBits()
{
  if (!m_buffer) return nullptr;
  const uintptr_t p = ((uintptr_t)m_buffer + kAlignSlack) & ~(uintptr_t)kAlignSlack;
  return (PIX_pixel*)p;
}

int PIX_MemBitmap::getRowSpan()
{
  const int64_t span = ((int64_t)m_width + m_rowalign_mask) & ~(int64_t)m_rowalign_mask;
  return span > INT_MAX ? INT_MAX : (int)span;
}

void PIX_MemBitmap::freeStorage()
{
  free(m_buffer);
  m_buffer = nullptr;
  m_allocsize = 0;
}

bool PIX_MemBitmap::resize(int w, int h)
{
  if (w == m_width && h == m_height) return false;
  m_width = w;
  m_height = h;
  // Computed wide: a product that wrapped round to a small positive int would
  // leave rows to be written far past the allocation.
  const int64_t span = ((int64_t)w + m_rowalign_mask) & ~(int64_t)m_rowalign_mask;
  const int64_t needed = (int64_t)h * span * 4;
  if (w <= 0 || h <= 0 || needed <= 0) {
    freeStorage();
    m_width = m_height = 0;
    return true;
  }
  if (needed > kMaxBytes) {
    freeStorage();
    m_width = m_height = 0;
    return true;
  }
  const int need = (int)needed;
  if (m_buffer && m_allocsize >= need) return true;

  if (m_buffer) {
    int64_t grown = needed + needed / 4;
    if (grown > kMaxBytes) grown = kMaxBytes;
    void* p = realloc(m_buffer, (size_t)grown + kAlignSlack);
    if (p) {
      m_buffer = p;
      m_allocsize = (int)grown;
    } else {
      free(m_buffer);
      m_allocsize = need;
      m_buffer = malloc((size_t)need + kAlignSlack);
    }
  } else {
    m_allocsize = need;
    m_buffer = malloc((size_t)need + kAlignSlack);
  }
  if (!m_buffer) {
    m_allocsize = 0;
    m_width = m_height = 0;
  }
  return true;
}
