#include "framework/editor/controls/ITextControls.h"

#include <cstring>

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

void ITextControl::SetTextFromPlug(const char* str)
{
  if (!str) str = "";
  if (!std::strcmp(mStr.Get(), str)) return;
  SetDirty(false);
  mStr.Set(str);
}
