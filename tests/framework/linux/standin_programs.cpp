#include "tests/framework/linux/standin_programs.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

// Single-quoted for sh: every ' becomes '\''.
std::string ShellQuote(const std::string& s)
{
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

}  // namespace

StandInPrograms::StandInPrograms()
{
  char dir[] = "/tmp/quarry-standin-XXXXXX";
  m_dir = mkdtemp(dir) ? dir : "";
  const char* path = std::getenv("PATH");
  m_hadPath = path != nullptr;
  m_oldPath = path ? path : "";
  setenv("PATH", m_dir.c_str(), 1);
}

StandInPrograms::~StandInPrograms()
{
  if (m_hadPath) setenv("PATH", m_oldPath.c_str(), 1);
  else unsetenv("PATH");
  if (!m_dir.empty()) std::system(("/bin/rm -rf " + ShellQuote(m_dir)).c_str());
}

void StandInPrograms::Add(const std::string& name, int status, const std::string& output)
{
  const std::string file = m_dir + "/" + name;
  const std::string record = file + ".args";
  std::ofstream out(file);
  // The record is written to a temporary name and moved into place, so a
  // reader never sees half of it.
  out << "#!/bin/sh\n"
      << "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > " << ShellQuote(record + ".tmp") << "\n"
      << "/bin/ls /proc/$$/fd > " << ShellQuote(file + ".fds") << "\n"
      << "/bin/mv " << ShellQuote(record + ".tmp") << " " << ShellQuote(record) << "\n"
      << "printf '%s' " << ShellQuote(output) << "\n"
      << "exit " << status << "\n";
  out.close();
  chmod(file.c_str(), 0755);
  unlink(record.c_str());
}

std::vector<std::string> StandInPrograms::Args(const std::string& name) const
{
  std::ifstream in(m_dir + "/" + name + ".args", std::ios::binary);
  const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> args;
  size_t start = 0;
  for (size_t i = 0; i < all.size(); ++i)
    if (all[i] == '\0') {
      args.push_back(all.substr(start, i - start));
      start = i + 1;
    }
  return args;
}

bool StandInPrograms::Ran(const std::string& name) const
{
  return access((m_dir + "/" + name + ".args").c_str(), F_OK) == 0;
}

bool StandInPrograms::WaitForRun(const std::string& name, int timeoutMs) const
{
  for (int waited = 0; waited < timeoutMs; waited += 10) {
    if (Ran(name)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return Ran(name);
}
