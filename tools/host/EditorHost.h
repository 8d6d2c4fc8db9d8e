#pragma once
// What the editor commands ("edit", "snapshot") share: the plug-in and the
// settings it starts with, loaded and set up as a host does before it
// shows a plug-in's editor (opened, told the sample rate and block size,
// resumed, then the program file and the --set assignments applied).
//
// Threads: main thread only.

#include <memory>
#include <string>
#include <vector>

class EditorWindow;
class HostedPlugin;
namespace CLI {
class App;
}

struct EditorHostOptions {
  std::string plugin;                    // empty: the default Quarry.so
  std::vector<std::string> assignments;  // NAME=VALUE, in the order given
  std::string loadFxp;
};

// PLUGIN, --set and --load-fxp on the command's line.
void AddEditorHostOptions(CLI::App* command, EditorHostOptions* options);

// The plug-in ready for its editor; null with a one-line reason (also when
// it has no editor).
std::unique_ptr<HostedPlugin> StartPluginForEditor(EditorHostOptions* options, std::string* error);

// The plug-in's editor open in a window of its own on the X display, titled
// with the plug-in's name (or its file's); pinned as EditorWindow says.
// Null with a one-line reason.
std::unique_ptr<EditorWindow> OpenEditorWindow(HostedPlugin* plugin, bool pinned, std::string* error);

// Reports the failure on stderr and returns the exit status for it.
int EditorCommandFailed(const std::string& message);
