#include "pix/pix_bitmaprows.h"
#include "pix/pix_blit.h"
#include "pix/pix_opselect.h"
#include "pix/pix_solidplot.h"

PIX_pixel PIX_GetPixel(PIX_IBitmap* bm, int x, int y)
{
  const PIX_BitmapRows rows(bm);
  if (rows.empty() || x < 0 || y < 0 || x >= rows.width || y >= rows.height) return 0;
  return *rows.at(x, y);
}

void PIX_PutPixel(PIX_IBitmap* dest, int x, int y, PIX_pixel color, float alpha, int mode)
{
  const PIX_BitmapRows rows(dest);
  if (rows.empty() || x < 0 || y < 0 || x >= rows.width || y >= rows.height) return;
  PIX_pixel* p = rows.at(x, y);
  const int ia = PIX_IntAlphaF(alpha);
  if (ia == 0) return;
  if ((mode & PIX_OP_MASK) == PIX_OP_COPY) {
    PIX_RunSolidPlotFast(PIX_OP_COPY, ia, color, PIX_VecFastFromIntAlpha(ia), [&](auto plot) { plot(p); });
    return;
  }
  PIX_SelectColorOperator(mode, [&](auto tag) {
    typedef typename decltype(tag)::type Op;
    Op::doPix((unsigned char*)p, PIX_GetR(color), PIX_GetG(color), PIX_GetB(color), PIX_GetA(color), ia);
  });
}
