#pragma once
// Host-neutral plug-in base. It owns the parameters, the preset bank, the
// channel configuration with its buffer plumbing and the plug-in mutex, and
// declares the virtual interface through which a host adapter and an effect
// meet. Adapters derive from it and supply the host-facing operations; the
// effect derives from an adapter.
//
// Threads and locking. One recursive plug-in mutex (GetMutex()) guards the
// parameters, the presets, processing and editor attachment:
// - the host's audio thread holds it for a whole block (attach, process,
//   convert); the attach and process operations below expect it held and
//   take nothing themselves;
// - host threads hold it through every dispatcher and parameter call, so
//   the preset, state and file operations run under it; those that touch
//   parameters also take it themselves;
// - the editor's main thread takes it in SetParameterFromGUI and
//   AttachGraphics.
// Construction and destruction run on the thread that creates and closes
// the plug-in, with no other call in flight.

#include "base/heapbuf.h"
#include "base/mutex.h"
#include "base/ptrlist.h"
#include "base/string.h"
#include "framework/ByteChunk.h"
#include "framework/Hosts.h"
#include "framework/IChannelBuffers.h"
#include "framework/IParam.h"
#include "framework/IPreset.h"

class IGraphics;
struct IMidiMsg;
struct ISysEx;
struct ITimeInfo;

class IEffectBase {
public:
  // One legal (inputs, outputs) configuration.
  struct ChannelIO {
    int mIn;
    int mOut;
  };

  // One channel's record; inputs and outputs share it (only outputs use
  // the float destination).
  using InChannel = IChannelBuffers::Channel;
  using OutChannel = IChannelBuffers::Channel;

  // Constructor thread. Names are copied and cut to 127 characters. The
  // channel I/O string lists "inputs-outputs" pairs separated by single
  // spaces ("1-1 2-2"); a number that cannot be read counts as 0.
  IEffectBase(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
              const char* productName, const char* mfrName, int vendorVersion, int uniqueID, int mfrID,
              int latency, bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst, EAPI plugAPI);
  virtual ~IEffectBase();
  IEffectBase(const IEffectBase&) = delete;
  IEffectBase& operator=(const IEffectBase&) = delete;

  // ---- Virtual operations (this order is the slot order) ----

