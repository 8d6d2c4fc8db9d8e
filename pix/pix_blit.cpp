#include <cstring>

#include "pix/pix_blit.h"
#include "pix/pix_blitloops.h"
#include "pix/pix_opselect.h"
#include "pix/pix_simdrows.h"
#include "pix/pix_wordmix.h"

void PIX_Blit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, const RECT* srcrect, float alpha,
              int mode)
{
  if (alpha == 0.0f || !dest || !src) return;
  const PIX_BitmapRows dst(dest), sr(src);
  if (dst.empty() || sr.empty()) return;
  RECT r = {0, 0, sr.width, sr.height};
  if (srcrect) r = *srcrect;
  PIX_BlitArea a;
  if (!PIX_ClipBlitArea(dst, sr, dstx, dsty, r.left, r.top, r.right, r.bottom, a)) return;

  if ((mode & PIX_OP_CHANCOPY) == PIX_OP_CHANCOPY) {
    const int sb = mode & 3, db = (mode >> 2) & 3;
    PIX_ForEachBlitPixel(
        a, [&](PIX_pixel* d, PIX_pixel s) { ((unsigned char*)d)[db] = (unsigned char)(s >> (8 * sb)); });
    return;
  }
  const bool plainCopy = (mode & PIX_OP_SELECTOR_MASK) == PIX_OP_COPY;
  if (plainCopy && alpha == 1.0f) {
    const size_t bytes = (size_t)a.w * sizeof(PIX_pixel);
    PIX_ForEachBlitRow(a, [&](PIX_pixel* d, const PIX_pixel* s) { memmove(d, s, bytes); });
    return;
  }
  if (plainCopy && alpha == 0.5f) {
    if (a.decreasing) {
      PIX_ForEachBlitPixel(a,
                           [](PIX_pixel* d, PIX_pixel s) { *d = _PIX_CombinePixelsHalfMixFAST::mix(*d, s); });
    } else {
      const PIX_SimdRowOps& rows = PIX_SimdRows();
      PIX_ForEachBlitRow(a, [&](PIX_pixel* d, const PIX_pixel* s) { rows.halfMix(d, s, a.w); });
    }
    return;
  }
  const int ia = PIX_IntAlpha(alpha);
  PIX_SelectBlitOperator(mode, ia,
                         [&](auto tag) { _PIX_Template_Blit2<typename decltype(tag)::type>::blit(a, ia); });
}

void PIX_Blit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int srcx, int srcy, int srcw, int srch,
              float alpha, int mode)
{
  // The rectangle is formed wide so that extreme sizes cannot wrap round.
  const int64_t right = (int64_t)srcx + srcw, bottom = (int64_t)srcy + srch;
  RECT r = {srcx, srcy,
            (int)(right > INT32_MAX   ? INT32_MAX
                  : right < INT32_MIN ? INT32_MIN
                                      : right),
            (int)(bottom > INT32_MAX   ? INT32_MAX
                  : bottom < INT32_MIN ? INT32_MIN
                                       : bottom)};
  PIX_Blit(dest, src, dstx, dsty, &r, alpha, mode);
}

void PIX_Copy(PIX_IBitmap* dest, PIX_IBitmap* src)
{
  if (!dest || !src) return;
  dest->resize(src->getWidth(), src->getHeight());
  PIX_Blit(dest, src, 0, 0, nullptr, 1.0f, PIX_OP_COPY);
}
