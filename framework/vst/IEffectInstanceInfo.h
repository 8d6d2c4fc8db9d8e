#pragma once
// What the entry point knows about the host when it creates a plug-in: the
// host callback, through which every call back into the host goes. The
// effect's constructor receives it and hands it on to the adapter.

#include "framework/vst/VSTInterface.h"

struct IEffectInstanceInfo {
  audioMasterCallback mVSTHostCallback = nullptr;
};
