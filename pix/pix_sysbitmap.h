// Bitmap the platform can draw into and copy to the screen: its storage is a
// memory drawing context (rows of the width rounded up to 4 pixels, memory
// order blue, green, red, unused byte, row 0 at the top), so native text can
// target it through getDC. Storage never shrinks.
//
// Threads: no locking; used by one thread at a time (the editor's).
#pragma once

#include "pix/pix_bitmap.h"

class PIX_SysBitmap : public PIX_IBitmap {
public:
  explicit PIX_SysBitmap(int w = 0, int h = 0);
  ~PIX_SysBitmap() override;

  PIX_pixel* getBits() override { return m_bits; }
  int getWidth() override { return m_width; }
  int getHeight() override { return m_height; }
  int getRowSpan() override { return m_rowspan; }
  // False if the size is unchanged or empty/invalid; true otherwise, also
  // when the storage could not be created (the bitmap is then 0 by 0).
  bool resize(int w, int h) override;
  HDC getDC() override { return m_dc; }

private:
  PIX_SysBitmap(const PIX_SysBitmap&) = delete;
  PIX_SysBitmap& operator=(const PIX_SysBitmap&) = delete;

  int m_width, m_height;
  HDC m_dc;
  PIX_pixel* m_bits;
  int m_rowspan;
  int m_allocheight;
  void* m_storage;  // the memory drawing context behind m_bits (owned)
};
