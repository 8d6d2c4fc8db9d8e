#include <cmath>
#include <cstdlib>

#include "pix/pix_bilinearrows.h"
#include "pix/pix_blit.h"
#include "pix/pix_blitloops.h"
#include "pix/pix_opselect.h"
#include "pix/pix_wordmix.h"

namespace {
// 16.16 fixed point of v, floored, saturated far outside any bitmap.
int64_t FixedFloor(double v)
{
  const double f = std::floor(v * 65536.0);
  const double lim = 4e15;
  if (!(f > -lim)) return f != f ? 0 : (int64_t)-lim;
  return f > lim ? (int64_t)lim : (int64_t)f;
}

// Limits one axis of the walk to samples inside the source: leading
// destination pixels whose sample lies left of 0 are skipped, trailing ones
// from the source's end on dropped. Negative (mirrored) steps are left to the
// per-sample window test.
void ClipAxis(int64_t step, int64_t srcSize, int& dpos, int64_t& count, int64_t& origin)
{
  if (step <= 0) return;
  if (origin < 0) {
    const int64_t k = (step - 1 - origin) / step;
    dpos += (int)(k < count ? k : count);
    count -= k;
    origin += k * step;
  }
  if (count > 0 && origin + (count - 1) * step >= srcSize * 65536)
    count = (srcSize * 65536 - 1 - origin) / step + 1;
}

// Sampling range of one axis: from the column of the leftmost sample to the
// end of the source rectangle, within the source bitmap. When the
// destination was clipped, the leftmost sample moved inward while the source
// rectangle did not: the range then starts at the rectangle, so that the
// filter-down block of a clipped blit sees what the unclipped one does.
bool WindowAxis(int64_t origin, int64_t count, int64_t step, double srcpos, double srcsize, int srcBitmapSize,
                int& lo, int& hi)
{
  int64_t leftmost = (step < 0 ? origin + count * step : origin) / 65536;
  if (step > 0 && srcpos < (double)leftmost) leftmost = srcpos < 0 ? 0 : (int64_t)srcpos;
  const double end = std::trunc((srcsize > 0 ? srcsize : 0.0) + srcpos + 0.999999);
  int64_t l = leftmost < 0 ? 0 : leftmost;
  int64_t h = end > srcBitmapSize ? srcBitmapSize : end < 0 ? 0 : (int64_t)end;
  if (l >= h) return false;
  lo = (int)l;
  hi = (int)h;
  return true;
}
// Whether the two bitmaps' pixel memory overlaps.
bool SharesMemory(const PIX_BitmapRows& a, const PIX_BitmapRows& b)
{
  auto range = [](const PIX_BitmapRows& r, uintptr_t& lo, uintptr_t& hi) {
    const uintptr_t first = (uintptr_t)r.row(0), last = (uintptr_t)r.row(r.height - 1);
    lo = first < last ? first : last;
    hi = (first < last ? last : first) + (uintptr_t)r.width * sizeof(PIX_pixel);
  };
  uintptr_t alo, ahi, blo, bhi;
  range(a, alo, ahi);
  range(b, blo, bhi);
  return alo < bhi && blo < ahi;
}
}  // namespace

