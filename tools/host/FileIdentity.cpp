#include "tools/host/FileIdentity.h"

#include <sys/stat.h>

#include <climits>
#include <cstdlib>

#include "tools/host/PathParts.h"

namespace {

// The absolute path of a file that may not exist yet: its folder resolved,
// its own name kept.
std::string Resolved(const std::string& path)
{
  char real[PATH_MAX];
  if (!realpath(FolderOf(path).c_str(), real)) return path;
  return std::string(real) + "/" + LeafOf(path);
}

}  // namespace

bool NameSameFile(const std::string& a, const std::string& b)
{
  struct stat sa, sb;
  if (stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0)
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  return Resolved(a) == Resolved(b);
}
