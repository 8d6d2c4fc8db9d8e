// Circles and discs: midpoint circles and anti-aliased circles, outlines and
// filled discs.
//
// Discs are split into pieces that never overlap, so that non-idempotent
// modes (add, multiply, ...) touch each pixel once: with (dx, dy) the offset
// from the centre, a pixel with |dy| > |dx| belongs to the column piece of
// its column, any other pixel to the row piece of its row. Anti-aliased
// outlines use the same split for their edge pixels.

#include <cmath>
#include <cstdint>
#include <initializer_list>

#include "pix/pix_circledraw.h"
#include "pix/pix_vector.h"

namespace {

// Point and span output, with per-point clipping when Clip is set.
template <bool Clip, class Plot>
struct CircleSink {
  const PIX_VecTarget* t;
  RECT c;
  Plot plot;  // plot(pixel, weight)

  void pt(int x, int y, int w) const
  {
    if (Clip && (x < c.left || x >= c.right || y < c.top || y >= c.bottom)) return;
    plot(t->at(x, y), w);
  }
  void hspan(int x0, int x1, int y, int w) const
  {
    if (Clip) {
      if (y < c.top || y >= c.bottom) return;
      if (x0 < c.left) x0 = c.left;
      if (x1 >= c.right) x1 = c.right - 1;
    }
    PIX_pixel* p = t->at(x0, y);
    for (int x = x0; x <= x1; ++x, ++p) plot(p, w);
  }
  void vspan(int x, int y0, int y1, int w) const
  {
    if (Clip) {
      if (x < c.left || x >= c.right) return;
      if (y0 < c.top) y0 = c.top;
      if (y1 >= c.bottom) y1 = c.bottom - 1;
    }
    if (y0 > y1) return;
    PIX_pixel* p = t->at(x, y0);
    for (int y = y0; y <= y1; ++y, p += t->span) plot(p, w);
  }
};

// Solid plotters ignore the weight: plain circles use one alpha throughout.
template <class Plot>
struct IgnoreWeight {
  Plot plot;
  void operator()(PIX_pixel* p, int) const { plot(p); }
};

// Midpoint stepping through the first octant from (0, R): calls
// step(x, y) for every octant point after the axis point.
template <class Step>
void MidpointOctant(int R, Step&& step)
{
  int x = 0, y = R;
  int64_t d = -R;
  while (x + 1 < y) {
    const int nx = x + 1, ny = d >= 0 ? y - 1 : y;
    step(nx, ny);
    d += d >= 0 ? 2 * (int64_t)x - 2 * ((int64_t)y - 1) + 3 : 2 * (int64_t)x + 3;
    x = nx;
    y = ny;
  }
}

template <class Sink>
void PlainOutline(const Sink& s, int cx, int cy, int R, int w)
{
  s.pt(cx, cy - R, w);
  s.pt(cx, cy + R, w);
  s.pt(cx - R, cy, w);
  s.pt(cx + R, cy, w);
  MidpointOctant(R, [&](int x, int y) {
    s.pt(cx + x, cy + y, w);
    s.pt(cx - x, cy + y, w);
    s.pt(cx + x, cy - y, w);
    s.pt(cx - x, cy - y, w);
    if (x != y) {
      s.pt(cx + y, cy + x, w);
      s.pt(cx - y, cy + x, w);
      s.pt(cx + y, cy - x, w);
      s.pt(cx - y, cy - x, w);
    }
  });
}

template <class Sink>
void PlainDisc(const Sink& s, int cx, int cy, int R, int w)
{
  s.vspan(cx, cy - R, cy - 1, w);
  s.vspan(cx, cy + 1, cy + R, w);
  s.hspan(cx - R, cx + R, cy, w);
  MidpointOctant(R, [&](int k, int y) {
    // Rows cy +- k from |dx| = k outward, columns cx +- k above and below |dy| = k.
    for (int row : {cy - k, cy + k}) {
      s.hspan(cx + k, cx + y, row, w);
      s.hspan(cx - y, cx - k, row, w);
    }
    for (int col : {cx - k, cx + k}) {
      s.vspan(col, cy + k + 1, cy + y, w);
      s.vspan(col, cy - y, cy - k - 1, w);
    }
  });
}

// Anti-aliased circle of real radius r about a pixel centre. For each i the
// circle's extent at offset i is y = sqrt(r^2 - i^2): the pixel at floor(y) + 1
// gets the coverage frac(y); outlines give the pixel at floor(y) the rest,
// discs fill up to it.
template <class Sink>
void SmoothCircle(const Sink& s, int cx, int cy, double r, int ia, bool fill)
{
  // Column piece of column i (pixels |dy| = b > i), mirrored.
  auto colPt = [&](int i, int b, int w) {
    s.pt(cx + i, cy - b, w);
    s.pt(cx + i, cy + b, w);
    if (i) {
      s.pt(cx - i, cy - b, w);
      s.pt(cx - i, cy + b, w);
    }
  };
  auto colSpan = [&](int i, int b0, int b1) {
    s.vspan(cx + i, cy - b1, cy - b0, ia);
    s.vspan(cx + i, cy + b0, cy + b1, ia);
    if (i) {
      s.vspan(cx - i, cy - b1, cy - b0, ia);
      s.vspan(cx - i, cy + b0, cy + b1, ia);
    }
  };
  // Row piece of row i (pixels |dx| = a >= i), mirrored.
  auto rowPt = [&](int i, int a, int w) {
    s.pt(cx + a, cy + i, w);
    if (a) s.pt(cx - a, cy + i, w);
    if (i) {
      s.pt(cx + a, cy - i, w);
      if (a) s.pt(cx - a, cy - i, w);
    }
  };
  auto rowSpan = [&](int i, int a1) {
    if (i == 0) {
      s.hspan(cx - a1, cx + a1, cy, ia);
      return;
    }
    for (int row : {cy - i, cy + i}) {
      s.hspan(cx + i, cx + a1, row, ia);
      s.hspan(cx - a1, cx - i, row, ia);
    }
  };

  const double rr = r * r;
  for (int i = 0;; ++i) {
    const double q = rr - (double)i * i;
    if (q < 0) break;
    const double y = std::sqrt(q);
    const int fy = (int)y;
    if (fy + 1 < i) break;
    const int f16 = (int)((y - fy) * 65536.0);
    const int wEdge = (int)(((int64_t)f16 * ia) >> 16);
    const int wIn = (int)(((int64_t)(65536 - f16) * ia) >> 16);
    if (fill) {
      if (fy > i) colSpan(i, i + 1, fy);
      if (fy + 1 > i) colPt(i, fy + 1, wEdge);
      if (fy >= i) rowSpan(i, fy);
      rowPt(i, fy + 1, wEdge);
    } else {
      if (fy + 1 > i) colPt(i, fy + 1, wEdge);
      if (fy > i) colPt(i, fy, wIn);
      rowPt(i, fy + 1, wEdge);
      if (fy >= i) rowPt(i, fy, wIn);
    }
  }
}

// Runs draw(sink) with a clipping or non-clipping sink around plot.
template <class Plot, class Draw>
void WithSink(const PIX_VecTarget& t, const RECT& clip, bool doClip, const Plot& plot, Draw&& draw)
{
  if (doClip) draw(CircleSink<true, Plot>{&t, clip, plot});
  else draw(CircleSink<false, Plot>{&t, clip, plot});
}

}  // namespace

