#pragma once
// Setting a plug-in's parameters the way a user types them: "--set
// NAME=VALUE" names a parameter by its name (or index) and gives a plain
// value in the parameter's own unit or one of its display texts; the
// plug-in converts it (effString2Parameter), and the host reads back what
// the plug-in shows to catch a value it could not take.
//
// Threads: main thread, outside processing.

#include <string>

class HostedPlugin;

// The index of the parameter called name: an exact match first, then one
// that ignores case, then a plain index number; -1 when none fits.
int FindParameter(HostedPlugin* plugin, const std::string& name);

// Applies one "NAME=VALUE" assignment; false with a one-line reason.
bool ApplyAssignment(HostedPlugin* plugin, const std::string& assignment, std::string* error);

// What the host shows for a parameter: name, display text and label.
std::string ParamName(HostedPlugin* plugin, int index);
std::string ParamDisplay(HostedPlugin* plugin, int index);
std::string ParamLabel(HostedPlugin* plugin, int index);
