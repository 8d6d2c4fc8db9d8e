#include "framework/editor/IParamMailbox.h"

#include <new>

void IParamMailbox::Resize(int nParams)
{
  mSlots.reset();
  mSize = 0;
  if (nParams <= 0) return;
  mSlots.reset(new (std::nothrow) Slot[nParams]);
  if (mSlots) mSize = nParams;
}
