// quarry-host's editor commands in a real X server: "snapshot" writes what
// the editor drew, "edit" shows it in a window of its own, prints the
// changes a user makes there (clicks sent with XTest) and saves the program
// when the window is closed. The plug-in is a small one with an editor of
// its own written straight on Xlib, so nothing here depends on Quarry.

// GoogleTest first: Xlib's macros (None, Bool) would break its headers.
#include "tests/tools/host/host_tool_fixture.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <png.h>
#include <signal.h>
#include <spawn.h>
#include <time.h>

#include <fcntl.h>

#include <cstring>

#include "tests/framework/linux/x11_harness.h"

extern char** environ;

namespace {

const int kProbeWidth = 160;
const int kProbeHeight = 100;

std::string XlibProbe() { return std::string("'") + XLIB_PROBE_PATH + "'"; }

// Pixels of a PNG file as 0x00RRGGBB, through libpng.
bool ReadPng(const std::string& path, int* width, int* height, std::vector<uint32_t>* pixels)
{
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_BGRA;
  pixels->assign(PNG_IMAGE_SIZE(image) / 4, 0);
  if (!png_image_finish_read(&image, nullptr, pixels->data(), 0, nullptr)) return false;
  for (uint32_t& p : *pixels) p &= 0xFFFFFFu;
  *width = static_cast<int>(image.width);
  *height = static_cast<int>(image.height);
  return true;
}

long NowMs()
{
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1000L + ts.tv_nsec / 1000000L;
}

// Big-endian 32-bit float at offset.
float BigEndianFloat(const std::string& bytes, size_t at)
{
  uint32_t bits = 0;
  for (size_t i = 0; i < 4; ++i) bits = bits << 8 | static_cast<unsigned char>(bytes[at + i]);
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

class HostToolEditorTest : public HostToolTest {
protected:
  void SetUp() override
  {
    HostToolTest::SetUp();
    ASSERT_TRUE(x.Ok()) << x.Problem();
  }
  void TearDown() override
  {
    if (child > 0) {
      kill(child, SIGKILL);
      waitpid(child, nullptr, 0);
    }
    HostToolTest::TearDown();
  }

  // quarry-host with args, running on, its output going to files.
  void Start(const std::vector<std::string>& args)
  {
    std::vector<std::string> all = {QUARRY_HOST_PATH};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, Path("out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, Path("err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_EQ(posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
  }

  RunResult RunWithoutDisplay(const std::string& args)
  {
    const std::string display = std::getenv("DISPLAY");
    unsetenv("DISPLAY");
    RunResult r = Run(args);
    setenv("DISPLAY", display.c_str(), 1);
    return r;
  }

  int Wait()
  {
    int status = 0;
    const long deadline = NowMs() + 10000;
    while (waitpid(child, &status, WNOHANG) == 0) {
      if (NowMs() > deadline) return -1;
      usleep(10000);
    }
    child = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // The top-level window titled name that holds a mapped child (the
  // editor's view), or 0 when none appears in time.
  Window FindEditorWindow(const char* name)
  {
    const long deadline = NowMs() + 10000;
    while (NowMs() < deadline) {
      Window root, parent, *children = nullptr;
      unsigned count = 0;
      XQueryTree(x.display(), x.root(), &root, &parent, &children, &count);
      Window found = 0;
      for (unsigned i = 0; i < count && !found; ++i) {
        char* title = nullptr;
        if (XFetchName(x.display(), children[i], &title) && title && std::strcmp(title, name) == 0 &&
            HasMappedChild(children[i]))
          found = children[i];
        if (title) XFree(title);
      }
      if (children) XFree(children);
      if (found) return found;
      usleep(20000);
    }
    return 0;
  }

  bool HasMappedChild(Window window)
  {
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    XQueryTree(x.display(), window, &root, &parent, &children, &count);
    bool mapped = false;
    for (unsigned i = 0; i < count; ++i) {
      XWindowAttributes a;
      if (XGetWindowAttributes(x.display(), children[i], &a) && a.map_state == IsViewable) mapped = true;
    }
    if (children) XFree(children);
    return mapped;
  }

  // What a window manager sends when the user closes the window.
  void SendDelete(Window window)
  {
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(x.display(), "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(x.display(), "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(x.display(), window, False, NoEventMask, &event);
    XSync(x.display(), False);
  }

  // Waits until the output file holds at least lines lines.
  std::string WaitForLines(int lines)
  {
    const long deadline = NowMs() + 10000;
    std::string out;
    while (NowMs() < deadline && LineCount(out = ReadText(Path("out"))) < lines) usleep(20000);
    return out;
  }

  X11Harness x;
  pid_t child = -1;
};

TEST_F(HostToolEditorTest, SnapshotWritesWhatTheEditorDrew)
{
  RunResult r = Run("snapshot " + XlibProbe() + " -o '" + Path("probe.png") + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, Path("probe.png") + ": 160 x 100 pixels\n");
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  ASSERT_TRUE(ReadPng(Path("probe.png"), &width, &height, &pixels));
  ASSERT_EQ(width, kProbeWidth);
  ASSERT_EQ(height, kProbeHeight);
  // Level 0.25: grey 64 on the left, the fixed green on the right.
  for (int y = 0; y < height; ++y)
    for (int col = 0; col < width; ++col)
      ASSERT_EQ(pixels[static_cast<size_t>(y) * width + col], col < width / 2 ? 0x404040u : 0x00C000u)
          << col << "," << y;
}

TEST_F(HostToolEditorTest, WithoutDisplayOrEditorBothCommandsFailWithOneLine)
{
  for (const std::string command : {"snapshot", "edit"}) {
    const std::string output = command == "snapshot" ? " -o '" + Path("x.png") + "'" : "";
    RunResult noDisplay = RunWithoutDisplay(command + " " + XlibProbe() + output);
    EXPECT_EQ(noDisplay.status, 1) << command;
    EXPECT_EQ(LineCount(noDisplay.err), 1) << noDisplay.err;
    EXPECT_NE(noDisplay.err.find("DISPLAY is not set"), std::string::npos) << noDisplay.err;

    RunResult noEditor = Run(command + " " + Probe() + output);
    EXPECT_EQ(noEditor.status, 1) << command;
    EXPECT_EQ(noEditor.err, "quarry-host: " + std::string(VST_PROBE_PATH) + " has no editor\n");
  }
  EXPECT_EQ(Entries(), std::vector<std::string>{});
}

TEST_F(HostToolEditorTest, EditPrintsEachChangeAndSavesTheProgramWhenClosed)
{
  Start({"edit", XLIB_PROBE_PATH, "--save-fxp", Path("chosen.fxp")});
  const Window window = FindEditorWindow("X11 Probe");
  ASSERT_NE(window, 0u) << ReadText(Path("err"));
  XWindowAttributes a;
  ASSERT_TRUE(XGetWindowAttributes(x.display(), window, &a));
  EXPECT_EQ(a.width, kProbeWidth);
  EXPECT_EQ(a.height, kProbeHeight);

  // Two clicks: 0.25 -> 0.5 -> 0.75, one printed line each.
  for (int i = 0; i < 2; ++i) {
    x.MovePointer(window, 20, 20);
    x.Click(1);
    WaitForLines(i + 1);
  }
  EXPECT_EQ(WaitForLines(2), "Level = 50 %\nLevel = 75 %\n");
  // The window shows what the editor drew.
  EXPECT_EQ(x.ReadPixels(window, 10, 10, 1, 1), std::vector<uint32_t>{0xBFBFBF});
  EXPECT_EQ(access(Path("chosen.fxp").c_str(), F_OK), -1);

  SendDelete(window);
  ASSERT_EQ(Wait(), 0) << ReadText(Path("err"));
  const std::string fxp = ReadText(Path("chosen.fxp"));
  ASSERT_EQ(fxp.size(), 60u);
  EXPECT_EQ(fxp.substr(0, 4), "CcnK");
  EXPECT_EQ(fxp.substr(8, 4), "FxCk");
  EXPECT_EQ(fxp.substr(16, 4), "XPrb");
  EXPECT_EQ(BigEndianFloat(fxp, 56), 0.75f);

  // The saved program takes the plug-in back to where the user left it.
  RunResult again = Run("snapshot " + XlibProbe() + " --load-fxp '" + Path("chosen.fxp") + "' -o '" +
                        Path("again.png") + "'");
  ASSERT_EQ(again.status, 0) << again.err;
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  ASSERT_TRUE(ReadPng(Path("again.png"), &width, &height, &pixels));
  EXPECT_EQ(pixels[0], 0xBFBFBFu);
}

// Ending quarry-host from the terminal closes the window as the user would:
// the program is still saved.
TEST_F(HostToolEditorTest, EditEndedBySignalStillSaves)
{
  Start({"edit", XLIB_PROBE_PATH, "--save-fxp", Path("kept.fxp")});
  ASSERT_NE(FindEditorWindow("X11 Probe"), 0u) << ReadText(Path("err"));
  kill(child, SIGTERM);
  ASSERT_EQ(Wait(), 0) << ReadText(Path("err"));
  const std::string fxp = ReadText(Path("kept.fxp"));
  ASSERT_EQ(fxp.size(), 60u);
  EXPECT_EQ(BigEndianFloat(fxp, 56), 0.25f);
  EXPECT_EQ(ReadText(Path("out")), "");
}

TEST_F(HostToolEditorTest, EditRefusesAProgramFileItCouldNotSaveBeforeOpening)
{
  RunResult r = Run("edit " + XlibProbe() + " --save-fxp '" + Path("missing/folder/x.fxp") + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(LineCount(r.err), 1) << r.err;
}

}  // namespace
