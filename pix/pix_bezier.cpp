// Quadratic and cubic Bezier curves drawn as float-line segments, and cubic
// curves filled down (or across) to a baseline as one trapezoid per segment.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "pix/pix_trapezoidfill.h"
#include "pix/pix_vector.h"

namespace {

const int kMaxSegments = 65536;

struct Curve {
  int degree;  // 2 or 3
  double x[4], y[4];

  void point(double t, double& px, double& py) const
  {
    const double s = 1 - t;
    if (degree == 2) {
      px = s * s * x[0] + 2 * s * t * x[1] + t * t * x[2];
      py = s * s * y[0] + 2 * s * t * y[1] + t * t * y[2];
    } else {
      px = s * s * s * x[0] + 3 * s * s * t * x[1] + 3 * s * t * t * x[2] + t * t * t * x[3];
      py = s * s * s * y[0] + 3 * s * s * t * y[1] + 3 * s * t * t * y[2] + t * t * t * y[3];
    }
  }
  double controlLength() const
  {
    double len = 0;
    for (int i = 0; i < degree; ++i) len += std::hypot(x[i + 1] - x[i], y[i + 1] - y[i]);
    return len;
  }
  bool valid() const
  {
    for (int i = 0; i <= degree; ++i)
      if (!PIX_VecCoordOk(x[i]) || !PIX_VecCoordOk(y[i])) return false;
    return true;
  }
};

// One coordinate of the curve as a polynomial in t: c[0] + c[1] t + c[2] t^2 + c[3] t^3.
struct Poly {
  double c[4];
  double at(double t) const { return ((c[3] * t + c[2]) * t + c[1]) * t + c[0]; }
};

Poly AxisPoly(const Curve& cv, bool xAxis)
{
  const double* p = xAxis ? cv.x : cv.y;
  Poly q = {{0, 0, 0, 0}};
  if (cv.degree == 2) {
    q.c[0] = p[0];
    q.c[1] = 2 * (p[1] - p[0]);
    q.c[2] = p[0] - 2 * p[1] + p[2];
  } else {
    q.c[0] = p[0];
    q.c[1] = 3 * (p[1] - p[0]);
    q.c[2] = 3 * p[0] - 6 * p[1] + 3 * p[2];
    q.c[3] = -p[0] + 3 * p[1] - 3 * p[2] + p[3];
  }
  return q;
}

// Parameters in (0, 1) where the derivative of q vanishes; returns how many.
int Extrema(const Poly& q, double* out)
{
  const double a = 3 * q.c[3], b = 2 * q.c[2], c = q.c[1];
  int n = 0;
  auto keep = [&](double t) {
    if (t > 0 && t < 1) out[n++] = t;
  };
  if (std::fabs(a) < 1e-12) {
    if (std::fabs(b) > 1e-12) keep(-c / b);
  } else {
    const double disc = b * b - 4 * a * c;
    if (disc >= 0) {
      const double r = std::sqrt(disc);
      keep((-b - r) / (2 * a));
      keep((-b + r) / (2 * a));
    }
  }
  return n;
}

// The cut lists hold at most ten parameters.
void SortSmall(double* v, int n)
{
  for (int i = 1; i < n; ++i)
    for (int j = i; j > 0 && v[j] < v[j - 1]; --j) std::swap(v[j], v[j - 1]);
}

// Bisection for q(t) = v on [t0, t1], where q is monotonic.
double SolveMonotonic(const Poly& q, double v, double t0, double t1)
{
  const bool rising = q.at(t1) > q.at(t0);
  for (int i = 0; i < 60; ++i) {
    const double m = 0.5 * (t0 + t1);
    if ((q.at(m) < v) == rising) t0 = m;
    else t1 = m;
  }
  return 0.5 * (t0 + t1);
}

// The parameter range over which the curve's coordinate (x or y) lies within
// lo..hi: from the first to the last stretch inside. False when none is.
bool CutToRange(const Curve& cv, bool xAxis, double lo, double hi, double& t0, double& t1)
{
  const Poly q = AxisPoly(cv, xAxis);
  double cuts[12];
  int n = 0;
  cuts[n++] = 0;
  cuts[n++] = 1;
  double ext[2];
  const int ne = Extrema(q, ext);
  for (int i = 0; i < ne; ++i) cuts[n++] = ext[i];
  SortSmall(cuts, n);
  const int pieces = n - 1;
  for (int i = 0; i < pieces; ++i) {
    const double a = cuts[i], b = cuts[i + 1];
    for (double v : {lo, hi}) {
      const double qa = q.at(a) - v, qb = q.at(b) - v;
      if ((qa < 0 && qb > 0) || (qa > 0 && qb < 0)) cuts[n++] = SolveMonotonic(q, v, a, b);
    }
  }
  SortSmall(cuts, n);
  bool found = false;
  for (int i = 0; i + 1 < n; ++i) {
    const double a = cuts[i], b = cuts[i + 1];
    if (b <= a) continue;
    const double v = q.at(0.5 * (a + b));
    if (v < lo || v > hi) continue;
    if (!found) t0 = a;
    t1 = b;
    found = true;
  }
  return found;
}

int SegmentCount(const Curve& cv, double range, float tolerance)
{
  const double tol = tolerance > 0 ? tolerance : 1.0;
  const double n = cv.controlLength() * range / tol;
  if (!(n >= 1)) return 1;
  return n > kMaxSegments ? kMaxSegments : (int)n;
}

// Calls seg(xa, ya, xb, yb) for each segment over the parameter range.
template <class Seg>
void Segments(const Curve& cv, double t0, double t1, float tolerance, Seg&& seg)
{
  const int n = SegmentCount(cv, t1 - t0, tolerance);
  double px, py;
  cv.point(t0, px, py);
  for (int i = 1; i <= n; ++i) {
    double qx, qy;
    cv.point(i == n ? t1 : t0 + (t1 - t0) * i / n, qx, qy);
    seg(px, py, qx, qy);
    px = qx;
    py = qy;
  }
}

void DrawCurve(PIX_IBitmap* bm, Curve cv, PIX_pixel colour, float alpha, int mode, bool aa, float tolerance)
{
  const PIX_VecTarget t(bm);
  if (t.empty() || PIX_IntAlphaF(alpha) == 0 || !cv.valid()) return;
  for (int i = 0; i <= cv.degree; ++i) cv.y[i] = t.mirrorY(cv.y[i]);
  double t0, t1;
  if (!CutToRange(cv, true, 0, t.width - 1, t0, t1)) return;
  Segments(cv, t0, t1, tolerance, [&](double xa, double ya, double xb, double yb) {
    PIX_VecFLine(t, xa, ya, xb, yb, colour, alpha, mode, aa);
  });
}

// Fills between the curve and the baseline v = base. u is the sweep axis
// (x for a horizontal baseline, filled column by column; y for a vertical
// one, filled row by row); each column or row belongs to exactly one segment.
template <class Plot>
void FillSegment(const PIX_VecTarget& t, bool transposed, double ua, double va, double ub, double vb,
                 double base, double uEnd, const Plot& plot)
{
  if (ua > ub) {
    std::swap(ua, ub);
    std::swap(va, vb);
  }
  // A segment crossing the baseline is filled as two, one on each side.
  if ((va < base && vb > base) || (va > base && vb < base)) {
    const double uc = ua + (ub - ua) * (base - va) / (vb - va);
    FillSegment(t, transposed, ua, va, uc, base, base, uEnd, plot);
    FillSegment(t, transposed, uc, base, ub, vb, base, uEnd, plot);
    return;
  }
  // Segment ends computed a rounding error past a whole column still own it.
  const double snap = 1e-7;
  const int64_t first = (int64_t)std::ceil(ua - snap);
  const int64_t last = ub >= uEnd ? (int64_t)std::floor(ub + snap) : (int64_t)std::ceil(ub - snap) - 1;
  if (first > last) return;
  const double dvdu = ub > ua ? (vb - va) / (ub - ua) : 0.0;
  const double vFirst = ub > ua ? va + (first - ua) * dvdu : vb;
  const int64_t curve = PIX_TrapFixed(vFirst), line = PIX_TrapFixed(base);
  const int64_t curveSlope =
      std::max(-PIX_TRAP_SLOPE_LIMIT, std::min(PIX_TRAP_SLOPE_LIMIT, PIX_TrapFixed(dvdu)));
  const bool curveFirst = va + vb < 2 * base;
  PIX_TrapRegion g;
  g.left = curveFirst ? curve : line;
  g.right = curveFirst ? line : curve;
  g.leftSlope = curveFirst ? curveSlope : 0;
  g.rightSlope = curveFirst ? 0 : curveSlope;
  g.first = first;
  g.last = last;
  PIX_FillTrapRegion(t, g, transposed, plot);
}

// horizontal: baseline y = base (the curve is swept along x); otherwise
// baseline x = base (swept along y).
void FillCurve(PIX_IBitmap* bm, Curve cv, double base, bool horizontal, PIX_pixel colour, float alpha,
               int mode, float tolerance)
{
  const PIX_VecTarget t(bm);
  if (t.empty() || !cv.valid() || !PIX_VecCoordOk(base)) return;
  const int ia = PIX_IntAlphaF(alpha);
  if (ia == 0) return;
  for (int i = 0; i <= cv.degree; ++i) cv.y[i] = t.mirrorY(cv.y[i]);
  if (horizontal) base = t.mirrorY(base);
  double t0, t1;
  if (!CutToRange(cv, horizontal, 0, (horizontal ? t.width : t.height) - 1, t0, t1)) return;

  // The largest sweep coordinate of the segments closes the last column.
  double uEnd = -PIX_VEC_COORD_LIMIT;
  Segments(cv, t0, t1, tolerance, [&](double xa, double ya, double xb, double yb) {
    uEnd = std::max({uEnd, horizontal ? xa : ya, horizontal ? xb : yb});
  });
  PIX_RunSolidPlotFast(mode, ia, colour, PIX_VecFastFromIntAlpha(ia), [&](auto plot) {
    Segments(cv, t0, t1, tolerance, [&](double xa, double ya, double xb, double yb) {
      if (horizontal) FillSegment(t, true, xa, ya, xb, yb, base, uEnd, plot);
      else FillSegment(t, false, ya, xa, yb, xb, base, uEnd, plot);
    });
  });
}

Curve Cubic(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4)
{
  return Curve{3, {x1, x2, x3, x4}, {y1, y2, y3, y4}};
}

}  // namespace

