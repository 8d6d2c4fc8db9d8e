#pragma once
// Setting a plug-in's parameters the way a user types them: "--set
// NAME=VALUE" names a parameter by its name (or index) and gives a plain
// value in the parameter's own unit, with or without that unit after the
// number ("-12", "-12 dB", "-12dB"), or one of its display texts; the
// plug-in converts it (effString2Parameter), and the host reads back what
// the plug-in shows to catch a value it could not take. A value that is
// refused leaves the parameter as it was.
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

// What the parameter shows at the bottom and the top of its range, found by
// moving it there and back (so it ends within float precision of where it
// was). Use before processing starts.
struct ParamRange {
  std::string bottom;
  std::string top;
};
ParamRange GetParamRange(HostedPlugin* plugin, int index);
