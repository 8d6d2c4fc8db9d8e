// Integer lines: straight and diagonal runs, and general lines drawn
// symmetrically from both ends in 16.16 fixed point.

#include <cstdint>
#include <cstdlib>

#include "pix/pix_vector.h"
#include "pix/pix_vectordraw.h"

namespace {

// n pixels from p, step apart; adjacent pixels in one span, so that runs
// along a row take the plotter's vector row.
template <class Plot>
inline void Run(PIX_pixel* p, ptrdiff_t step, int n, const Plot& plot)
{
  if (step == 1) {
    plot.span(p, n);
    return;
  }
  for (int i = 0; i < n; ++i, p += step) plot(p);
}

// Straight, or diagonal without anti-aliasing: one pixel per step with the
// word-parallel forms at exact alphas.
void DrawRun(const PIX_VecTarget& t, int x, int y, ptrdiff_t step, int n, PIX_pixel colour, float alpha,
             int mode)
{
  PIX_RunSolidPlotFast(mode, PIX_IntAlphaF(alpha), colour, PIX_VecFastFromAlpha(alpha),
                       [&](auto plot) { Run(t.at(x, y), step, n, plot); });
}

// Anti-aliased diagonal: each diagonal pixel at three quarters, and the two
// pixels that share an edge with two successive diagonal pixels at a quarter.
template <class Main, class Side>
void DiagAA(PIX_pixel* p, int sx, ptrdiff_t sy, int n, const Main& main, const Side& side)
{
  for (int i = 0;; ++i) {
    main(p);
    if (i == n) break;
    side(p + sx);
    side(p + sy);
    p += sx + sy;
  }
}

template <class Plot>
struct FixedWeight {
  Plot plot;
  int w;
  void operator()(PIX_pixel* p) const { plot(p, w); }
};

void DrawDiagAA(const PIX_VecTarget& t, int x, int y, int sx, int sy, int n, PIX_pixel colour, float alpha,
                int mode)
{
  PIX_pixel* p = t.at(x, y);
  const ptrdiff_t rowStep = sy * t.span;
  if ((mode & PIX_OP_MASK) == PIX_OP_COPY && alpha == 1.0f) {
    DiagAA(p, sx, rowStep, n,
           PIX_MixPlot<_PIX_CombinePixelsThreeQuarterMix2FAST>{PIX_PreShiftThreeQuarter(colour)},
           PIX_MixPlot<_PIX_CombinePixelsQuarterMix2FAST>{PIX_PreShiftQuarter(colour)});
    return;
  }
  const int ia = PIX_IntAlphaF(alpha);
  PIX_RunWeightPlot(mode, ia, colour, [&](auto plot) {
    using Plot = decltype(plot);
    DiagAA(p, sx, rowStep, n, FixedWeight<Plot>{plot, ia * 3 / 4}, FixedWeight<Plot>{plot, ia / 4});
  });
}

// Geometry of a general line in major/minor terms.
struct Walk {
  PIX_pixel* p1;                    // start end
  PIX_pixel* p2;                    // far end
  ptrdiff_t major, minor;           // pointer steps from the start end toward the far end
  int n;                            // major delta (> minor delta)
  int64_t slope;                    // minor / major in 16.16
  int m1, m2, minorDir, minorSize;  // minor coordinates of both ends, direction, extent of the bitmap
};

Walk MakeWalk(const PIX_VecTarget& t, int x1, int y1, int x2, int y2)
{
  const int dx = x2 - x1, dy = y2 - y1;
  const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
  Walk w;
  w.p1 = t.at(x1, y1);
  w.p2 = t.at(x2, y2);
  if (std::abs(dx) > std::abs(dy)) {
    w.major = sx;
    w.minor = sy * t.span;
    w.n = std::abs(dx);
    w.slope = (int64_t)std::abs(dy) * 65536 / w.n;
    w.m1 = y1, w.m2 = y2, w.minorDir = sy, w.minorSize = t.height;
  } else {
    w.major = sy * t.span;
    w.minor = sx;
    w.n = std::abs(dy);
    w.slope = (int64_t)std::abs(dx) * 65536 / w.n;
    w.m1 = x1, w.m2 = x2, w.minorDir = sx, w.minorSize = t.width;
  }
  return w;
}

// Without anti-aliasing: the minor coordinate advances when the accumulated
// slope passes half a pixel; the middle pixel of an even run is drawn last.
template <class Plot>
void SymmetricLine(Walk w, const Plot& plot)
{
  int64_t acc = 0;
  const int steps = (w.n + 1) / 2;
  for (int i = 0; i < steps; ++i) {
    plot(w.p1);
    plot(w.p2);
    if (acc + w.slope >= 32768) {
      w.p1 += w.minor;
      w.p2 -= w.minor;
      acc += w.slope - 65536;
    } else {
      acc += w.slope;
    }
    w.p1 += w.major;
    w.p2 -= w.major;
  }
  if (!(w.n & 1)) plot(w.p1);
}

// With anti-aliasing: full ends, then the coverage split between the pixel on
// the line and its neighbour on the minor side, from both ends inward.
template <class Plot>
void SymmetricLineAA(Walk w, int ia, const Plot& plot)
{
  plot(w.p1, ia);
  plot(w.p2, ia);
  int64_t acc = w.slope;
  const int inner = (w.n - 1) / 2;
  for (int i = 1; i <= inner; ++i) {
    w.p1 += w.major;
    w.p2 -= w.major;
    const int f = (int)(acc >> 8);
    const int wm = PIX_VecScaleWeight(255 - f, ia), wn = PIX_VecScaleWeight(f, ia);
    plot(w.p1, wm);
    plot(w.p2, wm);
    // The neighbours may lie just outside the bitmap.
    const int n1 = w.m1 + w.minorDir, n2 = w.m2 - w.minorDir;
    if (n1 >= 0 && n1 < w.minorSize) plot(w.p1 + w.minor, wn);
    if (n2 >= 0 && n2 < w.minorSize) plot(w.p2 - w.minor, wn);
    if (acc + w.slope >= 65536) {
      w.p1 += w.minor;
      w.p2 -= w.minor;
      w.m1 += w.minorDir;
      w.m2 -= w.minorDir;
      acc += w.slope - 65536;
    } else {
      acc += w.slope;
    }
  }
  // The middle pixel of an even run, with its neighbour's share too, so the
  // line keeps its weight there.
  if (!(w.n & 1) && w.n > 0) {
    w.p1 += w.major;
    const int f = (int)(acc >> 8);
    plot(w.p1, PIX_VecScaleWeight(255 - f, ia));
    const int n1 = w.m1 + w.minorDir;
    if (n1 >= 0 && n1 < w.minorSize) plot(w.p1 + w.minor, PIX_VecScaleWeight(f, ia));
  }
}

}  // namespace

