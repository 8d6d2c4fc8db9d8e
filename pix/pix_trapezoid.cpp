// Trapezoid fills between two horizontal edges.

#include <cstdint>
#include <utility>

#include "pix/pix_trapezoidfill.h"
#include "pix/pix_vector.h"

void PIX_FillTrapezoid(PIX_IBitmap* bm, int x1a, int x1b, int y1, int x2a, int x2b, int y2, PIX_pixel colour,
                       float alpha, int mode)
{
  const PIX_VecTarget t(bm);
  if (t.empty()) return;
  const int ia = PIX_IntAlphaF(alpha);
  if (ia == 0) return;
  int64_t ta = x1a, tb = x1b, ty = t.mirrorY((int64_t)y1), ba = x2a, bb = x2b, by = t.mirrorY((int64_t)y2);
  if (ta > tb) std::swap(ta, tb);
  if (ba > bb) std::swap(ba, bb);
  if (by < ty) {
    std::swap(ty, by);
    std::swap(ta, ba);
    std::swap(tb, bb);
  }
  if ((tb < 0 && bb < 0) || (ta >= t.width && ba >= t.width) || by < 0 || ty >= t.height) return;

  // Positions start half a pixel in, so that the slope's truncation cannot
  // pull an edge short of its given end.
  PIX_TrapRegion g;
  g.first = ty;
  g.last = by;
  if (ty == by) {
    g.left = (ta < ba ? ta : ba) * 65536 + 32768;
    g.right = (tb > bb ? tb : bb) * 65536 + 32768;
    g.leftSlope = g.rightSlope = 0;
  } else {
    g.left = ta * 65536 + 32768;
    g.right = tb * 65536 + 32768;
    g.leftSlope = PIX_TrapSlope(ba - ta, by - ty);
    g.rightSlope = PIX_TrapSlope(bb - tb, by - ty);
  }
  PIX_RunSolidPlotFast(mode, ia, colour, PIX_VecFastFromIntAlpha(ia),
                       [&](auto plot) { PIX_FillTrapRegion(t, g, false, plot); });
}
