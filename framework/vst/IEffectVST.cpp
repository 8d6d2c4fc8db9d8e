#include "framework/vst/IEffectVST.h"

#include <cstring>

#include "base/mutex.h"
#include "framework/IMidiMsg.h"
#include "framework/ISysEx.h"
#include "framework/Log.h"
#include "framework/editor/IGraphics.h"

namespace {

// The speaker arrangement type for a channel count.
VstInt32 VSTSpkrArrType(int nChannels)
{
  if (nChannels == 0) return kSpeakerArrEmpty;
  if (nChannels == 1) return kSpeakerArrMono;
  if (nChannels == 2) return kSpeakerArrStereo;
  return kSpeakerArrUserDefined;
}

// True when the channel I/O list accepts one input with any output count.
bool AcceptsMono(const IEffectBase& plug) { return plug.LegalIO(1, -1); }

const int kHostProductSize = 256;

}  // namespace

IEffectVST::IEffectVST(IEffectInstanceInfo instanceInfo, int nParams, const char* channelIOStr, int nPresets,
                       const char* effectName, const char* productName, const char* mfrName,
                       int vendorVersion, int uniqueID, int mfrID, int latency, bool plugDoesMidi,
                       bool plugDoesChunks, bool plugIsInst, int)
    : IEffectBase(nParams, channelIOStr, nPresets, effectName, productName, mfrName, vendorVersion, uniqueID,
                  mfrID, latency, plugDoesMidi, plugDoesChunks, plugIsInst, kAPIVST2),
      mHostCallback(instanceInfo.mVSTHostCallback), mHostSpecificInitDone(false)
{
  TRACE("IEffectVST", "%s", effectName);
  std::memset(&mAEffect, 0, sizeof(mAEffect));
  mAEffect.magic = kEffectMagic;
  mAEffect.dispatcher = VSTDispatcher;
  mAEffect.process = VSTProcess;
  mAEffect.setParameter = VSTSetParameter;
  mAEffect.getParameter = VSTGetParameter;
  mAEffect.processReplacing = VSTProcessReplacing;
  mAEffect.processDoubleReplacing = VSTProcessDoubleReplacing;
  mAEffect.numPrograms = nPresets;
  mAEffect.numParams = nParams;
  mAEffect.numInputs = NInChannels();
  mAEffect.numOutputs = NOutChannels();
  mAEffect.flags = effFlagsCanReplacing | effFlagsCanDoubleReplacing;
  if (plugDoesChunks) mAEffect.flags |= effFlagsProgramChunks;
  if (AcceptsMono(*this)) mAEffect.flags |= effFlagsCanMono;
  if (plugIsInst) mAEffect.flags |= effFlagsIsSynth;
  mAEffect.initialDelay = latency;
  mAEffect.ioRatio = 1.0f;
  mAEffect.object = this;
  mAEffect.uniqueID = uniqueID;
  mAEffect.version = GetEffectVersion(true);

  std::memset(&mEditRect, 0, sizeof(mEditRect));
  std::memset(&mInputSpkrArr, 0, sizeof(mInputSpkrArr));
  std::memset(&mOutputSpkrArr, 0, sizeof(mOutputSpkrArr));
  SetSpeakerArrangementChannels(&mInputSpkrArr, NInChannels());
  SetSpeakerArrangementChannels(&mOutputSpkrArr, NOutChannels());

  mPieceIn.Resize(NInChannels());
  mPieceOut.Resize(NOutChannels());

  SetInputChannelConnections(0, NInChannels(), true);
  SetOutputChannelConnections(0, NOutChannels(), true);
  SetBlockSize(1024);
}

IEffectVST::~IEffectVST()
{
  mState.Clear();
  mBankState.Clear();
}

void IEffectVST::SetSpeakerArrangementChannels(VstSpeakerArrangement* arr, int nChannels)
{
  arr->type = VSTSpkrArrType(nChannels);
  arr->numChannels = nChannels;
}

