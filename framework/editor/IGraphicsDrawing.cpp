// The editor's drawing operations: editor types in, rasteriser calls out,
// always into the draw bitmap (IGraphics.h).

#include <cmath>
#include <cstddef>
#include <new>

#include "framework/editor/IBlendMode.h"
#include "framework/editor/IGraphics.h"
#include "pix/pix_blit.h"
#include "pix/pix_membitmap.h"
#include "pix/pix_sysbitmap.h"
#include "pix/pix_vector.h"

namespace {

// The outline operations draw opaque, whatever blend the control has.
const IChannelBlend kOpaque(IChannelBlend::kBlendClobber, 1.0f);

// Runs draw(bitmap, pixel, weight, mode) with the colour and blend turned
// into rasteriser terms; nothing for a missing colour.
template <class Draw>
bool DrawShape(PIX_IBitmap* bitmap, const IColor* color, const IChannelBlend* blend, Draw draw)
{
  if (!color) return true;
  const IBlendMode b = BlendModeOf(blend);
  draw(bitmap, color->ToPixel(), b.mWeight, b.mMode);
  return true;
}

// A fraction of a rectangle's side, 0-1; NaN counts as 0.
float Fraction(float v)
{
  if (!(v >= 0.0f)) return 0.0f;
  return v > 1.0f ? 1.0f : v;
}

}  // namespace

// ---- Bitmaps ----

bool IGraphics::BlitClipped(PIX_IBitmap* src, const IRECT* dest, int srcX, int srcY,
                            const IChannelBlend* blend)
{
  if (!src || !dest) return true;
  const IRECT target = dest->Intersect(&mDrawRECT);
  if (target.Empty()) return true;
  const IBlendMode b = BlendModeOf(blend);
  PIX_Blit(GetDrawBitmap(), src, target.mL, target.mT, srcX + target.mL - dest->mL,
           srcY + target.mT - dest->mT, target.W(), target.H(), b.mWeight, b.mMode);
  return true;
}

bool IGraphics::DrawBitmap(IBitmap* bitmap, IRECT* dest, int srcX, int srcY, const IChannelBlend* blend)
{
  return bitmap ? BlitClipped(bitmap->mData, dest, srcX, srcY, blend) : true;
}

bool IGraphics::DrawBitmap(IBitmap* bitmap, IRECT* dest, int frame, const IChannelBlend* blend)
{
  if (!bitmap) return true;
  int srcX = 0, srcY = 0;
  const int n = bitmap->Frames();
  if (frame >= 2 && n >= 2) {
    // Frame offsets are rounded from double, so strips whose size is not a
    // multiple of the frame count still land on the nearest pixel.
    const double size = bitmap->mFramesAreHorizontal ? bitmap->mW : bitmap->mH;
    const double offset = static_cast<double>(frame - 1) * size / n + 0.5;
    // A frame past the strip has no pixels to show.
    if (offset >= size) return true;
    if (bitmap->mFramesAreHorizontal) srcX = static_cast<int>(offset);
    else srcY = static_cast<int>(offset);
  }
  return DrawBitmap(bitmap, dest, srcX, srcY, blend);
}

bool IGraphics::DrawRotatedBitmap(IBitmap* bitmap, int cx, int cy, double angle, int yOffsetZeroDeg,
                                  const IChannelBlend* blend)
{
  if (!bitmap) return true;
  const int w = bitmap->mW, h = bitmap->mH;
  const IBlendMode b = BlendModeOf(blend);
  PIX_RotatedBlit(GetDrawBitmap(), bitmap->mData, cx - w / 2, cy - h / 2, w, h, 0.0f, 0.0f,
                  static_cast<float>(w), static_cast<float>(h), static_cast<float>(angle), false, b.mWeight,
                  b.mMode | PIX_FILTER_BILINEAR, 0.0f, static_cast<float>(yOffsetZeroDeg));
  return true;
}

