#pragma once
// The folder and the name parts of a file path as the command line gave
// it, by its last '/': the folder of a bare name is ".", of a name right
// under the root "/".
//
// Threads: pure functions, any thread.

#include <string>

inline std::string FolderOf(const std::string& path)
{
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

inline std::string LeafOf(const std::string& path)
{
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}
