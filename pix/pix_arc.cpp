// Arcs: the circle outline clipped, quarter by quarter, to the boxes of the
// arc's pieces.

#include <cmath>
#include <cstdint>

#include "pix/pix_circledraw.h"
#include "pix/pix_vector.h"

namespace {

const double kTwoPi = 6.283185307179586476925286766559;
const double kHalfPi = 1.5707963267948966192313216916398;

// Draws the circle clipped to the bounding box of the piece between angles
// a0 and a1 (no more than a quarter apart, not crossing an axis). Edges that
// do not pass through the centre are widened by one pixel so that the
// anti-aliased fringe beyond the end points stays in. startAxis (0 top,
// 1 right, 2 bottom, 3 left, -1 none) names the axis a piece continues from:
// the previous piece has drawn the centre column or row there already.
void DrawPiece(const PIX_VecTarget& t, double cx, double cy, double r, double a0, double a1, PIX_pixel colour,
               int ia, int mode, bool aa, int startAxis)
{
  const int64_t x0 = PIX_VecFloor(std::sin(a0) * r + cx + 0.5),
                y0 = PIX_VecFloor(cy - std::cos(a0) * r + 0.5);
  const int64_t x1 = PIX_VecFloor(std::sin(a1) * r + cx + 0.5),
                y1 = PIX_VecFloor(cy - std::cos(a1) * r + 0.5);
  const int64_t ccx = PIX_VecFloor(cx + 0.5), ccy = PIX_VecFloor(cy + 0.5);
  int64_t left = x0 < x1 ? x0 : x1, right = x0 < x1 ? x1 : x0;
  int64_t top = y0 < y1 ? y0 : y1, bottom = y0 < y1 ? y1 : y0;
  if (left != ccx) --left;
  if (top != ccy) --top;
  right += right != ccx ? 2 : 1;
  bottom += bottom != ccy ? 2 : 1;
  switch (startAxis) {
    case 0:
      left = ccx + 1;
      break;
    case 1:
      top = ccy + 1;
      break;
    case 2:
      right = ccx;
      break;
    case 3:
      bottom = ccy;
      break;
    default:
      break;
  }
  if (left < 0) left = 0;
  if (top < 0) top = 0;
  if (right > t.width) right = t.width;
  if (bottom > t.height) bottom = t.height;
  if (left >= right || top >= bottom) return;
  const RECT clip = {(int)left, (int)top, (int)right, (int)bottom};
  PIX_VecCircle(t, cx, cy, r, colour, ia, mode, aa, false, &clip);
}

}  // namespace

void PIX_Arc(PIX_IBitmap* bm, float cx, float cy, float r, float startAngle, float endAngle, PIX_pixel colour,
             float alpha, int mode, bool aa)
{
  const PIX_VecTarget t(bm);
  if (t.empty()) return;
  double a0 = startAngle, a1 = endAngle;
  if (!std::isfinite(a0) || !std::isfinite(a1)) return;
  if (a0 > a1) std::swap(a0, a1);
  if (a1 - a0 >= kTwoPi) {
    PIX_Circle(bm, cx, cy, r, colour, alpha, mode, aa);
    return;
  }
  const int ia = PIX_IntAlphaF(alpha);
  if (a0 == a1 || ia == 0) return;
  if (!(r >= 0) || !PIX_VecCoordOk(cx) || !PIX_VecCoordOk(cy) || !PIX_VecCoordOk(r)) return;

  double mcy = cy;
  if (t.flipped) {
    // Mirroring y turns angle a into pi - a and reverses the order.
    mcy = t.mirrorY((double)cy);
    const double m0 = kHalfPi * 2 - a1, m1 = kHalfPi * 2 - a0;
    a0 = m0;
    a1 = m1;
  }
  if (a1 >= kTwoPi) {
    const double shift = a1 - std::fmod(a1, kTwoPi);
    a1 -= shift;
    a0 -= shift;
  }
  if (a0 <= -kTwoPi) {
    const double shift = a0 - std::fmod(a0, kTwoPi);
    a0 -= shift;
    a1 -= shift;
  }
  a0 += kTwoPi;
  a1 += kTwoPi;

  // Cut at every multiple of a quarter turn; the arc is shorter than a full
  // turn, so there are at most five pieces.
  // Boundaries closer than this to the start count as the start itself.
  const double kEpsilon = 1e-9;
  double from = a0;
  int startAxis = -1;
  const double k0 = std::floor(a0 / kHalfPi + kEpsilon);
  for (int k = 1; k <= 5 && from < a1; ++k) {
    double to = (k0 + k) * kHalfPi;
    if (to > a1) to = a1;
    if (to - from > kEpsilon) DrawPiece(t, cx, mcy, r, from, to, colour, ia, mode, aa, startAxis);
    from = to;
    startAxis = (int)std::fmod(k0 + k, 4.0);
  }
}
