#include "tests/framework/vst/probe_effect.h"

#include <cmath>
#include <cstdio>

#include "framework/IParam.h"
#include "framework/ISysEx.h"

ProbeEffect::ProbeEffect(IEffectInstanceInfo info)
    : IEffectVST(info, kNumParams, "1-1 2-2", 3, "Probe", "Probe Product", "Probe Vendor", 0x10203,
                 CCONST('P', 'r', 'b', '1'), CCONST('T', 'e', 's', 't'), 7, true, true, false, 0)
{
  GetParam(kGain)->InitDouble("Gain", 0.0, -60.0, 12.0, 0.1, "dB");
  GetParam(kMode)->InitEnum("Mode", 1, 3);
  GetParam(kMode)->SetDisplayText(0, "Soft");
  GetParam(kMode)->SetDisplayText(1, "Hard");
  GetParam(kMode)->SetDisplayText(2, "Fold");
  GetParam(kFlip)->InitBool("Flip", false);
  GetParam(kDepth)->InitDouble("Depth", -5.0, -10.0, 0.0, 0.01, "%");
  GetParam(kDepth)->NegateDisplay();
  MakePreset("First", 0.0, 0, 0, -5.0);
  MakePreset("Second", -6.0, 2, 1, -2.5);
}

void ProbeEffect::OnParamChange(int paramIdx)
{
  IEffectBase::OnParamChange(paramIdx);
  if (paramIdx == kGain) mGain = std::pow(10.0, GetParam(kGain)->Value() / 20.0);
}

void ProbeEffect::ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames)
{
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < nFrames; ++i) outputs[c][i] = inputs[c][i] * mGain;
}

void ProbeEffect::ProcessSysEx(ISysEx* pSysEx)
{
  SendSysEx(pSysEx);  // echoed, so the host can see what arrived
}

bool ProbeEffect::MidiNoteName(int noteNumber, char* name)
{
  std::sprintf(name, "Key %d", noteNumber);
  return true;
}
