// Dashed horizontal and vertical lines.

#include <cstdint>
#include <cstdlib>

#include "pix/pix_vector.h"
#include "pix/pix_vectordraw.h"

namespace {

// Alternates runs of on pixels and skipped off pixels over n pixels; the last
// run of on pixels may be cut short by the end.
template <class Plot>
void Dashes(PIX_pixel* p, ptrdiff_t step, int n, int on, int off, const Plot& plot)
{
  int i = 0;
  while (i < n) {
    for (int k = 0; k < on && i < n; ++k, ++i, p += step) plot(p);
    if (off >= n - i) break;
    i += off;
    p += step * off;
  }
}

}  // namespace

void PIX_DashedLine(PIX_IBitmap* bm, int x1, int y1, int x2, int y2, int pixelsOn, int pixelsOff,
                    PIX_pixel colour, float alpha, int mode, bool aa)
{
  (void)aa;  // straight lines need no anti-aliasing
  const PIX_VecTarget t(bm);
  if (t.empty() || pixelsOn <= 0) return;
  if (pixelsOff < 0) pixelsOff = 0;
  const int ia = PIX_IntAlphaF(alpha);
  if (ia == 0) return;
  int64_t ax = x1, ay = t.mirrorY((int64_t)y1), bx = x2, by = t.mirrorY((int64_t)y2);
  if (!PIX_VecClipLine(ax, ay, bx, by, t.width, t.height)) return;

  PIX_pixel* start;
  ptrdiff_t step;
  int n;
  if (ay == by) {
    start = t.at((int)(ax < bx ? ax : bx), (int)ay);
    step = 1;
    n = (int)std::llabs(bx - ax) + 1;
  } else if (ax == bx) {
    start = t.at((int)ax, (int)(ay < by ? ay : by));
    step = t.span;
    n = (int)std::llabs(by - ay) + 1;
  } else {
    return;
  }
  PIX_RunSolidPlot(mode, ia, colour, [&](auto plot) { Dashes(start, step, n, pixelsOn, pixelsOff, plot); });
}
