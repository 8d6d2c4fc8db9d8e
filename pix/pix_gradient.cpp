#include <cmath>

#include "pix/pix_blit.h"
#include "pix/pix_blitloops.h"
#include "pix/pix_opselect.h"

namespace {
// 16.16 fixed point of a gradient quantity, saturated far beyond any
// meaningful value so that running sums cannot overflow.
int64_t Fixed(double v)
{
  const double f = v * 65536.0;
  const double lim = 1e15;
  if (!(f > -lim)) return f != f ? 0 : (int64_t)-lim;
  if (f > lim) return (int64_t)lim;
  return (int64_t)f;
}
}  // namespace

void PIX_GradRect(PIX_IBitmap* dest, int x, int y, int w, int h, float r, float g, float b, float a,
                  float drdx, float dgdx, float dbdx, float dadx, float drdy, float dgdy, float dbdy,
                  float dady, int mode)
{
  const PIX_BitmapRows rows(dest);
  PIX_ClippedRect rc;
  if (!PIX_ClipRect(rows, x, y, w, h, rc)) return;
  PIX_GradChannels start = {Fixed(r * 255.0), Fixed(g * 255.0), Fixed(b * 255.0), Fixed(a * 256.0)};
  const PIX_GradChannels dx = {Fixed(drdx * 255.0), Fixed(dgdx * 255.0), Fixed(dbdx * 255.0),
                               Fixed(dadx * 256.0)};
  const PIX_GradChannels dy = {Fixed(drdy * 255.0), Fixed(dgdy * 255.0), Fixed(dbdy * 255.0),
                               Fixed(dady * 256.0)};
  // The gradient is anchored at (x, y); clipping moves its start.
  start.addTimes(dx, (int64_t)rc.x - x);
  start.addTimes(dy, (int64_t)rc.y - y);

  auto run = [&](auto tag, bool alphaAsWeight) {
    _PIX_Template_Blit1<typename decltype(tag)::type>::gradBlit(rows, rc, start, dx, dy, alphaAsWeight);
  };

  switch (mode & PIX_OP_MASK) {
    case PIX_OP_COPY:
      if (start.a == ((int64_t)256 << 16) && dx.a == 0 && dy.a == 0)
        run(PIX_OpTag<_PIX_CombinePixelsClobberClamp>(), false);
      else run(PIX_OpTag<_PIX_CombinePixelsCopyClamp>(), true);
      return;
    case PIX_OP_ADD:
      run(PIX_OpTag<_PIX_CombinePixelsAdd>(), true);
      return;
    case PIX_OP_DODGE:
      run(PIX_OpTag<_PIX_CombinePixelsColorDodge>(), true);
      return;
    case PIX_OP_MUL:
      run(PIX_OpTag<_PIX_CombinePixelsMulClamp>(), true);
      return;
    case PIX_OP_OVERLAY:
      run(PIX_OpTag<_PIX_CombinePixelsOverlay>(), true);
      return;
    case PIX_OP_HSVADJ:
      run(PIX_OpTag<_PIX_CombinePixelsHSVAdjust>(), true);
      return;
    default:
      return;
  }
}
