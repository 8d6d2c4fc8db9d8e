// Folders and the system version: the module's own folder and file, the
// XDG desktop and configuration folders with their fallbacks, and the
// kernel release packed as 0xVVVVRRMM.

#include <gtest/gtest.h>

#include <limits.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "base/string.h"
#include "framework/linux/LinuxPaths.h"

namespace {

std::string Real(const std::string& path)
{
  char buf[PATH_MAX];
  return realpath(path.c_str(), buf) ? std::string(buf) : std::string();
}

// Each test gets a scratch home and restores the variables it changes.
class LinuxPathsTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    Save("HOME", m_home);
    Save("XDG_CONFIG_HOME", m_config);
    char dir[] = "/tmp/quarry-home-XXXXXX";
    ASSERT_TRUE(mkdtemp(dir));
    m_scratch = dir;
    setenv("HOME", m_scratch.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
  }
  void TearDown() override
  {
    Restore("HOME", m_home);
    Restore("XDG_CONFIG_HOME", m_config);
    std::system(("rm -rf '" + m_scratch + "'").c_str());
  }
  std::string Get(void (*fn)(BASE_String*))
  {
    BASE_String s("unchanged");
    fn(&s);
    return s.Get();
  }
  void WriteUserDirs(const std::string& folder, const std::string& text)
  {
    mkdir(folder.c_str(), 0700);
    std::ofstream(folder + "/user-dirs.dirs") << text;
  }
  std::string m_scratch;

private:
  struct Saved {
    bool set = false;
    std::string value;
  };
  static void Save(const char* name, Saved& s)
  {
    const char* v = std::getenv(name);
    s.set = v != nullptr;
    s.value = v ? v : "";
  }
  static void Restore(const char* name, const Saved& s)
  {
    if (s.set) setenv(name, s.value.c_str(), 1);
    else unsetenv(name);
  }
  Saved m_home, m_config;
};

TEST_F(LinuxPathsTest, ModulePathsNameThisModule)
{
  const std::string exe = Real("/proc/self/exe");
  ASSERT_FALSE(exe.empty());
  const std::string host = Get(LinuxHostPath);
  EXPECT_EQ(exe, Real(host));
  const std::string plugin = Get(LinuxPluginPath);
  ASSERT_FALSE(plugin.empty());
  EXPECT_EQ('/', plugin.back());
  EXPECT_EQ(exe.substr(0, exe.rfind('/')), Real(plugin));
}

TEST_F(LinuxPathsTest, DesktopFollowsUserDirs)
{
  // No user-dirs.dirs: $HOME/Desktop.
  EXPECT_EQ(m_scratch + "/Desktop", Get(LinuxDesktopPath));
  WriteUserDirs(m_scratch + "/.config",
                "# written by xdg-user-dirs-update\nXDG_MUSIC_DIR=\"$HOME/Musik\"\n"
                "XDG_DESKTOP_DIR=\"$HOME/Schreib \\\"tisch\\\"\"\n");
  EXPECT_EQ(m_scratch + "/Schreib \"tisch\"", Get(LinuxDesktopPath));
  WriteUserDirs(m_scratch + "/.config", "XDG_DESKTOP_DIR=\"/srv/desk\"\n");
  EXPECT_EQ("/srv/desk", Get(LinuxDesktopPath));
  WriteUserDirs(m_scratch + "/.config", "XDG_DESKTOP_DIR=\"$HOME\"\n");
  EXPECT_EQ(m_scratch, Get(LinuxDesktopPath));
  // Relative values, other variables and unterminated quotes are ignored.
  WriteUserDirs(m_scratch + "/.config", "XDG_DESKTOP_DIR=\"desk\"\nXDG_DESKTOP_DIR=\"$HOMEX/d\"\n");
  EXPECT_EQ(m_scratch + "/Desktop", Get(LinuxDesktopPath));
  WriteUserDirs(m_scratch + "/.config", "XDG_DESKTOP_DIR=\"/never/closed\n");
  EXPECT_EQ(m_scratch + "/Desktop", Get(LinuxDesktopPath));
  // XDG_CONFIG_HOME moves the file.
  WriteUserDirs(m_scratch + "/cfg", "XDG_DESKTOP_DIR=\"$HOME/Bureau\"\n");
  setenv("XDG_CONFIG_HOME", (m_scratch + "/cfg").c_str(), 1);
  EXPECT_EQ(m_scratch + "/Bureau", Get(LinuxDesktopPath));
}

TEST_F(LinuxPathsTest, ConfigurationAndMusicFolders)
{
  BASE_String s;
  LinuxAppSupportPath(&s, false);
  EXPECT_EQ(m_scratch + "/.config", std::string(s.Get()));
  LinuxAppSupportPath(&s, true);
  EXPECT_STREQ("/etc/xdg", s.Get());
  setenv("XDG_CONFIG_HOME", "/opt/conf", 1);
  LinuxAppSupportPath(&s, false);
  EXPECT_STREQ("/opt/conf", s.Get());
  setenv("XDG_CONFIG_HOME", "relative/conf", 1);
  LinuxAppSupportPath(&s, false);
  EXPECT_EQ(m_scratch + "/.config", std::string(s.Get()));
  EXPECT_EQ(m_scratch + "/Music", Get(LinuxSandboxSafeAppSupportPath));
  // Without HOME the password database names the home folder.
  unsetenv("HOME");
  const std::string home = Get(LinuxHomePath);
  EXPECT_FALSE(home.empty());
  EXPECT_EQ(home + "/Music", Get(LinuxSandboxSafeAppSupportPath));
}

TEST(LinuxVersion, KernelReleasesPack)
{
  EXPECT_EQ(0x00060100, LinuxPackVersion("6.1.0-18-amd64"));
  EXPECT_EQ(0x00050FA7, LinuxPackVersion("5.15.167-generic"));
  EXPECT_EQ(0x00040E00, LinuxPackVersion("4.14"));
  EXPECT_EQ(0x00030000, LinuxPackVersion("3"));
  EXPECT_EQ(0x0006080C, LinuxPackVersion("6.8.12+rt"));
  // Parts beyond their field stay at its maximum instead of spilling over.
  EXPECT_EQ(0x000413FF, LinuxPackVersion("4.19.300"));
  EXPECT_EQ(0x0005FF01, LinuxPackVersion("5.999.1"));
  EXPECT_EQ(0xFFFF0000, (unsigned)LinuxPackVersion("123456"));
  EXPECT_EQ(0, LinuxPackVersion(""));
  EXPECT_EQ(0, LinuxPackVersion("rc1"));
  EXPECT_EQ(0, LinuxPackVersion(nullptr));

  struct utsname u;
  ASSERT_EQ(0, uname(&u));
  int major = 0, minor = 0, patch = 0;
  std::sscanf(u.release, "%d.%d.%d", &major, &minor, &patch);
  EXPECT_EQ((major << 16) | (minor << 8) | patch, LinuxUserOSVersion());
}

}  // namespace
