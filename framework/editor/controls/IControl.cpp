#include "framework/editor/controls/IControl.h"

#include <cstdio>
#include <cstring>

#include "framework/IEffectBase.h"
#include "framework/IParam.h"
#include "framework/editor/IGraphics.h"
#include "framework/editor/controls/ITextControls.h"

namespace {
// A value display shows at most this many characters of the value text and
// of the label each.
const int kDisplayPartSize = 32;
}  // namespace

IControl::IControl(IEffectBase* plug, IRECT rect, int paramIdx, IChannelBlend::EBlendMethod blendMethod)
    : mPlug(plug), mRECT(rect), mTargetRECT(rect), mParamIdx(paramIdx), mBlend(blendMethod, 1.0f)
{
}

IControl::~IControl() { mAuxParams.Resize(0); }

void IControl::OnMouseDown(int, int, IMouseMod* mod)
{
  if (mod && mod->mR) PromptUserInput();
}

void IControl::OnMouseUp(int, int, IMouseMod*) {}

void IControl::OnMouseDrag(int, int, int, int, IMouseMod*) {}

void IControl::OnMouseDblClick(int, int, IMouseMod*)
{
  if (mDefaultValue < 0.0) return;
  mValue = mDefaultValue;
  SetDirty(true);
}

void IControl::OnMouseWheel(int, int, IMouseMod*, int) {}

bool IControl::OnKeyDown(int, int, int) { return false; }

void IControl::OnMouseOver(int, int, IMouseMod*) {}

void IControl::OnMouseOut() {}

void IControl::SetValueFromPlug(double value)
{
  if (mDefaultValue < 0.0) {
    mValue = mDefaultValue = value;
    return;
  }
  if (value == mValue) return;
  mValue = value;
  SetDirty(false);
  mRedraw = true;
}

void IControl::SetValueFromUserInput(double value)
{
  if (value == mValue) return;
  mValue = value;
  SetDirty(true);
  mRedraw = true;
}

void IControl::TextFromTextEntry(const char*) {}

void IControl::Hide(bool hide)
{
  mHide = hide;
  mRedraw = true;
  SetDirty(false);
}

void IControl::GrayOut(bool gray)
{
  mGrayed = gray;
  mBlend.mWeight = gray ? 0.25f : 1.0f;
  SetDirty(false);
}

bool IControl::IsHit(int x, int y) { return mTargetRECT.Contains(x, y); }

void IControl::SetDirty(bool push)
{
  // Written so that a value that is not a number ends at the top.
  if (mValue < mClampLo) mValue = mClampLo;
  else mValue = mValue < mClampHi ? mValue : mClampHi;
  mDirty = true;
  if (!push || mParamIdx < 0 || !mPlug) return;
  mPlug->SetParameterFromGUI(mParamIdx, mValue);
  IGraphics* gui = GetGUI();
  const IParam* param = GetParam();
  if (!gui || !param) return;
  if (mValDisplayControl) {
    IGraphics::ParamSnapshot snapshot;
    if (gui->SnapshotParam(mParamIdx, &snapshot)) {
      char text[2 * kDisplayPartSize + 2];
      std::snprintf(text, sizeof(text), "%.*s %.*s", kDisplayPartSize, snapshot.mDisplay, kDisplayPartSize,
                    snapshot.mLabel);
      mValDisplayControl->SetTextFromPlug(text);
    }
  }
  if (mNameDisplayControl) mNameDisplayControl->SetTextFromPlug(param->GetNameForHost());
}

void IControl::SetClean()
{
  mDirty = mRedraw;
  mRedraw = false;
}

bool IControl::IsDirty() { return mDirty; }

void IControl::OnGUIIdle() {}

void IControl::SetAuxParamValueFromPlug(int auxIdx, double value)
{
  AuxParam* aux = GetAuxParam(auxIdx);
  if (!aux || aux->mValue == value) return;
  aux->mValue = value;
  SetDirty(false);
  mRedraw = true;
}

IParam* IControl::GetParam() const { return mPlug ? mPlug->GetParam(mParamIdx) : nullptr; }

IGraphics* IControl::GetGUI() const { return mPlug ? mPlug->GetGUI() : nullptr; }

void IControl::PromptUserInput()
{
  const IParam* param = GetParam();
  if (!param || mDisablePrompt) return;
  if (param->GetNDisplayTexts() > 0) {
    PromptUserInput(&mRECT);
    return;
  }
  const int mx = static_cast<int>(mRECT.MW());
  const int my = static_cast<int>(mRECT.MH());
  IRECT box(mx - 20, my - 8, mx + 20, my + 8);
  PromptUserInput(&box);
}

void IControl::PromptUserInput(IRECT* textRect)
{
  IParam* param = GetParam();
  IGraphics* gui = GetGUI();
  if (!param || !gui || !textRect || mDisablePrompt) return;
  gui->PromptUserInput(this, param, textRect);
  mRedraw = true;
}

void IControl::AddAuxParam(int paramIdx) { mAuxParams.Add(AuxParam{0.0, paramIdx}); }

IControl::AuxParam* IControl::GetAuxParam(int auxIdx)
{
  if (auxIdx < 0 || auxIdx >= mAuxParams.GetSize()) return nullptr;
  return mAuxParams.Get() + auxIdx;
}

int IControl::AuxParamIdx(int paramIdx) const
{
  const AuxParam* aux = mAuxParams.Get();
  for (int i = 0; i < mAuxParams.GetSize(); ++i)
    if (aux[i].mParamIdx == paramIdx) return i;
  return -1;
}

void IControl::SetAllAuxParamsFromGUI()
{
  if (!mPlug) return;
  const AuxParam* aux = mAuxParams.Get();
  for (int i = 0; i < mAuxParams.GetSize(); ++i) mPlug->SetParameterFromGUI(aux[i].mParamIdx, aux[i].mValue);
}

int IControl::StepForValue(int n, double value)
{
  if (n < 2) return 0;
  const double f = (n - 1) * value + 0.5;
  if (!(f >= 1.0)) return 0;
  if (f >= n - 1) return n - 1;
  return static_cast<int>(f);
}

void IControl::UpdateText(BASE_String* field, const char* text)
{
  if (!text) text = "";
  if (!std::strcmp(field->Get(), text)) return;
  SetDirty(false);
  field->Set(text);
}