void PIX_VecCircle(const PIX_VecTarget& t, double cx, double cy, double r, PIX_pixel colour, int ia, int mode,
                   bool aa, bool fill, const RECT* clip)
{
  if (t.empty() || ia == 0 || !(r >= 0)) return;
  if (!PIX_VecCoordOk(cx) || !PIX_VecCoordOk(cy) || !PIX_VecCoordOk(r)) return;
  const int ccx = (int)PIX_VecFloor(cx + 0.5), ccy = (int)PIX_VecFloor(cy + 0.5);
  const int R = (int)PIX_VecTrunc(r + 0.5);
  const int extent = aa ? (int)r + 1 : R;

  RECT rc = {0, 0, t.width, t.height};
  bool doClip = true;
  if (clip) {
    rc = *clip;
    if (rc.left < 0) rc.left = 0;
    if (rc.top < 0) rc.top = 0;
    if (rc.right > t.width) rc.right = t.width;
    if (rc.bottom > t.height) rc.bottom = t.height;
    if (rc.left >= rc.right || rc.top >= rc.bottom) return;
  } else {
    const int m = extent + 2;
    doClip = ccx - m < 0 || ccy - m < 0 || ccx + m >= t.width || ccy + m >= t.height;
  }

  if (aa) {
    PIX_RunWeightPlot(mode, ia, colour, [&](auto plot) {
      WithSink(t, rc, doClip, plot, [&](const auto& sink) { SmoothCircle(sink, ccx, ccy, r, ia, fill); });
    });
  } else {
    PIX_RunSolidPlot(mode, ia, colour, [&](auto plot) {
      const IgnoreWeight<decltype(plot)> wplot{plot};
      WithSink(t, rc, doClip, wplot, [&](const auto& sink) {
        if (fill) PlainDisc(sink, ccx, ccy, R, ia);
        else PlainOutline(sink, ccx, ccy, R, ia);
      });
    });
  }
}

namespace {

// Shared entry checks: true with the mirrored centre when something may be drawn.
bool CircleVisible(const PIX_VecTarget& t, float cx, float cy, float r, double& mcy)
{
  if (t.empty() || !(r >= 0)) return false;
  if (!PIX_VecCoordOk(cx) || !PIX_VecCoordOk(cy) || !PIX_VecCoordOk(r)) return false;
  mcy = t.mirrorY((double)cy);
  const int64_t icx = PIX_VecTrunc(cx), icy = PIX_VecTrunc(mcy), ir = PIX_VecTrunc(r);
  return !(icx + ir < -2 || icy + ir < -2 || icx - ir > (int64_t)t.width + 1 ||
           icy - ir > (int64_t)t.height + 1);
}

}  // namespace

void PIX_Circle(PIX_IBitmap* bm, float cx, float cy, float r, PIX_pixel colour, float alpha, int mode,
                bool aa)
{
  const PIX_VecTarget t(bm);
  double mcy;
  if (!CircleVisible(t, cx, cy, r, mcy)) return;
  const int ia = PIX_IntAlphaF(alpha);
  if (ia == 0) return;
  if (PIX_VecCircleMask(bm, t, cx, mcy, r, colour, alpha, mode, aa)) return;
  PIX_VecCircle(t, cx, mcy, r, colour, ia, mode, aa, false, nullptr);
}

void PIX_FillCircle(PIX_IBitmap* bm, float cx, float cy, float r, PIX_pixel colour, float alpha, int mode,
                    bool aa)
{
  const PIX_VecTarget t(bm);
  double mcy;
  if (!CircleVisible(t, cx, cy, r, mcy)) return;
  const int ia = PIX_IntAlphaF(alpha);
  if (ia == 0) return;
  PIX_VecCircle(t, cx, mcy, r, colour, ia, mode, aa, true, nullptr);
}
