#include "pix/pix_deltablit.h"

#include <cmath>

#include "pix/pix_bitmaprows.h"
#include "pix/pix_blit.h"
#include "pix/pix_opselect.h"
#include "pix/pix_sampling.h"

namespace {
// 16.16 fixed point of v, truncated, saturated far outside any bitmap.
int64_t Fixed(double v)
{
  const double f = v * 65536.0;
  const double lim = 4e15;
  if (!(f > -lim)) return f != f ? 0 : (int64_t)-lim;
  return f > lim ? (int64_t)lim : (int64_t)f;
}

// First-order quantity q(i, j) = q0 + j dq/dy + i (dq/dx + j dq/dxdy).
struct Linear2 {
  double q0, dqdx, dqdy, dqdxdy;
  // Drops k leading columns and m leading rows, keeping every later value.
  void skip(int64_t k, int64_t m)
  {
    q0 += k * dqdx;
    dqdy += k * dqdxdy;
    q0 += m * dqdy;
    dqdx += m * dqdxdy;
  }
};

struct FixedLinear2 {
  int64_t q0, dqdx, dqdy, dqdxdy;
  explicit FixedLinear2(const Linear2& l)
      : q0(Fixed(l.q0)), dqdx(Fixed(l.dqdx)), dqdy(Fixed(l.dqdy)), dqdxdy(Fixed(l.dqdxdy))
  {
  }
};

struct ClippedWalk {
  int dstx, dsty, width, height;
  Linear2 s, t, a;
};

// Clips the destination rectangle to the bitmap, moving the source start
// (and the alpha) by what was skipped. False when nothing is left.
bool ClipWalk(const PIX_BitmapRows& dst, const PIX_DeltaWalk& w, ClippedWalk& out)
{
  int64_t dx = w.dstx, dy = w.dsty, dw = w.dstw, dh = w.dsth;
  int64_t k = 0, m = 0;
  if (dx < 0) k = -dx, dw += dx, dx = 0;
  if (dy < 0) m = -dy, dh += dy, dy = 0;
  if (dw <= 0 || dh <= 0 || dx >= dst.width || dy >= dst.height) return false;
  if (w.winR <= w.winL || w.winB <= w.winT) return false;
  out.s.skip(k, m);
  out.t.skip(k, m);
  out.a.skip(k, m);
  out.dstx = (int)dx;
  out.dsty = (int)dy;
  out.width = (int)(dst.width - dx < dw ? dst.width - dx : dw);
  out.height = (int)(dst.height - dy < dh ? dst.height - dy : dh);
  return true;
}

// The delta loop, written once. With a running alpha each pixel gets the
// alpha's integer value (16.16 shifted right 8); 0 or below leaves it.
template <bool runningAlpha, class Sampler, class PixFn>
void DeltaLoop(const PIX_BitmapRows& dst, const ClippedWalk& cw, const Sampler& sampler, PixFn&& pixFn)
{
  const Sampler sample = sampler;  // a local copy cannot alias the pixel stores
  FixedLinear2 s(cw.s), t(cw.t), a(cw.a);
  for (int j = 0; j < cw.height; ++j) {
    PIX_pixel* d = dst.at(cw.dstx, cw.dsty + j);
    int64_t x = s.q0, y = t.q0, al = a.q0;
    for (int i = 0; i < cw.width; ++i) {
      PIX_pixel px;
      if (sample(x, y, px)) {
        if constexpr (!runningAlpha) {
          pixFn(d + i, px, 0);
        } else {
          const int64_t ia = al >> 8;
          if (ia > 0)
            pixFn(d + i, px, (int)(ia > (int64_t)PIX_IALPHA_LIMIT ? (int64_t)PIX_IALPHA_LIMIT : ia));
        }
      }
      x += s.dqdx;
      y += t.dqdx;
      al += a.dqdx;
    }
    s.q0 += s.dqdy;
    t.q0 += t.dqdy;
    a.q0 += a.dqdy;
    s.dqdx += s.dqdxdy;
    t.dqdx += t.dqdxdy;
    a.dqdx += a.dqdxdy;
  }
}

template <class Run>
void WithSampler(const PIX_BitmapRows& sr, const PIX_DeltaWalk& w, int mode, Run&& run)
{
  const PIX_SampleWindow win = {sr.at(w.winL, w.winT), sr.step, w.winR - w.winL, w.winB - w.winT};
  if ((mode & 0xFF00) == PIX_FILTER_BILINEAR) run(PIX_BilinearSampler{win});
  else run(PIX_NearestSampler{win});
}

bool Prepare(PIX_IBitmap* dest, PIX_IBitmap* src, const PIX_DeltaWalk& w, PIX_BitmapRows& dst,
             PIX_BitmapRows& sr, ClippedWalk& cw, double alpha, double dadx, double dady, double dadxdy)
{
  if (!dest || !src) return false;
  dst = PIX_BitmapRows(dest);
  sr = PIX_BitmapRows(src);
  if (dst.empty() || sr.empty()) return false;
  if (w.winL < 0 || w.winT < 0 || w.winR > sr.width || w.winB > sr.height) return false;
  // Source coordinates relative to the window's top-left.
  cw.s = {w.srcx - w.winL, w.dsdx, w.dsdy, w.dsdxdy};
  cw.t = {w.srcy - w.winT, w.dtdx, w.dtdy, w.dtdxdy};
  cw.a = {alpha, dadx, dady, dadxdy};
  return ClipWalk(dst, w, cw);
}
}  // namespace

