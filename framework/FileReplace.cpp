#include "framework/FileReplace.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string>

namespace {

bool WriteAll(int fd, const void* data, size_t size)
{
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = write(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// The old way, for targets no sibling can replace.
bool WriteInPlace(const std::string& path, const void* data, size_t size)
{
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, data, size);
  return close(fd) == 0 && written;
}

// The file a path names: a symbolic link is followed to its target.
std::string FileNamedBy(const char* path)
{
  struct stat st;
  char resolved[PATH_MAX];
  if (lstat(path, &st) == 0 && S_ISLNK(st.st_mode) && realpath(path, resolved)) return resolved;
  return path;
}

// A hidden name beside target that this call alone will use.
std::string SiblingName(const std::string& target)
{
  static std::atomic<unsigned> counter{0};
  const size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  return folder + "." + name + "." + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".tmp";
}

}  // namespace

bool ReplaceFileWhole(const char* path, const void* data, size_t size)
{
  if (!path || !*path || (size > 0 && !data)) return false;
  const std::string target = FileNamedBy(path);
  struct stat old;
  const bool existed = stat(target.c_str(), &old) == 0;
  // Devices, pipes and the like are written as they are.
  if (existed && !S_ISREG(old.st_mode)) return WriteInPlace(target, data, size);

  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::string temp = SiblingName(target);
    // 0666 under the process's umask, as a plainly created file gets.
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      if (existed && (errno == EACCES || errno == EPERM || errno == EROFS)) {
        return WriteInPlace(target, data, size);
      }
      return false;
    }
    if (existed) fchmod(fd, old.st_mode & 07777);
    bool ok = WriteAll(fd, data, size) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (ok && rename(temp.c_str(), target.c_str()) == 0) return true;
    unlink(temp.c_str());
    return false;
  }
  return false;
}
