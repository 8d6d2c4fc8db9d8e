#include "tools/host/ParameterText.h"

#include <strings.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tools/host/HostedPlugin.h"

namespace {

// Buffers for the plug-in's texts: the published limits are 8 to 64
// characters, but plug-ins often write more; the host reads at most this.
const int kTextCapacity = 256;

std::string Trim(const std::string& s)
{
  const size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  const size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

// The whole text read as a number.
bool ParseNumber(const std::string& text, double* value)
{
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  *value = std::strtod(text.c_str(), &end);
  return errno == 0 && end && *end == '\0' && std::isfinite(*value);
}

bool ParseIndex(const std::string& text, int* index)
{
  if (text.empty() || text.size() > 9) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  *index = std::atoi(text.c_str());
  return true;
}

int DecimalsOf(const std::string& number)
{
  const size_t dot = number.find('.');
  if (dot == std::string::npos) return 0;
  size_t end = dot + 1;
  while (end < number.size() && number[end] >= '0' && number[end] <= '9') ++end;
  return static_cast<int>(end - dot - 1);
}

}  // namespace

std::string ParamName(HostedPlugin* plugin, int index)
{
  return plugin->GetText(effGetParamName, index, kTextCapacity);
}

std::string ParamDisplay(HostedPlugin* plugin, int index)
{
  return plugin->GetText(effGetParamDisplay, index, kTextCapacity);
}

std::string ParamLabel(HostedPlugin* plugin, int index)
{
  return plugin->GetText(effGetParamLabel, index, kTextCapacity);
}

int FindParameter(HostedPlugin* plugin, const std::string& name)
{
  const int count = plugin->Effect()->numParams;
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) names.push_back(Trim(ParamName(plugin, i)));
  for (int i = 0; i < count; ++i)
    if (names[i] == name) return i;
  for (int i = 0; i < count; ++i)
    if (strcasecmp(names[i].c_str(), name.c_str()) == 0) return i;
  int index;
  if (ParseIndex(name, &index) && index < count) return index;
  return -1;
}

bool ApplyAssignment(HostedPlugin* plugin, const std::string& assignment, std::string* error)
{
  const size_t eq = assignment.find('=');
  if (eq == std::string::npos || eq == 0) {
    *error = "--set needs NAME=VALUE, not '" + assignment + "'";
    return false;
  }
  const std::string name = Trim(assignment.substr(0, eq));
  const std::string text = Trim(assignment.substr(eq + 1));
  const int index = FindParameter(plugin, name);
  if (index < 0) {
    *error = "the plug-in has no parameter called '" + name + "' (see quarry-host info)";
    return false;
  }
  const std::string shownName = Trim(ParamName(plugin, index));
  if (text.empty()) {
    *error = "no value given for " + shownName;
    return false;
  }
  if (plugin->Dispatch(effString2Parameter, index, 0, nullptr) == 0) {
    *error = "the plug-in cannot set " + shownName + " from text";
    return false;
  }
  std::vector<char> buffer(text.begin(), text.end());
  buffer.resize(buffer.size() + kTextCapacity, '\0');  // room should the plug-in write back
  if (plugin->Dispatch(effString2Parameter, index, 0, buffer.data()) == 0) {
    *error = "'" + text + "' is not a value " + shownName + " takes";
    return false;
  }

  // The plug-in may quietly read text it does not understand as 0, or clamp
  // a number to its range: check what it now shows.
  const std::string shown = Trim(ParamDisplay(plugin, index));
  double typed, now;
  if (!ParseNumber(text, &typed)) {
    if (strcasecmp(shown.c_str(), text.c_str()) != 0) {
      *error = "'" + text + "' is not a value " + shownName + " takes (it now shows " + shown + ")";
      return false;
    }
    return true;
  }
  if (ParseNumber(shown, &now)) {
    const double tolerance = 0.5 * std::pow(10.0, -DecimalsOf(shown)) + 1e-9 * std::fabs(typed);
    if (std::fabs(now - typed) > tolerance) {
      *error = text + " is outside the range of " + shownName + " (it would be " + shown + ")";
      return false;
    }
  }
  return true;
}
