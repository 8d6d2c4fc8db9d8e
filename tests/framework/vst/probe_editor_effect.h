#pragma once
// The probe plug-in with an editor on the headless platform: a grey panel
// of 120 x 80 pixels with a red square on it, so that a host's editor calls
// can be watched through the HeadlessWindow it passes to effEditOpen.

#include "tests/framework/vst/probe_effect.h"

class ProbeEditorEffect : public ProbeEffect {
public:
  static const int kEditorWidth = 120;
  static const int kEditorHeight = 80;

  explicit ProbeEditorEffect(IEffectInstanceInfo info);
};
