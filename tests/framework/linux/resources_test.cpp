// Images built into the module: the png-only name rule, lookup by the last
// part of the name within the bundle's set, sizes read from the header
// without decoding, decoding of the real embedded images, and the
// resources/img/ folder that overrides them.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "base/string.h"
#include "framework/linux/LinuxPaths.h"
#include "framework/linux/LinuxResources.h"
#include "pix/pix_bitmap.h"
#include "tests/pix/png_test_writer.h"

namespace {

const char* const kBundle = "com.Lumenfold.vst.Quarry";

std::string MakeScratchFolder()
{
  char dir[] = "/tmp/quarry-res-XXXXXX";
  return mkdtemp(dir) ? std::string(dir) + "/" : std::string();
}

std::vector<unsigned char> SmallPng(int w, int h)
{
  return WritePNG(MakeTestImage(PNG_COLOR_TYPE_RGB, 8, w, h));
}

TEST(LinuxResources, OnlyPngNamesLoad)
{
  EXPECT_TRUE(LinuxIsPngName("resources/img/bg.png"));
  EXPECT_TRUE(LinuxIsPngName("BG.PNG"));
  EXPECT_TRUE(LinuxIsPngName("x.Png"));
  EXPECT_FALSE(LinuxIsPngName("resources/img/bg.jpg"));
  EXPECT_FALSE(LinuxIsPngName("resources/img.png/bg"));
  EXPECT_FALSE(LinuxIsPngName("bg.png.bak"));
  EXPECT_FALSE(LinuxIsPngName("png"));
  EXPECT_FALSE(LinuxIsPngName(""));
  EXPECT_FALSE(LinuxIsPngName(nullptr));

  int w = 0, h = 0;
  EXPECT_FALSE(LinuxImageSize(kBundle, "resources/img/bg.jpg", &w, &h, ""));
  EXPECT_EQ(nullptr, LinuxLoadImage(kBundle, "resources/img/bg.jpg", ""));
  // The built-in set holds no jpg, but the name rule refuses before any lookup.
  EXPECT_EQ(nullptr, LinuxLoadImage(kBundle, "bg", ""));
}

TEST(LinuxResources, BuiltInImagesAreFoundByTheirLastNamePartAndBundle)
{
  const LinuxResource* bg = LinuxFindBuiltInResource(kBundle, "resources/img/bg.png");
  ASSERT_NE(nullptr, bg);
  EXPECT_EQ(bg, LinuxFindBuiltInResource(kBundle, "bg.png"));
  EXPECT_EQ(bg, LinuxFindBuiltInResource(kBundle, "any/where/else/bg.png"));
  EXPECT_EQ(nullptr, LinuxFindBuiltInResource(kBundle, "resources/img/BG.png"));  // names are exact
  EXPECT_EQ(nullptr, LinuxFindBuiltInResource("com.other.plugin", "bg.png"));
  EXPECT_EQ(nullptr, LinuxFindBuiltInResource(kBundle, "missing.png"));
  EXPECT_EQ(nullptr, LinuxFindBuiltInResource(nullptr, "bg.png"));
  EXPECT_STREQ("bg.png", LinuxResourceLeafName("resources/img/bg.png"));
  EXPECT_STREQ("", LinuxResourceLeafName("resources/img/"));
}

TEST(LinuxResources, EmbeddedImagesDecodeToTheEditorSizes)
{
  struct Expect {
    const char* name;
    int frames;
  };
  const Expect images[] = {{"bg.png", 1}, {"by.png", 2}, {"TON.png", 31}, {"SUS.png", 31}, {"OUT.png", 31}};
  for (const Expect& e : images) {
    const std::string name = std::string("resources/img/") + e.name;
    int w = 0, h = 0;
    ASSERT_TRUE(LinuxImageSize(kBundle, name.c_str(), &w, &h, "")) << e.name;
    std::unique_ptr<PIX_IBitmap> bm(LinuxLoadImage(kBundle, name.c_str(), ""));
    ASSERT_TRUE(bm) << e.name;
    // The header's size is the decoded size.
    EXPECT_EQ(w, bm->getWidth()) << e.name;
    EXPECT_EQ(h, bm->getHeight()) << e.name;
    EXPECT_EQ(0, h % e.frames) << e.name;
  }
  int w = 0, h = 0;
  ASSERT_TRUE(LinuxImageSize(kBundle, "bg.png", &w, &h, ""));
  EXPECT_EQ(303, w);
  EXPECT_EQ(436, h);
}

TEST(LinuxResources, HeaderSizeNeedsAWellFormedHeader)
{
  std::vector<unsigned char> png = SmallPng(7, 5);
  int w = 0, h = 0;
  ASSERT_TRUE(LinuxPngHeaderSize(png.data(), png.size(), &w, &h));
  EXPECT_EQ(7, w);
  EXPECT_EQ(5, h);
  EXPECT_FALSE(LinuxPngHeaderSize(png.data(), 23, &w, &h));
  EXPECT_FALSE(LinuxPngHeaderSize(nullptr, 100, &w, &h));
  std::vector<unsigned char> bad = png;
  bad[1] = 'Q';  // signature
  EXPECT_FALSE(LinuxPngHeaderSize(bad.data(), bad.size(), &w, &h));
  bad = png;
  bad[12] = 'X';  // first chunk is not IHDR
  EXPECT_FALSE(LinuxPngHeaderSize(bad.data(), bad.size(), &w, &h));
  bad = png;
  PutBigEndian32(bad, 16, 0);  // zero width
  EXPECT_FALSE(LinuxPngHeaderSize(bad.data(), bad.size(), &w, &h));
  bad = png;
  PutBigEndian32(bad, 20, 0x80000000u);  // beyond the format's limit
  EXPECT_FALSE(LinuxPngHeaderSize(bad.data(), bad.size(), &w, &h));
}

TEST(LinuxResources, OverrideFolderIsLookedInFirst)
{
  const std::string dir = MakeScratchFolder();
  ASSERT_FALSE(dir.empty());
  ASSERT_TRUE(WriteFile(dir + "bg.png", SmallPng(9, 4)));
  int w = 0, h = 0;
  ASSERT_TRUE(LinuxImageSize(kBundle, "resources/img/bg.png", &w, &h, dir.c_str()));
  EXPECT_EQ(9, w);
  EXPECT_EQ(4, h);
  std::unique_ptr<PIX_IBitmap> bm(LinuxLoadImage(kBundle, "resources/img/bg.png", dir.c_str()));
  ASSERT_TRUE(bm);
  EXPECT_EQ(9, bm->getWidth());
  EXPECT_EQ(4, bm->getHeight());

  // Files the folder lacks still come from the module; a file that is not
  // a PNG is passed over rather than shadowing the built-in image.
  ASSERT_TRUE(LinuxImageSize(kBundle, "resources/img/by.png", &w, &h, dir.c_str()));
  EXPECT_EQ(268, w);
  ASSERT_TRUE(WriteFile(dir + "OUT.png", std::vector<unsigned char>{'n', 'o', 't', ' ', 'p', 'n', 'g'}));
  std::unique_ptr<PIX_IBitmap> out(LinuxLoadImage(kBundle, "OUT.png", dir.c_str()));
  ASSERT_TRUE(out);
  EXPECT_EQ(64 * 31, out->getHeight());
  // A file with a valid header but a broken body is what the user put
  // there: it is tried, and its failure is reported, not hidden.
  std::vector<unsigned char> broken = SmallPng(6, 6);
  broken.resize(40);
  ASSERT_TRUE(WriteFile(dir + "SUS.png", broken));
  EXPECT_EQ(nullptr, LinuxLoadImage(kBundle, "SUS.png", dir.c_str()));
  // Images found nowhere.
  EXPECT_FALSE(LinuxImageSize(kBundle, "nothing.png", &w, &h, dir.c_str()));
  EXPECT_EQ(nullptr, LinuxLoadImage(kBundle, "nothing.png", dir.c_str()));

  for (const char* f : {"bg.png", "OUT.png", "SUS.png"}) unlink((dir + f).c_str());
  rmdir(dir.c_str());
}

// Without a folder given, the override folder is resources/img/ beside the
// module this code is linked into (here the test program).
TEST(LinuxResources, DefaultOverrideFolderIsBesideTheModule)
{
  char exe[4096];
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  ASSERT_GT(n, 0);
  exe[n] = 0;
  std::string folder(exe);
  folder = folder.substr(0, folder.rfind('/') + 1) + "resources/img/";
  mkdir((folder.substr(0, folder.size() - 5)).c_str(), 0755);
  mkdir(folder.c_str(), 0755);
  const std::string file = folder + "quarry-override-probe.png";
  ASSERT_TRUE(WriteFile(file, SmallPng(3, 11)));
  int w = 0, h = 0;
  const bool found = LinuxImageSize(kBundle, "resources/img/quarry-override-probe.png", &w, &h);
  unlink(file.c_str());
  ASSERT_TRUE(found);
  EXPECT_EQ(3, w);
  EXPECT_EQ(11, h);
  // And the built-in images still load through the default lookup.
  std::unique_ptr<PIX_IBitmap> bm(LinuxLoadImage(kBundle, "resources/img/TON.png"));
  ASSERT_TRUE(bm);
  EXPECT_EQ(64, bm->getWidth());
}

}  // namespace