void PIX_ScaledBlit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw, int dsth, float srcx,
                    float srcy, float srcw, float srch, float alpha, int mode)
{
  if (!dest || !src || dstw == 0 || dsth == 0 || alpha == 0.0f) return;
  if (!std::isfinite(srcx) || !std::isfinite(srcy) || !std::isfinite(srcw) || !std::isfinite(srch)) return;
  const bool bilinear = (mode & 0xFF00) == PIX_FILTER_BILINEAR;

  if (std::fabs(srcw - dstw) < 0.001 && std::fabs(srch - dsth) < 0.001 && dstw > 0 && dsth > 0) {
    const bool onGrid =
        std::fabs(srcx - std::floor(srcx + 0.5)) <= 0.03 && std::fabs(srcy - std::floor(srcy + 0.5)) <= 0.03;
    if (!bilinear || onGrid) {
      auto nearest = [](double v) {
        return v >= INT32_MAX ? INT32_MAX : v <= INT32_MIN ? INT32_MIN : (int)v;
      };
      const int left = nearest(srcx + 0.5), top = nearest(srcy + 0.5);
      PIX_Blit(dest, src, dstx, dsty, left, top, dstw, dsth, alpha, mode);
      return;
    }
  }

  const PIX_BitmapRows dst(dest), sr(src);
  if (dst.empty() || sr.empty()) return;

  double sx = srcx, sy = srcy, sw = srcw, sh = srch;
  int64_t dx = dstx, dy = dsty, dw = dstw, dh = dsth;
  if (dw < 0) dx += dw, dw = -dw, sx += sw, sw = -sw;
  if (dh < 0) dy += dh, dh = -dh, sy += sh, sh = -sh;
  // The source rectangle as the caller sees it (after mirroring) bounds the window.
  const double rectx = sx, recty = sy;

  const double xstep = sw / (double)dw, ystep = sh / (double)dh;
  if (dx < 0) sx += (double)-dx * xstep, dw += dx, dx = 0;
  if (dy < 0) sy += (double)-dy * ystep, dh += dy, dy = 0;
  if (dw <= 0 || dh <= 0 || dx >= dst.width || dy >= dst.height) return;

  PIX_ScaledWalk wk;
  wk.dstx = (int)dx;
  wk.dsty = (int)dy;
  wk.xs = FixedFloor(xstep);
  wk.ys = FixedFloor(ystep);
  wk.x0 = FixedFloor(sx);
  wk.y0 = FixedFloor(sy);
  int64_t width = dst.width - dx < dw ? dst.width - dx : dw;
  int64_t height = dst.height - dy < dh ? dst.height - dy : dh;
  ClipAxis(wk.xs, sr.width, wk.dstx, width, wk.x0);
  ClipAxis(wk.ys, sr.height, wk.dsty, height, wk.y0);
  if (width <= 0 || height <= 0) return;
  wk.width = (int)width;
  wk.height = (int)height;

  int wl, wr, wt, wb;
  if (!WindowAxis(wk.x0, width, wk.xs, rectx, sw, sr.width, wl, wr)) return;
  if (!WindowAxis(wk.y0, height, wk.ys, recty, sh, sr.height, wt, wb)) return;
  // A mirrored axis samples the far edge of each destination pixel's
  // footprint, as an unmirrored one samples the near edge, so the mirror
  // image covers exactly the same source pixels.
  if (wk.xs < 0) wk.x0 += wk.xs;
  if (wk.ys < 0) wk.y0 += wk.ys;
  wk.x0 -= (int64_t)wl << 16;
  wk.y0 -= (int64_t)wt << 16;
  const PIX_SampleWindow win = {sr.at(wl, wt), sr.step, wr - wl, wb - wt};

  const int ia = PIX_IntAlpha(alpha);
  if (ia == 0) return;
  if ((mode & 0x1FFFF) == 0 && (ia == 256 || ia == 128)) {
    const PIX_NearestSampler nearest = {win};
    if (ia == 256) _PIX_Template_Blit2<_PIX_CombinePixelsClobberNoClamp>::scaleBlit(dst, wk, nearest, ia);
    else _PIX_Template_Blit0<_PIX_CombinePixelsHalfMixFAST>::scaleBlitFAST(dst, wk, nearest);
    return;
  }
  // Row-at-a-time sampling reads the source ahead of the pixel being
  // written, so a blit within one bitmap keeps pixel order.
  const bool rowsApart = !SharesMemory(dst, sr);
  PIX_SelectBlitOperator(mode, ia, [&](auto tag) {
    typedef typename decltype(tag)::type Op;
    typedef _PIX_Template_Blit2<Op> Loop;
    if (bilinear && xstep >= 1.7 && ystep >= 1.7)
      Loop::scaleBlitFilterDown(dst, wk, PIX_FilterDownSampler(win, wk.xs, wk.ys), ia);
    else if (bilinear && !(rowsApart && PIX_BilinearScaleRows<Op>(dst, wk, win, ia)))
      Loop::scaleBlit(dst, wk, PIX_BilinearSampler{win}, ia);
    else if (!bilinear) Loop::scaleBlit(dst, wk, PIX_NearestSampler{win}, ia);
  });
}
