// Mouse and key routing: every event goes to exactly one control, the
// captured one or the topmost visible one under the pointer (IGraphics.h).

#include "framework/IEffectBase.h"
#include "framework/editor/IGraphics.h"
#include "framework/editor/controls/IControl.h"

int IGraphics::GetMouseControlIdx(int x, int y, bool forHover)
{
  if (mMouseCapture >= 0) return mMouseCapture;
  for (int i = mControls.GetSize() - 1; i >= 0; --i) {
    IControl* control = mControls.Get(i);
    if (control->IsHidden()) continue;
    if (control->IsGrayed() && !(forHover && control->GetMOWhenGrayed())) continue;
    if (control->IsHit(x, y)) return i;
  }
  return -1;
}

int IGraphics::GestureParam(IControl* control)
{
  // A control bound to an index that names no parameter has nothing a host
  // could record, so it opens no gesture.
  const int paramIdx = control->ParamIdx();
  if (paramIdx < 0 || !mPlug || !mPlug->GetParam(paramIdx)) return -1;
  return paramIdx;
}

void IGraphics::CaptureMouse(int controlIdx, int x, int y)
{
  mMouseCapture = controlIdx;
  mMouseX = x;
  mMouseY = y;
}

void IGraphics::OnMouseDown(int x, int y, IMouseMod* mod)
{
  ReleaseMouseCapture();
  const int idx = GetMouseControlIdx(x, y);
  IControl* control = mControls.Get(idx);
  if (!control) return;
  CaptureMouse(idx, x, y);
  const int paramIdx = GestureParam(control);
  if (paramIdx >= 0) mPlug->BeginInformHostOfParamChange(paramIdx);
  control->OnMouseDown(x, y, mod);
}

void IGraphics::OnMouseUp(int x, int y, IMouseMod* mod)
{
  IControl* control = mControls.Get(GetMouseControlIdx(x, y));
  ReleaseMouseCapture();
  if (!control) return;
  control->OnMouseUp(x, y, mod);
  const int paramIdx = GestureParam(control);
  if (paramIdx >= 0) mPlug->EndInformHostOfParamChange(paramIdx);
}

void IGraphics::OnMouseDrag(int x, int y, IMouseMod* mod)
{
  IControl* control = mControls.Get(mMouseCapture);
  if (!control || (x == mMouseX && y == mMouseY)) return;
  const int dX = x - mMouseX, dY = y - mMouseY;
  mMouseX = x;
  mMouseY = y;
  control->OnMouseDrag(x, y, dX, dY, mod);
}

bool IGraphics::OnMouseDblClick(int x, int y, IMouseMod* mod)
{
  ReleaseMouseCapture();
  const int idx = GetMouseControlIdx(x, y);
  IControl* control = mControls.Get(idx);
  if (!control) return false;
  if (control->GetDblAsSingleClick()) {
    CaptureMouse(idx, x, y);
    control->OnMouseDown(x, y, mod);
    return true;
  }
  control->OnMouseDblClick(x, y, mod);
  return false;
}

void IGraphics::OnMouseWheel(int x, int y, IMouseMod* mod, int d)
{
  IControl* control = mControls.Get(GetMouseControlIdx(x, y));
  if (control) control->OnMouseWheel(x, y, mod, d);
}

bool IGraphics::OnMouseOver(int x, int y, IMouseMod* mod)
{
  if (!mHandleMouseOver) return false;
  const int idx = GetMouseControlIdx(x, y, true);
  IControl* control = mControls.Get(idx);
  if (!control) return true;
  mMouseX = x;
  mMouseY = y;
  control->OnMouseOver(x, y, mod);
  if (idx != mMouseOver) {
    IControl* previous = mControls.Get(mMouseOver);
    if (previous) previous->OnMouseOut();
  }
  mMouseOver = idx;
  return true;
}

void IGraphics::OnMouseOut()
{
  for (int i = 0; i < mControls.GetSize(); ++i) mControls.Get(i)->OnMouseOut();
  mMouseOver = -1;
}

bool IGraphics::OnKeyDown(int x, int y, int key)
{
  // The background (index 0) leaves keys to the key catcher.
  const int idx = GetMouseControlIdx(x, y);
  if (idx >= 1) return mControls.Get(idx)->OnKeyDown(x, y, key);
  return mKeyCatcher ? mKeyCatcher->OnKeyDown(x, y, key) : false;
}

int IGraphics::GetParamIdxForPTAutomation(int x, int y)
{
  const int idx = GetMouseControlIdx(x, y);
  mLastClickedParam = idx >= 1 ? mControls.Get(idx)->ParamIdx() : -1;
  return mLastClickedParam;
}

int IGraphics::GetLastClickedParamForPTAutomation()
{
  const int paramIdx = mLastClickedParam;
  mLastClickedParam = -1;
  return paramIdx;
}
