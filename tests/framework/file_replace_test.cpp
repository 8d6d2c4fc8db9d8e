#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/string.h"
#include "framework/FileReplace.h"
#include "tests/framework/test_plug.h"
#include "tests/temp_folder.h"

namespace {

std::string Contents(const std::string& path)
{
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

void Put(const std::string& path, const std::string& bytes)
{
  std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> Names(const std::string& folder)
{
  std::vector<std::string> names;
  DIR* d = opendir(folder.c_str());
  if (!d) return names;
  while (dirent* e = readdir(d)) {
    const std::string name = e->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(d);
  return names;
}

// Runs save in a child process whose files may not grow beyond limit
// bytes (as on a full disk), and returns what save answered there.
template <class Save>
bool SavedUnderSizeLimit(rlim_t limit, Save save)
{
  const pid_t child = fork();
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);  // the write fails instead of killing
    const rlimit small = {limit, limit};
    setrlimit(RLIMIT_FSIZE, &small);
    _exit(save() ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(FileReplace, NewAndExistingFilesGetTheWholeContentAndKeepTheirPermissions)
{
  TempFolder temp("replace");
  ASSERT_TRUE(temp.Made());
  const std::string path = temp.Path("a.bin");
  const std::string first(5000, 'x');
  ASSERT_TRUE(ReplaceFileWhole(path.c_str(), first.data(), first.size()));
  EXPECT_EQ(first, Contents(path));

  chmod(path.c_str(), 0640);
  ASSERT_TRUE(ReplaceFileWhole(path.c_str(), "short", 5));
  EXPECT_EQ("short", Contents(path));
  struct stat st;
  ASSERT_EQ(0, stat(path.c_str(), &st));
  EXPECT_EQ(0640u, st.st_mode & 07777);

  ASSERT_TRUE(ReplaceFileWhole(path.c_str(), nullptr, 0));
  EXPECT_EQ("", Contents(path));
  EXPECT_EQ(std::vector<std::string>{"a.bin"}, Names(temp.Path()));

  EXPECT_FALSE(ReplaceFileWhole(temp.Path("missing/a.bin").c_str(), "x", 1));
  EXPECT_FALSE(ReplaceFileWhole("", "x", 1));
  EXPECT_FALSE(ReplaceFileWhole(nullptr, "x", 1));
}

TEST(FileReplace, ALinkKeepsPointingAtItsFileWhichGetsTheBytes)
{
  TempFolder temp("replace-link");
  ASSERT_TRUE(temp.Made());
  Put(temp.Path("real.fxp"), "old");
  ASSERT_EQ(0, symlink("real.fxp", temp.Path("link.fxp").c_str()));
  ASSERT_TRUE(ReplaceFileWhole(temp.Path("link.fxp").c_str(), "new", 3));
  struct stat st;
  ASSERT_EQ(0, lstat(temp.Path("link.fxp").c_str(), &st));
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ("new", Contents(temp.Path("real.fxp")));
}

// A save cut short by a full disk used to leave the user's program file
// truncated; now it leaves the old file whole and no stray file behind.
TEST(FileReplace, ASaveThatFailsHalfWayLeavesTheOldFileWhole)
{
  TempFolder temp("replace-full");
  ASSERT_TRUE(temp.Made());
  const std::string path = temp.Path("kept.bin");
  const std::string old(300, 'o');
  Put(path, old);
  const std::string bigger(4096, 'n');
  EXPECT_FALSE(SavedUnderSizeLimit(
      1000, [&] { return ReplaceFileWhole(path.c_str(), bigger.data(), bigger.size()); }));
  EXPECT_EQ(old, Contents(path));
  EXPECT_EQ(std::vector<std::string>{"kept.bin"}, Names(temp.Path()));

  // The same through the plug-in's own save of a bank file.
  QuarryLikePlug plug;
  BASE_String bank(path.c_str());
  EXPECT_FALSE(SavedUnderSizeLimit(100, [&] { return plug.SaveBankAsFXB(&bank); }));
  EXPECT_EQ(old, Contents(path));
  EXPECT_TRUE(plug.SaveBankAsFXB(&bank));
  EXPECT_NE(old, Contents(path));
  EXPECT_EQ(std::vector<std::string>{"kept.bin"}, Names(temp.Path()));
}

}  // namespace
