#include "framework/IEffectBase.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/cstring.h"
#include "framework/IMidiMsg.h"
#include "framework/editor/IGraphics.h"

IEffectBase::IEffectBase(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                         const char* productName, const char* mfrName, int vendorVersion, int uniqueID,
                         int mfrID, int latency, bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst,
                         EAPI plugAPI)
    : mUniqueID(uniqueID), mMfrID(mfrID), mVersion(vendorVersion), mAPI(plugAPI),
      mHost(static_cast<EHost>(-1)), mStateChunks(plugDoesChunks), mIsInst(plugIsInst),
      mDoesMIDI(plugDoesMidi), mLatency(latency)
{
  for (int i = 0; i < nParams; ++i) {
    IParam* param = new IParam;
    if (!mParams.Add(param)) delete param;
  }
  for (int i = 0; i < nPresets; ++i) {
    IPreset* preset = new IPreset;
    if (!mPresets.Add(preset)) delete preset;
  }

  BASE_CopyString(mEffectName, effectName, sizeof(mEffectName));
  BASE_CopyString(mProductName, productName, sizeof(mProductName));
  BASE_CopyString(mMfrName, mfrName, sizeof(mMfrName));

  int maxIn = 0, maxOut = 0;
  ParseChannelIO(channelIOStr, &maxIn, &maxOut);
  mInputs.Create(maxIn);
  mOutputs.Create(maxOut);
}

IEffectBase::~IEffectBase()
{
  delete mGraphics;
  mGraphics = nullptr;
  mParams.Empty(true);
  mPresets.Empty(true);
  mChannelIO.Empty(true);
  mInputBusLabels.Empty(true);
  mOutputBusLabels.Empty(true);
  mParamGroups.Empty();
}

void IEffectBase::ParseChannelIO(const char* channelIOStr, int* maxIn, int* maxOut)
{
  if (!channelIOStr) return;
  const char* p = channelIOStr;
  for (;;) {
    int nIn = 0, nOut = 0;
    sscanf(p, "%d-%d", &nIn, &nOut);
    ChannelIO* io = new ChannelIO{nIn, nOut};
    if (mChannelIO.Add(io)) {
      if (nIn > *maxIn) *maxIn = nIn;
      if (nOut > *maxOut) *maxOut = nOut;
    } else {
      delete io;
    }
    p = strchr(p, ' ');
    if (!p) break;
    ++p;
  }
}

// ---- Virtual operations with base behaviour ----

void IEffectBase::Reset() { BASE_MutexLock lock(mMutex); }

void IEffectBase::OnParamChange(int) { BASE_MutexLock lock(mMutex); }

void IEffectBase::ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames)
{
  const int nIn = NInChannels(), nOut = NOutChannels();
  if (nFrames <= 0) return;
  const size_t bytes = static_cast<size_t>(nFrames) * sizeof(double);
  for (int i = 0; i < nOut; ++i) {
    if (!outputs[i]) continue;
    if (i < nIn && inputs[i]) {
      if (outputs[i] != inputs[i]) memmove(outputs[i], inputs[i], bytes);
    } else {
      memset(outputs[i], 0, bytes);
    }
  }
}

void IEffectBase::OnActivate(bool) { BASE_MutexLock lock(mMutex); }

void IEffectBase::ProcessMidiMsg(IMidiMsg* pMsg) { SendMidiMsg(pMsg); }

bool IEffectBase::MidiNoteName(int, char* name)
{
  if (name) name[0] = '\0';
  return false;
}

void IEffectBase::SetParameterFromGUI(int paramIdx, double normalizedValue)
{
  BASE_MutexLock lock(mMutex);
  IParam* param = GetParam(paramIdx);
  if (!param || std::isnan(normalizedValue)) return;
  param->SetNormalized(normalizedValue);
  InformHostOfParamChange(paramIdx, normalizedValue);
  OnParamChange(paramIdx);
}

