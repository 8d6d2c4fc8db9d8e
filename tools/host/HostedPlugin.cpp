#include "tools/host/HostedPlugin.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cstring>
#include <vector>

const char* HostedPlugin::kProductName = "quarry-host";
const char* HostedPlugin::kVendorName = "Lumenfold";

namespace {

typedef AEffect* (*EntryProc)(audioMasterCallback);

// The plug-in being created or running; the host callback has no other way
// to find it while the entry point runs (the record does not exist yet).
HostedPlugin* g_current = nullptr;

bool IsRegularFile(const std::string& path)
{
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

HostedPlugin* HostedPlugin::Load(const std::string& path, std::string* error)
{
  if (g_current) {
    *error = "a plug-in is already loaded";
    return nullptr;
  }
  if (!IsRegularFile(path)) {
    *error = "no plug-in file at " + path;
    return nullptr;
  }
  // dlopen searches the library path for a bare name; a file name given on
  // the command line always means that file.
  std::string openPath = path.find('/') == std::string::npos ? "./" + path : path;
  // The module stays mapped after dlclose, as hosts keep the plug-ins they
  // loaded: libraries it brings in (Cairo, Pango, fontconfig for an
  // editor) keep process-wide state that unmapping them would strand.
  void* library = dlopen(openPath.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!library) {
    const char* why = dlerror();
    *error = path + " is not a loadable shared object (" + (why ? why : "unknown reason") + ")";
    return nullptr;
  }
  EntryProc entry = reinterpret_cast<EntryProc>(dlsym(library, "VSTPluginMain"));
  if (!entry) entry = reinterpret_cast<EntryProc>(dlsym(library, "main"));
  if (!entry) {
    dlclose(library);
    *error = path + " is not a VST 2.4 plug-in (it exports neither VSTPluginMain nor main)";
    return nullptr;
  }

  HostedPlugin* plugin = new HostedPlugin();
  plugin->m_library = library;
  plugin->m_path = path;
  g_current = plugin;
  AEffect* effect = entry(&HostedPlugin::HostCallback);
  if (!effect) {
    delete plugin;
    *error = path + ": the plug-in refused to start (its entry point returned no record)";
    return nullptr;
  }
  if (effect->magic != kEffectMagic || !effect->dispatcher) {
    delete plugin;  // the record is not ours to close
    *error = path + " is not a VST 2.4 plug-in (its entry record lacks the 'VstP' magic)";
    return nullptr;
  }
  plugin->m_effect = effect;
  return plugin;
}

HostedPlugin::~HostedPlugin()
{
  if (m_effect) Dispatch(effClose);
  m_effect = nullptr;
  if (m_library) dlclose(m_library);
  if (g_current == this) g_current = nullptr;
}

VstIntPtr HostedPlugin::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
  return m_effect->dispatcher(m_effect, opcode, index, value, ptr, opt);
}

std::string HostedPlugin::GetText(VstInt32 opcode, VstInt32 index, int capacity)
{
  // Spare room behind the announced capacity catches plug-ins that write a
  // little past the published limits; the answer is cut at capacity anyway.
  std::vector<char> buffer(static_cast<size_t>(capacity) + 256, '\0');
  Dispatch(opcode, index, 0, buffer.data());
  buffer[static_cast<size_t>(capacity) - 1] = '\0';
  return std::string(buffer.data());
}

VstIntPtr HostedPlugin::HostCallback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                     float opt)
{
  if (opcode == audioMasterVersion) return kVstVersion;
  if (!g_current) return 0;
  return g_current->Answer(opcode, index, value, ptr, opt);
}

VstIntPtr HostedPlugin::Answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
  switch (opcode) {
    case audioMasterAutomate:
      if (m_listener) m_listener->OnAutomate(index, opt);
      return 0;
    case audioMasterSizeWindow:
      return m_listener && index > 0 && value > 0 && m_listener->OnSizeWindow(index, static_cast<int>(value));
    case audioMasterGetTime:
      m_timeInfo = VstTimeInfo();
      m_timeInfo.samplePos = m_samplePos;
      m_timeInfo.sampleRate = m_sampleRate;
      m_timeInfo.tempo = 120.0;
      m_timeInfo.ppqPos = m_samplePos / m_sampleRate * 2.0;
      m_timeInfo.timeSigNumerator = 4;
      m_timeInfo.timeSigDenominator = 4;
      m_timeInfo.flags = kVstTransportPlaying | kVstPpqPosValid | kVstTempoValid | kVstTimeSigValid;
      return reinterpret_cast<VstIntPtr>(&m_timeInfo);
    case audioMasterGetSampleRate:
      return static_cast<VstIntPtr>(m_sampleRate);
    case audioMasterGetBlockSize:
      return m_blockSize;
    case audioMasterGetCurrentProcessLevel:
      return m_processLevel;
    case audioMasterGetProductString:
      if (ptr) std::strncpy(static_cast<char*>(ptr), kProductName, kVstMaxProductStrLen - 1);
      return ptr ? 1 : 0;
    case audioMasterGetVendorString:
      if (ptr) std::strncpy(static_cast<char*>(ptr), kVendorName, kVstMaxVendorStrLen - 1);
      return ptr ? 1 : 0;
    case audioMasterGetVendorVersion:
      return kVendorVersion;
    case audioMasterCanDo:
      if (!ptr) return 0;
      if (std::strcmp(static_cast<const char*>(ptr), "sendVstTimeInfo") == 0) return 1;
      return m_listener && std::strcmp(static_cast<const char*>(ptr), "sizeWindow") == 0 ? 1 : 0;
    default:
      return 0;  // display updates, edit gestures, events and the rest need no answer
  }
}
