// The editor's drawing operations: editor types in, rasteriser calls out,
// always into the draw bitmap (IGraphics.h).

#include "framework/editor/IBlendMode.h"
#include "framework/editor/IGraphics.h"
#include "pix/pix_blit.h"
#include "pix/pix_sysbitmap.h"

bool IGraphics::DrawBitmap(IBitmap* bitmap, IRECT* dest, int srcX, int srcY, const IChannelBlend* blend)
{
  if (!bitmap || !dest) return true;
  const IRECT target = dest->Intersect(&mDrawRECT);
  if (target.Empty()) return true;
  const IBlendMode b = BlendModeOf(blend);
  PIX_Blit(GetDrawBitmap(), bitmap->mData, target.mL, target.mT, srcX + target.mL - dest->mL,
           srcY + target.mT - dest->mT, target.W(), target.H(), b.mWeight, b.mMode);
  return true;
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

bool IGraphics::FillIRect(const IColor* color, IRECT* r, const IChannelBlend* blend)
{
  if (!color || !r) return true;
  const IBlendMode b = BlendModeOf(blend);
  PIX_FillRect(GetDrawBitmap(), r->mL, r->mT, r->W(), r->H(), color->ToPixel(), b.mWeight, b.mMode);
  return true;
}