void IEffectBase::AttachGraphics(IGraphics* pGraphics)
{
  if (!pGraphics) return;
  BASE_MutexLock lock(mMutex);
  const int n = NParams();
  for (int i = 0; i < n; ++i) pGraphics->SetParameterFromPlug(i, GetParam(i)->GetNormalized(), true);
  pGraphics->PrepDraw();
  // The base owns its editor: a replaced one goes.
  if (mGraphics != pGraphics) delete mGraphics;
  mGraphics = pGraphics;
}

void IEffectBase::RedrawParamControls()
{
  if (!mGraphics) return;
  // Host threads leave the values for the editor's thread to pick up.
  const int n = NParams();
  for (int i = 0; i < n; ++i) mGraphics->PostParameterFromPlug(i, GetParam(i)->Value(), false);
}

void IEffectBase::SetBlockSize(int blockSize)
{
  if (blockSize == mBlockSize) return;
  const int inFrames = mInputs.SetScratchFrames(blockSize);
  const int outFrames = mOutputs.SetScratchFrames(blockSize);
  mMaxFrames = inFrames < outFrames ? inFrames : outFrames;
  mBlockSize = blockSize;
}

// ---- Channel configuration ----

bool IEffectBase::LegalIO(int nIn, int nOut) const
{
  const int n = mChannelIO.GetSize();
  for (int i = 0; i < n; ++i) {
    const ChannelIO* io = mChannelIO.Get(i);
    if ((nIn < 0 || io->mIn == nIn) && (nOut < 0 || io->mOut == nOut)) return true;
  }
  return false;
}

void IEffectBase::LimitToStereoIO()
{
  if (NInChannels() > 2) SetInputChannelConnections(2, NInChannels() - 2, false);
  if (NOutChannels() > 2) SetOutputChannelConnections(2, NOutChannels() - 2, true);
}

void IEffectBase::SetInputChannelConnections(int idx, int n, bool connected)
{
  mInputs.SetConnections(idx, n, connected);
}

void IEffectBase::SetOutputChannelConnections(int idx, int n, bool connected)
{
  mOutputs.SetConnections(idx, n, connected);
}

bool IEffectBase::GetChannelIO(int idx, int* nIn, int* nOut) const
{
  const ChannelIO* io = mChannelIO.Get(idx);
  if (!io) return false;
  if (nIn) *nIn = io->mIn;
  if (nOut) *nOut = io->mOut;
  return true;
}

// ---- Buffers and processing ----

void IEffectBase::AttachInputBuffers(int idx, int n, double** ppData, int nFrames)
{
  mInputs.AttachDouble(idx, n, ppData, nFrames);
  mInputs.SilenceUnconnected(BoundFrames(nFrames));
}

void IEffectBase::AttachInputBuffers(int idx, int n, float** ppData, int nFrames)
{
  mInputs.AttachFloatInputs(idx, n, ppData, nFrames);
  mInputs.SilenceUnconnected(BoundFrames(nFrames));
}

void IEffectBase::AttachOutputBuffers(int idx, int n, double** ppData)
{
  // A missing output is written into scratch, which nobody reads: nothing
  // to clear.
  mOutputs.AttachDouble(idx, n, ppData, 0);
}

void IEffectBase::AttachOutputBuffers(int idx, int n, float** ppData)
{
  mOutputs.AttachFloatOutputs(idx, n, ppData);
}

void IEffectBase::ProcessBuffers(double, int nFrames)
{
  nFrames = BoundFrames(nFrames);
  if (nFrames > 0) ProcessDoubleReplacing(mInputs.Data(), mOutputs.Data(), nFrames);
}

void IEffectBase::ProcessBuffers(float, int nFrames)
{
  nFrames = BoundFrames(nFrames);
  if (nFrames <= 0) return;
  ProcessDoubleReplacing(mInputs.Data(), mOutputs.Data(), nFrames);
  mOutputs.StoreToFloat(nFrames);
}

void IEffectBase::ProcessBuffersAccumulating(float, int nFrames)
{
  nFrames = BoundFrames(nFrames);
  if (nFrames <= 0) return;
  ProcessDoubleReplacing(mInputs.Data(), mOutputs.Data(), nFrames);
  mOutputs.AddToFloat(nFrames);
}

void IEffectBase::PassThroughBuffers(double, int nFrames)
{
  nFrames = BoundFrames(nFrames);
  if (nFrames > 0) IEffectBase::ProcessDoubleReplacing(mInputs.Data(), mOutputs.Data(), nFrames);
}

