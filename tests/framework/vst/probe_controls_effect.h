#pragma once
// The probe plug-in with an editor of real controls on the headless
// platform: a background, a two-frame switch for Flip and a 31-frame knob
// for Gain. A host drives the editor with mouse events queued in the
// HeadlessWindow it passes to effEditOpen (the parent must be one).

#include "tests/framework/vst/probe_effect.h"

class ProbeControlsEffect : public ProbeEffect {
public:
  static const int kEditorWidth = 200;
  static const int kEditorHeight = 120;
  // Where the controls sit, one frame each.
  static const int kSwitchX = 10, kSwitchY = 10, kSwitchW = 30, kSwitchH = 20;
  static const int kKnobX = 100, kKnobY = 20, kKnobSize = 40;

  explicit ProbeControlsEffect(IEffectInstanceInfo info);
};
