#include "tools/host/EditorHost.h"

#include <CLI/CLI.hpp>

#include "tools/host/EditorWindow.h"
#include "tools/host/HostedPlugin.h"
#include "tools/host/Messages.h"
#include "tools/host/ParameterText.h"
#include "tools/host/PathParts.h"
#include "tools/host/PluginLocation.h"
#include "tools/host/ProgramFiles.h"

namespace {

const double kSampleRate = 44100.0;
const int kBlockSize = 512;

std::string EditorTitle(HostedPlugin* plugin)
{
  const std::string name = plugin->GetText(effGetEffectName, 0, kVstMaxEffectNameLen + 1);
  return name.empty() ? LeafOf(plugin->Path()) : name;
}

}  // namespace

void AddEditorHostOptions(CLI::App* c, EditorHostOptions* o)
{
  AddPluginArgument(c, &o->plugin);
  c->add_option("--set", o->assignments,
                "Set a parameter before the editor opens, by name or index, to a value in its own unit or "
                "to one of its display texts; repeatable")
      ->type_name("NAME=VALUE")
      ->allow_extra_args(false);
  c->add_option("--load-fxp", o->loadFxp, "Load a program file before the editor opens (before any --set)")
      ->type_name("F");
}

std::unique_ptr<HostedPlugin> StartPluginForEditor(EditorHostOptions* o, std::string* error)
{
  if (o->plugin.empty()) o->plugin = DefaultPluginPath();
  std::unique_ptr<HostedPlugin> plugin(HostedPlugin::Load(o->plugin, error));
  if (!plugin) return nullptr;
  if (!plugin->HasFlag(effFlagsHasEditor)) {
    *error = o->plugin + " has no editor";
    return nullptr;
  }
  // Editor calls come from a host's user-interface thread.
  plugin->SetProcessLevel(kVstProcessLevelUser);
  plugin->SetSampleRate(kSampleRate);
  plugin->SetBlockSize(kBlockSize);
  plugin->Dispatch(effOpen);
  plugin->Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(kSampleRate));
  plugin->Dispatch(effSetBlockSize, 0, kBlockSize);
  plugin->Dispatch(effMainsChanged, 0, 1);
  if (!o->loadFxp.empty() && !LoadProgramFile(plugin.get(), o->loadFxp, error)) return nullptr;
  for (const std::string& assignment : o->assignments)
    if (!ApplyAssignment(plugin.get(), assignment, error)) return nullptr;
  return plugin;
}

std::unique_ptr<EditorWindow> OpenEditorWindow(HostedPlugin* plugin, bool pinned, std::string* error)
{
  std::unique_ptr<EditorWindow> window = EditorWindow::Open(plugin, error);
  if (!window || !window->ShowEditor(EditorTitle(plugin), pinned, error)) return nullptr;
  return window;
}

int EditorCommandFailed(const std::string& message)
{
  ReportFailure(message);
  return 1;
}
