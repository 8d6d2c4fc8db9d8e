#include "tools/host/PluginLocation.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include <CLI/CLI.hpp>

#include "tools/host/PathParts.h"

namespace {

const char* kPluginFile = "Quarry.so";

std::string ExecutableFolder()
{
  char exe[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n <= 0) return ".";
  exe[n] = '\0';
  return FolderOf(exe);
}

bool IsFile(const std::string& path)
{
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

std::string DefaultPluginPath()
{
  const std::string folder = ExecutableFolder();
  const std::string beside = folder + "/" + kPluginFile;
  const char* home = std::getenv("HOME");
  const std::string candidates[] = {beside, folder + "/../lib/vst/" + kPluginFile,
                                    home && *home ? std::string(home) + "/.vst/" + kPluginFile : beside};
  for (const std::string& path : candidates)
    if (IsFile(path)) return path;
  return beside;
}

void AddPluginArgument(CLI::App* command, std::string* plugin)
{
  command->add_option("PLUGIN", *plugin, "The plug-in (.so) to load; default: Quarry.so")->type_name("");
}
