#pragma once
// Writing a file without ever leaving a half-written one in its place: the
// data goes to a temporary file beside the target, which replaces the target
// only by a rename once everything is written. Abandoned or interrupted
// writes remove the temporary file (also on SIGINT and SIGTERM).
//
// Threads: main thread only.

#include <string>

class SafeOutputFile {
public:
  explicit SafeOutputFile(const std::string& target);
  ~SafeOutputFile();  // removes the temporary file unless committed
  SafeOutputFile(const SafeOutputFile&) = delete;
  SafeOutputFile& operator=(const SafeOutputFile&) = delete;

  // Creates the temporary file (empty) and returns its path; false with a
  // reason when the folder cannot take it.
  bool Create(std::string* error);
  const std::string& TempPath() const { return m_temp; }
  const std::string& Target() const { return m_target; }

  // Renames the temporary file onto the target.
  bool Commit(std::string* error);

  // Writes bytes in one piece through a temporary file.
  static bool WriteWhole(const std::string& target, const void* data, size_t size, std::string* error);

private:
  std::string m_target;
  std::string m_temp;
  bool m_committed = false;
  int m_slot = -1;
};