VstIntPtr IEffectVST::CallHost(VstInt32 opCode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
  if (!mHostCallback) return 0;
  return mHostCallback(&mAEffect, opCode, index, value, ptr, opt);
}

// ---- Editor ----

void IEffectVST::AttachGraphics(IGraphics* pGraphics)
{
  if (!pGraphics) return;
  BASE_MutexLock lock(mMutex);
  IEffectBase::AttachGraphics(pGraphics);
  mAEffect.flags |= effFlagsHasEditor;
  UpdateEditRect();
}

void IEffectVST::UpdateEditRect()
{
  const IGraphics* gui = GetGUI();
  mEditRect.top = 0;
  mEditRect.left = 0;
  mEditRect.bottom = static_cast<VstInt16>(gui ? gui->Height() : 0);
  mEditRect.right = static_cast<VstInt16>(gui ? gui->Width() : 0);
}

void IEffectVST::ResizeGraphics(int, int)
{
  if (!GetGUI()) return;
  {
    // The host reads the rectangle under the mutex (effEditGetRect).
    BASE_MutexLock lock(mMutex);
    UpdateEditRect();
  }
  OnWindowResize();
}

// ---- Host identification ----

void IEffectVST::HostSpecificInit()
{
  mHostSpecificInitDone = true;
  const EHost host = GetHost();
  if (host == kHostForte || host == kHostAudition || host == kHostOrion || host == kHostSAWStudio)
    LimitToStereoIO();
  // Only connections change after construction, so the counts stay the
  // base's channel counts.
  mAEffect.numInputs = mInputSpkrArr.numChannels = NInChannels();
  mAEffect.numOutputs = mOutputSpkrArr.numChannels = NOutChannels();
  OnHostIdentified();
}

EHost IEffectVST::GetHost()
{
  const EHost known = IEffectBase::GetHost();
  if (known != kHostUninit) return known;
  char product[kHostProductSize];
  std::memset(product, 0, sizeof(product));
  CallHost(audioMasterGetProductString, 0, 0, product);
  product[kHostProductSize - 1] = '\0';  // a host that fills the buffer still gives a text
  int version = 0;
  if (product[0]) {
    const VstIntPtr v = CallHost(audioMasterGetVendorVersion);
    version = static_cast<int>(((v / 10000) << 16) + (((v % 10000) / 100) << 8) + (v % 100));
  }
  SetHost(product, version);
  return IEffectBase::GetHost();
}

// ---- Automation and program notices ----

void IEffectVST::BeginInformHostOfParamChange(int paramIdx) { CallHost(audioMasterBeginEdit, paramIdx); }

void IEffectVST::InformHostOfParamChange(int paramIdx, double normalizedValue)
{
  CallHost(audioMasterAutomate, paramIdx, 0, nullptr, static_cast<float>(normalizedValue));
}

void IEffectVST::EndInformHostOfParamChange(int paramIdx) { CallHost(audioMasterEndEdit, paramIdx); }

void IEffectVST::InformHostOfProgramChange() { CallHost(audioMasterUpdateDisplay); }

bool IEffectVST::IsRenderingOffline()
{
  return CallHost(audioMasterGetCurrentProcessLevel) == kVstProcessLevelOffline;
}

void IEffectVST::SetLatency(int samples)
{
  mAEffect.initialDelay = samples;
  IEffectBase::SetLatency(samples);
}

// ---- Transport ----

VstTimeInfo* IEffectVST::GetTimeInfo(VstInt32 flags)
{
  return reinterpret_cast<VstTimeInfo*>(CallHost(audioMasterGetTime, 0, flags));
}

int IEffectVST::GetSamplePos()
{
  const VstTimeInfo* t = GetTimeInfo(0);
  if (!t || !(t->samplePos >= 0.0)) return 0;
  // Beyond the int range the nearest whole sample cannot be told.
  if (t->samplePos + 0.5 >= 2147483647.0) return 2147483647;
  return static_cast<int>(t->samplePos + 0.5);
}

