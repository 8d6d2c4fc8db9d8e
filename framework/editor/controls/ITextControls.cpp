#include "framework/editor/controls/ITextControls.h"

#include <cstring>

#include "base/cstring.h"
#include "framework/editor/IGraphics.h"

ITextControl::ITextControl(IEffectBase* plug, IRECT rect, IText* text, const char* str)
    : IControl(plug, rect), mStr(str)
{
  if (text) mText = *text;
}

bool ITextControl::Draw(IGraphics* graphics)
{
  if (mStr.GetLength() > 0) graphics->DrawIText(&mText, mStr.Get(), &mRECT, false);
  return true;
}

void ITextControl::SetTextFromPlug(const char* str) { UpdateText(&mStr, str); }

// ---- ICaptionControl ----

ICaptionControl::ICaptionControl(IEffectBase* plug, IRECT rect, int paramIdx, IText* text,
                                 bool showParamLabel)
    : ITextControl(plug, rect, text), mShowParamLabel(showParamLabel)
{
  mParamIdx = paramIdx;
}

void ICaptionControl::OnMouseDown(int, int, IMouseMod* mod)
{
  if (mod && (mod->mL || mod->mR)) PromptUserInput();
}

void ICaptionControl::OnMouseDblClick(int, int, IMouseMod*) { PromptUserInput(); }

bool ICaptionControl::Draw(IGraphics* graphics)
{
  IGraphics::ParamSnapshot snapshot;
  if (graphics->SnapshotParam(mParamIdx, &snapshot)) {
    mStr.Set(snapshot.mDisplay);
    if (mShowParamLabel) {
      mStr.Append(" ");
      mStr.Append(snapshot.mLabel);
    }
  }
  return ITextControl::Draw(graphics);
}

// ---- IURLControl ----

namespace {
// Copies a text that is given and not empty, cut to the field.
void CopyIfGiven(char* field, const char* text, size_t size)
{
  if (text && text[0]) BASE_CopyString(field, text, size);
}
}  // namespace

IURLControl::IURLControl(IEffectBase* plug, IRECT rect, const char* url, const char* backupURL,
                         const char* errMsgOnFailure)
    : IControl(plug, rect)
{
  std::memset(mURL, 0, sizeof(mURL));
  std::memset(mBackupURL, 0, sizeof(mBackupURL));
  std::memset(mErrMsg, 0, sizeof(mErrMsg));
  CopyIfGiven(mURL, url, sizeof(mURL));
  CopyIfGiven(mBackupURL, backupURL, sizeof(mBackupURL));
  CopyIfGiven(mErrMsg, errMsgOnFailure, sizeof(mErrMsg));
}

void IURLControl::OnMouseDown(int, int, IMouseMod*)
{
  IGraphics* gui = GetGUI();
  if (!gui) return;
  if (mURL[0] && gui->OpenURL(mURL, mErrMsg, nullptr, nullptr)) return;
  if (mBackupURL[0]) gui->OpenURL(mBackupURL, mErrMsg, nullptr, nullptr);
}

bool IURLControl::Draw(IGraphics*) { return true; }
