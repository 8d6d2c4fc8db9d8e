// The VST dispatcher: every opcode the plug-in answers, one handler each.
// Texts written into host buffers are always cut to a bounded size, and no
// handler reads or writes through a null pointer or outside a list.

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/cstring.h"
#include "base/mutex.h"
#include "framework/IMidiMsg.h"
#include "framework/IParam.h"
#include "framework/IPreset.h"
#include "framework/ISysEx.h"
#include "framework/Log.h"
#include "framework/editor/IGraphics.h"
#include "framework/vst/IEffectVST.h"

namespace {

const VstIntPtr kIdentifyAnswer = CCONST('N', 'v', 'E', 'f');
const VstIntPtr kVendorSpecificAnswer = 0xBEEF;
// Room for any text a parameter shows before it is cut to the host's size:
// "%.6f" of the largest double is about 320 characters.
const int kDisplayScratchSize = 512;

// A host-supplied index or value as an int; anything outside the int range
// becomes -1, which every list refuses.
int ToIndex(VstIntPtr v) { return v < INT_MIN || v > INT_MAX ? -1 : static_cast<int>(v); }

IEffectVST* PlugOf(AEffect* pEffect) { return pEffect ? static_cast<IEffectVST*>(pEffect->object) : nullptr; }

}  // namespace

VstIntPtr IEffectVST::VSTDispatcher(AEffect* pEffect, VstInt32 opCode, VstInt32 idx, VstIntPtr value,
                                    void* ptr, float opt)
{
  IEffectVST* plug = PlugOf(pEffect);
  if (!plug) return 0;
  if (opCode == effClose) {
    // The mutex is part of the plug-in: it is taken only to wait for a call
    // in flight and released before the plug-in goes.
    plug->GetMutex().Enter();
    TRACE("VSTDispatcher", "%d(%s):%d:%d", opCode, VSTOpcodeStr(opCode), idx, static_cast<int>(value));
    plug->GetMutex().Leave();
    delete plug;
    return 0;
  }
  const DispatchArgs args = {idx, value, ptr, opt};
  // The editor's window and idle calls run without the plug-in mutex, so
  // that a drawing pass never makes the audio thread wait.
  if (opCode == effEditIdle) return plug->OnEditIdle();
  if (opCode == effEditOpen || opCode == effEditClose) {
    TRACE("VSTDispatcher", "%d(%s):%d:%d", opCode, VSTOpcodeStr(opCode), idx, static_cast<int>(value));
    return opCode == effEditOpen ? plug->OnEditOpen(args) : plug->OnEditClose();
  }
  BASE_MutexLock lock(plug->GetMutex());
  if (opCode == effIdle) return 0;
  TRACE("VSTDispatcher", "%d(%s):%d:%d", opCode, VSTOpcodeStr(opCode), idx, static_cast<int>(value));
  return plug->Dispatch(opCode, args);
}

VstIntPtr IEffectVST::Dispatch(VstInt32 opCode, const DispatchArgs& a)
{
  switch (opCode) {
    case effOpen:
      return OnOpen();
    case effSetProgram:
      return OnSetProgram(a);
    case effGetProgram:
      return GetCurrentPresetIdx();
    case effSetProgramName:
      return OnSetProgramName(a);
    case effGetProgramName:
      return OnGetProgramName(a);
    case effGetParamLabel:
      return OnGetParamLabel(a);
    case effGetParamDisplay:
      return OnGetParamDisplay(a);
    case effGetParamName:
      return OnGetParamName(a);
    case effSetSampleRate:
      return OnSetSampleRate(a);
    case effSetBlockSize:
      return OnSetBlockSize(a);
    case effMainsChanged:
      return OnMainsChanged(a);
    case effEditGetRect:
      return OnEditGetRect(a);
    case effIdentify:
      return kIdentifyAnswer;
    case effGetChunk:
      return OnGetChunk(a);
    case effSetChunk:
      return OnSetChunk(a);
    case effProcessEvents:
      return OnProcessEvents(a);
    case effCanBeAutomated:
      return 1;
    case effString2Parameter:
      return OnString2Parameter(a);
    case effGetProgramNameIndexed:
      return OnGetProgramNameIndexed(a);
    case effGetInputProperties:
      return OnGetPinProperties(a, true);
    case effGetOutputProperties:
      return OnGetPinProperties(a, false);
    case effGetPlugCategory:
      return IsInst() ? kPlugCategSynth : kPlugCategEffect;
    case effProcessVarIo:
      return 0;
    case effSetSpeakerArrangement:
      return OnSetSpeakerArrangement(a);
    case effGetEffectName:
      return OnCopyText(a, GetEffectName(), kEffectNameSize);
    case effGetVendorString:
      return OnCopyText(a, GetMfrName(), kVendorTextSize);
    case effGetProductString:
      return OnCopyText(a, GetProductName(), kProductTextSize);
    case effGetVendorVersion:
      return GetEffectVersion(true);
    case effVendorSpecific:
      return OnVendorSpecific(a);
    case effCanDo:
      return OnCanDo(a);
    case effGetTailSize:
      return GetTailSize();
    case effGetVstVersion:
      return kVstVersion;
    case effGetMidiKeyName:
      return OnGetMidiKeyName(a);
    case effGetSpeakerArrangement:
      return OnGetSpeakerArrangement(a);
    default:
      return 0;
  }
}