double IEffectVST::GetTempo()
{
  if (!mHostCallback) return 0.0;
  const VstTimeInfo* t = GetTimeInfo(kVstTempoValid);
  if (!t || !(t->flags & kVstTempoValid) || t->tempo < 0.0) return 0.0;
  return t->tempo;
}

void IEffectVST::GetTimeSig(int* numerator, int* denominator)
{
  if (numerator) *numerator = 0;
  if (denominator) *denominator = 0;
  const VstTimeInfo* t = GetTimeInfo(kVstTimeSigValid);
  if (!t || !(t->flags & kVstTimeSigValid) || t->timeSigNumerator < 0 || t->timeSigDenominator < 0) return;
  if (numerator) *numerator = t->timeSigNumerator;
  if (denominator) *denominator = t->timeSigDenominator;
}

void IEffectVST::GetTime(ITimeInfo* pTimeInfo)
{
  const VstInt32 kAllValid =
      kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstCyclePosValid | kVstTimeSigValid;
  const VstTimeInfo* t = GetTimeInfo(kAllValid);
  if (!t || !pTimeInfo || !(t->flags & kAllValid)) return;
  pTimeInfo->mSamplePos = t->samplePos;
  if ((t->flags & kVstPpqPosValid) && t->ppqPos >= 0.0) pTimeInfo->mPPQPos = t->ppqPos;
  if ((t->flags & kVstTempoValid) && t->tempo > 0.0) pTimeInfo->mTempo = t->tempo;
  if ((t->flags & kVstBarsValid) && t->barStartPos >= 0.0) pTimeInfo->mLastBar = t->barStartPos;
  if ((t->flags & kVstCyclePosValid) && t->cycleStartPos >= 0.0 && t->cycleEndPos >= 0.0) {
    pTimeInfo->mCycleStart = t->cycleStartPos;
    pTimeInfo->mCycleEnd = t->cycleEndPos;
  }
  if ((t->flags & kVstTimeSigValid) && t->timeSigNumerator > 0 && t->timeSigDenominator > 0) {
    pTimeInfo->mNumerator = t->timeSigNumerator;
    pTimeInfo->mDenominator = t->timeSigDenominator;
  }
  pTimeInfo->mTransportIsRunning = (t->flags & kVstTransportPlaying) != 0;
  pTimeInfo->mTransportLoopEnabled = (t->flags & kVstTransportCycleActive) != 0;
}

// ---- MIDI output ----

bool IEffectVST::SendVSTEvent(VstEvent* pEvent)
{
  VstEvents events;
  std::memset(&events, 0, sizeof(events));
  events.numEvents = 1;
  events.events[0] = pEvent;
  return CallHost(audioMasterProcessEvents, 0, 0, &events) == 1;
}

bool IEffectVST::SendMidiMsg(IMidiMsg* pMsg)
{
  if (!pMsg) return false;
  VstMidiEvent midi;
  std::memset(&midi, 0, sizeof(midi));
  midi.type = kVstMidiType;
  midi.byteSize = sizeof(VstMidiEvent);
  midi.deltaFrames = pMsg->mOffset;
  midi.midiData[0] = static_cast<char>(pMsg->mStatus);
  midi.midiData[1] = static_cast<char>(pMsg->mData1);
  midi.midiData[2] = static_cast<char>(pMsg->mData2);
  return SendVSTEvent(reinterpret_cast<VstEvent*>(&midi));
}

bool IEffectVST::SendSysEx(ISysEx* pSysEx)
{
  if (!pSysEx) return false;
  VstMidiSysexEvent sysex;
  std::memset(&sysex, 0, sizeof(sysex));
  sysex.type = kVstSysExType;
  sysex.byteSize = sizeof(VstMidiSysexEvent);
  sysex.deltaFrames = pSysEx->mOffset;
  sysex.dumpBytes = pSysEx->mSize;
  sysex.sysexDump = reinterpret_cast<char*>(const_cast<unsigned char*>(pSysEx->mData));
  return SendVSTEvent(reinterpret_cast<VstEvent*>(&sysex));
}
