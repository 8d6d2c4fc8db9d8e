#pragma once
// Where quarry-host finds the plug-in when the command line names none:
// beside the executable (the build tree), then where an install put it
// (lib/vst under the executable's prefix, then ~/.vst).
//
// Threads: main thread only.

#include <string>

namespace CLI {
class App;
}

// The first of those places that holds a Quarry.so; the one beside the
// executable when none does, so that the failure names a sensible path.
std::string DefaultPluginPath();

// Declares a command's optional PLUGIN argument; plugin stays empty when
// the line names none.
void AddPluginArgument(CLI::App* command, std::string* plugin);
