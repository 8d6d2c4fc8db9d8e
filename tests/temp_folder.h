// A folder of its own under /tmp for one test, removed with everything in
// it when the object goes, whatever the test left there.
//
// Threads: owned by one test; any thread, no lock.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

class TempFolder {
public:
  // Makes /tmp/quarry-<name>-XXXXXX; Made() tells whether it worked.
  explicit TempFolder(const std::string& name)
  {
    std::string pattern = "/tmp/quarry-" + name + "-XXXXXX";
    if (mkdtemp(pattern.data())) mPath = pattern;
  }
  ~TempFolder()
  {
    std::error_code ignored;
    if (!mPath.empty()) std::filesystem::remove_all(mPath, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  bool Made() const { return !mPath.empty(); }
  const std::string& Path() const { return mPath; }
  std::string Path(const std::string& name) const { return mPath + "/" + name; }

private:
  std::string mPath;
};
