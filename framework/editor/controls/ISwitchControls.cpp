#include "framework/editor/controls/ISwitchControls.h"

#include "framework/editor/IGraphics.h"

namespace {

// The value a press selects on a list of n rectangles: position j of the
// first one that contains the point gives j / (n - 1), a single rectangle
// gives 0. False (value untouched) when none is hit.
bool ValueOfHitRECT(const BASE_TypedBuf<IRECT>& rects, int x, int y, double* value)
{
  const int n = rects.GetSize();
  const IRECT* r = rects.Get();
  for (int j = 0; j < n; ++j) {
    if (!r[j].Contains(x, y)) continue;
    *value = n > 1 ? static_cast<double>(j) / (n - 1) : 0.0;
    return true;
  }
  return false;
}

}  // namespace

// ---- ISwitchControl ----

ISwitchControl::ISwitchControl(IEffectBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                               IChannelBlend::EBlendMethod blendMethod)
    : IBitmapControl(plug, x, y, paramIdx, bitmap, blendMethod)
{
}

void ISwitchControl::OnMouseDown(int, int, IMouseMod*)
{
  const int n = mBitmap.Frames();
  mValue += n >= 2 ? 1.0 / (n - 1) : 1.0;
  // The margin keeps the last frame reachable when the steps add up to a
  // hair above 1.
  if (mValue > 1.001) mValue = 0.0;
  SetDirty(true);
}

void ISwitchControl::OnMouseDblClick(int x, int y, IMouseMod* mod) { OnMouseDown(x, y, mod); }

// ---- ISwitchPopUpControl ----

ISwitchPopUpControl::ISwitchPopUpControl(IEffectBase* plug, int x, int y, int paramIdx, IBitmap* bitmap)
    : ISwitchControl(plug, x, y, paramIdx, bitmap)
{
  mDisablePrompt = false;
}

void ISwitchPopUpControl::OnMouseDown(int, int, IMouseMod*)
{
  PromptUserInput();
  SetDirty(true);
}

// ---- ISwitchFramesControl ----

ISwitchFramesControl::ISwitchFramesControl(IEffectBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                                           bool imagesAreHorizontal, IChannelBlend::EBlendMethod blendMethod)
    : ISwitchControl(plug, x, y, paramIdx, bitmap, blendMethod), mRECTs(256)
{
  mDisablePrompt = false;
  const int n = mBitmap.Frames();
  const int start = imagesAreHorizontal ? mRECT.mL : mRECT.mT;
  const float slice = static_cast<float>(imagesAreHorizontal ? mRECT.W() : mRECT.H()) / n;
  for (int i = 0; i < n; ++i) {
    const int lo = start + static_cast<int>(i * slice);
    const int hi = static_cast<int>(lo + slice);
    mRECTs.Add(imagesAreHorizontal ? IRECT(lo, mRECT.mT, hi, mRECT.mB) : IRECT(mRECT.mL, lo, mRECT.mR, hi));
  }
}

ISwitchFramesControl::~ISwitchFramesControl() { mRECTs.Resize(0); }

void ISwitchFramesControl::OnMouseDown(int x, int y, IMouseMod*)
{
  ValueOfHitRECT(mRECTs, x, y, &mValue);
  SetDirty(true);
}

// ---- IContactControl ----

IContactControl::IContactControl(IEffectBase* plug, int x, int y, int paramIdx, IBitmap* bitmap)
    : ISwitchControl(plug, x, y, paramIdx, bitmap)
{
}

void IContactControl::OnMouseUp(int, int, IMouseMod*)
{
  mValue = 0.0;
  SetDirty(true);
}

// ---- IBitmapOverlayControl ----

IBitmapOverlayControl::IBitmapOverlayControl(IEffectBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                                             IRECT targetArea)
    : ISwitchControl(plug, x, y, paramIdx, bitmap), mTargetArea(targetArea)
{
}

IBitmapOverlayControl::IBitmapOverlayControl(IEffectBase* plug, int x, int y, IBitmap* bitmap,
                                             IRECT targetArea)
    : IBitmapOverlayControl(plug, x, y, -1, bitmap, targetArea)
{
}

bool IBitmapOverlayControl::Draw(IGraphics* graphics)
{
  if (mValue < 0.5) {
    mTargetRECT = mTargetArea;
    return true;
  }
  mTargetRECT = mRECT;
  return IBitmapControl::Draw(graphics);
}

// ---- IInvisibleSwitchControl ----

IInvisibleSwitchControl::IInvisibleSwitchControl(IEffectBase* plug, IRECT rect, int paramIdx)
    : IControl(plug, rect, paramIdx, IChannelBlend::kBlendClobber)
{
}

void IInvisibleSwitchControl::OnMouseDown(int, int, IMouseMod*)
{
  mValue = mValue < 0.5 ? 1.0 : 0.0;
  SetDirty(true);
}

bool IInvisibleSwitchControl::Draw(IGraphics*) { return true; }

// ---- IRadioButtonsControl ----

IRadioButtonsControl::IRadioButtonsControl(IEffectBase* plug, IRECT rect, int paramIdx, int nButtons,
                                           IBitmap* bitmap, EDirection direction, bool reverse)
    : IControl(plug, rect, paramIdx), mRECTs(256), mBitmap(BitmapOrEmpty(bitmap))
{
  const int n = nButtons > 0 ? nButtons : 0;
  const int w = mBitmap.FrameWidth(), h = mBitmap.FrameHeight();
  const bool vertical = direction == kVertical;
  const int size = vertical ? h : w;
  const int room = vertical ? rect.H() : rect.W();
  // The room left beside the buttons is spread between them; a single
  // button has no gap.
  const int spacing = n > 1 ? static_cast<int>(static_cast<double>(room - n * size) / (n - 1)) : 0;
  for (int j = 0; j < n; ++j) {
    // Reversed, the first button sits at the far edge and the rest follow
    // towards the near one: the mirror image of the forward layout.
    const int offset = j * (size + spacing);
    if (vertical) {
      const int top = reverse ? rect.mB - offset - h : rect.mT + offset;
      mRECTs.Add(IRECT(rect.mL, top, rect.mL + w, top + h));
    } else {
      const int left = reverse ? rect.mR - offset - w : rect.mL + offset;
      mRECTs.Add(IRECT(left, rect.mT, left + w, rect.mT + h));
    }
  }
}

IRadioButtonsControl::~IRadioButtonsControl() { mRECTs.Resize(0); }

void IRadioButtonsControl::OnMouseDown(int x, int y, IMouseMod* mod)
{
  if (mod && mod->mR) {
    PromptUserInput();
    return;
  }
  ValueOfHitRECT(mRECTs, x, y, &mValue);
  SetDirty(true);
}

bool IRadioButtonsControl::Draw(IGraphics* graphics)
{
  const int n = mRECTs.GetSize();
  const int active = StepForValue(n, mValue);
  IRECT* r = mRECTs.Get();
  for (int i = 0; i < n; ++i) graphics->DrawBitmap(&mBitmap, &r[i], i == active ? 2 : 1, &mBlend);
  return true;
}
