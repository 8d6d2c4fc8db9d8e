// Quarry's editor as a host embeds it: Quarry.so loaded with dlopen, its
// editor opened in a parent window the test makes on a real X server, the
// host's 40 ms idle calls made by the test, real input sent with XTest and
// the window's pixels read back with XGetImage. The expected pictures are
// composed here from the PNG files (decoded by libpng) with the frame
// choice and the source-alpha blend written out from their formulas.

// GoogleTest first: Xlib's macros (None, Bool) would break its headers.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <png.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "tests/framework/linux/standin_programs.h"
#include "tests/framework/linux/x11_harness.h"
#include "tests/framework/vst/vst_harness.h"

namespace {

enum { kOut = 0, kGainM, kGainL, kBypass };
const int kWidth = 303;
const int kHeight = 436;

// An image as 0xAARRGGBB pixels, straight alpha.
struct Image {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

Image LoadImage(const char* name)
{
  Image image;
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  const std::string path = std::string(QUARRY_IMG_DIR) + "/" + name;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return image;
  png.format = PNG_FORMAT_BGRA;  // little-endian 0xAARRGGBB
  image.pixels.resize(PNG_IMAGE_SIZE(png) / 4);
  if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) return Image();
  image.width = static_cast<int>(png.width);
  image.height = static_cast<int>(png.height);
  return image;
}

// One control of the layout: its strip, frame count, corner and parameter.
struct Strip {
  const char* file;
  int frames;
  int x, y;
  int param;
};
const Strip kStrips[] = {
    {"by.png", 2, 11, 225, kBypass},
    {"TON.png", 31, 180, 104, kGainM},
    {"SUS.png", 31, 113, 33, kGainL},
    {"OUT.png", 31, 44, 104, kOut},
};

// The frame (from 1) a strip of n frames shows for a normalized value.
int FrameFor(int n, double value)
{
  if (n < 2) return 1;
  const int f = static_cast<int>((n - 1) * value + 0.5);
  return f < 0 ? 1 : (f < n ? f + 1 : n);
}

// A source pixel over a destination at full weight, blended by the source's
// alpha: transparent leaves the destination, opaque replaces it, anything
// between mixes each colour channel by (255 - alpha) / 256.
uint32_t Over(uint32_t d, uint32_t s)
{
  const int sa = static_cast<int>(s >> 24);
  if (sa == 0) return d;
  if (sa == 255) return s;
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int dc = static_cast<int>(d >> shift & 0xFF), sc = static_cast<int>(s >> shift & 0xFF);
    out |= static_cast<uint32_t>(sc + (dc - sc) * (255 - sa) / 256) << shift;
  }
  const int a = std::min(static_cast<int>(d >> 24) + sa, 255);
  return out | static_cast<uint32_t>(a) << 24;
}

// The editor's picture for the four normalized parameter values: the
// background stored as it is, each control's frame over it in order.
std::vector<uint32_t> Compose(const double values[4])
{
  const Image bg = LoadImage("bg.png");
  std::vector<uint32_t> out = bg.pixels;
  for (const Strip& s : kStrips) {
    const Image strip = LoadImage(s.file);
    const int h = strip.height / s.frames;
    const int top = (FrameFor(s.frames, values[s.param]) - 1) * h;
    for (int y = 0; y < h && s.y + y < kHeight; ++y)
      for (int x = 0; x < strip.width && s.x + x < kWidth; ++x) {
        uint32_t& d = out[static_cast<size_t>(s.y + y) * kWidth + s.x + x];
        d = Over(d, strip.at(x, top + y));
      }
  }
  for (uint32_t& p : out) p &= 0xFFFFFFu;
  return out;
}

// How many pixels differ, for short failure messages.
int Differences(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
  if (a.size() != b.size()) return -1;
  int n = 0;
  for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
  return n;
}

PluginModule& QuarryModule()
{
  static PluginModule module(QUARRY_SO_PATH);
  return module;
}

class QuarryEditorTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(x.Ok()) << x.Problem();
    ASSERT_TRUE(QuarryModule().Loaded()) << QuarryModule().Error();
    RecordingHost::Get().Reset();
    e = QuarryModule().Instantiate();
    ASSERT_NE(e, nullptr);
    Dispatch(e, effOpen);
    Dispatch(e, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    Dispatch(e, effSetBlockSize, 0, 256);
    Dispatch(e, effMainsChanged, 0, 1);
    parent = x.MakeHostWindow(kWidth, kHeight);
  }
  void TearDown() override
  {
    if (e) {
      Dispatch(e, effEditClose);
      Close(e);
    }
  }

  // Opens the editor in the parent and lets it draw; returns its view.
  Window OpenEditor()
  {
    EXPECT_EQ(Dispatch(e, effEditOpen, 0, 0, reinterpret_cast<void*>(parent)), 1);
    XSync(x.display(), False);
    Idle(4);
    return EditorView();
  }

  // The editor's window inside the parent, 0 when there is none.
  Window EditorView() { return Children(parent).empty() ? 0 : Children(parent).front(); }

  std::vector<Window> Children(Window w)
  {
    Window root, up, *children = nullptr;
    unsigned n = 0;
    XQueryTree(x.display(), w, &root, &up, &children, &n);
    std::vector<Window> list(children, children + n);
    if (children) XFree(children);
    return list;
  }

  // The host's idle calls, 40 ms apart.
  void Idle(int ticks)
  {
    for (int i = 0; i < ticks; ++i) {
      Dispatch(e, effEditIdle);
      usleep(40000);
    }
    XSync(x.display(), False);
  }

  void ClickAt(Window view, int px, int py)
  {
    x.MovePointer(view, px, py);
    x.Click(1);
    Idle(2);
  }

  std::vector<uint32_t> Screen(Window view) { return x.ReadPixels(view, 0, 0, kWidth, kHeight); }

  std::vector<uint32_t> Expected()
  {
    double values[4];
    for (int i = 0; i < 4; ++i) values[i] = e->getParameter(e, i);
    return Compose(values);
  }

  std::vector<HostCall> Calls(VstInt32 opcode, int index)
  {
    std::vector<HostCall> out;
    for (const HostCall& c : RecordingHost::Get().Calls(opcode))
      if (c.index == index) out.push_back(c);
    return out;
  }

  X11Harness x;
  AEffect* e = nullptr;
  Window parent = 0;
};

TEST_F(QuarryEditorTest, ReportsItsSizeAndDrawsTheLayoutAtTheDefaults)
{
  ERect* rect = nullptr;
  ASSERT_EQ(Dispatch(e, effEditGetRect, 0, 0, &rect), 1);
  EXPECT_EQ(rect->right - rect->left, kWidth);
  EXPECT_EQ(rect->bottom - rect->top, kHeight);

  const Window view = OpenEditor();
  ASSERT_NE(view, 0u);
  XWindowAttributes a;
  ASSERT_TRUE(XGetWindowAttributes(x.display(), view, &a));
  EXPECT_EQ(a.width, kWidth);
  EXPECT_EQ(a.height, kHeight);
  const std::vector<uint32_t> expected = Expected();
  EXPECT_EQ(Differences(Screen(view), expected), 0);
  // The defaults show frames 9 (OUT at 0.25), 22 (TON at 0.7), 10 (SUS at
  // 0.3) and the bypass switch's first frame.
  EXPECT_EQ(FrameFor(31, e->getParameter(e, kOut)), 9);
  EXPECT_EQ(FrameFor(31, e->getParameter(e, kGainM)), 22);
  EXPECT_EQ(FrameFor(31, e->getParameter(e, kGainL)), 10);
}

