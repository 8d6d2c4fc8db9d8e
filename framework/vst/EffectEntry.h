#pragma once
// Creating a plug-in instance for a host: the work behind the exported
// entry points. Instantiations are serialised by one process-wide entry
// mutex, created on first use and destroyed when the library is unloaded.
//
// Threads: any host thread; takes the entry mutex (never the plug-in's).

#include <new>

#include "base/mutex.h"
#include "framework/vst/IEffectInstanceInfo.h"
#include "framework/vst/VSTInterface.h"

BASE_Mutex& EffectEntryMutex();

// Constructs the effect (an IEffectVST) for the host, fills every preset
// slot it left empty and returns its record; null when it cannot be made.
template <class Effect>
AEffect* MakeVSTEffect(audioMasterCallback hostCallback)
{
  BASE_MutexLock lock(EffectEntryMutex());
  IEffectInstanceInfo info;
  info.mVSTHostCallback = hostCallback;
  Effect* plug = new (std::nothrow) Effect(info);
  if (!plug) return nullptr;
  plug->EnsureDefaultPreset();
  AEffect* record = plug->GetAEffect();
  if (record->numPrograms < 1) record->numPrograms = 1;
  return record;
}