// ---- Life cycle and set-up ----

VstIntPtr IEffectVST::OnOpen()
{
  if (!mHostSpecificInitDone) HostSpecificInit();
  OnParamReset();
  return 0;
}

VstIntPtr IEffectVST::OnSetSampleRate(const DispatchArgs& a)
{
  // A rate of zero, below zero or not a number would poison every filter
  // computed from it; such a request keeps the current rate.
  if (!(a.opt > 0.0f) || !std::isfinite(a.opt)) return 0;
  SetSampleRate(a.opt);
  Reset();
  return 0;
}

VstIntPtr IEffectVST::OnSetBlockSize(const DispatchArgs& a)
{
  // A block size below one frame cannot be processed; keep the current one.
  if (a.value < 1 || a.value > INT_MAX) return 0;
  SetBlockSize(static_cast<int>(a.value));
  Reset();
  return 0;
}

VstIntPtr IEffectVST::OnMainsChanged(const DispatchArgs& a)
{
  if (a.value != 0) {
    OnActivate(true);
  } else {
    OnActivate(false);
    Reset();
  }
  return 0;
}

// ---- Programs ----

VstIntPtr IEffectVST::OnSetProgram(const DispatchArgs& a)
{
  if (!DoesStateChunks()) ModifyCurrentPreset(nullptr);
  RestorePreset(ToIndex(a.value));
  return 0;
}

VstIntPtr IEffectVST::OnSetProgramName(const DispatchArgs& a)
{
  if (!a.ptr) return 0;
  // The host's text is copied through a bounded buffer: it may lack its end.
  char name[IPreset::kNameSize];
  BASE_CopyString(name, static_cast<const char*>(a.ptr), sizeof(name));
  ModifyCurrentPreset(name);
  PresetsChangedByHost();
  return 0;
}

VstIntPtr IEffectVST::OnGetProgramName(const DispatchArgs& a)
{
  if (!a.ptr) return 0;
  BASE_CopyString(static_cast<char*>(a.ptr), GetPresetName(GetCurrentPresetIdx()), kProgramNameSize);
  return 0;
}

VstIntPtr IEffectVST::OnGetProgramNameIndexed(const DispatchArgs& a)
{
  if (!a.ptr) return 0;
  const char* name = GetPresetName(a.index);
  BASE_CopyString(static_cast<char*>(a.ptr), name, kProgramNameSize);
  return name[0] ? 1 : 0;
}

// ---- Parameters ----

VstIntPtr IEffectVST::OnGetParamLabel(const DispatchArgs& a)
{
  if (!InParamRange(a.index) || !a.ptr) return 0;
  BASE_CopyString(static_cast<char*>(a.ptr), GetParam(a.index)->GetLabelForHost(), kParamTextSize);
  return 0;
}

VstIntPtr IEffectVST::OnGetParamDisplay(const DispatchArgs& a)
{
  if (!InParamRange(a.index) || !a.ptr) return 0;
  const IParam* param = GetParam(a.index);
  char display[kDisplayScratchSize];
  param->GetDisplayForHost(param->Value(), false, display, true);
  BASE_CopyString(static_cast<char*>(a.ptr), display, kParamTextSize);
  return 0;
}

VstIntPtr IEffectVST::OnGetParamName(const DispatchArgs& a)
{
  if (!InParamRange(a.index) || !a.ptr) return 0;
  BASE_CopyString(static_cast<char*>(a.ptr), GetParam(a.index)->GetNameForHost(), kParamTextSize);
  return 0;
}

