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
  return StepForValue(bitmap.Frames(), value) + 1;
}

bool IBitmapControl::Draw(IGraphics* graphics)
{
  return graphics->DrawBitmap(&mBitmap, &mRECT, FrameForValue(), &mBlend);
}
