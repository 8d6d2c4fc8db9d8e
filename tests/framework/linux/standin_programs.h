#pragma once
// Stand-ins for the desktop's helper programs (zenity, kdialog, xdg-open):
// small shell scripts in a scratch folder that becomes the whole PATH.
// Each records the arguments it was given, one per NUL-terminated entry,
// prints a chosen answer and exits with a chosen status.

#include <string>
#include <vector>

class StandInPrograms {
public:
  StandInPrograms();   // a scratch folder, made the only entry of PATH
  ~StandInPrograms();  // PATH restored, folder removed

  // Installs program name: it prints output and exits with status.
  void Add(const std::string& name, int status, const std::string& output = "");
  // The arguments of the last run of name (without the program name);
  // empty when it never ran.
  std::vector<std::string> Args(const std::string& name) const;
  bool Ran(const std::string& name) const;
  // Waits up to timeoutMs for a program started without waiting to record.
  bool WaitForRun(const std::string& name, int timeoutMs) const;
  const std::string& Folder() const { return m_dir; }

private:
  std::string m_dir;
  std::string m_oldPath;
  bool m_hadPath = false;
};
