// The plug-in binary's two exported entry points. This file is compiled
// into each plug-in module with QUARRY_EFFECT_CLASS naming the effect class
// and QUARRY_EFFECT_HEADER its header (see quarry_add_vst_plugin).

#include "framework/vst/EffectEntry.h"

#include QUARRY_EFFECT_HEADER

#define QUARRY_VST_EXPORT __attribute__((visibility("default")))

extern "C" {

QUARRY_VST_EXPORT AEffect* VSTPluginMain(audioMasterCallback hostCallback)
{
  return MakeVSTEffect<QUARRY_EFFECT_CLASS>(hostCallback);
}

// Older hosts look for "main". A C++ function cannot be called main and
// return a record, so the symbol gets its name from the assembler label.
QUARRY_VST_EXPORT AEffect* VSTMainEntry(audioMasterCallback hostCallback) __asm__("main");
AEffect* VSTMainEntry(audioMasterCallback hostCallback) { return VSTPluginMain(hostCallback); }

}  // extern "C"
