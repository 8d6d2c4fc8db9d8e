// Heap-backed bitmap: rows padded to a multiple of a row alignment, bits
// aligned to 64 bytes, storage that grows by a quarter beyond the request and
// is reused when the size shrinks. Pixels are never cleared.
//
// Threads: no locking; used by one thread at a time.
#pragma once

#include "pix/pix_bitmap.h"

class PIX_MemBitmap : public PIX_IBitmap {
public:
  // rowAlignment in pixels (4 throughout the system); at most 16 is honoured.
  explicit PIX_MemBitmap(int w = 0, int h = 0, int rowAlignment = 4);
  ~PIX_MemBitmap() override;

  PIX_pixel* getBits() override;
  int getWidth() override { return m_width; }
  int getHeight() override { return m_height; }
  int getRowSpan() override;
  // True unless the size is unchanged. Sizes that are not positive free the
  // storage; a size whose byte count does not fit an int, or storage that
  // cannot be had, leaves the bitmap 0 by 0 without bits (still true).
  bool resize(int w, int h) override;

  int getAllocatedSize() const { return m_allocsize; }

private:
  PIX_MemBitmap(const PIX_MemBitmap&) = delete;
  PIX_MemBitmap& operator=(const PIX_MemBitmap&) = delete;
  void freeStorage();

  void* m_buffer;
  int m_width, m_height;
  int m_allocsize;
  int m_rowalign_mask;
};
