#pragma once
// Helpers shared by the font tests.

#include <algorithm>
#include <cstdint>

#include "gdi/gdi.h"
#include "pix/pix_bitmap.h"
#include "pix/pix_bitmaprows.h"

// A bitmap with a drawing context, over a GDI memory context.
class DCBitmap : public PIX_IBitmap {
public:
  DCBitmap(int w, int h) : m_w(w), m_h(h), m_dc(GDI_CreateMemContext(nullptr, w, h)) {}
  ~DCBitmap() override { GDI_DeleteGfxContext(m_dc); }
  PIX_pixel* getBits() override { return static_cast<PIX_pixel*>(GDI_GetCtxFrameBuffer(m_dc)); }
  int getWidth() override { return m_w; }
  int getHeight() override { return m_h; }
  int getRowSpan() override { return m_w; }
  bool resize(int, int) override { return false; }
  HDC getDC() override { return m_dc; }

private:
  int m_w, m_h;
  HDC m_dc;
};

// Bounding box of the pixels whose colour (low 24 bits) is not black.
inline RECT LitBox(PIX_IBitmap* bm)
{
  PIX_BitmapRows rows(bm);
  RECT box = {rows.width, rows.height, 0, 0};
  for (int y = 0; y < rows.height; ++y)
    for (int x = 0; x < rows.width; ++x)
      if (*rows.at(x, y) & 0xFFFFFF) {
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x + 1);
        box.bottom = std::max(box.bottom, y + 1);
      }
  return box;
}

inline int MaxRed(PIX_IBitmap* bm)
{
  PIX_BitmapRows rows(bm);
  int m = 0;
  for (int y = 0; y < rows.height; ++y)
    for (int x = 0; x < rows.width; ++x) m = std::max(m, (int)((*rows.at(x, y) >> 16) & 0xFF));
  return m;
}

inline HFONT DejaVu(int px)
{
  return CreateFont(px, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
}
