#pragma once
// A VST 2.4 plug-in loaded into this process the way a host loads one:
// dlopen of the shared object, its entry point called with our host
// callback, and every later call made through the AEffect record it
// returned. The host side answers what an offline renderer knows: sample
// rate, block size, transport position, an offline process level.
//
// Threads: one instance per process, used from the main thread only (the
// host callback reaches the instance through a process-wide pointer).

#include <string>

#include "framework/vst/VSTInterface.h"

// What a host that shows the plug-in's editor wants to hear of: parameter
// changes the plug-in reports and requests to resize the editor's window.
// Called from inside the plug-in's call into the host, on the thread the
// plug-in calls from.
class HostedPluginListener {
public:
  virtual ~HostedPluginListener() = default;
  // audioMasterAutomate: parameter index, normalised value.
  virtual void OnAutomate(int index, float value) = 0;
  // audioMasterSizeWindow; true when the window took the new size.
  virtual bool OnSizeWindow(int width, int height) = 0;
};

class HostedPlugin {
public:
  ~HostedPlugin();  // closes the plug-in and unloads the library
  HostedPlugin(const HostedPlugin&) = delete;
  HostedPlugin& operator=(const HostedPlugin&) = delete;

  // Loads the shared object and creates the plug-in; null with a one-line
  // reason in error when that fails. Only one plug-in may be loaded at once.
  static HostedPlugin* Load(const std::string& path, std::string* error);

  AEffect* Effect() const { return m_effect; }
  const std::string& Path() const { return m_path; }
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);

  // Text answered by a dispatcher opcode into a zeroed buffer of capacity
  // bytes; the answer is cut at the buffer's end whatever the plug-in does.
  std::string GetText(VstInt32 opcode, VstInt32 index = 0, int capacity = 256);

  bool HasFlag(VstInt32 flag) const { return (m_effect->flags & flag) != 0; }

  // Transport state the host callback reports.
  void SetSampleRate(double rate) { m_sampleRate = rate; }
  void SetBlockSize(int frames) { m_blockSize = frames; }
  void SetSamplePos(double pos) { m_samplePos = pos; }
  // What audioMasterGetCurrentProcessLevel answers (offline by default).
  void SetProcessLevel(VstInt32 level) { m_processLevel = level; }
  // Null: automation and window sizes go unanswered, as offline.
  void SetListener(HostedPluginListener* listener) { m_listener = listener; }

  static VstIntPtr HostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt);

  // Name and version this host reports to plug-ins.
  static const char* kProductName;
  static const char* kVendorName;
  static const int kVendorVersion = 10000;

private:
  HostedPlugin() = default;
  VstIntPtr Answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

  void* m_library = nullptr;
  AEffect* m_effect = nullptr;
  std::string m_path;
  double m_sampleRate = 44100.0;
  int m_blockSize = 512;
  double m_samplePos = 0.0;
  VstTimeInfo m_timeInfo = {};
  VstInt32 m_processLevel = kVstProcessLevelOffline;
  HostedPluginListener* m_listener = nullptr;
};
