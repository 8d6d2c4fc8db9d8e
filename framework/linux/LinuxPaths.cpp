#include "framework/linux/LinuxPaths.h"

#include <dlfcn.h>
#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// dladdr on an address inside this module names the module's file.
const char* ModuleFile()
{
  Dl_info info;
  if (!dladdr(reinterpret_cast<void*>(&LinuxPluginPath), &info) || !info.dli_fname || !*info.dli_fname)
    return nullptr;
  return info.dli_fname;
}

std::string Home()
{
  const char* home = std::getenv("HOME");
  if (home && *home) return home;
  struct passwd pw, *found = nullptr;
  char buf[4096];
  if (getpwuid_r(getuid(), &pw, buf, sizeof buf, &found) == 0 && found && found->pw_dir && *found->pw_dir)
    return found->pw_dir;
  return "/";
}

std::string ConfigHome()
{
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  // Only absolute paths count, as the XDG rules say for every variable.
  if (xdg && xdg[0] == '/') return xdg;
  return Home() + "/.config";
}

// The value of XDG_DESKTOP_DIR in a user-dirs.dirs file: a double-quoted
// path that is absolute or starts with $HOME. Empty when absent.
std::string DesktopFromUserDirs(const std::string& file)
{
  FILE* f = std::fopen(file.c_str(), "r");
  if (!f) return "";
  std::string result;
  char line[4096];
  while (std::fgets(line, sizeof line, f)) {
    const char* p = line;
    while (*p == ' ' || *p == '\t') ++p;
    const char key[] = "XDG_DESKTOP_DIR=\"";
    if (std::strncmp(p, key, sizeof key - 1)) continue;
    p += sizeof key - 1;
    std::string value;
    for (; *p && *p != '"'; ++p) {
      if (*p == '\\' && p[1]) ++p;
      value += *p;
    }
    if (*p != '"') continue;
    if (value.compare(0, 5, "$HOME") == 0 && (value.size() == 5 || value[5] == '/'))
      result = Home() + value.substr(5);
    else if (!value.empty() && value[0] == '/') result = value;
  }
  std::fclose(f);
  return result;
}

}  // namespace

void LinuxPluginPath(BASE_String* path)
{
  const char* file = ModuleFile();
  if (!file) return;
  const char* slash = std::strrchr(file, '/');
  if (!slash) {
    // A module loaded by a bare name lives in the working folder.
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd)) return;
    path->Set(cwd);
    path->Append("/");
    return;
  }
  path->Set(file, (int)(slash - file) + 1);
}

void LinuxHostPath(BASE_String* path)
{
  const char* file = ModuleFile();
  if (file) path->Set(file);
}

void LinuxDesktopPath(BASE_String* path)
{
  std::string desktop = DesktopFromUserDirs(ConfigHome() + "/user-dirs.dirs");
  if (desktop.empty()) desktop = Home() + "/Desktop";
  path->Set(desktop.c_str());
}

void LinuxAppSupportPath(BASE_String* path, bool isSystem)
{
  path->Set(isSystem ? "/etc/xdg" : ConfigHome().c_str());
}

void LinuxSandboxSafeAppSupportPath(BASE_String* path) { path->Set((Home() + "/Music").c_str()); }

void LinuxHomePath(BASE_String* path) { path->Set(Home().c_str()); }

int LinuxPackVersion(const char* release)
{
  const long limits[3] = {0xFFFF, 0xFF, 0xFF};
  long parts[3] = {0, 0, 0};
  const char* p = release ? release : "";
  for (int i = 0; i < 3 && std::isdigit((unsigned char)*p); ++i) {
    long v = 0;
    for (; std::isdigit((unsigned char)*p); ++p) v = v < limits[i] ? v * 10 + (*p - '0') : v;
    parts[i] = v < limits[i] ? v : limits[i];
    if (*p != '.') break;
    ++p;
  }
  return (int)((parts[0] << 16) | (parts[1] << 8) | parts[2]);
}

int LinuxUserOSVersion()
{
  struct utsname u;
  if (uname(&u) != 0) return 0;
  return LinuxPackVersion(u.release);
}
