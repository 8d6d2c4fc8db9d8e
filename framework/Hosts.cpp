#include "framework/Hosts.h"

#include <sys/utsname.h>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "base/cstring.h"

namespace {

struct HostPattern {
  const char* text;
  EHost host;
};

// Tested in this order; the first match wins, so a name holding several
// known texts always maps to the same host.
const HostPattern kHostPatterns[] = {
    {"cubase", kHostCubase},
    {"reaper", kHostReaper},
    {"nuendo", kHostNuendo},
    {"cakewalk", kHostSonar},
    {"samplitude", kHostSamplitude},
    {"fruity", kHostFL},
    {"live", kHostAbletonLive},
    {"melodyne", kHostMelodyne},
    {"vstmanlib", kHostVSTScanner},
    {"aulab", kHostAULab},
    {"garageband", kHostGarageBand},
    {"forte", kHostForte},
    {"chainer", kHostChainer},
    {"audition", kHostAudition},
    {"orion", kHostOrion},
    {"sawstudio", kHostSAWStudio},
    {"logic", kHostLogic},
    {"digital", kHostDigitalPerformer},
    {"audiomulch", kHostAudioMulch},
    {"presonus", kHostStudioOne},
    {"vst3plugintesthost", kHostVST3TestHost},
    {"protools", kHostProTools},
    {"ardour", kHostArdour},
    {"openmpt", kHostOpenMPT},
    {"renoise", kHostRenoise},
    {"standalone", kHostStandalone},
};

// Display names indexed by host code; null where a code has no name.
const char* const kHostNames[] = {
    nullptr,               // 0 unknown
    "Reaper",              // 1
    "ProTools",            // 2
    "Cubase",              // 3
    "Nuendo",              // 4
    "Sonar",               // 5
    "Vegas",               // 6
    "FLStudio",            // 7
    "Samplitude",          // 8
    "Live",                // 9
    nullptr,               // 10
    nullptr,               // 11
    nullptr,               // 12 Melodyne
    "VSTScanner",          // 13
    "AULab",               // 14
    "Forte",               // 15
    "Chainer",             // 16
    "Audition",            // 17
    "Orion",               // 18
    nullptr,               // 19
    "SAWStudio",           // 20
    "Logic",               // 21
    "GarageBand",          // 22
    "DigitalPerformer",    // 23
    "Standalone",          // 24
    "AudioMulch",          // 25
    "StudioOne",           // 26
    "VST3PluginTestHost",  // 27
    "Ardour",              // 28
    "Renoise",             // 29
    "OpenMPT",             // 30
};

const char* const kAPINames[] = {"VST2", "VST3", "AU", "RTAS", "AAX", "Standalone"};

}  // namespace

EHost LookUpHost(const char* host)
{
  // The product name comes from the host; a name too long for the copy is
  // looked at only as far as the copy reaches.
  char cut[kHostNameLookupSize];
  BASE_CopyString(cut, host, sizeof(cut));
  char lower[kHostNameLookupSize];
  ToLower(lower, cut);
  for (const HostPattern& pattern : kHostPatterns) {
    if (std::strstr(lower, pattern.text)) return pattern.host;
  }
  return kHostUnknown;
}

void GetHostNameStr(EHost host, char* name)
{
  if (!name) return;
  const int code = static_cast<int>(host);
  const int count = static_cast<int>(sizeof(kHostNames) / sizeof(kHostNames[0]));
  const char* text = (code >= 0 && code < count) ? kHostNames[code] : nullptr;
  std::strcpy(name, text ? text : "Unknown");
}

void GetVersionParts(int version, int* major, int* minor, int* patch)
{
  if (major) *major = version / 65536;
  if (minor) *minor = (version >> 8) & 0xFF;
  if (patch) *patch = version & 0xFF;
}

int GetDecimalVersion(int version)
{
  int major, minor, patch;
  GetVersionParts(version, &major, &minor, &patch);
  return major * 10000 + minor * 100 + patch;
}

void GetVersionStr(int version, char* str)
{
  if (!str) return;
  int major, minor, patch;
  GetVersionParts(version, &major, &minor, &patch);
  std::snprintf(str, 20, "v%d.%d.%d", major, minor, patch);
}

int MakePackedVersion(int major, int minor, int patch)
{
  auto byte = [](int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); };
  const unsigned int packed = (static_cast<unsigned int>(major) << 16) |
                              (static_cast<unsigned int>(byte(minor)) << 8) |
                              static_cast<unsigned int>(byte(patch));
  return static_cast<int>(packed);
}

const char* GetAPINameStr(int api)
{
  const int count = static_cast<int>(sizeof(kAPINames) / sizeof(kAPINames[0]));
  return (api >= 0 && api < count) ? kAPINames[api] : "";
}

const char* GetArchNameStr() { return "x64"; }

int GetSystemVersion()
{
  struct utsname info;
  if (uname(&info) != 0) return 0;
  int major = 0, minor = 0, patch = 0;
  if (std::sscanf(info.release, "%d.%d.%d", &major, &minor, &patch) < 1) return 0;
  if (major < 0 || major > 0x7FFF) return 0;
  return MakePackedVersion(major, minor, patch);
}

bool IsWhitespace(char c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; }

void ToLower(char* dest, const char* src)
{
  if (!dest) return;
  int i = 0;
  if (src) {
    for (; src[i]; ++i) dest[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(src[i])));
  }
  dest[i] = '\0';
}
