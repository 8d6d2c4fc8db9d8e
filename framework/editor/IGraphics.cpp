// The editor's life cycle, its timer step and drawing pass, and the
// parameter-to-control synchronisation (IGraphics.h).

#include "framework/editor/IGraphics.h"

#include <new>

#include "base/cstring.h"
#include "base/mutex.h"
#include "framework/IEffectBase.h"
#include "framework/IParam.h"
#include "framework/editor/controls/IBitmapControl.h"
#include "framework/editor/controls/IControl.h"
#include "framework/editor/controls/IPanelControl.h"
#include "pix/pix_membitmap.h"
#include "pix/pix_sysbitmap.h"

namespace {
const int kDefaultFPS = 25;
}

IGraphics::IGraphics(IEffectBase* plug, int w, int h, int fps)
    : mPlug(plug), mWidth(w), mHeight(h), mFPS(fps > 0 ? fps : kDefaultFPS)
{
  mPostedParams.Resize(plug ? plug->NParams() : 0);
}

IGraphics::~IGraphics()
{
  delete mKeyCatcher;
  mKeyCatcher = nullptr;
  DeleteControls();
  DeleteDrawBitmaps();
}

void IGraphics::DeleteControls() { mControls.Empty(true); }

void IGraphics::DeleteDrawBitmaps()
{
  delete mDrawBitmap;
  mDrawBitmap = nullptr;
  delete mTmpBitmap;
  mTmpBitmap = nullptr;
}

// ---- Virtual operations with a base behaviour ----

bool IGraphics::MeasureIText(IText* text, const char* str, IRECT* r) { return DrawIText(text, str, r, true); }

void IGraphics::Resize(int w, int h)
{
  mWidth = w;
  mHeight = h;
  ReleaseMouseCapture();
  // The controls go, so an index into their list would name a stranger.
  mMouseOver = -1;
  DeleteControls();
  DeleteDrawBitmaps();
  PrepDraw();
  if (mPlug) mPlug->ResizeGraphics(w, h);
}

bool IGraphics::WindowIsOpen() { return GetWindow() != nullptr; }

const char* IGraphics::GetGUIAPI() { return ""; }

void* IGraphics::OpenWindow(void*, void*, short, short) { return nullptr; }

void IGraphics::AttachSubWindow(void*) {}

void IGraphics::RemoveSubWindow() {}

void IGraphics::HideMouseCursor() {}

void IGraphics::ShowMouseCursor() {}

void IGraphics::PrepDraw() { DeleteDrawBitmaps(); }

void IGraphics::OnEditIdle() { TimerStep(); }

void IGraphics::ReleaseMouseCapture() { mMouseCapture = mMouseX = mMouseY = -1; }

// ---- Construction and attachment ----

void IGraphics::AttachBackground(int id, const char* name)
{
  IBitmap bitmap = LoadIBitmap(id, name, 1, false);
  IControl* background = new IBitmapControl(mPlug, 0, 0, -1, &bitmap, IChannelBlend::kBlendClobber);
  if (!mControls.Insert(0, background)) delete background;
}

void IGraphics::AttachPanelBackground(const IColor* color)
{
  IControl* background = new IPanelControl(mPlug, IRECT(0, 0, mWidth, mHeight), color);
  if (!mControls.Insert(0, background)) delete background;
}

int IGraphics::AttachControl(IControl* control)
{
  if (!control) return -1;
  if (!mControls.Add(control)) {
    delete control;
    return -1;
  }
  return mControls.GetSize() - 1;
}

void IGraphics::AttachKeyCatcher(IControl* control)
{
  if (control != mKeyCatcher) delete mKeyCatcher;
  mKeyCatcher = control;
}

// ---- Timer step and drawing pass ----

bool IGraphics::TimerStep(IRECT* drawn)
{
  TakePostedParameters();
  OnGUIIdle();
  if (!WindowIsOpen()) return false;
  IRECT r;
  if (!IsDirty(&r)) return false;
  Draw(&r);
  if (drawn) *drawn = r;
  return true;
}

void IGraphics::TakePostedParameters()
{
  mPostedParams.Take([this](int paramIdx, double value) { SetParameterFromPlug(paramIdx, value, true); });
}

bool IGraphics::IsDirty(IRECT* r)
{
  bool dirty = false;
  for (int i = 0; i < mControls.GetSize(); ++i) {
    IControl* control = mControls.Get(i);
    if (!control->IsDirty()) continue;
    *r = r->Union(control->GetRECT());
    dirty = true;
  }
  return dirty;
}

bool IGraphics::Draw(IRECT* r)
{
  if (mControls.GetSize() == 0) return true;
  if (!r || !GetDrawBitmap()) return false;
  if (mStrict) DrawStrict(r);
  else if (mControls.Get(0)->IsDirty()) DrawBackgroundAndAll();
  else DrawDirtyOverlaps();
  return DrawScreen(r);
}

void IGraphics::DrawStrict(IRECT* r)
{
  mDrawRECT = *r;
  const int n = mControls.GetSize();
  for (int i = 0; i < n; ++i) {
    IControl* control = mControls.Get(i);
    // The refresh rectangle comes first: a control that only touches its
    // right or bottom edge is repainted too.
    if (!control->IsHidden() && r->Intersects(control->GetRECT())) control->Draw(this);
  }
  for (int i = 0; i < n; ++i) mControls.Get(i)->SetClean();
}

