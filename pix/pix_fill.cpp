#include "pix/pix_blit.h"
#include "pix/pix_blitloops.h"
#include "pix/pix_opselect.h"

void PIX_Clear(PIX_IBitmap* dest, PIX_pixel color)
{
  const PIX_BitmapRows rows(dest);
  PIX_ClippedRect rc;
  if (!PIX_ClipRect(rows, 0, 0, rows.width, rows.height, rc)) return;
  PIX_ForEachRectPixel(rows, rc, [color](PIX_pixel* p) { *p = color; });
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
  const int r = PIX_GetR(color), g = PIX_GetG(color), b = PIX_GetB(color);

  if ((mode & PIX_OP_MASK) == PIX_OP_COPY) {
    switch (ia) {
      case 64:
        _PIX_Template_Blit0<_PIX_CombinePixelsQuarterMix2FAST>::solidBlitFAST(rows, rc,
                                                                              PIX_PreShiftQuarter(color));
        return;
      case 128:
        _PIX_Template_Blit0<_PIX_CombinePixelsHalfMix2FAST>::solidBlitFAST(rows, rc, PIX_PreShiftHalf(color));
        return;
      case 192:
        _PIX_Template_Blit0<_PIX_CombinePixelsThreeQuarterMix2FAST>::solidBlitFAST(
            rows, rc, PIX_PreShiftThreeQuarter(color));
        return;
      case 256:
        _PIX_Template_Blit0<_PIX_CombinePixelsClobberFAST>::solidBlitFAST(rows, rc, color);
        return;
      default:
        if (ia > 0)
          _PIX_Template_Blit1<_PIX_CombinePixelsCopyNoClamp>::solidBlit(rows, rc, r, g, b, PIX_GetA(color),
                                                                        ia);
        return;
    }
  }
  // The integer alpha is both the weight and the source alpha channel.
  PIX_SelectColorOperator(mode, [&](auto tag) {
    _PIX_Template_Blit1<typename decltype(tag)::type>::solidBlit(rows, rc, r, g, b, ia, ia);
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
