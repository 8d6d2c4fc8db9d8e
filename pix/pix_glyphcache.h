// The glyph cache of one font: a directly indexed table for characters
// 0-127, a table sorted by character code for the rest, and the store that
// holds every cached coverage bitmap back to back.
//
// Threads: no locking; owned by one cached font (editor thread).
#pragma once

#include "base/heapbuf.h"

// One cached character.
struct charEnt {
  int base_offset;    // 0 not rendered, -1 rendered and empty, else 1 + byte offset in the store
  int width, height;  // coverage bitmap size (width x height bytes, row by row)
  int advance;        // pen advance
  int charid;         // character code (16-bit)
  int left_extra;     // columns the bitmap extends left of the pen (may be negative)
};

class PIX_GlyphCache {
public:
  PIX_GlyphCache();

  // Forgets every glyph: low table cleared, extended table and store emptied.
  void Clear();

  // The entry of a character: the table slot below 128, else the sorted
  // table's entry or null. Valid until the next Append or Sort.
  charEnt* Find(int c);
  // Appends an unrendered entry for c (128 and up) to the extended table;
  // null when the table cannot grow. Sort before the next Find.
  charEnt* Append(int c);
  // Restores the extended table's order by character code.
  void Sort();
  int ExtendedCount() const { return m_extended.GetSize(); }

  // Room for bytes of coverage at the end of the store, recorded in the
  // entry's base offset; null when the store cannot grow.
  unsigned char* AddBitmap(charEnt* e, int bytes);
  // The entry's coverage bitmap, or null for unrendered and empty entries.
  const unsigned char* Bitmap(const charEnt* e) const;
  int StoreSize() const { return m_store.GetSize(); }

private:
  charEnt m_lowchars[128];
  BASE_TypedBuf<charEnt> m_extended;
  BASE_HeapBuf m_store;
};
