#include "pix/pix_bitmaprows.h"
#include "pix/pix_blit.h"
#include "pix/pix_opselect.h"
#include "pix/pix_solidplot.h"

void PIX_Clear(PIX_IBitmap* dest, PIX_pixel color)
{
  const PIX_BitmapRows rows(dest);
  PIX_ClippedRect rc;
  if (!PIX_ClipRect(rows, 0, 0, rows.width, rows.height, rc)) return;
  const PIX_SimdRowOps& simd = PIX_SimdRows();
  for (int y = 0; y < rc.h; ++y) simd.fillSolid(rows.row(y), color, rc.w);
}

void PIX_ClearRect(PIX_IBitmap* dest, int x, int y, int w, int h, PIX_pixel keepmask, PIX_pixel setbits)
{
  const PIX_BitmapRows rows(dest);
  PIX_ClippedRect rc;
  if (!PIX_ClipRect(rows, x, y, w, h, rc)) return;
  PIX_ForEachRectPixel(rows, rc, [=](PIX_pixel* p) { *p = (*p & keepmask) | setbits; });
}

void PIX_FillRect(PIX_IBitmap* dest, int x, int y, int w, int h, PIX_pixel color, float alpha, int mode)
{
  if (mode & PIX_USE_SOURCE_ALPHA) alpha *= (float)PIX_GetA(color) / 255.0f;
  const PIX_BitmapRows rows(dest);
  PIX_ClippedRect rc;
  if (!PIX_ClipRect(rows, x, y, w, h, rc)) return;
  const int ia = PIX_IntAlpha(alpha);
  if (ia == 0) return;
  auto fillRows = [&](const auto& plot) {
    for (int j = 0; j < rc.h; ++j) plot.span(rows.at(rc.x, rc.y + j), rc.w);
  };

  if ((mode & PIX_OP_MASK) == PIX_OP_COPY) {
    PIX_RunSolidPlotFast(PIX_OP_COPY, ia, color, PIX_VecFastFromIntAlpha(ia), fillRows);
    return;
  }
  // The integer alpha is both the weight and the source alpha channel.
  PIX_SelectColorOperator(mode, [&](auto tag) {
    fillRows(
        PIX_OpPlot<typename decltype(tag)::type>{PIX_GetR(color), PIX_GetG(color), PIX_GetB(color), ia, ia});
  });
}

void PIX_SetAlphaFromColorMask(PIX_IBitmap* dest, PIX_pixel color)
{
  const PIX_BitmapRows rows(dest);
  PIX_ClippedRect rc;
  if (!PIX_ClipRect(rows, 0, 0, rows.width, rows.height, rc)) return;
  const PIX_pixel key = color & 0xFFFFFFu;
  PIX_ForEachRectPixel(rows, rc, [key](PIX_pixel* p) {
    const PIX_pixel rgb = *p & 0xFFFFFFu;
    *p = rgb == key ? rgb : rgb | 0xFF000000u;
  });
}

void PIX_ProcessRect(PIX_IBitmap* dest, int x, int y, int w, int h,
                     void (*procFunc)(PIX_pixel* p, void* parm), void* parm)
{
  if (!procFunc) return;
  const PIX_BitmapRows rows(dest);
  PIX_ClippedRect rc;
  if (!PIX_ClipRect(rows, x, y, w, h, rc)) return;
  PIX_ForEachRectPixel(rows, rc, [=](PIX_pixel* p) { procFunc(p, parm); });
}