void PIX_DeltaBlitWalk(PIX_IBitmap* dest, PIX_IBitmap* src, const PIX_DeltaWalk& w, float alpha, int mode)
{
  const int ia = PIX_IntAlpha(alpha);
  if (ia == 0) return;
  PIX_BitmapRows dst(nullptr), sr(nullptr);
  ClippedWalk cw;
  if (!Prepare(dest, src, w, dst, sr, cw, 0.0, 0.0, 0.0, 0.0)) return;
  WithSampler(sr, w, mode, [&](const auto& sampler) {
    PIX_SelectBlitOperator(mode, ia, [&](auto tag) {
      typedef typename decltype(tag)::type Op;
      DeltaLoop<false>(dst, cw, sampler,
                       [ia](PIX_pixel* d, PIX_pixel s, int) { PIX_CombineSample<Op>(d, s, ia); });
    });
  });
}

void PIX_DeltaBlitWalkAlpha(PIX_IBitmap* dest, PIX_IBitmap* src, const PIX_DeltaWalk& w, double alpha,
                            double dadx, double dady, double dadxdy, int mode)
{
  PIX_BitmapRows dst(nullptr), sr(nullptr);
  ClippedWalk cw;
  if (!Prepare(dest, src, w, dst, sr, cw, alpha, dadx, dady, dadxdy)) return;
  WithSampler(sr, w, mode, [&](const auto& sampler) {
    // The alpha varies per pixel, so copy always blends (the store and the
    // ignore-alpha forms are for a constant full alpha).
    PIX_SelectBlitOperator(mode, 1, [&](auto tag) {
      typedef typename decltype(tag)::type Op;
      DeltaLoop<true>(dst, cw, sampler,
                      [](PIX_pixel* d, PIX_pixel s, int ia) { PIX_CombineSample<Op>(d, s, ia); });
    });
  });
}

void PIX_SetDeltaWindow(PIX_IBitmap* src, bool clip, double srcx, double srcy, double srcw, double srch,
                        PIX_DeltaWalk& w)
{
  const int sw = src ? src->getWidth() : 0, sh = src ? src->getHeight() : 0;
  w.winL = 0, w.winT = 0, w.winR = sw, w.winB = sh;
  if (!clip) return;
  auto bound = [](double v, int hi) { return !(v > 0) ? 0 : v >= hi ? hi : (int)v; };
  w.winL = bound(srcx, sw);
  w.winT = bound(srcy, sh);
  w.winR = bound(srcx + srcw, sw);
  w.winB = bound(srcy + srch, sh);
}

namespace {
bool DeltaSetup(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw, int dsth, double srcx,
                double srcy, double srcw, double srch, double dsdx, double dtdx, double dsdy, double dtdy,
                double dsdxdy, double dtdxdy, bool clip, PIX_DeltaWalk& w)
{
  if (!dest || !src || dstw == 0 || dsth == 0) return false;
  PIX_SetDeltaWindow(src, clip, srcx, srcy, srcw, srch, w);
  int64_t dx = dstx, dy = dsty, dw = dstw, dh = dsth;
  if (dw < 0) dx += dw, srcx += srcw, dw = -dw;
  if (dh < 0) dy += dh, srcy += srch, dh = -dh;
  if (dx > INT32_MAX || dy > INT32_MAX || dx < INT32_MIN || dy < INT32_MIN || dw > INT32_MAX ||
      dh > INT32_MAX)
    return false;
  w.dstx = (int)dx, w.dsty = (int)dy, w.dstw = (int)dw, w.dsth = (int)dh;
  w.srcx = srcx, w.srcy = srcy;
  w.dsdx = dsdx, w.dtdx = dtdx, w.dsdy = dsdy, w.dtdy = dtdy, w.dsdxdy = dsdxdy, w.dtdxdy = dtdxdy;
  return true;
}
}  // namespace

void PIX_DeltaBlit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw, int dsth, double srcx,
                   double srcy, double srcw, double srch, double dsdx, double dtdx, double dsdy, double dtdy,
                   double dsdxdy, double dtdxdy, bool cliptosourcerect, float alpha, int mode)
{
  PIX_DeltaWalk w;
  if (DeltaSetup(dest, src, dstx, dsty, dstw, dsth, srcx, srcy, srcw, srch, dsdx, dtdx, dsdy, dtdy, dsdxdy,
                 dtdxdy, cliptosourcerect, w))
    PIX_DeltaBlitWalk(dest, src, w, alpha, mode);
}

void PIX_DeltaBlitAlpha(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw, int dsth,
                        double srcx, double srcy, double srcw, double srch, double dsdx, double dtdx,
                        double dsdy, double dtdy, double dsdxdy, double dtdxdy, bool cliptosourcerect,
                        float alpha, int mode, double dadx, double dady, double dadxdy)
{
  PIX_DeltaWalk w;
  if (DeltaSetup(dest, src, dstx, dsty, dstw, dsth, srcx, srcy, srcw, srch, dsdx, dtdx, dsdy, dtdy, dsdxdy,
                 dtdxdy, cliptosourcerect, w))
    PIX_DeltaBlitWalkAlpha(dest, src, w, alpha, dadx, dady, dadxdy, mode);
}
