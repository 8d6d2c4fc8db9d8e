#include "framework/IEffectBase.h"

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

  // The slot arrays never change size afterwards, so the channels may keep
  // pointers to their slots.
  double** inSlots = mInData.Resize(maxIn);
  double** outSlots = mOutData.Resize(maxOut);
  if (!inSlots) maxIn = 0;
  if (!outSlots) maxOut = 0;
  for (int i = 0; i < maxIn; ++i) {
    inSlots[i] = nullptr;
    InChannel* ch = new InChannel;
    ch->mSrc = inSlots + i;
    if (!mInChannels.Add(ch)) delete ch;
  }
  for (int i = 0; i < maxOut; ++i) {
    outSlots[i] = nullptr;
    OutChannel* ch = new OutChannel;
    ch->mDest = outSlots + i;
    if (!mOutChannels.Add(ch)) delete ch;
  }
}

IEffectBase::~IEffectBase()
{
  delete mGraphics;
  mGraphics = nullptr;
  mParams.Empty(true);
  mPresets.Empty(true);
  mInChannels.Empty(true);
  mOutChannels.Empty(true);
  mChannelIO.Empty(true);
  mInputBusLabels.Empty(true);
  mOutputBusLabels.Empty(true);
  mInData.Resize(0);
  mOutData.Resize(0);
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
  if (!param) return;
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
  const int count = blockSize > 0 ? blockSize : 0;
  // A slot that pointed at the old scratch memory must follow it to the new
  // memory, or the next block would read or write freed memory.
  const int nIn = NInChannels();
  for (int i = 0; i < nIn; ++i) {
    InChannel* ch = mInChannels.Get(i);
    double* old = ch->mScratchBuf.Get();
    double* buf = ch->mScratchBuf.Resize(count);
    if (buf) memset(buf, 0, static_cast<size_t>(ch->mScratchBuf.GetSize()) * sizeof(double));
    if (!ch->mConnected || *ch->mSrc == old) *ch->mSrc = ch->mScratchBuf.Get();
  }
  const int nOut = NOutChannels();
  for (int i = 0; i < nOut; ++i) {
    OutChannel* ch = mOutChannels.Get(i);
    double* old = ch->mScratchBuf.Get();
    double* buf = ch->mScratchBuf.Resize(count);
    if (buf) memset(buf, 0, static_cast<size_t>(ch->mScratchBuf.GetSize()) * sizeof(double));
    if (!ch->mConnected || *ch->mDest == old) *ch->mDest = ch->mScratchBuf.Get();
  }
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
  const int end = idx + n < NInChannels() ? idx + n : NInChannels();
  for (int i = idx < 0 ? 0 : idx; i < end; ++i) {
    InChannel* ch = mInChannels.Get(i);
    ch->mConnected = connected;
    if (!connected) *ch->mSrc = ch->mScratchBuf.Get();
  }
}

void IEffectBase::SetOutputChannelConnections(int idx, int n, bool connected)
{
  const int end = idx + n < NOutChannels() ? idx + n : NOutChannels();
  for (int i = idx < 0 ? 0 : idx; i < end; ++i) {
    OutChannel* ch = mOutChannels.Get(i);
    ch->mConnected = connected;
    if (!connected) *ch->mDest = ch->mScratchBuf.Get();
  }
}

bool IEffectBase::IsInChannelConnected(int chIdx) const
{
  const InChannel* ch = mInChannels.Get(chIdx);
  return ch && ch->mConnected;
}

