// Helper programs started without a shell, and the dialogs and URL opener
// built on them, through stand-in zenity, kdialog and xdg-open programs.

#include <gtest/gtest.h>

#include <errno.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "base/string.h"
#include "framework/linux/LinuxDialogs.h"
#include "framework/linux/LinuxProcess.h"
#include "tests/framework/linux/standin_programs.h"

namespace {

using Strings = std::vector<std::string>;

const std::string kNasty = "He said \"it's done\"; rm -rf / && echo $HOME `id` | *";

bool Contains(const Strings& args, const std::string& a)
{
  for (const std::string& s : args)
    if (s == a) return true;
  return false;
}

TEST(LinuxProcess, ArgumentsArriveWholeAndOutputAndStatusComeBack)
{
  StandInPrograms bin;
  bin.Add("tool", 3, "first line\nsecond");
  const char* argv[] = {"tool", kNasty.c_str(), "", "two words", "-x", nullptr};
  LinuxProgramResult r;
  ASSERT_TRUE(LinuxRunProgram(argv, &r));
  EXPECT_EQ(3, r.exitCode);
  EXPECT_STREQ("first line\nsecond", r.output.Get());
  EXPECT_EQ((Strings{kNasty, "", "two words", "-x"}), bin.Args("tool"));
}

TEST(LinuxProcess, MissingProgramsAreNotStarted)
{
  StandInPrograms bin;
  const char* missing[] = {"no-such-program", nullptr};
  LinuxProgramResult r;
  EXPECT_FALSE(LinuxRunProgram(missing, &r));
  EXPECT_FALSE(LinuxStartProgram(missing));
  const char* empty[] = {"", nullptr};
  EXPECT_FALSE(LinuxRunProgram(empty, &r));
  EXPECT_FALSE(LinuxRunProgram(nullptr, &r));
  // A file that is there but cannot be executed does not start either.
  std::ofstream(bin.Folder() + "/plain") << "#!/bin/sh\n";
  const char* plain[] = {"plain", nullptr};
  EXPECT_FALSE(LinuxRunProgram(plain, &r));
}

TEST(LinuxProcess, ChildGetsNoneOfTheHostsDescriptors)
{
  StandInPrograms bin;
  bin.Add("tool", 0);
  // A descriptor the host left inheritable (as many do).
  const int fd = dup2(1, 57);
  ASSERT_EQ(57, fd);
  ASSERT_EQ(0, fcntl(fd, F_GETFD) & FD_CLOEXEC);
  const char* argv[] = {"tool", nullptr};
  ASSERT_TRUE(LinuxRunProgram(argv, nullptr));
  close(fd);
  std::ifstream in(bin.Folder() + "/tool.fds");
  std::string entry;
  Strings fds;
  while (in >> entry) fds.push_back(entry);
  EXPECT_TRUE(Contains(fds, "0") && Contains(fds, "1") && Contains(fds, "2"));
  EXPECT_FALSE(Contains(fds, "57"));
}

TEST(LinuxProcess, OutputBeyondTheLimitIsCutAndTheProgramStillEnds)
{
  StandInPrograms bin;
  bin.Add("tool", 0, std::string(kLinuxMaxProgramOutput + 5000, 'x'));
  const char* argv[] = {"tool", nullptr};
  LinuxProgramResult r;
  ASSERT_TRUE(LinuxRunProgram(argv, &r));
  EXPECT_EQ(0, r.exitCode);
  EXPECT_EQ(kLinuxMaxProgramOutput, r.output.GetLength());
}

TEST(LinuxProcess, StartedProgramsAreCollected)
{
  StandInPrograms bin;
  bin.Add("quick", 0);
  const char* argv[] = {"quick", nullptr};
  ASSERT_TRUE(LinuxStartProgram(argv));
  ASSERT_TRUE(bin.WaitForRun("quick", 5000));
  // Once it has ended, reaping leaves no child behind.
  int status = 0;
  pid_t left = 0;
  for (int i = 0; i < 500; ++i) {
    LinuxReapPrograms();
    left = waitpid(-1, &status, WNOHANG);
    if (left < 0) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(-1, left);
  EXPECT_EQ(ECHILD, errno);
}

struct BoxCase {
  int type;
  int status;
  std::string output;
  int answer;
};

// Installs the stand-in answering as the case says, shows the box, checks
// the answer and returns the program's arguments.
Strings ShowBox(StandInPrograms& bin, const std::string& program, const BoxCase& c)
{
  bin.Add(program, c.status, c.output);
  EXPECT_EQ(c.answer, LinuxShowMessageBox(kNasty.c_str(), "Quarry: caption", c.type))
      << program << " type " << c.type << " status " << c.status;
  return bin.Args(program);
}

TEST(LinuxDialogs, ZenityMessageBoxesMapButtonsAndAnswers)
{
  StandInPrograms bin;
  const BoxCase cases[] = {
      {kLinuxMsgYesNo, 0, "", 1},       {kLinuxMsgYesNo, 1, "", 7},
      {kLinuxMsgYesNoCancel, 0, "", 1}, {kLinuxMsgYesNoCancel, 1, "No\n", 7},
      {kLinuxMsgYesNoCancel, 1, "", 2}, {kLinuxMsgOKCancel, 0, "", 1},
      {kLinuxMsgOKCancel, 1, "", 7},    {kLinuxMsgOK, 0, "", 1},
      {kLinuxMsgOK, 1, "", 0},          {kLinuxMsgYesNo, 5, "", 0},
      {kLinuxMsgYesNo, 255, "", 0},     {2, 0, "", 1},
  };
  for (const BoxCase& c : cases) {
    const Strings args = ShowBox(bin, "zenity", c);
    ASSERT_GE(args.size(), 4u);
    EXPECT_EQ(c.type == 1 || c.type == 3 || c.type == 4 ? "--question" : "--info", args[0]);
    EXPECT_TRUE(Contains(args, "--no-markup"));
    EXPECT_TRUE(Contains(args, "--text=" + kNasty));
    EXPECT_TRUE(Contains(args, "--title=Quarry: caption"));
  }
  bin.Add("zenity", 0);
  LinuxShowMessageBox("t", "c", kLinuxMsgYesNoCancel);
  const Strings args = bin.Args("zenity");
  EXPECT_TRUE(Contains(args, "--ok-label=Yes") && Contains(args, "--extra-button=No") &&
              Contains(args, "--cancel-label=Cancel"));
}

TEST(LinuxDialogs, KdialogWhenThereIsNoZenity)
{
  StandInPrograms bin;
  const BoxCase cases[] = {
      {kLinuxMsgYesNo, 0, "", 1},       {kLinuxMsgYesNo, 1, "", 7},    {kLinuxMsgYesNoCancel, 1, "", 7},
      {kLinuxMsgYesNoCancel, 2, "", 2}, {kLinuxMsgOKCancel, 1, "", 7}, {kLinuxMsgOK, 0, "", 1},
      {kLinuxMsgOK, 2, "", 0},          {kLinuxMsgYesNo, 254, "", 0},
  };
  const char* option[] = {"--msgbox", "--yesno", "--msgbox", "--yesnocancel", "--yesno"};
  for (const BoxCase& c : cases) {
    const Strings args = ShowBox(bin, "kdialog", c);
    ASSERT_GE(args.size(), 4u);
    EXPECT_EQ((Strings{"--title", "Quarry: caption", option[c.type], kNasty}),
              Strings(args.begin(), args.begin() + 4));
  }
}

TEST(LinuxDialogs, NoDialogProgramAnswersAtOnce)
{
  StandInPrograms bin;
  EXPECT_EQ(0, LinuxShowMessageBox("text", "caption", kLinuxMsgYesNo));
  BASE_String file("preset.fxp"), dir("");
  LinuxPromptForFile(&file, kLinuxFileSave, &dir, "fxp");
  EXPECT_STREQ("", file.Get());
  EXPECT_STREQ("~/Desktop", dir.Get());
  EXPECT_FALSE(LinuxOpenURL("https://lumenfold.com"));
}

TEST(LinuxDialogs, SavePromptThroughZenity)
{
  StandInPrograms bin;
  bin.Add("zenity", 0, "/home/u/My Presets/lead; \"hot\".fxp\n");
  BASE_String file("preset.fxp"), dir("/data/presets/");
  LinuxPromptForFile(&file, kLinuxFileSave, &dir, "fxp fxb");
  EXPECT_STREQ("/home/u/My Presets/lead; \"hot\".fxp", file.Get());
  EXPECT_STREQ("/home/u/My Presets/", dir.Get());
  const Strings args = bin.Args("zenity");
  EXPECT_EQ("--file-selection", args.at(0));
  EXPECT_TRUE(Contains(args, "--save"));
  EXPECT_TRUE(Contains(args, "--filename=/data/presets/preset.fxp"));
  EXPECT_TRUE(Contains(args, "--file-filter=*.fxp *.fxb"));

  // A name typed without one of the types gets the first one.
  bin.Add("zenity", 0, "/tmp/lead\n");
  LinuxPromptForFile(&file, kLinuxFileSave, &dir, "fxp fxb");
  EXPECT_STREQ("/tmp/lead.fxp", file.Get());
  EXPECT_STREQ("/tmp/", dir.Get());
  bin.Add("zenity", 0, "/tmp/bank.FXB\n");
  LinuxPromptForFile(&file, kLinuxFileSave, &dir, "fxp fxb");
  EXPECT_STREQ("/tmp/bank.FXB", file.Get());
}

TEST(LinuxDialogs, CancelledPromptLeavesTheFileEmptyAndTheFolder)
{
  StandInPrograms bin;
  bin.Add("zenity", 1);
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "/";
  BASE_String file("old.fxp"), dir;
  LinuxPromptForFile(&file, kLinuxFileOpen, &dir, "fxp");
  EXPECT_STREQ("", file.Get());
  EXPECT_STREQ("~/Desktop", dir.Get());
  const Strings args = bin.Args("zenity");
  EXPECT_FALSE(Contains(args, "--save"));
  EXPECT_TRUE(Contains(args, "--filename=" + home + "/Desktop/old.fxp"));
  // No types: no filter.
  LinuxPromptForFile(&file, kLinuxFileOpen, &dir, "");
  for (const std::string& a : bin.Args("zenity")) EXPECT_NE(0u, a.rfind("--file-filter", 0));
}

TEST(LinuxDialogs, OpenPromptThroughKdialog)
{
  StandInPrograms bin;
  bin.Add("kdialog", 0, "/srv/a b/c.fxb\n");
  BASE_String file, dir("/srv/");
  LinuxPromptForFile(&file, kLinuxFileOpen, &dir, "fxb");
  EXPECT_STREQ("/srv/a b/c.fxb", file.Get());
  EXPECT_STREQ("/srv/a b/", dir.Get());
  EXPECT_EQ((Strings{"--getopenfilename", "/srv/", "*.fxb"}), bin.Args("kdialog"));
}

TEST(LinuxDialogs, OpenURLStartsXdgOpenWithTheAddressAsOneArgument)
{
  StandInPrograms bin;
  bin.Add("xdg-open", 0);
  const std::string url = "https://lumenfold.com/quarry?a=1;b=\"2 3\"";
  EXPECT_TRUE(LinuxOpenURL(url.c_str()));
  ASSERT_TRUE(bin.WaitForRun("xdg-open", 5000));
  EXPECT_EQ(Strings{url}, bin.Args("xdg-open"));

  bin.Add("xdg-open", 0);
  EXPECT_TRUE(LinuxOpenURL("--help"));
  ASSERT_TRUE(bin.WaitForRun("xdg-open", 5000));
  EXPECT_EQ(Strings{"./--help"}, bin.Args("xdg-open"));

  // Nothing to open counts as opened, without starting anything.
  bin.Add("xdg-open", 0);
  EXPECT_TRUE(LinuxOpenURL(""));
  EXPECT_TRUE(LinuxOpenURL(nullptr));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(bin.Ran("xdg-open"));
  LinuxReapPrograms();
}

}  // namespace
