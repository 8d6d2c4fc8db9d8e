#pragma once
// Writing a file without ever leaving a half-written one in its place: the
// data goes to a temporary file beside the target, which replaces the target
// only by a rename once everything is written. Abandoned or interrupted
// writes remove the temporary file (also on SIGINT and SIGTERM). With
// no-clobber an existing target is never replaced: creating refuses it, and
// the final rename refuses one that appeared in the meantime.
//
// Threads: main thread only.

#include <string>

class SafeOutputFile {
public:
  explicit SafeOutputFile(const std::string& target, bool noClobber = false);
  ~SafeOutputFile();  // removes the temporary file unless committed
  SafeOutputFile(const SafeOutputFile&) = delete;
  SafeOutputFile& operator=(const SafeOutputFile&) = delete;

  // Creates the temporary file (empty) and returns its path; false with a
  // reason when the folder cannot take it.
  bool Create(std::string* error);
  const std::string& TempPath() const { return m_temp; }
  const std::string& Target() const { return m_target; }

  // Renames the temporary file onto the target (next to it, with
  // no-clobber, only while the target does not exist).
  bool Commit(std::string* error);

  // Writes bytes in one piece through a temporary file.
  static bool WriteWhole(const std::string& target, const void* data, size_t size, bool noClobber,
                         std::string* error);

  // The refusal no-clobber gives for an existing target, or "" when the
  // target may be written.
  static std::string ClobberRefusal(const std::string& target);

private:
  std::string m_target;
  std::string m_temp;
  bool m_noClobber;
  bool m_committed = false;
  int m_slot = -1;
};
