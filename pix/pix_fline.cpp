// Float lines: anti-aliased lines walked one column (or row) at a time along
// their major axis, with the coverage split between two pixels.

#include <cmath>
#include <cstdint>

#include "pix/pix_vector.h"
#include "pix/pix_vectordraw.h"

namespace {

// u is the major axis, v the minor one.
struct FWalk {
  int u0, u1;    // first and last major coordinate, inclusive
  int main;      // minor coordinate of the main pixel at u0
  int dir;       // minor direction along the line (+1 or -1)
  int f;         // 16-bit coverage of the pixel beyond the main one
  int slope;     // |dv / du| in 16.16
  PIX_pixel* p;  // main pixel at u0
  ptrdiff_t uStep, vStep;
  int vSize;
};

template <class Plot>
void WalkFLine(FWalk w, int ia, const Plot& plot)
{
  for (int u = w.u0; u <= w.u1; ++u, w.p += w.uStep) {
    const int cover = w.f >> 8;
    if (w.main >= 0 && w.main < w.vSize) plot(w.p, PIX_VecScaleWeight(255 - cover, ia));
    const int next = w.main + w.dir;
    if (next >= 0 && next < w.vSize) plot(w.p + w.dir * w.vStep, PIX_VecScaleWeight(cover, ia));
    w.f += w.slope;
    if (w.f >= 65536) {
      w.f -= 65536;
      w.main += w.dir;
      w.p += w.dir * w.vStep;
    }
  }
}

}  // namespace

void PIX_VecFLine(const PIX_VecTarget& t, double x1, double y1, double x2, double y2, PIX_pixel colour,
                  float alpha, int mode, bool aa)
{
  if (t.empty()) return;
  if (!PIX_VecCoordOk(x1) || !PIX_VecCoordOk(y1) || !PIX_VecCoordOk(x2) || !PIX_VecCoordOk(y2)) return;
  if (!aa) {
    PIX_VecLine(t, PIX_VecTrunc(x1), PIX_VecTrunc(y1), PIX_VecTrunc(x2), PIX_VecTrunc(y2), colour, alpha,
                mode, false);
    return;
  }
  const int ia = PIX_IntAlphaF(alpha);
  if (ia == 0) return;
  if (!PIX_VecClipFLine(x1, y1, x2, y2, t.width, t.height)) return;
  if (x1 == x2 && y1 == y2) return;

  const bool xMajor = std::fabs(x2 - x1) >= std::fabs(y2 - y1);
  double ua = xMajor ? x1 : y1, va = xMajor ? y1 : x1, ub = xMajor ? x2 : y2, vb = xMajor ? y2 : x2;
  if (ua > ub) {
    std::swap(ua, ub);
    std::swap(va, vb);
  }
  FWalk w;
  w.u0 = (int)std::ceil(ua);
  w.u1 = (int)std::floor(ub);
  if (w.u0 > w.u1) return;
  const double dvdu = (vb - va) / (ub - ua);
  w.slope = (int)(std::fabs(dvdu) * 65536.0);
  const double v0 = va + (w.u0 - ua) * dvdu;
  const double fl = std::floor(v0);
  int f = (int)((v0 - fl) * 65536.0);
  if (f > 65535) f = 65535;
  // Going down the minor axis the main pixel is the one above the position,
  // so that both directions give each pixel the same share.
  if (dvdu < 0) {
    w.dir = -1;
    w.main = (int)fl + 1;
    w.f = 65535 - f;
  } else {
    w.dir = 1;
    w.main = (int)fl;
    w.f = f;
  }
  w.uStep = xMajor ? 1 : t.span;
  w.vStep = xMajor ? t.span : 1;
  w.vSize = xMajor ? t.height : t.width;
  w.p = xMajor ? t.at(w.u0, 0) + (ptrdiff_t)w.main * t.span : t.at(0, w.u0) + w.main;
  PIX_RunWeightPlot(mode, ia, colour, [&](auto plot) { WalkFLine(w, ia, plot); });
}

void PIX_FLine(PIX_IBitmap* bm, float x1, float y1, float x2, float y2, PIX_pixel colour, float alpha,
               int mode, bool aa)
{
  const PIX_VecTarget t(bm);
  if (t.empty()) return;
  if (!aa) {
    // Truncate first, then mirror, as the integer line does.
    if (!PIX_VecCoordOk(x1) || !PIX_VecCoordOk(y1) || !PIX_VecCoordOk(x2) || !PIX_VecCoordOk(y2)) return;
    PIX_VecLine(t, PIX_VecTrunc(x1), t.mirrorY(PIX_VecTrunc(y1)), PIX_VecTrunc(x2),
                t.mirrorY(PIX_VecTrunc(y2)), colour, alpha, mode, false);
    return;
  }
  PIX_VecFLine(t, x1, t.mirrorY((double)y1), x2, t.mirrorY((double)y2), colour, alpha, mode, true);
}