void PIX_VecLine(const PIX_VecTarget& t, int64_t lx1, int64_t ly1, int64_t lx2, int64_t ly2, PIX_pixel colour,
                 float alpha, int mode, bool aa)
{
  if (t.empty() || PIX_IntAlphaF(alpha) == 0) return;
  if (!PIX_VecClipLine(lx1, ly1, lx2, ly2, t.width, t.height)) return;
  const int x1 = (int)lx1, y1 = (int)ly1, x2 = (int)lx2, y2 = (int)ly2;
  const int dx = x2 - x1, dy = y2 - y1;

  if (dy == 0) {
    DrawRun(t, dx < 0 ? x2 : x1, y1, 1, std::abs(dx) + 1, colour, alpha, mode);
    return;
  }
  if (dx == 0) {
    DrawRun(t, x1, dy < 0 ? y2 : y1, t.span, std::abs(dy) + 1, colour, alpha, mode);
    return;
  }
  const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
  if (std::abs(dx) == std::abs(dy)) {
    if (aa) DrawDiagAA(t, x1, y1, sx, sy, std::abs(dx), colour, alpha, mode);
    else DrawRun(t, x1, y1, sx + sy * t.span, std::abs(dx) + 1, colour, alpha, mode);
    return;
  }

  const Walk w = MakeWalk(t, x1, y1, x2, y2);
  const int ia = PIX_IntAlphaF(alpha);
  if (aa) PIX_RunWeightPlot(mode, ia, colour, [&](auto plot) { SymmetricLineAA(w, ia, plot); });
  else PIX_RunSolidPlot(mode, ia, colour, [&](auto plot) { SymmetricLine(w, plot); });
}

void PIX_Line(PIX_IBitmap* bm, int x1, int y1, int x2, int y2, PIX_pixel colour, float alpha, int mode,
              bool aa)
{
  const PIX_VecTarget t(bm);
  if (t.empty()) return;
  PIX_VecLine(t, x1, t.mirrorY((int64_t)y1), x2, t.mirrorY((int64_t)y2), colour, alpha, mode, aa);
}