void IEffectBase::PassThroughBuffers(float, int nFrames)
{
  nFrames = BoundFrames(nFrames);
  if (nFrames <= 0) return;
  IEffectBase::ProcessDoubleReplacing(mInputs.Data(), mOutputs.Data(), nFrames);
  mOutputs.StoreToFloat(nFrames);
}

void IEffectBase::ZeroScratchBuffers()
{
  mInputs.ZeroScratch();
  mOutputs.ZeroScratch();
}

// ---- Timing and parameters ----

double IEffectBase::GetSamplesPerBeat()
{
  const double tempo = GetTempo();
  return tempo > 0.0 ? mSampleRate * 60.0 / tempo : 0.0;
}

void IEffectBase::OnParamReset()
{
  const int n = NParams();
  for (int i = 0; i < n; ++i) OnParamChange(i);
}

void IEffectBase::DirtyParameters()
{
  BASE_MutexLock lock(mMutex);
  const int n = NParams();
  for (int i = 0; i < n; ++i) InformHostOfParamChange(i, GetParam(i)->GetNormalized());
}

// ---- Labels ----

void IEffectBase::SetInputLabel(int idx, const char* label) { mInputs.SetLabel(idx, label); }

void IEffectBase::SetOutputLabel(int idx, const char* label) { mOutputs.SetLabel(idx, label); }

namespace {
void ReplaceBusLabel(BASE_PtrList<BASE_String>* labels, int idx, const char* label)
{
  if (labels->Get(idx)) labels->Delete(idx, true);
  BASE_String* text = new BASE_String(label ? label : "");
  if (!labels->Insert(idx, text)) delete text;
}

const char* BusLabel(const BASE_PtrList<BASE_String>& labels, int idx)
{
  const BASE_String* text = labels.Get(idx);
  return text ? text->Get() : "";
}
}  // namespace

void IEffectBase::SetInputBusLabel(int idx, const char* label)
{
  // At most two input buses: main and side chain.
  if (idx == 0 || idx == 1) ReplaceBusLabel(&mInputBusLabels, idx, label);
}

void IEffectBase::SetOutputBusLabel(int idx, const char* label)
{
  if (idx >= 0) ReplaceBusLabel(&mOutputBusLabels, idx, label);
}

const char* IEffectBase::GetInputLabel(int idx) const { return mInputs.GetLabel(idx); }

const char* IEffectBase::GetOutputLabel(int idx) const { return mOutputs.GetLabel(idx); }

const char* IEffectBase::GetInputBusLabel(int idx) const { return BusLabel(mInputBusLabels, idx); }

const char* IEffectBase::GetOutputBusLabel(int idx) const { return BusLabel(mOutputBusLabels, idx); }

// ---- MIDI ----

bool IEffectBase::SendMidiMsgs(BASE_TypedBuf<IMidiMsg>* pMsgs)
{
  if (!pMsgs) return true;
  bool ok = true;
  const int n = pMsgs->GetSize();
  IMidiMsg* msgs = pMsgs->Get();
  for (int i = 0; i < n; ++i) ok &= SendMidiMsg(msgs + i);
  return ok;
}

// ---- Host identification and versions ----

void IEffectBase::SetHost(const char* host, int version)
{
  mHost = LookUpHost(host);
  mHostVersion = version;
}

int IEffectBase::GetHostVersion(bool decimal)
{
  GetHost();
  return decimal ? GetDecimalVersion(mHostVersion) : mHostVersion;
}

void IEffectBase::GetHostVersionStr(char* str)
{
  GetHost();
  GetVersionStr(mHostVersion, str);
}

int IEffectBase::GetEffectVersion(bool decimal) const
{
  return decimal ? GetDecimalVersion(mVersion) : mVersion;
}

void IEffectBase::GetEffectVersionStr(char* str) const { GetVersionStr(mVersion, str); }

const char* IEffectBase::GetAPIString() { return GetAPINameStr(GetAPI()); }

const char* IEffectBase::GetArchString() const { return GetArchNameStr(); }
