#include "framework/editor/controls/IBitmapControl.h"

#include "framework/editor/IGraphics.h"

IBitmapControl::IBitmapControl(IEffectBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                               IChannelBlend::EBlendMethod blendMethod)
    : IControl(plug, FrameRECT(x, y, bitmap), paramIdx, blendMethod), mBitmap(BitmapOrEmpty(bitmap))
{
}

IBitmapControl::IBitmapControl(IEffectBase* plug, int x, int y, IBitmap* bitmap,
                               IChannelBlend::EBlendMethod blendMethod)
    : IBitmapControl(plug, x, y, -1, bitmap, blendMethod)
{
}

int IBitmapControl::FrameForValue(const IBitmap& bitmap, double value)
{
  const int n = bitmap.Frames();
  if (n < 2) return 1;
  const double f = (n - 1) * value + 0.5;
  // Below one frame (or not a number) shows the first, past the last the last.
  if (!(f >= 1.0)) return 1;
  if (f >= n) return n;
  return static_cast<int>(f) + 1;
}

bool IBitmapControl::Draw(IGraphics* graphics)
{
  return graphics->DrawBitmap(&mBitmap, &mRECT, FrameForValue(), &mBlend);
}
