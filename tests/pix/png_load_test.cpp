// Loading PNG images of every colour type and bit depth into bitmaps, and
// refusing bad input without touching the caller's bitmap.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "pix/pix_membitmap.h"
#include "pix/pix_png.h"
#include "tests/pix/png_test_writer.h"
#include "tests/temp_folder.h"

namespace {

// Fails the test at the first pixel that differs from what the image must
// load as; rows are read through the bitmap's row span and flipped state.
void ExpectPixels(const TestImage& image, PIX_IBitmap* bmp)
{
  ASSERT_NE(bmp, nullptr);
  ASSERT_EQ(bmp->getWidth(), image.width);
  ASSERT_EQ(bmp->getHeight(), image.height);
  ASSERT_NE(bmp->getBits(), nullptr);
  ASSERT_GE(bmp->getRowSpan(), image.width);
  for (int y = 0; y < image.height; ++y) {
    const int memoryRow = bmp->isFlipped() ? image.height - 1 - y : y;
    const PIX_pixel* row = bmp->getBits() + static_cast<ptrdiff_t>(memoryRow) * bmp->getRowSpan();
    for (int x = 0; x < image.width; ++x) {
      ASSERT_EQ(row[x], ExpectedPixel(image, x, y)) << "at " << x << "," << y;
    }
  }
}

std::unique_ptr<PIX_IBitmap> LoadFromMemory(const std::vector<unsigned char>& bytes)
{
  return std::unique_ptr<PIX_IBitmap>(
      PIX_LoadPNGFromMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr));
}

struct Format {
  const char* name;
  int colorType;
  int bitDepth;
  bool interlaced;
  enum { NoTransparency, Transparency } trns;
};

void PrintTo(const Format& f, std::ostream* os) { *os << f.name; }

TestImage MakeFormatImage(const Format& f)
{
  TestImage image =
      MakeTestImage(f.colorType, f.bitDepth, f.interlaced ? 11 : 13, f.interlaced ? 9 : 7, f.interlaced);
  if (f.trns == Format::Transparency) {
    if (f.colorType == PNG_COLOR_TYPE_PALETTE) {
      // Fewer alpha entries than palette entries: the rest stay opaque.
      for (size_t i = 0; i + 1 < image.palette.size() || i == 0; ++i) {
        image.paletteAlpha.push_back(static_cast<png_byte>(i * 53 % 256));
      }
    } else {
      // Make a colour that occurs in the image the transparent one.
      image.hasTransparentColor = true;
      if (f.colorType == PNG_COLOR_TYPE_GRAY) {
        image.transparentColor.gray = static_cast<png_uint_16>(image.Sample(3, 1, 0));
      } else {
        image.transparentColor.red = static_cast<png_uint_16>(image.Sample(3, 1, 0));
        image.transparentColor.green = static_cast<png_uint_16>(image.Sample(3, 1, 1));
        image.transparentColor.blue = static_cast<png_uint_16>(image.Sample(3, 1, 2));
      }
    }
  }
  return image;
}

class PNGFormat : public ::testing::TestWithParam<Format> {};

TEST_P(PNGFormat, LoadsAsOpaqueOrAlphaARGB)
{
  TestImage image = MakeFormatImage(GetParam());
  std::vector<unsigned char> bytes = WritePNG(image);
  ASSERT_FALSE(bytes.empty());
  std::unique_ptr<PIX_IBitmap> bmp = LoadFromMemory(bytes);
  ExpectPixels(image, bmp.get());
  if (HasFatalFailure()) return;
  if (image.hasTransparentColor) {
    EXPECT_EQ(bmp->getBits()[1 * bmp->getRowSpan() + 3] >> 24, 0u) << "the transparent colour keeps no alpha";
  }
}