bool IGraphics::DrawRotatedMask(IBitmap* base, IBitmap* mask, IBitmap* top, int x, int y, double angle,
                                const IChannelBlend* blend)
{
  if (!base || !mask || !top || !base->mData) return true;
  if (!mTmpBitmap) mTmpBitmap = new (std::nothrow) PIX_MemBitmap(0, 0, 4);
  if (!mTmpBitmap) return true;
  const int w = base->mW, h = base->mH;
  PIX_Copy(mTmpBitmap, base->mData);
  // The base keeps its colour but starts fully transparent: the mask adds
  // the alpha that shows it.
  PIX_ClearRect(mTmpBitmap, 0, 0, w, h, 0xFFFFFF, 0);
  const float radians = static_cast<float>(angle * 3.141592653589793 / 180.0);
  const float xCentre = (w % 2) ? -0.5f : 0.0f;
  PIX_RotatedBlit(mTmpBitmap, mask->mData, 0, 0, w, h, 0.0f, 0.0f, static_cast<float>(mask->mW),
                  static_cast<float>(mask->mH), radians, true, 1.0f,
                  PIX_OP_ADD | PIX_FILTER_BILINEAR | PIX_USE_SOURCE_ALPHA, xCentre, 0.0f);
  PIX_RotatedBlit(mTmpBitmap, top->mData, 0, 0, w, h, 0.0f, 0.0f, static_cast<float>(top->mW),
                  static_cast<float>(top->mH), radians, true, 1.0f,
                  PIX_OP_COPY | PIX_FILTER_BILINEAR | PIX_USE_SOURCE_ALPHA, xCentre, 0.0f);
  const IRECT dest(x, y, x + w, y + h);
  return BlitClipped(mTmpBitmap, &dest, 0, 0, blend);
}

// ---- Pixels ----

bool IGraphics::DrawPoint(const IColor* color, float x, float y, const IChannelBlend* blend, bool)
{
  return DrawShape(GetDrawBitmap(), color, blend, [&](PIX_IBitmap* bm, PIX_pixel p, float w, int m) {
    PIX_PutPixel(bm, ITruncToInt(x + 0.5f), ITruncToInt(y + 0.5f), p, w, m);
  });
}

bool IGraphics::ForcePixel(const IColor* color, int x, int y)
{
  PIX_SysBitmap* bitmap = GetDrawBitmap();
  if (!color || !bitmap || !bitmap->getBits()) return true;
  if (x < 0 || y < 0 || x >= bitmap->getWidth() || y >= bitmap->getHeight()) return true;
  bitmap->getBits()[static_cast<ptrdiff_t>(y) * bitmap->getRowSpan() + x] = color->ToPixel();
  return true;
}

IColor IGraphics::GetPoint(int x, int y) { return IColor::FromPixel(PIX_GetPixel(GetDrawBitmap(), x, y)); }

// ---- Lines and outlines ----

bool IGraphics::DrawLine(const IColor* color, float x1, float y1, float x2, float y2,
                         const IChannelBlend* blend, bool aa)
{
  return DrawShape(GetDrawBitmap(), color, blend, [&](PIX_IBitmap* bm, PIX_pixel p, float w, int m) {
    PIX_Line(bm, ITruncToInt(x1), ITruncToInt(y1), ITruncToInt(x2), ITruncToInt(y2), p, w, m, aa);
  });
}

bool IGraphics::DrawArc(const IColor* color, float cx, float cy, float r, float minAngle, float maxAngle,
                        const IChannelBlend* blend, bool aa)
{
  return DrawShape(GetDrawBitmap(), color, blend, [&](PIX_IBitmap* bm, PIX_pixel p, float w, int m) {
    PIX_Arc(bm, cx, cy, r, minAngle, maxAngle, p, w, m, aa);
  });
}

bool IGraphics::DrawCircle(const IColor* color, float cx, float cy, float r, const IChannelBlend* blend,
                           bool aa)
{
  return DrawShape(GetDrawBitmap(), color, blend, [&](PIX_IBitmap* bm, PIX_pixel p, float w, int m) {
    PIX_Circle(bm, cx, cy, r, p, w, m, aa);
  });
}

bool IGraphics::RoundRect(const IColor* color, IRECT* r, const IChannelBlend* blend, int cornerRadius,
                          bool aa)
{
  if (!r) return true;
  return DrawShape(GetDrawBitmap(), color, blend, [&](PIX_IBitmap* bm, PIX_pixel p, float w, int m) {
    PIX_RoundRect(bm, static_cast<float>(r->mL), static_cast<float>(r->mT), static_cast<float>(r->W()),
                  static_cast<float>(r->H()), cornerRadius, p, w, m, aa);
  });
}

bool IGraphics::DrawRect(const IColor* color, IRECT* r)
{
  if (!r) return true;
  return DrawShape(GetDrawBitmap(), color, &kOpaque, [&](PIX_IBitmap* bm, PIX_pixel p, float w, int m) {
    PIX_Line(bm, r->mL, r->mT, r->mR, r->mT, p, w, m, false);
    PIX_Line(bm, r->mL, r->mB, r->mR, r->mB, p, w, m, false);
    PIX_Line(bm, r->mL, r->mT, r->mL, r->mB, p, w, m, false);
    PIX_Line(bm, r->mR, r->mT, r->mR, r->mB, p, w, m, false);
  });
}

