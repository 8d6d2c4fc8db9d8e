#include "framework/editor/controls/IKnobControls.h"

#include <cmath>

#include "framework/editor/IGraphics.h"
#include "framework/editor/controls/IBitmapControl.h"

// ---- IKnobControl ----

IKnobControl::IKnobControl(IEffectBase* plug, IRECT rect, int paramIdx, EDirection direction, double gearing)
    : IControl(plug, rect, paramIdx), mDirection(direction), mGearing(gearing)
{
}

void IKnobControl::OnMouseDrag(int, int, int dX, int dY, IMouseMod* mod)
{
  double gearing = mGearing;
  if (IsFineAdjust(mod)) gearing *= 10.0;
  // Screen y grows downwards, so the vertical size is taken negative and an
  // upward drag raises the value.
  const bool vertical = mDirection == kVertical;
  const double distance = vertical ? dY : dX;
  const double size = vertical ? mRECT.mT - mRECT.mB : mRECT.mR - mRECT.mL;
  // A knob without size or gearing has no scale to turn by.
  if (size != 0.0 && gearing != 0.0) mValue += distance / size / gearing;
  SetDirty(true);
}

void IKnobControl::OnMouseWheel(int, int, IMouseMod* mod, int d) { StepByWheel(mod, d); }

// ---- IKnobLineControl ----

namespace {
IColor ColorOrBlack(const IColor* color) { return color ? *color : COLOR_BLACK; }
}  // namespace

IKnobLineControl::IKnobLineControl(IEffectBase* plug, IRECT rect, int paramIdx, const IColor* color,
                                   double innerRadius, double outerRadius, double minAngle, double maxAngle,
                                   EDirection direction, double gearing)
    : IKnobControl(plug, rect, paramIdx, direction, gearing), mColor(ColorOrBlack(color)),
      mMinAngle(static_cast<float>(minAngle)), mMaxAngle(static_cast<float>(maxAngle)),
      mInnerRadius(static_cast<float>(innerRadius)),
      mOuterRadius(static_cast<float>(outerRadius == 0.0 ? 0.5 * rect.W() : outerRadius))
{
  mBlend = IChannelBlend(IChannelBlend::kBlendClobber);
}

bool IKnobLineControl::Draw(IGraphics* graphics)
{
  const double angle = mMinAngle + mValue * (mMaxAngle - mMinAngle);
  const float cx = mRECT.MW(), cy = mRECT.MH();
  const float s = static_cast<float>(std::sin(angle)), c = static_cast<float>(std::cos(angle));
  return graphics->DrawLine(&mColor, cx + s * mInnerRadius, cy - c * mInnerRadius, cx + s * mOuterRadius,
                            cy - c * mOuterRadius, &mBlend, true);
}

// ---- IKnobRotaterControl ----

IKnobRotaterControl::IKnobRotaterControl(IEffectBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                                         double minAngle, double maxAngle, int yOffsetZeroDeg,
                                         EDirection direction, double gearing)
    : IKnobControl(plug, FrameRECT(x, y, bitmap), paramIdx, direction, gearing),
      mBitmap(BitmapOrEmpty(bitmap)), mMinAngle(minAngle), mMaxAngle(maxAngle), mYOffset(yOffsetZeroDeg)
{
}

bool IKnobRotaterControl::Draw(IGraphics* graphics)
{
  const int cx = (mRECT.mL + mRECT.mR) / 2, cy = (mRECT.mT + mRECT.mB) / 2;
  const double angle = mMinAngle + mValue * (mMaxAngle - mMinAngle);
  return graphics->DrawRotatedBitmap(&mBitmap, cx, cy, angle, mYOffset, &mBlend);
}

// ---- IKnobMultiControl ----

IKnobMultiControl::IKnobMultiControl(IEffectBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                                     EDirection direction, double gearing)
    : IKnobControl(plug, FrameRECT(x, y, bitmap), paramIdx, direction, gearing),
      mBitmap(BitmapOrEmpty(bitmap))
{
}

bool IKnobMultiControl::Draw(IGraphics* graphics)
{
  return graphics->DrawBitmap(&mBitmap, &mRECT, IBitmapControl::FrameForValue(mBitmap, mValue), &mBlend);
}

// ---- IKnobRotatingMaskControl ----

IKnobRotatingMaskControl::IKnobRotatingMaskControl(IEffectBase* plug, int x, int y, int paramIdx,
                                                   IBitmap* base, IBitmap* mask, IBitmap* top,
                                                   double minAngle, double maxAngle, EDirection direction,
                                                   double gearing)
    : IKnobControl(plug, FrameRECT(x, y, base), paramIdx, direction, gearing), mBase(BitmapOrEmpty(base)),
      mMask(BitmapOrEmpty(mask)), mTop(BitmapOrEmpty(top)), mMinAngle(minAngle), mMaxAngle(maxAngle)
{
}

bool IKnobRotatingMaskControl::Draw(IGraphics* graphics)
{
  const double angle = mMinAngle + mValue * (mMaxAngle - mMinAngle);
  return graphics->DrawRotatedMask(&mBase, &mMask, &mTop, mRECT.mL, mRECT.mT, angle, &mBlend);
}