TEST_F(QuarryEditorTest, ClicksOnTheBypassSwitchToggleParameterThree)
{
  const Window view = OpenEditor();
  ASSERT_NE(view, 0u);
  ClickAt(view, 145, 310);  // the footswitch
  EXPECT_EQ(e->getParameter(e, kBypass), 1.0f);
  const std::vector<HostCall> automated = Calls(audioMasterAutomate, kBypass);
  ASSERT_EQ(automated.size(), 1u);
  EXPECT_EQ(automated[0].opt, 1.0f);
  EXPECT_EQ(Differences(Screen(view), Expected()), 0);  // the second frame
  ClickAt(view, 145, 310);
  EXPECT_EQ(e->getParameter(e, kBypass), 0.0f);
  EXPECT_EQ(Differences(Screen(view), Expected()), 0);
}

// Dragging a knob 60 pixels up moves its own parameter, and only it, by
// 60 / 64 / 4 (a 64-pixel frame with gearing 4), as one host gesture.
TEST_F(QuarryEditorTest, DraggingEachKnobMovesItsOwnParameterAsOneGesture)
{
  const Window view = OpenEditor();
  ASSERT_NE(view, 0u);
  for (const Strip& s : kStrips) {
    if (s.frames != 31) continue;
    RecordingHost::Get().Reset();
    float before[4];
    for (int i = 0; i < 4; ++i) before[i] = e->getParameter(e, i);
    const int cx = s.x + 32, cy = s.y + 32;
    x.MovePointer(view, cx, cy);
    x.Button(1, true);
    Idle(1);
    for (int step = 1; step <= 6; ++step) {
      x.MovePointer(view, cx, cy - 10 * step);
      Idle(1);
    }
    x.Button(1, false);
    Idle(2);
    for (int i = 0; i < 4; ++i) {
      const double expected = i == s.param ? before[i] + 60.0 / 64.0 / 4.0 : before[i];
      EXPECT_NEAR(e->getParameter(e, i), expected, 1e-6) << s.file << " parameter " << i;
    }
    const auto& calls = RecordingHost::Get().calls;
    std::vector<VstInt32> kinds;
    for (const HostCall& c : calls)
      if (c.opcode == audioMasterBeginEdit || c.opcode == audioMasterEndEdit ||
          c.opcode == audioMasterAutomate) {
        EXPECT_EQ(c.index, s.param) << s.file;
        if (kinds.empty() || kinds.back() != c.opcode) kinds.push_back(c.opcode);
      }
    EXPECT_EQ(kinds, (std::vector<VstInt32>{audioMasterBeginEdit, audioMasterAutomate, audioMasterEndEdit}))
        << s.file;
    const std::vector<HostCall> automated = Calls(audioMasterAutomate, s.param);
    ASSERT_FALSE(automated.empty());
    EXPECT_NEAR(automated.back().opt, e->getParameter(e, s.param), 1e-7);
    EXPECT_EQ(Differences(Screen(view), Expected()), 0) << s.file;
  }
}

TEST_F(QuarryEditorTest, DoubleClickReturnsAKnobToItsDefault)
{
  const Window view = OpenEditor();
  ASSERT_NE(view, 0u);
  const float defaultValue = e->getParameter(e, kGainL);
  e->setParameter(e, kGainL, 0.9f);
  Idle(2);
  x.MovePointer(view, 113 + 32, 33 + 32);
  x.Click(1);
  x.Click(1);
  Idle(2);
  EXPECT_NEAR(e->getParameter(e, kGainL), defaultValue, 1e-6);
  const std::vector<HostCall> automated = Calls(audioMasterAutomate, kGainL);
  ASSERT_FALSE(automated.empty());
  EXPECT_NEAR(automated.back().opt, defaultValue, 1e-6);
  EXPECT_EQ(Differences(Screen(view), Expected()), 0);
}

