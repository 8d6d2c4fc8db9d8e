#pragma once
// IEffectVST binds the host-neutral plug-in base to the VST 2.4 interface.
// It fills the AEffect record the host sees, answers the dispatcher's
// opcodes, carries parameter and audio calls into the base and makes every
// call back into the host. The effect class derives from it.
//
// Threads and locking:
// - the dispatcher and the parameter callbacks run on host threads and hold
//   the plug-in mutex for the whole call (effClose releases it just before
//   the plug-in is destroyed), except the editor's effEditOpen, effEditClose
//   and effEditIdle: they run on the host's user-interface thread without
//   it, so that drawing never makes the audio thread wait;
// - host changes to parameters reach the editor only through its
//   parameter mailbox (IGraphics::PostParameterFromPlug), never its
//   controls;
// - the three audio callbacks run on the host's audio thread and hold the
//   plug-in mutex for the whole block;
// - the host-facing overrides (automation, transport, MIDI output, ...) run
//   on the calling thread, usually with the plug-in mutex already held, and
//   call the host synchronously;
// - construction and destruction run on the instantiating thread (under the
//   process-wide entry mutex, see EffectEntry.h) with no other call in flight.

#include "framework/ByteChunk.h"
#include "framework/IEffectBase.h"
#include "framework/vst/IEffectInstanceInfo.h"
#include "framework/vst/ITimeInfo.h"
#include "framework/vst/VSTInterface.h"

class IEffectVST : public IEffectBase {
public:
  // Constructor thread. All but the first and the last argument go to the
  // plug-in base; the last is not used.
  IEffectVST(IEffectInstanceInfo instanceInfo, int nParams, const char* channelIOStr, int nPresets,
             const char* effectName, const char* productName, const char* mfrName, int vendorVersion,
             int uniqueID, int mfrID, int latency, bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst,
             int unused = 0);
  ~IEffectVST() override;

  // ---- Host-facing overrides of the base (calling thread; call the host) ----
  void BeginInformHostOfParamChange(int paramIdx) override;
  void InformHostOfParamChange(int paramIdx, double normalizedValue) override;
  void EndInformHostOfParamChange(int paramIdx) override;
  void InformHostOfProgramChange() override;
  bool IsRenderingOffline() override;
  int GetSamplePos() override;
  double GetTempo() override;
  void GetTimeSig(int* numerator, int* denominator) override;
  void GetTime(ITimeInfo* pTimeInfo) override;
  // Identifies the host once (product string and vendor version).
  EHost GetHost() override;
  // The editor took a new size; refreshes the rectangle effEditGetRect
  // reports. Main thread; takes the plug-in mutex.
  void ResizeGraphics(int w, int h) override;
  // Host-specific set-up, once per instance, on the first effOpen.
  void HostSpecificInit() override;
  // Takes ownership of the editor and reports it to the host (flag and
  // rectangle). Constructor or main thread; takes the plug-in mutex.
  void AttachGraphics(IGraphics* pGraphics) override;
  void SetLatency(int samples) override;
  bool SendMidiMsg(IMidiMsg* pMsg) override;
  bool SendSysEx(ISysEx* pSysEx) override;
  // Sends one event to the host; true when the host took it.
  bool SendVSTEvent(VstEvent* pEvent);

  audioMasterCallback GetHostCallback() const { return mHostCallback; }
  // The record handed to the host (entry point).
  AEffect* GetAEffect() { return &mAEffect; }

  // ---- Entry functions placed in the record (host threads) ----
  static VstIntPtr VSTDispatcher(AEffect* pEffect, VstInt32 opCode, VstInt32 idx, VstIntPtr value, void* ptr,
                                 float opt);
  static float VSTGetParameter(AEffect* pEffect, VstInt32 idx);
  static void VSTSetParameter(AEffect* pEffect, VstInt32 idx, float value);
  static void VSTProcess(AEffect* pEffect, float** inputs, float** outputs, VstInt32 nFrames);
  static void VSTProcessReplacing(AEffect* pEffect, float** inputs, float** outputs, VstInt32 nFrames);
  static void VSTProcessDoubleReplacing(AEffect* pEffect, double** inputs, double** outputs,
                                        VstInt32 nFrames);