const Format kFormats[] = {
    {"Grey1", PNG_COLOR_TYPE_GRAY, 1, false, Format::NoTransparency},
    {"Grey2", PNG_COLOR_TYPE_GRAY, 2, false, Format::NoTransparency},
    {"Grey4", PNG_COLOR_TYPE_GRAY, 4, false, Format::NoTransparency},
    {"Grey8", PNG_COLOR_TYPE_GRAY, 8, false, Format::NoTransparency},
    {"Grey16", PNG_COLOR_TYPE_GRAY, 16, false, Format::NoTransparency},
    {"Grey2WithTransparentColour", PNG_COLOR_TYPE_GRAY, 2, false, Format::Transparency},
    {"Grey8WithTransparentColour", PNG_COLOR_TYPE_GRAY, 8, false, Format::Transparency},
    {"Grey16WithTransparentColour", PNG_COLOR_TYPE_GRAY, 16, false, Format::Transparency},
    {"GreyAlpha8", PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, Format::NoTransparency},
    {"GreyAlpha16", PNG_COLOR_TYPE_GRAY_ALPHA, 16, false, Format::NoTransparency},
    {"RGB8", PNG_COLOR_TYPE_RGB, 8, false, Format::NoTransparency},
    {"RGB16", PNG_COLOR_TYPE_RGB, 16, false, Format::NoTransparency},
    {"RGB8WithTransparentColour", PNG_COLOR_TYPE_RGB, 8, false, Format::Transparency},
    {"RGB16WithTransparentColour", PNG_COLOR_TYPE_RGB, 16, false, Format::Transparency},
    {"RGBA8", PNG_COLOR_TYPE_RGB_ALPHA, 8, false, Format::NoTransparency},
    {"RGBA16", PNG_COLOR_TYPE_RGB_ALPHA, 16, false, Format::NoTransparency},
    {"Palette1", PNG_COLOR_TYPE_PALETTE, 1, false, Format::NoTransparency},
    {"Palette2", PNG_COLOR_TYPE_PALETTE, 2, false, Format::NoTransparency},
    {"Palette4", PNG_COLOR_TYPE_PALETTE, 4, false, Format::NoTransparency},
    {"Palette8", PNG_COLOR_TYPE_PALETTE, 8, false, Format::NoTransparency},
    {"Palette4WithAlpha", PNG_COLOR_TYPE_PALETTE, 4, false, Format::Transparency},
    {"Palette8WithAlpha", PNG_COLOR_TYPE_PALETTE, 8, false, Format::Transparency},
    {"InterlacedGrey1", PNG_COLOR_TYPE_GRAY, 1, true, Format::NoTransparency},
    {"InterlacedRGBA8", PNG_COLOR_TYPE_RGB_ALPHA, 8, true, Format::NoTransparency},
    {"InterlacedRGB16", PNG_COLOR_TYPE_RGB, 16, true, Format::NoTransparency},
    {"InterlacedPalette4WithAlpha", PNG_COLOR_TYPE_PALETTE, 4, true, Format::Transparency},
};

INSTANTIATE_TEST_SUITE_P(AllColourTypes, PNGFormat, ::testing::ValuesIn(kFormats),
                         [](const ::testing::TestParamInfo<Format>& info) {
                           return std::string(info.param.name);
                         });

TEST(PNGPixels, KnownValuesOfTheEdgeCases)
{
  // Grey 1-bit: black and white, opaque.
  TestImage grey = MakeTestImage(PNG_COLOR_TYPE_GRAY, 1, 2, 1);
  grey.samples = {0, 1};
  auto bmp = LoadFromMemory(WritePNG(grey));
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(bmp->getBits()[0], 0xFF000000u);
  EXPECT_EQ(bmp->getBits()[1], 0xFFFFFFFFu);

  // 16-bit RGBA: each channel keeps its high byte, colour not premultiplied.
  TestImage rgba = MakeTestImage(PNG_COLOR_TYPE_RGB_ALPHA, 16, 1, 1);
  rgba.samples = {0x12FF, 0x3400, 0x56AB, 0x7801};
  bmp = LoadFromMemory(WritePNG(rgba));
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(bmp->getBits()[0], 0x78123456u);

  // Palette with a transparency chunk: alpha per entry, opaque past its end.
  TestImage pal = MakeTestImage(PNG_COLOR_TYPE_PALETTE, 2, 3, 1);
  pal.palette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}};
  pal.paletteAlpha = {0, 128};
  pal.samples = {0, 1, 2};
  bmp = LoadFromMemory(WritePNG(pal));
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(bmp->getBits()[0], 0x000A141Eu);
  EXPECT_EQ(bmp->getBits()[1], 0x8028323Cu);
  EXPECT_EQ(bmp->getBits()[2], 0xFF46505Au);
}

