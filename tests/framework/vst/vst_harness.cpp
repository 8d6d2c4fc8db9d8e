#include "tests/framework/vst/vst_harness.h"

#include <dlfcn.h>

#include <cstring>
#include <mutex>

namespace {
std::mutex g_callsMutex;  // the plug-in may call from several test threads
}

RecordingHost& RecordingHost::Get()
{
  static RecordingHost host;
  return host;
}

void RecordingHost::Reset()
{
  std::lock_guard<std::mutex> lock(g_callsMutex);
  calls.clear();
  script = HostScript();
}

std::vector<HostCall> RecordingHost::Calls(VstInt32 opcode) const
{
  std::lock_guard<std::mutex> lock(g_callsMutex);
  std::vector<HostCall> found;
  for (const HostCall& c : calls)
    if (c.opcode == opcode) found.push_back(c);
  return found;
}

VstIntPtr RecordingHost::Callback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt)
{
  RecordingHost& host = Get();
  std::lock_guard<std::mutex> lock(g_callsMutex);
  HostCall call;
  call.opcode = opcode;
  call.index = index;
  call.value = value;
  call.opt = opt;
  switch (opcode) {
    case audioMasterVersion:
      host.calls.push_back(call);
      return kVstVersion;
    case audioMasterGetProductString:
      host.calls.push_back(call);
      if (ptr && !host.script.productString.empty())
        std::strcpy(static_cast<char*>(ptr), host.script.productString.c_str());
      return host.script.productString.empty() ? 0 : 1;
    case audioMasterGetVendorVersion:
      host.calls.push_back(call);
      return host.script.vendorVersion;
    case audioMasterGetCurrentProcessLevel:
      host.calls.push_back(call);
      return host.script.processLevel;
    case audioMasterGetTime:
      host.calls.push_back(call);
      return host.script.answerTime ? reinterpret_cast<VstIntPtr>(&host.script.timeInfo) : 0;
    case audioMasterProcessEvents: {
      const VstEvents* events = static_cast<const VstEvents*>(ptr);
      if (events) {
        call.numEvents = events->numEvents;
        for (int i = 0; i < events->numEvents; ++i) {
          const VstEvent* ev = events->events[i];
          if (ev->type == kVstMidiType) call.midi.push_back(*reinterpret_cast<const VstMidiEvent*>(ev));
          if (ev->type == kVstSysExType) {
            const VstMidiSysexEvent* s = reinterpret_cast<const VstMidiSysexEvent*>(ev);
            call.sysex.emplace_back(s->sysexDump, s->sysexDump + s->dumpBytes);
          }
        }
      }
      host.calls.push_back(call);
      return host.script.processEventsAnswer;
    }
    default:
      host.calls.push_back(call);
      return 0;
  }
}

PluginModule::PluginModule(const std::string& path)
{
  // Kept loaded until the process ends, as hosts keep the plug-ins they
  // scanned: libraries a module brings in (Cairo, pixman) keep state for
  // the life of the process, which unloading them would strand.
  m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!m_handle) {
    const char* e = dlerror();
    m_error = e ? e : "dlopen failed";
  }
}

PluginModule::~PluginModule()
{
  if (m_handle) dlclose(m_handle);
}

void* PluginModule::Symbol(const char* name) const { return m_handle ? dlsym(m_handle, name) : nullptr; }

AEffect* PluginModule::Instantiate(audioMasterCallback callback) const
{
  typedef AEffect* (*Entry)(audioMasterCallback);
  Entry entry = reinterpret_cast<Entry>(Symbol("VSTPluginMain"));
  return entry ? entry(callback) : nullptr;
}

VstIntPtr Dispatch(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
  return e->dispatcher(e, opcode, index, value, ptr, opt);
}

std::string DispatchText(AEffect* e, VstInt32 opcode, VstInt32 index)
{
  char buffer[1024];
  std::memset(buffer, 0x7F, sizeof buffer);  // shows how far the plug-in wrote
  buffer[sizeof buffer - 1] = '\0';
  Dispatch(e, opcode, index, 0, buffer);
  return std::string(buffer);
}

std::vector<unsigned char> GetChunk(AEffect* e, bool program)
{
  void* data = nullptr;
  const VstIntPtr size = Dispatch(e, effGetChunk, program ? 1 : 0, 0, &data);
  if (size <= 0 || !data) return {};
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  return std::vector<unsigned char>(bytes, bytes + size);
}

void Close(AEffect* e)
{
  if (e) Dispatch(e, effClose);
}