VstIntPtr IEffectVST::OnString2Parameter(const DispatchArgs& a)
{
  if (!InParamRange(a.index)) return 0;
  if (!a.ptr) return 1;  // the host asks whether text can be converted
  IParam* param = GetParam(a.index);
  char text[kDisplayScratchSize];
  BASE_CopyString(text, static_cast<const char*>(a.ptr), sizeof(text));
  double value;
  if (param->GetNDisplayTexts() > 0) {
    int mapped;
    if (!param->MapDisplayText(text, &mapped)) return 0;
    value = mapped;
  } else {
    value = std::strtod(text, nullptr);
    // "nan" or "inf" would leave the parameter without a usable value.
    if (!std::isfinite(value)) return 0;
    if (param->GetNegateDisplay()) value = -value;
  }
  double lo, hi;
  param->GetBounds(&lo, &hi);
  value = value < lo ? lo : (value < hi ? value : hi);
  if (GetGUI()) GetGUI()->PostParameterFromPlug(a.index, value, false);
  param->Set(value);
  OnParamChange(a.index);
  return 1;
}

VstIntPtr IEffectVST::OnVendorSpecific(const DispatchArgs& a)
{
  if (a.index == effGetParamDisplay && a.ptr) {
    const int idx = ToIndex(a.value);
    if (InParamRange(idx)) {
      char display[kDisplayScratchSize];
      GetParam(idx)->GetDisplayForHost(a.opt, true, display, true);
      BASE_CopyString(static_cast<char*>(a.ptr), display, kParamTextSize);
    }
    return kVendorSpecificAnswer;
  }
  if (a.index == kVstParameterUsesIntStep) {
    const int idx = ToIndex(a.value);
    return InParamRange(idx) && GetParam(idx)->Type() != IParam::kTypeDouble ? kVendorSpecificAnswer : 0;
  }
  return 0;
}

// ---- Editor ----

VstIntPtr IEffectVST::OnEditGetRect(const DispatchArgs& a)
{
  if (!a.ptr || !GetGUI()) return 0;
  *static_cast<ERect**>(a.ptr) = &mEditRect;
  return 1;
}

VstIntPtr IEffectVST::OnEditOpen(const DispatchArgs& a)
{
  if (!GetGUI() || !GetGUI()->OpenWindow(a.ptr)) return 0;
  OnGUIOpen();
  return 1;
}

VstIntPtr IEffectVST::OnEditClose()
{
  if (!GetGUI()) return 0;
  OnGUIClose();
  GetGUI()->CloseWindow();
  return 1;
}

VstIntPtr IEffectVST::OnEditIdle()
{
  if (GetGUI()) GetGUI()->OnEditIdle();
  return 0;
}

// ---- State chunks ----

VstIntPtr IEffectVST::OnGetChunk(const DispatchArgs& a)
{
  if (!a.ptr) return 0;
  const bool isBank = a.index == 0;
  ByteChunk* chunk = isBank ? &mBankState : &mState;
  InitChunkWithFrameworkVer(chunk);
  bool ok;
  if (isBank) {
    ModifyCurrentPreset(nullptr);  // the current preset holds the live state
    ok = SerializePresets(chunk);
  } else {
    ok = SerializeState(chunk);
  }
  if (!ok || chunk->Size() <= 0) return 0;
  *static_cast<void**>(a.ptr) = chunk->Data();
  return chunk->Size();
}

VstIntPtr IEffectVST::OnSetChunk(const DispatchArgs& a)
{
  // Nothing to restore from an empty chunk; a negative or absurd size is a
  // host error and is never read.
  if (!a.ptr || a.value <= 0 || a.value > kMaxChunkSize) return 0;
  const bool isBank = a.index == 0;
  ByteChunk* chunk = isBank ? &mBankState : &mState;
  const int size = static_cast<int>(a.value);
  chunk->Resize(size);
  if (chunk->Size() != size) return 0;  // no memory for it
  std::memcpy(chunk->Data(), a.ptr, static_cast<size_t>(size));
  int pos = 0;
  const int version = GetFrameworkVerFromChunk(chunk, &pos);
  // A bank chunk carries the header; without it the bytes are one state.
  const bool asBank = isBank && version >= 0x10000;
  // Loads apply whole or change nothing: a refused chunk leaves every
  // parameter and preset as it was.
  if (!(asBank ? LoadPresets(chunk, pos) : LoadState(chunk, pos))) return 0;
  if (!asBank) ModifyCurrentPreset(nullptr);
  RedrawParamControls();
  return 1;
}

// ---- Events ----