// A bitmap whose memory rows run bottom to top.
class FlippedBitmap : public PIX_IBitmap {
public:
  PIX_pixel* getBits() override { return m_pixels.empty() ? nullptr : m_pixels.data(); }
  int getWidth() override { return m_w; }
  int getHeight() override { return m_h; }
  int getRowSpan() override { return m_w + 3; }
  bool isFlipped() override { return true; }
  bool resize(int w, int h) override
  {
    if (w == m_w && h == m_h) return false;
    m_w = w;
    m_h = h;
    m_pixels.assign(static_cast<size_t>(w + 3) * h, 0xDEADBEEF);
    return true;
  }

private:
  std::vector<PIX_pixel> m_pixels;
  int m_w = 0, m_h = 0;
};

// A bitmap whose storage can never be had: every resize leaves it empty.
class NoStorageBitmap : public PIX_IBitmap {
public:
  PIX_pixel* getBits() override { return nullptr; }
  int getWidth() override { return 0; }
  int getHeight() override { return 0; }
  int getRowSpan() override { return 0; }
  bool resize(int, int) override { return true; }
};

TEST(PNGTargetBitmap, IsResizedToTheImageAndReturned)
{
  TestImage image = MakeTestImage(PNG_COLOR_TYPE_RGB_ALPHA, 8, 13, 7);
  std::vector<unsigned char> bytes = WritePNG(image);
  for (int size : {1, 13, 64}) {
    PIX_MemBitmap target(size, size + 3, 4);
    PIX_IBitmap* result = PIX_LoadPNGFromMemory(bytes.data(), static_cast<int>(bytes.size()), &target);
    EXPECT_EQ(result, &target);
    ExpectPixels(image, &target);
  }

  FlippedBitmap flipped;
  flipped.resize(2, 2);
  EXPECT_EQ(PIX_LoadPNGFromMemory(bytes.data(), static_cast<int>(bytes.size()), &flipped), &flipped);
  ExpectPixels(image, &flipped);
  // The image's top row is the last row in memory.
  EXPECT_EQ(flipped.getBits()[6 * flipped.getRowSpan()], ExpectedPixel(image, 0, 0));

  NoStorageBitmap noStorage;
  EXPECT_EQ(PIX_LoadPNGFromMemory(bytes.data(), static_cast<int>(bytes.size()), &noStorage), nullptr);
}

// ---- Files, resources and the loader record ----

class PNGFiles : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(m_temp.Made());
    m_image = MakeTestImage(PNG_COLOR_TYPE_PALETTE, 4, 5, 4);
    m_bytes = WritePNG(m_image);
  }
  std::string Write(const std::string& name)
  {
    std::string path = m_dir + "/" + name;
    EXPECT_TRUE(WriteFile(path, m_bytes));
    return path;
  }
  std::string MakeDir(const std::string& name)
  {
    std::string path = m_dir + "/" + name;
    EXPECT_EQ(mkdir(path.c_str(), 0700), 0);
    return path;
  }

  TempFolder m_temp{"png"};
  const std::string m_dir = m_temp.Path();
  TestImage m_image;
  std::vector<unsigned char> m_bytes;
};

TEST_F(PNGFiles, LoadFromFile)
{
  std::unique_ptr<PIX_IBitmap> bmp(PIX_LoadPNG(Write("knob.png").c_str()));
  ExpectPixels(m_image, bmp.get());
  EXPECT_EQ(PIX_LoadPNG((m_dir + "/missing.png").c_str()), nullptr);
  EXPECT_EQ(PIX_LoadPNG(nullptr), nullptr);
  EXPECT_EQ(PIX_LoadPNG(m_dir.c_str()), nullptr) << "a folder is no image";
}

