#pragma once
// What loading state may change in a plug-in, kept aside so that a load
// that fails half way can be undone: the live state (as SerializeState
// writes it), every preset's flag, name and stored state, and the current
// preset index. The plug-in base wraps each of its loads in one, so a load
// either applies whole or changes nothing.
//
// Threads: used inside the base's loads, under the plug-in mutex.

#include "base/ptrlist.h"
#include "framework/ByteChunk.h"
#include "framework/IEffectBase.h"
#include "framework/IPreset.h"

class IStateSnapshot {
public:
  IStateSnapshot() = default;
  ~IStateSnapshot();
  IStateSnapshot(const IStateSnapshot&) = delete;
  IStateSnapshot& operator=(const IStateSnapshot&) = delete;

  // False when there was no memory to keep everything.
  bool Take(IEffectBase* plug);
  // Puts the kept presets, current index and live state back and redraws
  // the editor's controls.
  void Restore(IEffectBase* plug);

private:
  ByteChunk mLive;
  BASE_PtrList<IPreset> mPresets;
  int mCurrentPresetIdx = 0;
};

template <class Load>
bool IEffectBase::ApplyWhole(Load load)
{
  BASE_MutexLock lock(mMutex);
  IStateSnapshot before;
  // Without a copy to go back to, a load could not be undone: refuse it.
  if (!before.Take(this)) return false;
  if (load()) return true;
  before.Restore(this);
  return false;
}