void IGraphics::DrawBackgroundAndAll()
{
  mDrawRECT = *mControls.Get(0)->GetRECT();
  for (int i = 0; i < mControls.GetSize(); ++i) {
    IControl* control = mControls.Get(i);
    if (i > 0 && control->IsHidden()) continue;
    control->Draw(this);
    control->SetClean();
  }
}

void IGraphics::DrawDirtyOverlaps()
{
  const int n = mControls.GetSize();
  for (int j = 1; j < n; ++j) {
    IControl* dirty = mControls.Get(j);
    if (!dirty->IsDirty()) continue;
    mDrawRECT = *dirty->GetRECT();
    for (int k = 0; k < n; ++k) {
      IControl* control = mControls.Get(k);
      if (control->IsHidden()) continue;
      if (k == j || mDrawRECT.Intersects(control->GetRECT())) control->Draw(this);
    }
    dirty->SetClean();
  }
}

void IGraphics::SetStrictDrawing(bool strict)
{
  mStrict = strict;
  SetAllControlsDirty();
}

void IGraphics::SetAllControlsDirty()
{
  for (int i = 0; i < mControls.GetSize(); ++i) mControls.Get(i)->SetDirty(false);
}

void IGraphics::OnGUIIdle()
{
  for (int i = 0; i < mControls.GetSize(); ++i) mControls.Get(i)->OnGUIIdle();
}

PIX_SysBitmap* IGraphics::GetDrawBitmap()
{
  if (!mDrawBitmap) mDrawBitmap = new (std::nothrow) PIX_SysBitmap(mWidth, mHeight);
  return mDrawBitmap;
}

PIX_pixel* IGraphics::GetBits()
{
  PIX_SysBitmap* bitmap = GetDrawBitmap();
  return bitmap ? bitmap->getBits() : nullptr;
}

// ---- Parameters and controls ----

double IGraphics::NormalizedValue(int paramIdx, double value)
{
  // Shape and range are fixed once the plug-in is constructed, so any
  // thread may convert.
  const IParam* param = mPlug ? mPlug->GetParam(paramIdx) : nullptr;
  return param ? param->GetNormalized(value) : value;
}

void IGraphics::SetParameterFromPlug(int paramIdx, double value, bool normalized)
{
  if (!normalized) value = NormalizedValue(paramIdx, value);
  for (int i = 0; i < mControls.GetSize(); ++i) {
    IControl* control = mControls.Get(i);
    if (control->ParamIdx() == paramIdx) control->SetValueFromPlug(value);
    const int auxIdx = control->AuxParamIdx(paramIdx);
    if (auxIdx >= 0) control->SetAuxParamValueFromPlug(auxIdx, value);
  }
}

void IGraphics::PostParameterFromPlug(int paramIdx, double value, bool normalized)
{
  if (!normalized) value = NormalizedValue(paramIdx, value);
  mPostedParams.Post(paramIdx, value);
}

void IGraphics::SetControlFromPlug(int controlIdx, double normalizedValue)
{
  IControl* control = mControls.Get(controlIdx);
  if (control) control->SetValueFromPlug(normalizedValue);
}

template <class Fn>
void IGraphics::ForEachControlOf(int paramIdx, Fn fn)
{
  for (int i = 0; i < mControls.GetSize(); ++i) {
    IControl* control = mControls.Get(i);
    if (control->ParamIdx() == paramIdx) fn(control);
  }
}

void IGraphics::SetParameterFromGUI(int paramIdx, double normalizedValue)
{
  ForEachControlOf(paramIdx, [=](IControl* control) { control->SetValueFromUserInput(normalizedValue); });
}

void IGraphics::HideControl(int paramIdx, bool hide)
{
  ForEachControlOf(paramIdx, [=](IControl* control) { control->Hide(hide); });
}

void IGraphics::GrayOutControl(int paramIdx, bool gray)
{
  ForEachControlOf(paramIdx, [=](IControl* control) { control->GrayOut(gray); });
}

void IGraphics::ClampControl(int paramIdx, double lo, double hi, bool normalized)
{
  if (!normalized) {
    lo = NormalizedValue(paramIdx, lo);
    hi = NormalizedValue(paramIdx, hi);
  }
  ForEachControlOf(paramIdx, [=](IControl* control) { control->Clamp(lo, hi); });
}

void IGraphics::AssignParamNameToolTips()
{
  // Names are fixed once the plug-in is constructed, so they are read
  // without the plug-in mutex.
  for (int i = 0; i < mControls.GetSize(); ++i) {
    IControl* control = mControls.Get(i);
    const IParam* param = control->GetParam();
    if (param) control->SetTooltip(param->GetNameForHost());
  }
}

bool IGraphics::SnapshotParam(int paramIdx, ParamSnapshot* snapshot)
{
  if (!mPlug || !snapshot) return false;
  const IParam* param;
  const char* label;
  {
    // Only the value changes after construction; the audio thread waits on
    // this lock, so formatting happens after it is released.
    BASE_MutexLock lock(mPlug->GetMutex());
    param = mPlug->GetParam(paramIdx);
    if (!param) return false;
    snapshot->mValue = param->Value();
    label = param->GetLabelForHost();
  }
  snapshot->mNormalized = param->GetNormalized(snapshot->mValue);
  param->GetDisplayForHost(snapshot->mValue, false, snapshot->mDisplay, true);
  BASE_CopyString(snapshot->mLabel, label, sizeof(snapshot->mLabel));
  return true;
}