bool IGraphics::DrawVerticalLine(const IColor* color, int xi, int yLo, int yHi)
{
  return DrawShape(GetDrawBitmap(), color, &kOpaque, [&](PIX_IBitmap* bm, PIX_pixel p, float w, int m) {
    PIX_Line(bm, xi, yLo, xi, yHi, p, w, m, false);
  });
}

bool IGraphics::DrawHorizontalLine(const IColor* color, int yi, int xLo, int xHi)
{
  return DrawShape(GetDrawBitmap(), color, &kOpaque, [&](PIX_IBitmap* bm, PIX_pixel p, float w, int m) {
    PIX_Line(bm, xLo, yi, xHi, yi, p, w, m, false);
  });
}

bool IGraphics::DrawVerticalLine(const IColor* color, IRECT* r, float x)
{
  if (!r) return true;
  const int column = r->mL + ITruncToInt(static_cast<float>(r->W()) * Fraction(x));
  return DrawVerticalLine(color, column, r->mT, r->mB);
}

bool IGraphics::DrawHorizontalLine(const IColor* color, IRECT* r, float y)
{
  if (!r) return true;
  const int row = r->mB - ITruncToInt(static_cast<float>(r->H()) * Fraction(y));
  return DrawHorizontalLine(color, row, r->mL, r->mR);
}

bool IGraphics::DrawRadialLine(const IColor* color, float cx, float cy, float angle, float rMin, float rMax,
                               const IChannelBlend* blend, bool aa)
{
  const float s = std::sin(angle), k = std::cos(angle);
  return DrawLine(color, cx + rMin * s, cy - rMin * k, cx + rMax * s, cy - rMax * k, blend, aa);
}

// ---- Fills ----

bool IGraphics::FillIRect(const IColor* color, IRECT* r, const IChannelBlend* blend)
{
  if (!r) return true;
  return DrawShape(GetDrawBitmap(), color, blend, [&](PIX_IBitmap* bm, PIX_pixel p, float w, int m) {
    PIX_FillRect(bm, r->mL, r->mT, r->W(), r->H(), p, w, m);
  });
}

bool IGraphics::FillRoundRect(const IColor* color, IRECT* r, const IChannelBlend* blend, int cornerRadius,
                              bool aa)
{
  if (!r) return true;
  const int cr = cornerRadius;
  return DrawShape(GetDrawBitmap(), color, blend, [&](PIX_IBitmap* bm, PIX_pixel p, float w, int m) {
    PIX_FillRect(bm, r->mL + cr, r->mT, r->W() - 2 * cr, r->H(), p, w, m);
    PIX_FillRect(bm, r->mL, r->mT + cr, cr, r->H() - 2 * cr, p, w, m);
    PIX_FillRect(bm, r->mR - cr, r->mT + cr, cr, r->H() - 2 * cr, p, w, m);
    const float radius = static_cast<float>(cr);
    const float left = static_cast<float>(r->mL + cr), right = static_cast<float>(r->mR - cr - 1);
    const float top = static_cast<float>(r->mT + cr), bottom = static_cast<float>(r->mB - cr - 1);
    PIX_FillCircle(bm, left, top, radius, p, w, m, aa);
    PIX_FillCircle(bm, right, bottom, radius, p, w, m, aa);
    PIX_FillCircle(bm, right, top, radius, p, w, m, aa);
    PIX_FillCircle(bm, left, bottom, radius, p, w, m, aa);
  });
}

bool IGraphics::FillCircle(const IColor* color, int cx, int cy, float r, const IChannelBlend* blend, bool aa)
{
  return DrawShape(GetDrawBitmap(), color, blend, [&](PIX_IBitmap* bm, PIX_pixel p, float w, int m) {
    PIX_FillCircle(bm, static_cast<float>(cx), static_cast<float>(cy), r, p, w, m, aa);
  });
}

bool IGraphics::FillTriangle(const IColor* color, int x1, int y1, int x2, int y2, int x3, int y3,
                             IChannelBlend* blend)
{
  return DrawShape(GetDrawBitmap(), color, blend, [&](PIX_IBitmap* bm, PIX_pixel p, float w, int m) {
    PIX_FillTriangle(bm, x1, y1, x2, y2, x3, y3, p, w, m);
  });
}

bool IGraphics::FillIConvexPolygon(const IColor* color, int* x, int* y, int nPoints,
                                   const IChannelBlend* blend)
{
  if (!x || !y || nPoints < 3) return true;
  return DrawShape(GetDrawBitmap(), color, blend, [&](PIX_IBitmap* bm, PIX_pixel p, float w, int m) {
    PIX_FillConvexPolygon(bm, x, y, nPoints, p, w, m);
  });
}
