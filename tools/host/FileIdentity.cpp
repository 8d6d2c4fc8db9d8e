#include "tools/host/FileIdentity.h"

#include <sys/stat.h>

#include <climits>
#include <cstdlib>

namespace {

// The absolute path of a file that may not exist yet: its folder resolved,
// its own name kept.
std::string Resolved(const std::string& path)
{
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  char real[PATH_MAX];
  if (!realpath(folder.c_str(), real)) return path;
  return std::string(real) + "/" + name;
}

}  // namespace

bool NameSameFile(const std::string& a, const std::string& b)
{
  struct stat sa, sb;
  if (stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0)
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  return Resolved(a) == Resolved(b);
}