VstIntPtr IEffectVST::OnProcessEvents(const DispatchArgs& a)
{
  if (!a.ptr) return 0;
  const VstEvents* events = static_cast<const VstEvents*>(a.ptr);
  for (int i = 0; i < events->numEvents; ++i) {
    const VstEvent* ev = events->events[i];
    if (!ev) continue;
    if (ev->type == kVstMidiType) {
      const VstMidiEvent* midi = reinterpret_cast<const VstMidiEvent*>(ev);
      IMidiMsg msg(midi->deltaFrames, static_cast<unsigned char>(midi->midiData[0]),
                   static_cast<unsigned char>(midi->midiData[1]),
                   static_cast<unsigned char>(midi->midiData[2]));
      ProcessMidiMsg(&msg);
    } else if (ev->type == kVstSysExType) {
      const VstMidiSysexEvent* sysex = reinterpret_cast<const VstMidiSysexEvent*>(ev);
      // A dump the plug-in could not read safely is not delivered.
      if (!sysex->sysexDump || sysex->dumpBytes < 0) continue;
      ISysEx msg(sysex->deltaFrames, reinterpret_cast<const unsigned char*>(sysex->sysexDump),
                 sysex->dumpBytes);
      ProcessSysEx(&msg);
    }
  }
  return 1;
}

// ---- Channels ----

VstIntPtr IEffectVST::OnGetPinProperties(const DispatchArgs& a, bool input)
{
  const int count = input ? NInChannels() : NOutChannels();
  if (a.index < 0 || a.index >= count || !a.ptr) return 0;
  VstPinProperties* pin = static_cast<VstPinProperties*>(a.ptr);
  pin->flags = kVstPinIsActive;
  if (a.index % 2 == 0 && a.index < count - 1) pin->flags |= kVstPinIsStereo;
  const char* label = input ? GetInputLabel(a.index) : GetOutputLabel(a.index);
  if (label && label[0]) {
    BASE_CopyString(pin->label, label, sizeof(pin->label));
  } else {
    std::snprintf(pin->label, sizeof(pin->label), input ? "Input %d" : "Output %d", a.index + 1);
  }
  return 1;
}

VstIntPtr IEffectVST::OnSetSpeakerArrangement(const DispatchArgs& a)
{
  const VstSpeakerArrangement* in = reinterpret_cast<const VstSpeakerArrangement*>(a.value);
  const VstSpeakerArrangement* out = static_cast<const VstSpeakerArrangement*>(a.ptr);
  if (in) {
    const int n = in->numChannels < 0 ? 0 : in->numChannels;
    SetInputChannelConnections(0, n, true);
    if (n < NInChannels()) SetInputChannelConnections(n, NInChannels() - n, false);
  }
  if (out) {
    const int n = out->numChannels < 0 ? 0 : out->numChannels;
    SetOutputChannelConnections(0, n, true);
    if (n < NOutChannels()) SetOutputChannelConnections(n, NOutChannels() - n, false);
  }
  return 1;
}

VstIntPtr IEffectVST::OnGetSpeakerArrangement(const DispatchArgs& a)
{
  VstSpeakerArrangement** in = reinterpret_cast<VstSpeakerArrangement**>(a.value);
  VstSpeakerArrangement** out = static_cast<VstSpeakerArrangement**>(a.ptr);
  if (in) *in = &mInputSpkrArr;
  if (out) *out = &mOutputSpkrArr;
  return 1;
}

// ---- Identity and capabilities ----

VstIntPtr IEffectVST::OnCopyText(const DispatchArgs& a, const char* text, int size)
{
  if (!a.ptr) return 0;
  BASE_CopyString(static_cast<char*>(a.ptr), text, static_cast<size_t>(size));
  return 1;
}

VstIntPtr IEffectVST::OnCanDo(const DispatchArgs& a)
{
  if (!a.ptr) return 0;
  const char* what = static_cast<const char*>(a.ptr);
  TRACE("VSTDispatcher", "VSTCanDo(%s)", what);
  if (!std::strcmp(what, "receiveVstTimeInfo")) return 1;
  if (!std::strcmp(what, "sendVstEvents") || !std::strcmp(what, "sendVstMidiEvent") ||
      !std::strcmp(what, "receiveVstEvents") || !std::strcmp(what, "receiveVstMidiEvent"))
    return DoesMIDI() ? 1 : 0;
  return 0;
}

VstIntPtr IEffectVST::OnGetMidiKeyName(const DispatchArgs& a)
{
  if (!a.ptr) return 0;
  MidiKeyName* key = static_cast<MidiKeyName*>(a.ptr);
  std::memset(key->keyName, 0, sizeof(key->keyName));
  char name[kDisplayScratchSize] = {};
  const bool named = MidiNoteName(key->thisKeyNumber, name);
  BASE_CopyString(key->keyName, name, sizeof(key->keyName));
  return named ? 1 : 0;
}
