// quarry-artwork: reproducible output equal to the committed images, the
// sizes and frame counts the editor's layout needs, and pictures that show
// what they must (each knob frame's pointer at its value's angle, the
// bypass LED lit only in the effect-on frame, the link text in its corner).

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "pix/pix_bitmaprows.h"
#include "pix/pix_png.h"

namespace {

const char* const kImages[] = {"bg.png", "by.png", "TON.png", "SUS.png", "OUT.png"};
const double kPi = 3.14159265358979;

std::vector<char> ReadAll(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string RunArtwork()
{
  char dir[] = "/tmp/quarry-artwork-XXXXXX";
  if (!mkdtemp(dir)) return "";
  const std::string cmd = std::string(QUARRY_ARTWORK_PATH) + " " + dir;
  if (std::system(cmd.c_str()) != 0) return "";
  return dir;
}

void RemoveScratch(const std::string& dir)
{
  for (const char* name : kImages) unlink((dir + "/" + name).c_str());
  rmdir(dir.c_str());
}

std::unique_ptr<PIX_IBitmap> Load(const std::string& name)
{
  return std::unique_ptr<PIX_IBitmap>(PIX_LoadPNG((std::string(QUARRY_IMAGE_DIR) + "/" + name).c_str()));
}

struct Rect {
  int left, top, right, bottom;
  bool Overlaps(const Rect& o) const
  {
    return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
  }
};

TEST(Artwork, SameBytesOnEveryRunAndEqualToTheCommittedImages)
{
  const std::string a = RunArtwork(), b = RunArtwork();
  ASSERT_FALSE(a.empty());
  ASSERT_FALSE(b.empty());
  for (const char* name : kImages) {
    const std::vector<char> first = ReadAll(a + "/" + name);
    ASSERT_FALSE(first.empty()) << name;
    EXPECT_EQ(first, ReadAll(b + "/" + name)) << name << " differs between two runs";
    EXPECT_EQ(first, ReadAll(std::string(QUARRY_IMAGE_DIR) + "/" + name))
        << name << " differs from the committed image: run quarry-artwork effects/Quarry/resources/img";
  }
  RemoveScratch(a);
  RemoveScratch(b);
}

TEST(Artwork, ToolRefusesAMissingFolder)
{
  const std::string cmd = std::string(QUARRY_ARTWORK_PATH) + " /nonexistent/quarry-artwork 2>/dev/null";
  const int status = std::system(cmd.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 0);
}

TEST(Artwork, SizesAndFramesFitTheEditorLayout)
{
  auto bg = Load("bg.png");
  ASSERT_TRUE(bg);
  EXPECT_EQ(303, bg->getWidth());
  EXPECT_EQ(436, bg->getHeight());

  auto by = Load("by.png");
  ASSERT_TRUE(by);
  EXPECT_EQ(0, by->getHeight() % 2);
  const Rect bypass = {11, 225, 11 + by->getWidth(), 225 + by->getHeight() / 2};
  EXPECT_LE(bypass.right, 303);
  EXPECT_LE(bypass.bottom, 410) << "the switch must leave the link's corner free";

  struct Knob {
    const char* file;
    int left, top;
  };
  const Knob knobs[3] = {{"TON.png", 180, 104}, {"SUS.png", 113, 33}, {"OUT.png", 44, 104}};
  std::vector<Rect> rects;
  for (const Knob& k : knobs) {
    auto strip = Load(k.file);
    ASSERT_TRUE(strip) << k.file;
    ASSERT_EQ(0, strip->getHeight() % 31) << k.file;
    const int frameH = strip->getHeight() / 31;
    EXPECT_EQ(strip->getWidth(), frameH) << k.file << " frames are square";
    EXPECT_GE(frameH, 48) << k.file;
    rects.push_back({k.left, k.top, k.left + strip->getWidth(), k.top + frameH});
  }
  rects.push_back(bypass);
  for (size_t i = 0; i < rects.size(); ++i)
    for (size_t j = i + 1; j < rects.size(); ++j) EXPECT_FALSE(rects[i].Overlaps(rects[j])) << i << " " << j;
}

// The pointer is the only light, warm part of a knob: the centroid of its
// pixels, seen from the frame's centre, points at the value's angle
// (-135 degrees at value 0 to +135 at value 1, clockwise from straight up).
TEST(Artwork, EveryKnobFrameShowsItsValue)
{
  for (const char* file : {"TON.png", "SUS.png", "OUT.png"}) {
    auto strip = Load(file);
    ASSERT_TRUE(strip);
    const PIX_BitmapRows rows(strip.get());
    const int size = rows.width;
    for (int frame = 0; frame < 31; ++frame) {
      double sx = 0, sy = 0;
      int n = 0;
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
          const PIX_pixel p = *rows.at(x, frame * size + y);
          if (PIX_GetA(p) > 200 && PIX_GetR(p) > 200 && PIX_GetG(p) > 190 && PIX_GetB(p) > 150) {
            sx += x + 0.5 - size / 2.0;
            sy += y + 0.5 - size / 2.0;
            ++n;
          }
        }
      ASSERT_GT(n, 20) << file << " frame " << frame + 1 << " has no visible pointer";
      const double angle = std::atan2(sx, -sy) * 180.0 / kPi;
      const double expected = -135.0 + 270.0 * frame / 30.0;
      EXPECT_NEAR(expected, angle, 4.0) << file << " frame " << frame + 1;
    }
  }
}

double MeanBrightness(const PIX_BitmapRows& rows, int x0, int y0, int x1, int y1)
{
  double sum = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      const PIX_pixel p = *rows.at(x, y);
      // Value (the largest channel): a lit red lens is as bright as white.
      const int v = std::max(PIX_GetR(p), std::max(PIX_GetG(p), PIX_GetB(p)));
      sum += v * PIX_GetA(p) / 255.0;
    }
  return sum / ((x1 - x0) * (y1 - y0));
}

TEST(Artwork, BypassLedIsLitOnlyWhileTheEffectIsOn)
{
  auto by = Load("by.png");
  ASSERT_TRUE(by);
  const PIX_BitmapRows rows(by.get());
  const int frameH = rows.height / 2;
  // The 12 x 12 window that changes most between the frames is the LED.
  double best = -1e9, on = 0, off = 0;
  for (int y = 0; y + 12 <= frameH; y += 2)
    for (int x = 0; x + 12 <= rows.width; x += 2) {
      const double a = MeanBrightness(rows, x, y, x + 12, y + 12);
      const double b = MeanBrightness(rows, x, frameH + y, x + 12, frameH + y + 12);
      if (a - b > best) best = a - b, on = a, off = b;
    }
  EXPECT_GT(on, 180.0);
  EXPECT_GT(on, off * 1.8) << "the LED must look clearly different in the two frames";
}

TEST(Artwork, PanelShowsTheLinkInTheBottomRightCorner)
{
  auto bg = Load("bg.png");
  ASSERT_TRUE(bg);
  const PIX_BitmapRows rows(bg.get());
  int light = 0, lightOutsideHotArea = 0;
  for (int y = 405; y < 436; ++y)
    for (int x = 150; x < 303; ++x) {
      const PIX_pixel p = *rows.at(x, y);
      if (PIX_GetR(p) > 150 && PIX_GetG(p) > 150) (x >= 205 && y >= 410 ? light : lightOutsideHotArea)++;
    }
  EXPECT_GT(light, 60) << "no link text in the link's hot area";
  EXPECT_EQ(0, lightOutsideHotArea) << "link text must lie inside the clickable corner";
}

}  // namespace
