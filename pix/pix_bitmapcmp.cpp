#include <cstring>

#include "pix/pix_bitmaprows.h"
#include "pix/pix_blit.h"

int PIX_BitmapCmpEx(PIX_IBitmap* a, PIX_IBitmap* b, PIX_pixel mask, int* diffbox)
{
  if (diffbox) diffbox[0] = diffbox[1] = diffbox[2] = diffbox[3] = 0;
  if (!a || !b) return !a && !b ? 0 : !a ? -1 : 1;
  const int aw = a->getWidth(), bw = b->getWidth();
  if (aw != bw) return bw - aw;
  const int ah = a->getHeight(), bh = b->getHeight();
  if (ah != bh) return bh - ah;
  const PIX_BitmapRows ra(a), rb(b);
  // Same size but storage missing on one side: they differ only if one has pixels.
  if (ra.empty() || rb.empty()) return ra.empty() == rb.empty() ? 0 : ra.empty() ? -1 : 1;

  if (diffbox) {
    int x0 = ra.width, y0 = ra.height, x1 = -1, y1 = -1;
    for (int y = 0; y < ra.height; ++y) {
      const PIX_pixel* pa = ra.row(y);
      const PIX_pixel* pb = rb.row(y);
      for (int x = 0; x < ra.width; ++x) {
        if (((pa[x] ^ pb[x]) & mask) == 0) continue;
        if (x < x0) x0 = x;
        if (x > x1) x1 = x;
        if (y < y0) y0 = y;
        y1 = y;
      }
    }
    if (x1 < 0) return 0;
    diffbox[0] = x0;
    diffbox[1] = y0;
    diffbox[2] = x1 - x0 + 1;
    diffbox[3] = y1 - y0 + 1;
    return 1;
  }
  for (int y = 0; y < ra.height; ++y) {
    const PIX_pixel* pa = ra.row(y);
    const PIX_pixel* pb = rb.row(y);
    if (mask == 0xFFFFFFFFu) {
      const int c = memcmp(pa, pb, sizeof(PIX_pixel) * (size_t)ra.width);
      if (c) return c;
      continue;
    }
    for (int x = 0; x < ra.width; ++x)
      if ((pa[x] ^ pb[x]) & mask) return 1;
  }
  return 0;
}

int PIX_BitmapCmp(PIX_IBitmap* a, PIX_IBitmap* b, int* diffbox)
{
  return PIX_BitmapCmpEx(a, b, 0xFFFFFFFFu, diffbox);
}