void PIX_DrawQBezier(PIX_IBitmap* bm, float x1, float y1, float x2, float y2, float x3, float y3,
                     PIX_pixel colour, float alpha, int mode, bool aa, float tolerance)
{
  DrawCurve(bm, Curve{2, {x1, x2, x3, 0}, {y1, y2, y3, 0}}, colour, alpha, mode, aa, tolerance);
}

void PIX_DrawCBezier(PIX_IBitmap* bm, float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                     float y4, PIX_pixel colour, float alpha, int mode, bool aa, float tolerance)
{
  DrawCurve(bm, Cubic(x1, y1, x2, y2, x3, y3, x4, y4), colour, alpha, mode, aa, tolerance);
}

void PIX_FillCBezier(PIX_IBitmap* bm, float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                     float y4, float baseline, PIX_pixel colour, float alpha, int mode, float tolerance)
{
  FillCurve(bm, Cubic(x1, y1, x2, y2, x3, y3, x4, y4), baseline, true, colour, alpha, mode, tolerance);
}

void PIX_FillCBezierX(PIX_IBitmap* bm, float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                      float y4, float baseline, PIX_pixel colour, float alpha, int mode, float tolerance)
{
  FillCurve(bm, Cubic(x1, y1, x2, y2, x3, y3, x4, y4), baseline, false, colour, alpha, mode, tolerance);
}
