#include "pix/pix_fontscratch.h"

#include <algorithm>

#include "gdi/gdi.h"
#include "pix/pix_sysbitmap.h"

namespace {

// A bitmap over a GDI memory context, standing in for the system bitmap
// until its storage is made by the GDI layer.
class ScratchBitmap : public PIX_IBitmap {
public:
  ScratchBitmap(int w, int h) { resize(w, h); }
  ~ScratchBitmap() override { GDI_DeleteGfxContext(m_dc); }
  PIX_pixel* getBits() override { return static_cast<PIX_pixel*>(GDI_GetCtxFrameBuffer(m_dc)); }
  int getWidth() override { return m_w; }
  int getHeight() override { return m_h; }
  int getRowSpan() override { return m_span; }
  HDC getDC() override { return m_dc; }
  bool resize(int w, int h) override
  {
    if (w == m_w && h == m_h) return false;
    GDI_DeleteGfxContext(m_dc);
    m_span = (w + 3) & ~3;
    m_dc = GDI_CreateMemContext(nullptr, m_span, h);
    m_w = m_dc ? w : 0;
    m_h = m_dc ? h : 0;
    return true;
  }

private:
  HDC m_dc = nullptr;
  int m_w = 0, m_h = 0, m_span = 0;
};
typedef ScratchBitmap ScratchType;

ScratchType* s_tempbitmap = nullptr;
ScratchType* s_nativerender_tempbitmap = nullptr;
int s_tempbitmap_refcnt = 0;

// Grows (never shrinks) a scratch bitmap; true when it was created or resized.
bool Ensure(ScratchType*& bm, int w, int h)
{
  if (!bm) {
    bm = new ScratchType(w, h);
    return true;
  }
  if (bm->getWidth() >= w && bm->getHeight() >= h && bm->getBits()) return false;
  bm->resize(std::max(w, bm->getWidth()), std::max(h, bm->getHeight()));
  return true;
}

}  // namespace

void PIX_FontScratchAddRef() { ++s_tempbitmap_refcnt; }

void PIX_FontScratchRelease()
{
  if (--s_tempbitmap_refcnt > 0) return;
  s_tempbitmap_refcnt = 0;
  delete s_tempbitmap;
  delete s_nativerender_tempbitmap;
  s_tempbitmap = nullptr;
  s_nativerender_tempbitmap = nullptr;
}

int PIX_FontScratchRefCount() { return s_tempbitmap_refcnt; }

PIX_IBitmap* PIX_GlyphScratch(int size)
{
  if (Ensure(s_tempbitmap, size, size)) {
    HDC dc = s_tempbitmap->getDC();
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, 1);
    SetBkColor(dc, RGB(0, 0, 0));
  }
  return s_tempbitmap->getBits() ? s_tempbitmap : nullptr;
}

PIX_IBitmap* PIX_NativeScratch(int w, int h)
{
  Ensure(s_nativerender_tempbitmap, std::max(w, 1), std::max(h, 1));
  return s_nativerender_tempbitmap->getBits() ? s_nativerender_tempbitmap : nullptr;
}