  // Effect hooks; the base versions only lock and unlock the plug-in mutex
  // so that they wait for a block in progress. Any thread.
  virtual void Reset();
  virtual void OnParamChange(int paramIdx);
  // Audio thread, mutex held. Copies input i to output i where both exist
  // and zeroes every other output.
  virtual void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames);
  // Editor window opened or closed; idle tick. Main thread, without the
  // plug-in mutex.
  virtual void OnGUIOpen() {}
  virtual void OnGUIClose() {}
  virtual void OnIdle() {}
  virtual void OnActivate(bool active);
  // MIDI from the host, audio thread, mutex held. The base passes short
  // messages straight back out (MIDI thru) and ignores SysEx.
  virtual void ProcessMidiMsg(IMidiMsg* pMsg);
  virtual void ProcessSysEx(ISysEx*) {}
  virtual bool MidiNoteName(int noteNumber, char* name);
  // The plug-in's state, saved and loaded as one unit. The defaults are the
  // parameter block. Host threads, mutex held or taken.
  virtual bool SerializeState(ByteChunk* pChunk);
  virtual int UnserializeState(ByteChunk* pChunk, int startPos);
  virtual bool CompareState(const unsigned char* incomingState, int startPos);
  virtual void OnWindowResize() {}
  virtual bool HostRequestingAboutBox() { return false; }
  virtual void OnHostIdentified() {}
  virtual void PopupHostContextMenuForParam(int, int, int) {}
  // The editor's path into the plug-in (main thread; takes the mutex):
  // sets the parameter, tells the host, calls OnParamChange.
  virtual void SetParameterFromGUI(int paramIdx, double normalizedValue);
  // Host-facing operations the adapter supplies (any thread; the mutex is
  // usually held by the caller).
  virtual void BeginInformHostOfParamChange(int paramIdx) = 0;
  virtual void InformHostOfParamChange(int paramIdx, double normalizedValue) = 0;
  virtual void EndInformHostOfParamChange(int paramIdx) = 0;
  virtual void InformHostOfProgramChange() = 0;
  virtual bool IsRenderingOffline() { return false; }
  virtual int GetSamplePos() = 0;
  virtual double GetTempo() = 0;
  virtual void GetTimeSig(int* numerator, int* denominator) = 0;
  virtual void GetTime(ITimeInfo* pTimeInfo) = 0;
  virtual EHost GetHost() { return mHost; }
  virtual EAPI GetAPI() { return mAPI; }
  virtual void ResizeGraphics(int w, int h) = 0;
  virtual void HostSpecificInit() {}
  // Takes ownership of the editor, pushes every parameter's normalized
  // value into it and prepares its drawing. Constructor or main thread;
  // takes the mutex. A null editor is ignored.
  virtual void AttachGraphics(IGraphics* pGraphics);
  virtual void SetLatency(int samples) { mLatency = samples; }
  virtual bool SendMidiMsg(IMidiMsg* pMsg) = 0;
  virtual bool SendSysEx(ISysEx*) { return false; }
  // Posts every parameter's plain value to the attached editor, whose
  // thread hands them to the controls. Any thread, mutex held by the caller.
  virtual void RedrawParamControls();
  virtual void DirtyPTCompareState() {}
  virtual void PresetsChangedByHost() {}
  // Host thread between blocks, mutex held: resizes and zeroes the scratch
  // buffers when the size changes.
  virtual void SetBlockSize(int blockSize);

  // ---- Channel configuration (host threads, mutex held) ----
  bool LegalIO(int nIn, int nOut) const;
  void LimitToStereoIO();
  void SetInputChannelConnections(int idx, int n, bool connected);
  void SetOutputChannelConnections(int idx, int n, bool connected);
  bool IsInChannelConnected(int chIdx) const { return mInputs.IsConnected(chIdx); }
  bool IsOutChannelConnected(int chIdx) const { return mOutputs.IsConnected(chIdx); }
  int NConnectedInChannels() const { return mInputs.NConnected(); }
  int NConnectedOutChannels() const { return mOutputs.NConnected(); }
  int NChannelIO() const { return mChannelIO.GetSize(); }
  // False for an index outside the list.
  bool GetChannelIO(int idx, int* nIn, int* nOut) const;

  // ---- Buffers and processing (audio thread, mutex held by the caller) ----
  // Host buffers are taken by connected channels in order: the k-th
  // connected channel of the range takes ppData[k]. Unconnected inputs read
  // silence. One call handles at most GetMaxFramesPerCall() frames: float
  // samples beyond it are not converted, and the process operations cut
  // nFrames to it (callers split longer blocks).
  void AttachInputBuffers(int idx, int n, double** ppData, int nFrames);
  void AttachInputBuffers(int idx, int n, float** ppData, int nFrames);
  void AttachOutputBuffers(int idx, int n, double** ppData);
  void AttachOutputBuffers(int idx, int n, float** ppData);
  void ProcessBuffers(double, int nFrames);
  void ProcessBuffers(float, int nFrames);
  void ProcessBuffersAccumulating(float, int nFrames);
  void PassThroughBuffers(double, int nFrames);
  void PassThroughBuffers(float, int nFrames);
  void ZeroScratchBuffers();
  // The block size, capped at the scratch buffers' largest size.
  int GetMaxFramesPerCall() const { return mMaxFrames; }

  // ---- Timing (host threads) ----
  void SetSampleRate(double sampleRate) { mSampleRate = sampleRate; }
  double GetSamplesPerBeat();

  // ---- Parameters ----
  // OnParamChange for every parameter in ascending order (mutex held or
  // taken by OnParamChange).
  void OnParamReset();
  // InformHostOfParamChange with every parameter's normalized value; takes
  // the mutex.
  void DirtyParameters();

  // ---- Host identification and versions (host threads) ----
  void SetHost(const char* host, int version);
  int GetHostVersion(bool decimal);
  void GetHostVersionStr(char* str);
  int GetEffectVersion(bool decimal) const;
  void GetEffectVersionStr(char* str) const;
  const char* GetAPIString();
  const char* GetArchString() const;

  // ---- Labels (constructor or host threads) ----
  void SetInputLabel(int idx, const char* label);
  void SetOutputLabel(int idx, const char* label);
  void SetInputBusLabel(int idx, const char* label);
  void SetOutputBusLabel(int idx, const char* label);
  // "" for an index outside the channels or buses.
  const char* GetInputLabel(int idx) const;
  const char* GetOutputLabel(int idx) const;
  const char* GetInputBusLabel(int idx) const;
  const char* GetOutputBusLabel(int idx) const;

  // ---- MIDI (audio thread) ----
  // Sends every message in order; true only if every send succeeded.
  bool SendMidiMsgs(BASE_TypedBuf<IMidiMsg>* pMsgs);

  // ---- Parameter block and bank block (host threads; the parameter
  // operations take the mutex) ----
  bool SerializeParams(ByteChunk* pChunk);
  int UnserializeParams(ByteChunk* pChunk, int startPos);
  bool SerializePresets(ByteChunk* pChunk);
  int UnserializePresets(ByteChunk* pChunk, int startPos);

  // ---- Whole-or-nothing loads (host threads; take the mutex) ----
  // Each applies everything it reads, or, when the data does not read whole
  // (cut short, or a value that is not a number), puts back every
  // parameter, preset and the current preset index and returns false.
  // LoadState reads one state (UnserializeState), LoadPresets a bank block
  // (UnserializePresets).
  bool LoadState(ByteChunk* pChunk, int startPos);
  bool LoadPresets(ByteChunk* pChunk, int startPos);

  // ---- Preset bank (constructor or host threads, mutex held) ----
  void MakeDefaultPreset(const char* name = nullptr, int nPresets = 1);
  // One value per parameter: int for bool, int and enum parameters, double
  // for the others.
  void MakePreset(const char* name, ...);
  // nParamsNamed pairs of (int index, value typed as for MakePreset).
  // Parameters without a pair keep their current value. An index outside
  // the parameters ends the list: the type, and so the place, of the
  // arguments behind it is unknown, so it and the pairs after it are skipped.
  void MakePresetFromNamedParams(const char* name, int nParamsNamed, ...);
  void MakePresetFromChunk(const char* name, ByteChunk* pChunk);
  // The state is the base64 text decoded into exactly sizeOfChunk bytes.
  void MakePresetFromBlob(const char* name, const char* blob, int sizeOfChunk);
  void EnsureDefaultPreset();
  void PruneUninitializedPresets();
  // Loads a preset into the parameters and makes it current; an empty slot
  // instead captures the current parameters as "user preset N". False for
  // an unknown index or name, or a state that cannot be read whole, and
  // then nothing has changed.
  bool RestorePreset(int idx);
  bool RestorePreset(const char* name);
  // "" for an index outside the bank.
  const char* GetPresetName(int idx) const;
  // Stores the live parameters into the current preset and renames it when
  // a non-empty name is given.
  void ModifyCurrentPreset(const char* name = nullptr);
  int NPresets() const { return mPresets.GetSize(); }
  int GetCurrentPresetIdx() const { return mCurrentPresetIdx; }
  IPreset* GetPreset(int idx) const { return mPresets.Get(idx); }

  // ---- Developer dumps (any thread, mutex held) ----
  // Each writes source text for the make operations into the file; false
  // when the file cannot be written.
  bool DumpPresetSrcCode(const char* filename, const char* paramEnumNames[]);
  bool DumpPresetBlob(const char* filename);
  bool DumpBankBlob(const char* filename);

  // ---- Program and bank files (host or main thread, mutex held) ----
  bool SaveProgramAsFXP(BASE_String* pFileName);
  bool SaveBankAsFXB(BASE_String* pFileName);
  bool LoadProgramFromFXP(BASE_String* pFileName);
  bool LoadBankFromFXB(BASE_String* pFileName);
  // The same on file images in memory: the Make operations clear the
  // chunk and build the file in it; the Load operations apply an image of
  // size bytes (untrusted) whole or not at all and report false as the file
  // loaders do. A file is refused when its header does not fit, when a
  // state or bank chunk inside does not read whole, or when a value is not
  // a number; parameter-list values missing at the end count as 0.0. The
  // layouts and their one size limit (kFxMaxFileSize) are FxFile's: a file
  // beyond it is neither built nor read.
  bool MakeProgramFile(ByteChunk* pFile);
  bool MakeBankFile(ByteChunk* pFile);
  bool LoadProgramFromMemory(const unsigned char* data, int size);
  bool LoadBankFromMemory(const unsigned char* data, int size);

  // ---- Accessors (any thread) ----
  IParam* GetParam(int idx) const { return mParams.Get(idx); }
  int NParams() const { return mParams.GetSize(); }
  int NInChannels() const { return mInputs.NChannels(); }
  int NOutChannels() const { return mOutputs.NChannels(); }
  double GetSampleRate() const { return mSampleRate; }
  int GetBlockSize() const { return mBlockSize; }
  int GetLatency() const { return mLatency; }
  int GetTailSize() const { return mTailSize; }
  IGraphics* GetGUI() const { return mGraphics; }
  BASE_Mutex& GetMutex() { return mMutex; }
  const char* GetEffectName() const { return mEffectName; }
  const char* GetProductName() const { return mProductName; }
  const char* GetMfrName() const { return mMfrName; }
  int GetUniqueID() const { return mUniqueID; }
  int GetMfrID() const { return mMfrID; }
  bool DoesStateChunks() const { return mStateChunks; }
  bool IsInst() const { return mIsInst; }
  bool DoesMIDI() const { return mDoesMIDI; }

