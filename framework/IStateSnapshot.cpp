#include "framework/IStateSnapshot.h"

#include <cstring>

namespace {
// Copies a preset's flag, name and state; false when the state did not fit.
bool CopyPreset(const IPreset& from, IPreset* to)
{
  to->mInitialized = from.mInitialized;
  memcpy(to->mName, from.mName, sizeof(to->mName));
  to->mChunk.Clear();
  const int size = from.mChunk.Size();
  return size == 0 || to->mChunk.AppendChunk(&from.mChunk) == size;
}
}  // namespace

IStateSnapshot::~IStateSnapshot() { mPresets.Empty(true); }

bool IStateSnapshot::Take(IEffectBase* plug)
{
  mCurrentPresetIdx = plug->mCurrentPresetIdx;
  mLive.Clear();
  if (!plug->SerializeState(&mLive)) return false;
  const int n = plug->NPresets();
  for (int i = 0; i < n; ++i) {
    IPreset* copy = new IPreset;
    if (!CopyPreset(*plug->mPresets.Get(i), copy) || !mPresets.Add(copy)) {
      delete copy;
      return false;
    }
  }
  return true;
}

void IStateSnapshot::Restore(IEffectBase* plug)
{
  const int n = mPresets.GetSize();
  for (int i = 0; i < n && i < plug->NPresets(); ++i) CopyPreset(*mPresets.Get(i), plug->mPresets.Get(i));
  plug->mCurrentPresetIdx = mCurrentPresetIdx;
  plug->UnserializeState(&mLive, 0);
  plug->RedrawParamControls();
}
