#include <cmath>

#include "pix/pix_blit.h"
#include "pix/pix_deltablit.h"

void PIX_RotatedBlit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw, int dsth, float srcx,
                     float srcy, float srcw, float srch, double angle, bool cliptosourcerect, float alpha,
                     int mode, float rotxcent, float rotycent)
{
  if (!dest || !src || dstw == 0 || dsth == 0) return;
  PIX_DeltaWalk w;
  PIX_SetDeltaWindow(src, cliptosourcerect, srcx, srcy, srcw, srch, w);

  double sx = srcx, sy = srcy, sw = srcw, sh = srch;
  double dx = dstx, dy = dsty, dw = dstw, dh = dsth;
  if (dw < 0) dx += dw, dw = -dw, sx += sw, sw = -sw;
  if (dh < 0) dy += dh, dh = -dh, sy += sh, sh = -sh;

  const double xs = sw / dw, ys = sh / dh;
  const double c = std::cos(angle), s = std::sin(angle);
  w.dsdx = xs * c;
  w.dsdy = xs * s;
  w.dtdx = -ys * s;
  w.dtdy = ys * c;
  w.dsdxdy = w.dtdxdy = 0.0;
  // Turn about the rectangle's centre plus the offset.
  sx -= 0.5 * (dw * w.dsdx + dh * w.dsdy - sw) - rotxcent;
  sy -= 0.5 * (dh * w.dtdy + dw * w.dtdx - sh) - rotycent;
  if (dx < INT32_MIN || dy < INT32_MIN || dw > INT32_MAX || dh > INT32_MAX) return;
  w.dstx = (int)dx, w.dsty = (int)dy, w.dstw = (int)dw, w.dsth = (int)dh;
  w.srcx = sx, w.srcy = sy;
  PIX_DeltaBlitWalk(dest, src, w, alpha, mode);
}