bool IEffectBase::IsOutChannelConnected(int chIdx) const
{
  const OutChannel* ch = mOutChannels.Get(chIdx);
  return ch && ch->mConnected;
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

// A host buffer the host did not supply (null array or null entry) is read
// as silence and written into the channel's scratch buffer instead.
namespace {
template <class T>
T* NextHostBuffer(T** ppData, int* next)
{
  return ppData ? ppData[(*next)++] : nullptr;
}

double* SilentScratch(BASE_TypedBuf<double>& scratch, int nFrames)
{
  double* buf = scratch.Get();
  const int n = nFrames < scratch.GetSize() ? nFrames : scratch.GetSize();
  if (buf && n > 0) memset(buf, 0, static_cast<size_t>(n) * sizeof(double));
  return buf;
}
}  // namespace

void IEffectBase::AttachInputBuffers(int idx, int n, double** ppData, int nFrames)
{
  const int end = idx + n < NInChannels() ? idx + n : NInChannels();
  int next = 0;
  for (int i = idx < 0 ? 0 : idx; i < end; ++i) {
    InChannel* ch = mInChannels.Get(i);
    if (!ch->mConnected) continue;
    double* host = NextHostBuffer(ppData, &next);
    *ch->mSrc = host ? host : SilentScratch(ch->mScratchBuf, nFrames);
  }
}

void IEffectBase::AttachInputBuffers(int idx, int n, float** ppData, int nFrames)
{
  const int end = idx + n < NInChannels() ? idx + n : NInChannels();
  int next = 0;
  for (int i = idx < 0 ? 0 : idx; i < end; ++i) {
    InChannel* ch = mInChannels.Get(i);
    if (!ch->mConnected) continue;
    double* scratch = ch->mScratchBuf.Get();
    if (nFrames > 0) {
      const float* src = NextHostBuffer(ppData, &next);
      if (src) {
        for (int s = 0; s < nFrames; ++s) scratch[s] = src[s];
      } else {
        SilentScratch(ch->mScratchBuf, nFrames);
      }
    }
    *ch->mSrc = scratch;
  }
}

void IEffectBase::AttachOutputBuffers(int idx, int n, double** ppData)
{
  const int end = idx + n < NOutChannels() ? idx + n : NOutChannels();
  int next = 0;
  for (int i = idx < 0 ? 0 : idx; i < end; ++i) {
    OutChannel* ch = mOutChannels.Get(i);
    if (!ch->mConnected) continue;
    double* host = NextHostBuffer(ppData, &next);
    *ch->mDest = host ? host : ch->mScratchBuf.Get();
  }
}

void IEffectBase::AttachOutputBuffers(int idx, int n, float** ppData)
{
  const int end = idx + n < NOutChannels() ? idx + n : NOutChannels();
  int next = 0;
  for (int i = idx < 0 ? 0 : idx; i < end; ++i) {
    OutChannel* ch = mOutChannels.Get(i);
    if (!ch->mConnected) continue;
    *ch->mDest = ch->mScratchBuf.Get();
    ch->mFDest = NextHostBuffer(ppData, &next);
  }
}

namespace {
struct StoreFloat {
  void operator()(float* dest, double value) const { *dest = static_cast<float>(value); }
};
struct AddFloat {
  void operator()(float* dest, double value) const { *dest += static_cast<float>(value); }
};
}  // namespace

template <class Store>
void IEffectBase::ConvertOutputsToFloat(int nFrames, Store store)
{
  if (nFrames <= 0) return;
  const int nOut = NOutChannels();
  for (int i = 0; i < nOut; ++i) {
    OutChannel* ch = mOutChannels.Get(i);
    const double* src = *ch->mDest;
    float* dest = ch->mFDest;
    if (!ch->mConnected || !src || !dest) continue;
    for (int s = 0; s < nFrames; ++s) store(dest + s, src[s]);
  }
}

void IEffectBase::ProcessBuffers(double, int nFrames)
{
  ProcessDoubleReplacing(mInData.Get(), mOutData.Get(), nFrames);
}

void IEffectBase::ProcessBuffers(float, int nFrames)
{
  ProcessDoubleReplacing(mInData.Get(), mOutData.Get(), nFrames);
  ConvertOutputsToFloat(nFrames, StoreFloat());
}

void IEffectBase::ProcessBuffersAccumulating(float, int nFrames)
{
  ProcessDoubleReplacing(mInData.Get(), mOutData.Get(), nFrames);
  ConvertOutputsToFloat(nFrames, AddFloat());
}

void IEffectBase::PassThroughBuffers(double, int nFrames)
{
  IEffectBase::ProcessDoubleReplacing(mInData.Get(), mOutData.Get(), nFrames);
}

void IEffectBase::PassThroughBuffers(float, int nFrames)
{
  IEffectBase::ProcessDoubleReplacing(mInData.Get(), mOutData.Get(), nFrames);
  ConvertOutputsToFloat(nFrames, StoreFloat());
}

void IEffectBase::ZeroScratchBuffers()
{
  const int nIn = NInChannels();
  for (int i = 0; i < nIn; ++i) {
    BASE_TypedBuf<double>& buf = mInChannels.Get(i)->mScratchBuf;
    if (buf.Get()) memset(buf.Get(), 0, static_cast<size_t>(buf.GetSize()) * sizeof(double));
  }
  const int nOut = NOutChannels();
  for (int i = 0; i < nOut; ++i) {
    BASE_TypedBuf<double>& buf = mOutChannels.Get(i)->mScratchBuf;
    if (buf.Get()) memset(buf.Get(), 0, static_cast<size_t>(buf.GetSize()) * sizeof(double));
  }
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

void IEffectBase::SetInputLabel(int idx, const char* label)
{
  InChannel* ch = mInChannels.Get(idx);
  if (ch) ch->mLabel.Set(label ? label : "");
}

void IEffectBase::SetOutputLabel(int idx, const char* label)
{
  OutChannel* ch = mOutChannels.Get(idx);
  if (ch) ch->mLabel.Set(label ? label : "");
}

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

const char* IEffectBase::GetInputLabel(int idx) const
{
  const InChannel* ch = mInChannels.Get(idx);
  return ch ? ch->mLabel.Get() : "";
}

const char* IEffectBase::GetOutputLabel(int idx) const
{
  const OutChannel* ch = mOutChannels.Get(idx);
  return ch ? ch->mLabel.Get() : "";
}

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
