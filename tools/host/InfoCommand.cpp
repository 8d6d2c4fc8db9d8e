#include <cstdio>
#include <memory>

#include <CLI/CLI.hpp>

#include "tools/host/HostCommand.h"
#include "tools/host/HostedPlugin.h"
#include "tools/host/Messages.h"
#include "tools/host/ParameterText.h"
#include "tools/host/PluginLocation.h"
#include "tools/host/ProgramFiles.h"

namespace {

const char* CategoryName(VstIntPtr category)
{
  static const char* kNames[] = {"unknown",     "effect",          "instrument",  "analysis",
                                 "mastering",   "spatialiser",     "room effect", "surround effect",
                                 "restoration", "offline process", "shell",       "generator"};
  return category >= 0 && category < kPlugCategMaxCount ? kNames[category] : "unknown";
}

std::string FlagNames(VstInt32 flags)
{
  static const struct {
    VstInt32 flag;
    const char* name;
  } kFlags[] = {{effFlagsHasEditor, "editor"},
                {effFlagsCanMono, "mono"},
                {effFlagsCanReplacing, "replacing"},
                {effFlagsProgramChunks, "program-chunks"},
                {effFlagsIsSynth, "synth"},
                {effFlagsNoSoundInStop, "no-sound-in-stop"},
                {effFlagsCanDoubleReplacing, "double-replacing"}};
  std::string names;
  for (const auto& f : kFlags) {
    if (!(flags & f.flag)) continue;
    if (!names.empty()) names += ' ';
    names += f.name;
  }
  return names;
}

void PrintParameters(HostedPlugin* plugin)
{
  const int count = plugin->Effect()->numParams;
  std::printf("Parameters:   %d\n", count);
  if (count > 0) std::printf("  %5s  %-24s %-16s %-32s %s\n", "index", "name", "default", "range", "label");
  // A freshly loaded plug-in shows its defaults; the range is what it
  // shows at either end.
  for (int i = 0; i < count; ++i) {
    const std::string shown = ParamDisplay(plugin, i);
    const ParamRange range = GetParamRange(plugin, i);
    std::printf("  %5d  %-24s %-16s %-32s %s\n", i, ParamName(plugin, i).c_str(), shown.c_str(),
                (range.bottom + " .. " + range.top).c_str(), ParamLabel(plugin, i).c_str());
  }
}

int ShowInfo(const std::string& pluginPath)
{
  std::string error;
  std::unique_ptr<HostedPlugin> plugin(HostedPlugin::Load(pluginPath, &error));
  if (!plugin) {
    ReportFailure(error);
    return 1;
  }
  plugin->Dispatch(effOpen);
  AEffect* e = plugin->Effect();
  const int textCap = 256;
  std::printf("Plug-in:      %s\n", pluginPath.c_str());
  std::printf("Effect:       %s\n", plugin->GetText(effGetEffectName, 0, textCap).c_str());
  std::printf("Vendor:       %s\n", plugin->GetText(effGetVendorString, 0, textCap).c_str());
  std::printf("Product:      %s\n", plugin->GetText(effGetProductString, 0, textCap).c_str());
  std::printf("Unique ID:    %s (%d)\n", FourCCText(e->uniqueID).c_str(), e->uniqueID);
  // Plug-ins encode their versions in their own ways; shown as they come.
  std::printf("Version:      %d (vendor version %lld)\n", e->version,
              static_cast<long long>(plugin->Dispatch(effGetVendorVersion)));
  std::printf("VST version:  %lld\n", static_cast<long long>(plugin->Dispatch(effGetVstVersion)));
  const VstIntPtr category = plugin->Dispatch(effGetPlugCategory);
  std::printf("Category:     %s (%lld)\n", CategoryName(category), static_cast<long long>(category));
  std::printf("Flags:        0x%X (%s)\n", static_cast<unsigned>(e->flags), FlagNames(e->flags).c_str());
  std::printf("Inputs:       %d\n", e->numInputs);
  std::printf("Outputs:      %d\n", e->numOutputs);
  std::printf("Latency:      %d samples\n", e->initialDelay);
  std::printf("Tail:         %lld samples\n", static_cast<long long>(plugin->Dispatch(effGetTailSize)));
  std::printf("Programs:     %d (current %lld)\n", e->numPrograms,
              static_cast<long long>(plugin->Dispatch(effGetProgram)));
  for (int i = 0; i < e->numPrograms; ++i)
    std::printf("  %3d  %s\n", i, plugin->GetText(effGetProgramNameIndexed, i, textCap).c_str());
  PrintParameters(plugin.get());
  return 0;
}

class InfoCommand : public HostCommand {
public:
  const char* Name() const override { return "info"; }
  const char* Summary() const override
  {
    return "Show what a plug-in reports: identity, programs, parameters with defaults and ranges";
  }
  void AddOptions(CLI::App* command) override { AddPluginArgument(command, &mPlugin); }
  int Run() override { return ShowInfo(mPlugin.empty() ? DefaultPluginPath() : mPlugin); }

private:
  std::string mPlugin;
};

}  // namespace

std::unique_ptr<HostCommand> MakeInfoCommand() { return std::make_unique<InfoCommand>(); }
