#include "pix/pix_glyphcache.h"

#include <algorithm>
#include <cstring>

PIX_GlyphCache::PIX_GlyphCache() : m_extended(4096), m_store(65536) { Clear(); }

void PIX_GlyphCache::Clear()
{
  std::memset(m_lowchars, 0, sizeof(m_lowchars));
  for (int i = 0; i < 128; ++i) m_lowchars[i].charid = i;
  m_extended.Resize(0);
  m_store.Resize(0);
}

charEnt* PIX_GlyphCache::Find(int c)
{
  if (c >= 0 && c < 128) return &m_lowchars[c];
  charEnt* table = m_extended.Get();
  int lo = 0, hi = m_extended.GetSize();
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (table[mid].charid == c) return &table[mid];
    if (table[mid].charid < c) lo = mid + 1;
    else hi = mid;
  }
  return nullptr;
}

charEnt* PIX_GlyphCache::Append(int c)
{
  charEnt e;
  std::memset(&e, 0, sizeof(e));
  e.charid = c;
  return m_extended.Add(e);
}

void PIX_GlyphCache::Sort()
{
  charEnt* table = m_extended.Get();
  if (m_extended.GetSize() > 1)
    std::sort(table, table + m_extended.GetSize(),
              [](const charEnt& a, const charEnt& b) { return a.charid < b.charid; });
}

unsigned char* PIX_GlyphCache::AddBitmap(charEnt* e, int bytes)
{
  const int offset = m_store.GetSize();
  if (bytes <= 0 || offset > 0x7FFFFFFF - bytes - 1) return nullptr;
  unsigned char* store = static_cast<unsigned char*>(m_store.Resize(offset + bytes, false));
  if (!store) return nullptr;
  e->base_offset = offset + 1;
  return store + offset;
}

const unsigned char* PIX_GlyphCache::Bitmap(const charEnt* e) const
{
  if (!e || e->base_offset <= 0) return nullptr;
  return static_cast<const unsigned char*>(m_store.Get()) + (e->base_offset - 1);
}