  // Bounds for texts written into host buffers, terminating zero included.
  // Parameter texts get the framework's own name size (hosts on Linux
  // allocate far more than the published 8); everything else gets the
  // published maximum of its kind.
  static const int kParamTextSize = 32;
  static const int kProgramNameSize = kVstMaxProgNameLen;
  static const int kEffectNameSize = kVstMaxEffectNameLen;
  static const int kVendorTextSize = kVstMaxVendorStrLen;
  static const int kProductTextSize = kVstMaxProductStrLen;
  // A chunk offered by the host larger than this is refused unread.
  static const int kMaxChunkSize = 64 * 1024 * 1024;

private:
  struct DispatchArgs {
    VstInt32 index;
    VstIntPtr value;
    void* ptr;
    float opt;
  };

  VstIntPtr CallHost(VstInt32 opCode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  // The host's transport record for the given validity flags, or null.
  VstTimeInfo* GetTimeInfo(VstInt32 flags);
  void SetSpeakerArrangementChannels(VstSpeakerArrangement* arr, int nChannels);
  void UpdateEditRect();
  bool InParamRange(VstIntPtr idx) const { return idx >= 0 && idx < NParams(); }

  // Dispatcher (plug-in mutex held): one handler per opcode.
  VstIntPtr Dispatch(VstInt32 opCode, const DispatchArgs& a);
  VstIntPtr OnOpen();
  VstIntPtr OnSetProgram(const DispatchArgs& a);
  VstIntPtr OnSetProgramName(const DispatchArgs& a);
  VstIntPtr OnGetProgramName(const DispatchArgs& a);
  VstIntPtr OnGetParamLabel(const DispatchArgs& a);
  VstIntPtr OnGetParamDisplay(const DispatchArgs& a);
  VstIntPtr OnGetParamName(const DispatchArgs& a);
  VstIntPtr OnSetSampleRate(const DispatchArgs& a);
  VstIntPtr OnSetBlockSize(const DispatchArgs& a);
  VstIntPtr OnMainsChanged(const DispatchArgs& a);
  VstIntPtr OnEditGetRect(const DispatchArgs& a);
  // Window and idle calls (user-interface thread, plug-in mutex not held).
  VstIntPtr OnEditOpen(const DispatchArgs& a);
  VstIntPtr OnEditClose();
  VstIntPtr OnEditIdle();
  VstIntPtr OnGetChunk(const DispatchArgs& a);
  VstIntPtr OnSetChunk(const DispatchArgs& a);
  VstIntPtr OnProcessEvents(const DispatchArgs& a);
  VstIntPtr OnString2Parameter(const DispatchArgs& a);
  VstIntPtr OnGetProgramNameIndexed(const DispatchArgs& a);
  VstIntPtr OnGetPinProperties(const DispatchArgs& a, bool input);
  VstIntPtr OnSetSpeakerArrangement(const DispatchArgs& a);
  VstIntPtr OnCopyText(const DispatchArgs& a, const char* text, int size);
  VstIntPtr OnVendorSpecific(const DispatchArgs& a);
  VstIntPtr OnCanDo(const DispatchArgs& a);
  VstIntPtr OnGetMidiKeyName(const DispatchArgs& a);
  VstIntPtr OnGetSpeakerArrangement(const DispatchArgs& a);

  // Audio (audio thread, plug-in mutex held). Runs the block through the
  // base in pieces of at most GetMaxFramesPerCall() frames, so neither a
  // host that passes more frames than it announced nor a huge announced
  // block size needs more than the capped scratch buffers.
  template <class Sample, class Run>
  void ProcessInPieces(Sample** inputs, Sample** outputs, int nFrames, Run run);
  template <class Sample, void (IEffectBase::*Process)(Sample, int)>
  static void ProcessFromHost(AEffect* pEffect, Sample** inputs, Sample** outputs, VstInt32 nFrames);

  ERect mEditRect;
  audioMasterCallback mHostCallback;
  VstSpeakerArrangement mInputSpkrArr;
  VstSpeakerArrangement mOutputSpkrArr;
  bool mHostSpecificInitDone;
  ByteChunk mState;      // last program chunk handed to or taken from the host
  ByteChunk mBankState;  // last bank chunk
  AEffect mAEffect;
  // Per-piece channel pointers for calls longer than the scratch buffers;
  // sized at construction so that processing allocates nothing.
  BASE_TypedBuf<void*> mPieceIn;
  BASE_TypedBuf<void*> mPieceOut;
};
