#pragma once
// Test host for plug-in modules: loads a module with dlopen, instantiates
// it through VSTPluginMain with a host callback that records every call and
// answers from a configurable script, and wraps the record's entry
// functions.

#include <string>
#include <vector>

#include "framework/vst/VSTInterface.h"

struct HostCall {
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  float opt;
  // Copies of what the plug-in passed, for the opcodes that carry records.
  std::vector<VstMidiEvent> midi;
  std::vector<std::vector<unsigned char>> sysex;
  int numEvents = 0;
};

// What the recording host answers. One host per test process.
struct HostScript {
  std::string productString;  // audioMasterGetProductString ("" writes nothing)
  VstIntPtr vendorVersion = 0;
  VstIntPtr processLevel = 0;
  VstIntPtr processEventsAnswer = 1;
  bool answerTime = false;  // audioMasterGetTime answers &timeInfo
  VstTimeInfo timeInfo = {};
};

class RecordingHost {
public:
  static RecordingHost& Get();
  static VstIntPtr Callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                            float opt);
  void Reset();
  std::vector<HostCall> Calls(VstInt32 opcode) const;
  std::vector<HostCall> calls;
  HostScript script;
};

class PluginModule {
public:
  explicit PluginModule(const std::string& path);
  ~PluginModule();
  bool Loaded() const { return m_handle != nullptr; }
  std::string Error() const { return m_error; }
  AEffect* Instantiate(audioMasterCallback callback = &RecordingHost::Callback) const;
  void* Symbol(const char* name) const;

private:
  void* m_handle = nullptr;
  std::string m_error;
};

// Record helpers.
VstIntPtr Dispatch(AEffect* e, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                   float opt = 0.0f);
std::string DispatchText(AEffect* e, VstInt32 opcode, VstInt32 index = 0);
// The bytes effGetChunk hands out for a program (or the bank); empty when
// the plug-in gives none.
std::vector<unsigned char> GetChunk(AEffect* e, bool program);
void Close(AEffect* e);
