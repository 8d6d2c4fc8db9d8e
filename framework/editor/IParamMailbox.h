#pragma once
// Parameter values on their way from host threads to the editor's thread.
// Host paths (automation, state restore, text-to-parameter) post a
// parameter's new normalized value here instead of touching controls; the
// editor's timer step takes every posted value and hands it to the
// controls. Each parameter has one slot, so a burst of automation costs
// nothing but the newest value.
//
// Threads: Resize on the constructor thread before any other call (it
// allocates). Post from any thread, concurrently with everything else: no
// lock, no allocation, no waiting. Take on the editor's thread only.

#include <atomic>
#include <memory>

class IParamMailbox {
public:
  // One empty slot per parameter; drops whatever was posted.
  void Resize(int nParams);
  int Size() const { return mSize; }

  // Stores the value for the parameter; a later post replaces an earlier
  // one not yet taken. False for an index outside the slots.
  bool Post(int paramIdx, double normalizedValue)
  {
    if (paramIdx < 0 || paramIdx >= mSize) return false;
    Slot& slot = mSlots[paramIdx];
    slot.mValue.store(normalizedValue, std::memory_order_relaxed);
    slot.mPending.store(true, std::memory_order_release);
    return true;
  }

  // Calls deliver(paramIdx, normalizedValue) for every slot posted since
  // the last take, in index order. A post racing with the take is either
  // delivered now or on the next take, never lost.
  template <class Deliver>
  void Take(Deliver deliver)
  {
    for (int i = 0; i < mSize; ++i) {
      Slot& slot = mSlots[i];
      if (!slot.mPending.exchange(false, std::memory_order_acquire)) continue;
      deliver(i, slot.mValue.load(std::memory_order_relaxed));
    }
  }

private:
  struct Slot {
    std::atomic<double> mValue{0.0};
    std::atomic<bool> mPending{false};
  };

  std::unique_ptr<Slot[]> mSlots;
  int mSize = 0;
};
