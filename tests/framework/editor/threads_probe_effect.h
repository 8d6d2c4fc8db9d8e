#pragma once
// The probe plug-in with a richer headless editor for the threads test: a
// 31-frame knob on each of its four parameters, a value display for the
// first, and a readout per parameter that draws the parameter's display
// text as it is when the editor draws (read under the plug-in mutex).
//
// Threads: as every plug-in: constructed on the host's loading thread,
// its editor driven on the host's user-interface thread.

#include "tests/framework/vst/probe_effect.h"

class ThreadsProbeEffect : public ProbeEffect {
public:
  static const int kEditorWidth = 170;
  static const int kEditorHeight = 100;
  static const int kKnobSize = 24;
  static const int kKnobFrames = 31;
  static const unsigned kKnobPixel = 0xFF100000u;  // frame f (from 1) is filled with this + f - 1

  // Top-left corner of the knob for the parameter.
  static int KnobX(int paramIdx) { return 10 + 40 * paramIdx; }
  static int KnobY() { return 10; }

  explicit ThreadsProbeEffect(IEffectInstanceInfo info);
};
