#include "tools/host/SafeOutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tools/host/PathParts.h"

namespace {

// Temporary files in flight, for the signal handler, which may only use
// async-signal-safe calls (unlink on a fixed array).
const int kMaxPending = 8;
char g_pending[kMaxPending][4096];
volatile sig_atomic_t g_used[kMaxPending];

void RemovePendingAndDie(int sig)
{
  for (int i = 0; i < kMaxPending; ++i)
    if (g_used[i]) unlink(g_pending[i]);
  signal(sig, SIG_DFL);
  raise(sig);
}

void InstallHandlersOnce()
{
  static bool installed = false;
  if (installed) return;
  installed = true;
  signal(SIGINT, RemovePendingAndDie);
  signal(SIGTERM, RemovePendingAndDie);
  signal(SIGHUP, RemovePendingAndDie);
}

int Register(const std::string& path)
{
  if (path.size() >= sizeof(g_pending[0])) return -1;
  for (int i = 0; i < kMaxPending; ++i) {
    if (!g_used[i]) {
      std::memcpy(g_pending[i], path.c_str(), path.size() + 1);
      g_used[i] = 1;
      return i;
    }
  }
  return -1;
}

// rename that fails with EEXIST instead of replacing an existing target.
int RenameNoReplace(const char* from, const char* to)
{
  if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return -1;
  // File systems without the flag: a hard link never replaces either.
  if (link(from, to) != 0) return -1;
  unlink(from);
  return 0;
}

}  // namespace

SafeOutputFile::SafeOutputFile(const std::string& target, bool noClobber)
    : m_target(target), m_noClobber(noClobber)
{
}

SafeOutputFile::~SafeOutputFile()
{
  if (!m_temp.empty() && !m_committed) unlink(m_temp.c_str());
  if (m_slot >= 0) g_used[m_slot] = 0;
}

bool SafeOutputFile::Create(std::string* error)
{
  InstallHandlersOnce();
  if (m_target.empty() || m_target.back() == '/') {
    *error = "no output file name given";
    return false;
  }
  if (m_noClobber) {
    *error = ClobberRefusal(m_target);
    if (!error->empty()) return false;
  }
  // Hidden and beside the target, so the final rename stays on one file
  // system and a crash leaves nothing that looks like a result.
  std::string pattern = FolderOf(m_target) + "/." + LeafOf(m_target) + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) {
    *error = "cannot write in the folder of " + m_target + ": " + std::strerror(errno);
    return false;
  }
  close(fd);
  m_temp = name.data();
  m_slot = Register(m_temp);
  return true;
}

bool SafeOutputFile::Commit(std::string* error)
{
  // mkstemp makes the file private; give it the permissions a plainly
  // created file would have.
  const mode_t mask = umask(0);
  umask(mask);
  chmod(m_temp.c_str(), 0666 & ~mask);
  const int renamed = m_noClobber ? RenameNoReplace(m_temp.c_str(), m_target.c_str())
                                  : rename(m_temp.c_str(), m_target.c_str());
  if (renamed != 0) {
    *error = m_noClobber && errno == EEXIST ? ClobberRefusal(m_target)
                                            : "cannot replace " + m_target + ": " + std::strerror(errno);
    return false;
  }
  m_committed = true;
  if (m_slot >= 0) g_used[m_slot] = 0;
  m_slot = -1;
  return true;
}

std::string SafeOutputFile::ClobberRefusal(const std::string& target)
{
  struct stat st;
  if (lstat(target.c_str(), &st) != 0) return "";
  return target + " exists; -n/--no-clobber keeps it";
}

bool SafeOutputFile::WriteWhole(const std::string& target, const void* data, size_t size, bool noClobber,
                                std::string* error)
{
  SafeOutputFile out(target, noClobber);
  if (!out.Create(error)) return false;
  FILE* f = std::fopen(out.TempPath().c_str(), "wb");
  if (!f) {
    *error = "cannot write " + target + ": " + std::strerror(errno);
    return false;
  }
  const bool written = size == 0 || std::fwrite(data, 1, size, f) == size;
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) {
    *error = "cannot write " + target + " (disk full?)";
    return false;
  }
  return out.Commit(error);
}
