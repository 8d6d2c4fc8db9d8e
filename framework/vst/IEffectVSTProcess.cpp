// The record's parameter and audio entry functions. Each takes the plug-in
// mutex for the whole call, so parameter changes and blocks never
// interleave.

#include <cmath>

#include "base/mutex.h"
#include "framework/IParam.h"
#include "framework/Log.h"
#include "framework/editor/IGraphics.h"
#include "framework/vst/IEffectVST.h"

namespace {

IEffectVST* PlugOf(AEffect* pEffect) { return pEffect ? static_cast<IEffectVST*>(pEffect->object) : nullptr; }

// Channel c of a host array moved on by offset frames; a missing array or
// entry stays missing (the base reads silence and writes into scratch).
template <class Sample>
Sample* Advance(Sample** channels, int c, int offset)
{
  return channels && channels[c] ? channels[c] + offset : nullptr;
}

}  // namespace

float IEffectVST::VSTGetParameter(AEffect* pEffect, VstInt32 idx)
{
  TRACE("VSTGetParameter", "%d", idx);
  IEffectVST* plug = PlugOf(pEffect);
  if (!plug) return 0.0f;
  BASE_MutexLock lock(plug->GetMutex());
  if (!plug->InParamRange(idx)) return 0.0f;
  return static_cast<float>(plug->GetParam(idx)->GetNormalized());
}

void IEffectVST::VSTSetParameter(AEffect* pEffect, VstInt32 idx, float value)
{
  TRACE("VSTSetParameter", "%d:%f", idx, value);
  IEffectVST* plug = PlugOf(pEffect);
  if (!plug) return;
  BASE_MutexLock lock(plug->GetMutex());
  // A value that is not a number would leave the parameter without one.
  if (!plug->InParamRange(idx) || !std::isfinite(value)) return;
  IParam* param = plug->GetParam(idx);
  param->SetNormalized(value);
  // The editor shows what the parameter now holds (clamped, stepped), not
  // the host's raw value.
  if (plug->GetGUI()) plug->GetGUI()->PostParameterFromPlug(idx, param->GetNormalized(), true);
  plug->OnParamChange(idx);
}

template <class Sample, class Run>
void IEffectVST::ProcessInPieces(Sample** inputs, Sample** outputs, int nFrames, Run run)
{
  if (DoesMIDI()) CallHost(audioMasterWantMidi);
  if (nFrames <= 0) return;
  const int piece = GetMaxFramesPerCall();
  if (nFrames <= piece) {
    run(inputs, outputs, nFrames);
    return;
  }
  // The host passes one pointer per connected channel, no more: only those
  // are read and moved on.
  const int nIn = NConnectedInChannels();
  const int nOut = NConnectedOutChannels();
  if (piece <= 0 || mPieceIn.GetSize() < nIn || mPieceOut.GetSize() < nOut) return;
  Sample** in = reinterpret_cast<Sample**>(mPieceIn.Get());
  Sample** out = reinterpret_cast<Sample**>(mPieceOut.Get());
  for (int done = 0; done < nFrames; done += piece) {
    const int n = nFrames - done < piece ? nFrames - done : piece;
    for (int c = 0; c < nIn; ++c) in[c] = Advance(inputs, c, done);
    for (int c = 0; c < nOut; ++c) out[c] = Advance(outputs, c, done);
    run(in, out, n);
  }
}

// One audio callback: the plug-in mutex for the whole block, the block in
// pieces the scratch buffers hold, each piece attached to the base and run
// by its processing operation (replacing or accumulating, float or double).
template <class Sample, void (IEffectBase::*Process)(Sample, int)>
void IEffectVST::ProcessFromHost(AEffect* pEffect, Sample** inputs, Sample** outputs, VstInt32 nFrames)
{
  IEffectVST* plug = PlugOf(pEffect);
  if (!plug) return;
  BASE_MutexLock lock(plug->GetMutex());
  plug->ProcessInPieces(inputs, outputs, nFrames, [plug](Sample** in, Sample** out, int n) {
    plug->AttachInputBuffers(0, plug->NInChannels(), in, n);
    plug->AttachOutputBuffers(0, plug->NOutChannels(), out);
    (plug->*Process)(Sample(0), n);
  });
}

void IEffectVST::VSTProcess(AEffect* pEffect, float** inputs, float** outputs, VstInt32 nFrames)
{
  ProcessFromHost<float, &IEffectBase::ProcessBuffersAccumulating>(pEffect, inputs, outputs, nFrames);
}

void IEffectVST::VSTProcessReplacing(AEffect* pEffect, float** inputs, float** outputs, VstInt32 nFrames)
{
  ProcessFromHost<float, &IEffectBase::ProcessBuffers>(pEffect, inputs, outputs, nFrames);
}

void IEffectVST::VSTProcessDoubleReplacing(AEffect* pEffect, double** inputs, double** outputs,
                                           VstInt32 nFrames)
{
  ProcessFromHost<double, &IEffectBase::ProcessBuffers>(pEffect, inputs, outputs, nFrames);
}
