#include "framework/editor/controls/IFileSelectorControl.h"

IFileSelectorControl::IFileSelectorControl(IEffectBase* plug, IRECT rect, int paramIdx, IBitmap* bitmap,
                                           EFileAction action, const char* dir, const char* extensions)
    : IControl(plug, rect, paramIdx), mBitmap(BitmapOrEmpty(bitmap)), mDir(dir), mExtensions(extensions),
      mFileAction(action)
{
}

void IFileSelectorControl::OnMouseDown(int, int, IMouseMod*)
{
  IGraphics* gui = GetGUI();
  if (!mPlug || !gui) return;
  mState = kFSSelecting;
  SetDirty(false);
  gui->PromptForFile(&mFile, mFileAction, &mDir, mExtensions.Get());
  // Every selection, a cancelled one too, changes the value, so the
  // plug-in hears of each.
  mValue += 1.0;
  if (mValue > 1.0) mValue = 0.0;
  mState = kFSDone;
  SetDirty(true);
}

bool IFileSelectorControl::Draw(IGraphics* graphics)
{
  if (mState == kFSSelecting) graphics->DrawBitmap(&mBitmap, &mRECT, 0, 0, nullptr);
  return true;
}

bool IFileSelectorControl::IsDirty()
{
  if (mDirty) return true;
  if (mState != kFSDone) return false;
  mState = kFSNone;
  return true;
}

void IFileSelectorControl::GetLastSelectedFileForPlug(BASE_String* str) const
{
  if (str) str->Set(mFile.Get());
}

void IFileSelectorControl::SetLastSelectedFileFromPlug(const char* file) { mFile.Set(file ? file : ""); }