TEST_F(PNGFiles, LoaderChecksTheExtensionOnlyWhenAsked)
{
  const std::string upper = Write("KNOB.PNG");
  const std::string jpg = Write("knob.jpg");
  const std::string bare = Write("knob");
  MakeDir("strip.png");
  const std::string belowPngDir = Write("strip.png/frames");

  std::unique_ptr<PIX_IBitmap> bmp(PIX_PNGLoader::loadfunc(upper.c_str(), 1, nullptr));
  ExpectPixels(m_image, bmp.get());
  EXPECT_EQ(PIX_PNGLoader::loadfunc(jpg.c_str(), 1, nullptr), nullptr);
  EXPECT_EQ(PIX_PNGLoader::loadfunc(bare.c_str(), 1, nullptr), nullptr);
  EXPECT_EQ(PIX_PNGLoader::loadfunc(belowPngDir.c_str(), 1, nullptr), nullptr);
  EXPECT_EQ(PIX_PNGLoader::loadfunc("png", 1, nullptr), nullptr);

  // Without the check the contents decide.
  bmp.reset(PIX_PNGLoader::loadfunc(jpg.c_str(), 0, nullptr));
  ExpectPixels(m_image, bmp.get());
  PIX_MemBitmap target(3, 3, 4);
  EXPECT_EQ(PIX_PNGLoader::loadfunc(bare.c_str(), 0, &target), &target);
  ExpectPixels(m_image, &target);
}

TEST(PNGLoaderRecord, IsRegisteredWithItsFileTypes)
{
  bool found = false;
  for (PIX_ImageLoader* l = PIX_ImageLoader_list; l; l = l->_next) found = found || l == &PIX_pngldr;
  EXPECT_TRUE(found);
  EXPECT_EQ(PIX_pngldr.loadfunc, &PIX_PNGLoader::loadfunc);
  ASSERT_EQ(PIX_pngldr.get_extlist, &PIX_PNGLoader::get_extlist);

  const char* list = PIX_pngldr.get_extlist();
  std::vector<std::string> entries;
  for (const char* p = list; *p; p += std::strlen(p) + 1) entries.push_back(p);
  EXPECT_EQ(entries, (std::vector<std::string>{"PNG files (*.PNG)", "*.PNG"}));
}

std::string ProgramFolder()
{
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
  if (n <= 0) return "";
  path[n] = 0;
  std::string s(path);
  return s.substr(0, s.rfind('/'));
}

TEST(PNGResources, LoadFromTheResourceFolderBesideTheProgram)
{
  const std::string folder = ProgramFolder() + "/resources";
  mkdir(folder.c_str(), 0700);
  const std::string name = "quarry-png-test-" + std::to_string(getpid()) + ".png";
  TestImage image = MakeTestImage(PNG_COLOR_TYPE_GRAY_ALPHA, 8, 4, 3);
  ASSERT_TRUE(WriteFile(folder + "/" + name, WritePNG(image)));

  std::unique_ptr<PIX_IBitmap> bmp(PIX_LoadPNGFromNamedResource(name.c_str()));
  ExpectPixels(image, bmp.get());
  PIX_MemBitmap target(1, 1, 4);
  EXPECT_EQ(PIX_LoadPNGFromNamedResource(name.c_str(), &target), &target);
  ExpectPixels(image, &target);

  EXPECT_EQ(PIX_LoadPNGFromNamedResource("quarry-png-no-such-image.png"), nullptr);
  EXPECT_EQ(PIX_LoadPNGFromNamedResource(""), nullptr);
  EXPECT_EQ(PIX_LoadPNGFromNamedResource(nullptr), nullptr);
  // A 401-character name is refused even when it would resolve to the image.
  std::string longName = std::string(401 - name.size(), '/') + name;
  EXPECT_EQ(PIX_LoadPNGFromNamedResource(longName.c_str()), nullptr);
  std::string longestName = std::string(400 - name.size(), '/') + name;
  bmp.reset(PIX_LoadPNGFromNamedResource(longestName.c_str()));
  EXPECT_NE(bmp, nullptr);

  EXPECT_EQ(PIX_LoadPNGFromResource(nullptr, name.c_str(), nullptr), nullptr);
  std::remove((folder + "/" + name).c_str());
  rmdir(folder.c_str());  // only if nothing else lives there
}

}  // namespace
