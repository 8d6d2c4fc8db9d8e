#pragma once
// One slot of the plug-in's preset bank: whether it holds a state, its
// name and the state itself as serialised by IEffectBase::SerializeState.
//
// Threads: presets belong to the plug-in base and are touched only under
// the plug-in mutex or from the constructor.

#include "base/ptrlist.h"
#include "framework/ByteChunk.h"

class IPreset {
public:
  static constexpr int kNameSize = 256;

  IPreset();
  // Copies name into the name field, cut to 255 characters; null gives "".
  void SetName(const char* name);

  bool mInitialized = false;
  char mName[kNameSize];
  ByteChunk mChunk;
};

// The first preset whose initialised flag is false, or null.
IPreset* GetNextUninitializedPreset(BASE_PtrList<IPreset>* pPresets);

// Writes "user preset N" into out, where N is 1 plus the number of presets
// whose name contains "user preset". out must hold 32 characters.
void MakeDefaultUserPresetName(BASE_PtrList<IPreset>* pPresets, char* out);
