#include "framework/editor/controls/IFaderControl.h"

#include "framework/editor/IGraphics.h"

namespace {

IRECT TrackRECT(int x, int y, int length, const IBitmap& handle, EDirection direction)
{
  if (direction == kHorizontal) return IRECT(x, y, x + length, y + handle.FrameHeight());
  return IRECT(x, y, x + handle.FrameWidth(), y + length);
}

}  // namespace

IFaderControl::IFaderControl(IEffectBase* plug, int x, int y, int length, int paramIdx, IBitmap* handle,
                             EDirection direction, bool onlyHandle)
    : IControl(plug, TrackRECT(x, y, length, BitmapOrEmpty(handle), direction), paramIdx), mLen(length),
      mHandleBitmap(BitmapOrEmpty(handle)), mDirection(direction), mOnlyHandle(onlyHandle)
{
  mHandleHeadroom = direction == kHorizontal ? mHandleBitmap.FrameWidth() : mHandleBitmap.FrameHeight();
}

IRECT IFaderControl::GetHandleRECT(double value) const
{
  if (value < 0.0) value = mValue;
  const int travel = GetHandleHeadroom();
  const int w = mHandleBitmap.FrameWidth(), h = mHandleBitmap.FrameHeight();
  if (mDirection == kHorizontal) {
    const int offset = static_cast<int>(value * travel);
    return IRECT(mRECT.mL + offset, mRECT.mT, mRECT.mL + offset + w, mRECT.mT + h);
  }
  const int offset = static_cast<int>(travel * (1.0 - value));
  return IRECT(mRECT.mL, mRECT.mT + offset, mRECT.mL + w, mRECT.mT + offset + h);
}

void IFaderControl::OnMouseDown(int x, int y, IMouseMod* mod)
{
  if (mod && mod->mR) {
    PromptUserInput();
    return;
  }
  SnapToMouse(x, y);
}

void IFaderControl::OnMouseDrag(int x, int y, int, int, IMouseMod*) { SnapToMouse(x, y); }

void IFaderControl::OnMouseWheel(int, int, IMouseMod* mod, int d) { StepByWheel(mod, d); }

bool IFaderControl::Draw(IGraphics* graphics)
{
  IRECT handle = GetHandleRECT();
  return graphics->DrawBitmap(&mHandleBitmap, &handle, 1, &mBlend);
}

bool IFaderControl::IsHit(int x, int y)
{
  if (mOnlyHandle) return GetHandleRECT().Contains(x, y);
  return mTargetRECT.Contains(x, y);
}

void IFaderControl::SnapToMouse(int x, int y)
{
  const int travel = GetHandleHeadroom();
  const int half = mHandleHeadroom / 2;
  // A track no longer than its handle leaves the handle nowhere to go.
  if (travel > 0) {
    if (mDirection == kHorizontal) mValue = static_cast<double>(x - mRECT.mL - half) / travel;
    else mValue = 1.0 - static_cast<double>(y - mRECT.mT - half) / travel;
  }
  SetDirty(true);
}
