#include "framework/linux/LinuxProcess.h"

#include <errno.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/mutex.h"

extern char** environ;

namespace {

// Programs started without waiting, whose exit is still to be collected.
const int kMaxStarted = 32;
BASE_Mutex s_startedLock;
pid_t s_started[kMaxStarted];
int s_startedCount = 0;

// The child's descriptors: stdin and stderr on /dev/null, stdout on
// outFd when given (else /dev/null), nothing else inherited.
bool SetUpChildFiles(posix_spawn_file_actions_t* actions, int outFd)
{
  if (posix_spawn_file_actions_init(actions)) return false;
  bool ok = !posix_spawn_file_actions_addopen(actions, 0, "/dev/null", O_RDONLY, 0) &&
            !posix_spawn_file_actions_addopen(actions, 2, "/dev/null", O_WRONLY, 0);
  if (outFd >= 0) ok = ok && !posix_spawn_file_actions_adddup2(actions, outFd, 1);
  else ok = ok && !posix_spawn_file_actions_addopen(actions, 1, "/dev/null", O_WRONLY, 0);
  ok = ok && !posix_spawn_file_actions_addclosefrom_np(actions, 3);
  if (!ok) posix_spawn_file_actions_destroy(actions);
  return ok;
}

bool Spawn(const char* const* argv, int outFd, bool ownSession, pid_t* pid)
{
  if (!argv || !argv[0] || !argv[0][0]) return false;
  posix_spawn_file_actions_t actions;
  if (!SetUpChildFiles(&actions, outFd)) return false;
  posix_spawnattr_t attr;
  if (posix_spawnattr_init(&attr)) {
    posix_spawn_file_actions_destroy(&actions);
    return false;
  }
  // The child starts with default signal handling whatever the host set,
  // and, when detached, in a session of its own.
  sigset_t all, none;
  sigfillset(&all);
  sigemptyset(&none);
  short flags = POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK;
  if (ownSession) flags |= POSIX_SPAWN_SETSID;
  posix_spawnattr_setsigdefault(&attr, &all);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setflags(&attr, flags);
  const int err = posix_spawnp(pid, argv[0], &actions, &attr, const_cast<char* const*>(argv), environ);
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
  return err == 0;
}

// Reads the pipe to its end, keeping at most the output limit.
void ReadAll(int fd, BASE_String* output)
{
  char buf[4096];
  for (;;) {
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    const int room = kLinuxMaxProgramOutput - output->GetLength();
    if (room > 0) output->Append(buf, n < room ? (int)n : room);
  }
}

int WaitExit(pid_t pid)
{
  int status = 0;
  pid_t r;
  do r = waitpid(pid, &status, 0);
  while (r < 0 && errno == EINTR);
  if (r != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace

bool LinuxRunProgram(const char* const* argv, LinuxProgramResult* result)
{
  int fds[2];
  if (pipe2(fds, O_CLOEXEC)) return false;
  pid_t pid = 0;
  const bool started = Spawn(argv, fds[1], false, &pid);
  close(fds[1]);
  if (!started) {
    close(fds[0]);
    return false;
  }
  LinuxProgramResult local;
  LinuxProgramResult* r = result ? result : &local;
  r->output.Set("");
  ReadAll(fds[0], &r->output);
  close(fds[0]);
  r->exitCode = WaitExit(pid);
  return true;
}

void LinuxReapPrograms()
{
  BASE_MutexLock lock(s_startedLock);
  int kept = 0;
  for (int i = 0; i < s_startedCount; ++i) {
    int status;
    const pid_t r = waitpid(s_started[i], &status, WNOHANG);
    // 0: still running. Anything else (ended, or collected by the host)
    // frees the slot.
    if (r == 0) s_started[kept++] = s_started[i];
  }
  s_startedCount = kept;
}

bool LinuxStartProgram(const char* const* argv)
{
  LinuxReapPrograms();
  pid_t pid = 0;
  if (!Spawn(argv, -1, true, &pid)) return false;
  BASE_MutexLock lock(s_startedLock);
  if (s_startedCount < kMaxStarted) s_started[s_startedCount++] = pid;
  return true;
}