TEST_F(QuarryEditorTest, WheelStepsAreFinerWithShift)
{
  const Window view = OpenEditor();
  ASSERT_NE(view, 0u);
  const float start = e->getParameter(e, kGainM);
  x.MovePointer(view, 180 + 32, 104 + 32);
  for (int i = 0; i < 3; ++i) x.Click(4);  // three steps up
  Idle(2);
  EXPECT_NEAR(e->getParameter(e, kGainM), start + 0.03, 1e-6);
  x.Key(XK_Shift_L, true);
  for (int i = 0; i < 3; ++i) x.Click(5);  // three fine steps down
  x.Key(XK_Shift_L, false);
  Idle(2);
  EXPECT_NEAR(e->getParameter(e, kGainM), start + 0.027, 1e-6);
  EXPECT_EQ(Differences(Screen(view), Expected()), 0);
}

// The link's rectangle reaches past the panel; (250, 420) lies in it, (250,
// 400) above it (on the bypass switch's strip).
TEST_F(QuarryEditorTest, OnlyClicksInsideTheLinkOpenTheProductPage)
{
  StandInPrograms programs;
  programs.Add("xdg-open", 0);
  const Window view = OpenEditor();
  ASSERT_NE(view, 0u);
  ClickAt(view, 250, 400);
  EXPECT_FALSE(programs.WaitForRun("xdg-open", 500));
  ClickAt(view, 250, 420);
  ASSERT_TRUE(programs.WaitForRun("xdg-open", 3000));
  EXPECT_EQ(programs.Args("xdg-open"), std::vector<std::string>{"https://lumenfold.com/quarry"});
}

// The host sets parameters on a thread of its own; the editor's next ticks
// show them.
TEST_F(QuarryEditorTest, HostAutomationFromAnotherThreadShowsWithinTwoTicks)
{
  const Window view = OpenEditor();
  ASSERT_NE(view, 0u);
  const float values[][2] = {{kOut, 1.0f}, {kGainL, 0.0f}, {kGainM, 0.5f}, {kBypass, 1.0f}};
  for (const auto& v : values) {
    std::thread host([&] { e->setParameter(e, static_cast<int>(v[0]), v[1]); });
    host.join();
    Idle(2);
    EXPECT_EQ(Differences(Screen(view), Expected()), 0) << "parameter " << v[0];
  }
}

TEST_F(QuarryEditorTest, OpeningTwiceKeepsOneViewAndClosingRemovesIt)
{
  ASSERT_NE(OpenEditor(), 0u);
  ASSERT_NE(OpenEditor(), 0u);
  EXPECT_EQ(Children(parent).size(), 1u);
  EXPECT_EQ(Differences(Screen(EditorView()), Expected()), 0);
  EXPECT_EQ(Dispatch(e, effEditClose), 1);
  XSync(x.display(), False);
  EXPECT_TRUE(Children(parent).empty());
}

// Audio keeps running on its own thread while the user interface opens,
// idles and closes the editor, two hundred times; no window stays behind
// (and the sanitizer build finds nothing leaked).
TEST_F(QuarryEditorTest, OpenAndCloseCyclesWhileAudioRuns)
{
  std::atomic<bool> stop(false);
  std::atomic<long> blocks(0);
  std::thread audio([&] {
    std::vector<float> in(2 * 256, 0.1f), out(2 * 256);
    float* ins[2] = {in.data(), in.data() + 256};
    float* outs[2] = {out.data(), out.data() + 256};
    while (!stop) {
      e->processReplacing(e, ins, outs, 256);
      ++blocks;
    }
  });
  for (int cycle = 0; cycle < 200; ++cycle) {
    ASSERT_EQ(Dispatch(e, effEditOpen, 0, 0, reinterpret_cast<void*>(parent)), 1) << cycle;
    Dispatch(e, effEditIdle);
    if (cycle % 50 == 0) Idle(2);
    ASSERT_EQ(Dispatch(e, effEditClose), 1) << cycle;
  }
  stop = true;
  audio.join();
  XSync(x.display(), False);
  EXPECT_TRUE(Children(parent).empty());
  EXPECT_GT(blocks.load(), 0);
}

}  // namespace
