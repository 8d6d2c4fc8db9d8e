#pragma once
// A small plug-in on the VST adapter for the adapter's own tests: it uses
// what Quarry does not (MIDI in and out, SysEx, state chunks, display
// texts, a negated display, several presets) and processes audio with one
// plain gain so results are easy to predict.

#include "framework/vst/IEffectVST.h"

class ProbeEffect : public IEffectVST {
public:
  enum EParams { kGain = 0, kMode, kFlip, kDepth, kNumParams };

  explicit ProbeEffect(IEffectInstanceInfo info);

  void OnParamChange(int paramIdx) override;
  void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) override;
  void ProcessSysEx(ISysEx* pSysEx) override;
  bool MidiNoteName(int noteNumber, char* name) override;

private:
  double mGain = 1.0;
};
