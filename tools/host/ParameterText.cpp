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

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
  return strcasecmp(a.c_str(), b.c_str()) == 0;
}

// A number at the start of text; unit gets what follows it, trimmed.
bool SplitNumber(const std::string& text, double* value, std::string* number, std::string* unit)
{
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  *value = std::strtod(text.c_str(), &end);
  if (errno != 0 || end == text.c_str() || !std::isfinite(*value)) return false;
  const size_t used = static_cast<size_t>(end - text.c_str());
  *number = text.substr(0, used);
  *unit = Trim(text.substr(used));
  return true;
}

// The whole text read as a number.
bool ParseNumber(const std::string& text, double* value)
{
  std::string number, unit;
  return SplitNumber(text, value, &number, &unit) && unit.empty();
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

// Hands text to the plug-in; false when it refuses it outright.
bool SendText(HostedPlugin* plugin, int index, const std::string& text)
{
  std::vector<char> buffer(text.begin(), text.end());
  buffer.resize(buffer.size() + kTextCapacity, '\0');  // room should the plug-in write back
  return plugin->Dispatch(effString2Parameter, index, 0, buffer.data()) != 0;
}

float GetNormalized(HostedPlugin* plugin, int index)
{
  AEffect* e = plugin->Effect();
  return e->getParameter(e, index);
}

void SetNormalized(HostedPlugin* plugin, int index, float value)
{
  AEffect* e = plugin->Effect();
  e->setParameter(e, index, value);
}

// What a parameter takes, for messages: "a number from -60.0 to 12.0 dB"
// or "Soft to Fold".
std::string Takes(HostedPlugin* plugin, int index)
{
  const ParamRange range = GetParamRange(plugin, index);
  const std::string label = Trim(ParamLabel(plugin, index));
  double bottom, top;
  if (ParseNumber(range.bottom, &bottom) && ParseNumber(range.top, &top)) {
    const bool rising = bottom <= top;
    return "a number from " + (rising ? range.bottom : range.top) + " to " +
           (rising ? range.top : range.bottom) + (label.empty() ? "" : " " + label);
  }
  return "values from " + range.bottom + " to " + range.top;
}

// One assignment, with the parameter already found.
class Assignment {
public:
  Assignment(HostedPlugin* plugin, int index, const std::string& text)
      : mPlugin(plugin), mIndex(index), mText(text), mName(Trim(ParamName(plugin, index))),
        mLabel(Trim(ParamLabel(plugin, index))), mBefore(GetNormalized(plugin, index))
  {
  }

  bool Apply(std::string* error)
  {
    double typed;
    std::string number, unit;
    const bool numeric = SplitNumber(mText, &typed, &number, &unit);
    if (numeric && (unit.empty() || (!mLabel.empty() && SameIgnoringCase(unit, mLabel))))
      return ApplyNumber(typed, number, error);
    // Display texts may start with a digit ("1/4 note"): try the text whole
    // before calling what follows the number a wrong unit.
    if (SendText(mPlugin, mIndex, mText) && SameIgnoringCase(Shown(), mText)) return true;
    Restore();
    if (numeric && mLabel.empty())
      return Refuse(mName + " shows no unit: give the number alone, as in " + mName + "=" + number, error);
    if (numeric)
      return Refuse(
          mName + " is set in " + mLabel + ", not " + unit + ", as in " + mName + "=" + number + " " + mLabel,
          error);
    return Refuse("'" + mText + "' is not a value " + mName + " takes; it takes " + Takes(mPlugin, mIndex),
                  error);
  }

private:
  bool ApplyNumber(double typed, const std::string& number, std::string* error)
  {
    if (!SendText(mPlugin, mIndex, number)) {
      Restore();
      return Refuse("'" + mText + "' is not a value " + mName + " takes; it takes " + Takes(mPlugin, mIndex),
                    error);
    }
    // The plug-in clamps a number to its range: check what it now shows.
    double now;
    const std::string shown = Shown();
    if (!ParseNumber(shown, &now)) return true;  // a number chose a display text
    const double tolerance = 0.5 * std::pow(10.0, -DecimalsOf(shown)) + 1e-9 * std::fabs(typed);
    if (std::fabs(now - typed) <= tolerance) return true;
    Restore();
    return Refuse(mText + " is outside the range of " + mName + ", which takes " + Takes(mPlugin, mIndex),
                  error);
  }

  std::string Shown() const { return Trim(ParamDisplay(mPlugin, mIndex)); }
  void Restore() { SetNormalized(mPlugin, mIndex, mBefore); }
  static bool Refuse(const std::string& message, std::string* error)
  {
    *error = message;
    return false;
  }

  HostedPlugin* mPlugin;
  int mIndex;
  std::string mText;
  std::string mName;
  std::string mLabel;
  float mBefore;
};

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

ParamRange GetParamRange(HostedPlugin* plugin, int index)
{
  const float before = GetNormalized(plugin, index);
  ParamRange range;
  SetNormalized(plugin, index, 0.0f);
  range.bottom = Trim(ParamDisplay(plugin, index));
  SetNormalized(plugin, index, 1.0f);
  range.top = Trim(ParamDisplay(plugin, index));
  SetNormalized(plugin, index, before);
  return range;
}

int FindParameter(HostedPlugin* plugin, const std::string& name)
{
  const int count = plugin->Effect()->numParams;
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) names.push_back(Trim(ParamName(plugin, i)));
  for (int i = 0; i < count; ++i)
    if (names[i] == name) return i;
  for (int i = 0; i < count; ++i)
    if (SameIgnoringCase(names[i], name)) return i;
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
  return Assignment(plugin, index, text).Apply(error);
}