protected:
  // Effects lock it in their own Reset and OnParamChange.
  BASE_Mutex mMutex;

  // The channels as processing sees them (for derived classes and tests).
  const IChannelBuffers& Inputs() const { return mInputs; }
  const IChannelBuffers& Outputs() const { return mOutputs; }

private:
  friend class IStateSnapshot;

  void ParseChannelIO(const char* channelIOStr, int* maxIn, int* maxOut);
  // nFrames cut to what one call may process.
  int BoundFrames(int nFrames) const { return nFrames < mMaxFrames ? nFrames : mMaxFrames; }
  // Runs load under the mutex; when it reports failure, everything it may
  // have changed is put back (defined in IStateSnapshot.h).
  template <class Load>
  bool ApplyWhole(Load load);

  BASE_PtrList<ChannelIO> mChannelIO;
  char mEffectName[128];
  char mProductName[128];
  char mMfrName[128];
  int mUniqueID;
  int mMfrID;
  int mVersion;
  EAPI mAPI;
  EHost mHost;
  int mHostVersion = 0;
  bool mStateChunks;
  bool mIsInst;
  bool mDoesMIDI;
  int mCurrentPresetIdx = 0;
  double mSampleRate = 44100.0;
  int mBlockSize = 0;
  int mMaxFrames = 0;
  int mLatency;
  int mTailSize = 0;
  BASE_PtrList<const char> mParamGroups;
  IGraphics* mGraphics = nullptr;
  BASE_PtrList<IParam> mParams;
  BASE_PtrList<IPreset> mPresets;
  IChannelBuffers mInputs;
  IChannelBuffers mOutputs;
  BASE_PtrList<BASE_String> mInputBusLabels;
  BASE_PtrList<BASE_String> mOutputBusLabels;
};
