// Convex polygon and triangle fills.
//
// The points are sorted by row and split into the left and right chains of
// their convex hull, both running from the top vertex to the bottom one.
// Between successive vertex rows of either chain one trapezoid is filled
// whose ends are the chains' positions at those rows. A row shared by two
// trapezoids is filled by the upper one only, so every row is combined once.

#include <algorithm>
#include <cstdint>
#include <new>

#include "pix/pix_trapezoidfill.h"
#include "pix/pix_vector.h"

namespace {

struct Pt {
  int64_t x, y;
};

// Up to this many points need no allocation.
const int kStackPoints = 512;

// Turn of o -> a -> b with y as the primary axis: positive when b lies to
// the right of the direction o -> a when walking down.
__int128 Cross(const Pt& o, const Pt& a, const Pt& b)
{
  return (__int128)(a.y - o.y) * (b.x - o.x) - (__int128)(a.x - o.x) * (b.y - o.y);
}

// One hull chain over the sorted points; returns its length. left chooses
// the chain with the smaller x.
int BuildChain(const Pt* pts, int n, bool left, Pt* out)
{
  int k = 0;
  for (int i = 0; i < n; ++i) {
    while (k >= 2) {
      const __int128 c = Cross(out[k - 2], out[k - 1], pts[i]);
      if (left ? c <= 0 : c >= 0) --k;
      else break;
    }
    out[k++] = pts[i];
  }
  // One vertex per row: the outermost one.
  int m = 0;
  for (int i = 0; i < k; ++i) {
    if (m && out[m - 1].y == out[i].y) {
      if (left ? out[i].x < out[m - 1].x : out[i].x > out[m - 1].x) out[m - 1] = out[i];
    } else {
      out[m++] = out[i];
    }
  }
  return m;
}

// The chain's x at row y, with c[i].y <= y <= c[i + 1].y (single precision,
// truncated).
int64_t ChainX(const Pt* c, int i, int64_t y)
{
  if (y == c[i].y) return c[i].x;
  const Pt& a = c[i];
  const Pt& b = c[i + 1];
  return a.x + (int64_t)((float)(b.x - a.x) * (float)(y - a.y) / (float)(b.y - a.y));
}

template <class Plot>
void FillChains(const PIX_VecTarget& t, const Pt* L, int nl, const Pt* R, int nr, const Plot& plot)
{
  int i = 0, j = 0;
  int64_t y0 = L[0].y;
  int64_t xl0 = L[0].x, xr0 = R[0].x;
  bool firstTrap = true;
  while (i + 1 < nl && j + 1 < nr) {
    const int64_t y1 = std::min(L[i + 1].y, R[j + 1].y);
    const int64_t xl1 = ChainX(L, i, y1), xr1 = ChainX(R, j, y1);
    PIX_TrapRegion g;
    g.left = xl0 * 65536 + 32768;
    g.right = xr0 * 65536 + 32768;
    g.leftSlope = PIX_TrapSlope(xl1 - xl0, y1 - y0);
    g.rightSlope = PIX_TrapSlope(xr1 - xr0, y1 - y0);
    g.first = y0;
    g.last = y1;
    if (!firstTrap) {
      g.left += g.leftSlope;
      g.right += g.rightSlope;
      ++g.first;
    }
    PIX_FillTrapRegion(t, g, false, plot);
    firstTrap = false;
    if (L[i + 1].y == y1) ++i;
    if (R[j + 1].y == y1) ++j;
    y0 = y1;
    xl0 = xl1;
    xr0 = xr1;
  }
}

}  // namespace

void PIX_FillConvexPolygon(PIX_IBitmap* bm, const int* x, const int* y, int npoints, PIX_pixel colour,
                           float alpha, int mode)
{
  if (!x || !y || npoints < 3) return;
  const PIX_VecTarget t(bm);
  if (t.empty()) return;
  const int ia = PIX_IntAlphaF(alpha);
  if (ia == 0) return;

  Pt stackPts[3 * kStackPoints];
  Pt* heapPts = nullptr;
  Pt* pts = stackPts;
  if (npoints > kStackPoints) {
    heapPts = new (std::nothrow) Pt[3 * (size_t)npoints];
    if (!heapPts) return;
    pts = heapPts;
  }
  Pt* left = pts + npoints;
  Pt* right = left + npoints;

  for (int i = 0; i < npoints; ++i) pts[i] = {x[i], t.mirrorY((int64_t)y[i])};
  std::sort(pts, pts + npoints, [](const Pt& a, const Pt& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });

  PIX_RunSolidPlotFast(mode, ia, colour, PIX_VecFastFromIntAlpha(ia), [&](auto plot) {
    if (pts[0].y == pts[npoints - 1].y) {
      // All on one row: one span from the smallest to the largest x.
      PIX_TrapRegion g = {
          pts[0].x * 65536 + 32768, pts[npoints - 1].x * 65536 + 32768, 0, 0, pts[0].y, pts[0].y};
      PIX_FillTrapRegion(t, g, false, plot);
      return;
    }
    const int nl = BuildChain(pts, npoints, true, left);
    const int nr = BuildChain(pts, npoints, false, right);
    FillChains(t, left, nl, right, nr, plot);
  });
  delete[] heapPts;
}

void PIX_FillTriangle(PIX_IBitmap* bm, int x1, int y1, int x2, int y2, int x3, int y3, PIX_pixel colour,
                      float alpha, int mode)
{
  const int xs[3] = {x1, x2, x3}, ys[3] = {y1, y2, y3};
  PIX_FillConvexPolygon(bm, xs, ys, 3, colour, alpha, mode);
}
