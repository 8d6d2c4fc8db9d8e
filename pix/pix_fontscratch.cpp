#include "pix/pix_fontscratch.h"

#include <algorithm>

#include "gdi/gdi.h"
#include "pix/pix_sysbitmap.h"

namespace {

PIX_SysBitmap* s_tempbitmap = nullptr;
PIX_SysBitmap* s_nativerender_tempbitmap = nullptr;
int s_tempbitmap_refcnt = 0;

// Grows (never shrinks) a scratch bitmap; true when it was created or resized.
bool Ensure(PIX_SysBitmap*& bm, int w, int h)
{
  if (!bm) {
    bm = new PIX_SysBitmap(w, h);
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
