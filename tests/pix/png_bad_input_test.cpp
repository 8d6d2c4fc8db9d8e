// Damaged, hostile and missing input: every load fails cleanly, frees what
// it took and leaves the caller's bitmap exactly as it was.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "pix/pix_membitmap.h"
#include "pix/pix_png.h"
#include "tests/pix/png_test_writer.h"

namespace {

// A target bitmap with known contents, to prove a failed load left it alone.
class GuardedTarget {
public:
  GuardedTarget() : m_bmp(6, 5, 4)
  {
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 6; ++x) m_bmp.getBits()[y * m_bmp.getRowSpan() + x] = 0x01020304u * (y * 6 + x + 1);
    }
  }
  PIX_IBitmap* Get() { return &m_bmp; }
  void ExpectUntouched()
  {
    ASSERT_EQ(m_bmp.getWidth(), 6);
    ASSERT_EQ(m_bmp.getHeight(), 5);
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 6; ++x) {
        ASSERT_EQ(m_bmp.getBits()[y * m_bmp.getRowSpan() + x], 0x01020304u * (y * 6 + x + 1));
      }
    }
  }

private:
  PIX_MemBitmap m_bmp;
};

PIX_IBitmap* Load(const std::vector<unsigned char>& bytes, PIX_IBitmap* target = nullptr)
{
  return PIX_LoadPNGFromMemory(bytes.data(), static_cast<int>(bytes.size()), target);
}

// Both forms, with and without a target, must refuse the bytes.
void ExpectRefused(const std::vector<unsigned char>& bytes)
{
  EXPECT_EQ(std::unique_ptr<PIX_IBitmap>(Load(bytes)), nullptr);
  GuardedTarget target;
  EXPECT_EQ(Load(bytes, target.Get()), nullptr);
  target.ExpectUntouched();

  const std::string path = "/tmp/quarry-png-bad-" + std::to_string(getpid()) + ".png";
  ASSERT_TRUE(WriteFile(path, bytes));
  EXPECT_EQ(std::unique_ptr<PIX_IBitmap>(PIX_LoadPNG(path.c_str())), nullptr);
  EXPECT_EQ(PIX_LoadPNG(path.c_str(), target.Get()), nullptr);
  target.ExpectUntouched();
  std::remove(path.c_str());
}

std::vector<unsigned char> ValidImage() { return WritePNG(MakeTestImage(PNG_COLOR_TYPE_RGB_ALPHA, 8, 9, 8)); }

std::vector<unsigned char> WithSize(uint32_t width, uint32_t height)
{
  std::vector<unsigned char> png = ValidImage();
  PutBigEndian32(png, 16, width);
  PutBigEndian32(png, 20, height);
  FixChunkCRC(png, 8);
  return png;
}

TEST(PNGBadInput, ShortBuffersAndWrongSignaturesAreRefused)
{
  std::vector<unsigned char> png = ValidImage();
  GuardedTarget target;
  for (int len = 0; len < 8; ++len) EXPECT_EQ(PIX_LoadPNGFromMemory(png.data(), len, target.Get()), nullptr);
  EXPECT_EQ(PIX_LoadPNGFromMemory(png.data(), -1, target.Get()), nullptr);
  EXPECT_EQ(PIX_LoadPNGFromMemory(nullptr, 100, target.Get()), nullptr);
  target.ExpectUntouched();

  for (size_t at : {0, 1, 4, 7}) {
    std::vector<unsigned char> bad = png;
    bad[at] ^= 0x20;
    ExpectRefused(bad);
  }
  ExpectRefused(std::vector<unsigned char>(64, 0));
  ExpectRefused({});
}

TEST(PNGBadInput, TruncatedImagesNeverLoadWrongPixels)
{
  TestImage image = MakeTestImage(PNG_COLOR_TYPE_RGB, 8, 9, 8);
  std::vector<unsigned char> png = WritePNG(image);
  const size_t idat = FindChunk(png, "IDAT");
  ASSERT_NE(idat, 0u);
  const size_t idatDataEnd = idat + 8 + ChunkLength(png, idat);

  // Cut anywhere inside the image data or before it: nothing loads.
  for (size_t len = 8; len < idatDataEnd; ++len) {
    SCOPED_TRACE("length " + std::to_string(len));
    std::vector<unsigned char> cut(png.begin(), png.begin() + len);
    ExpectRefused(cut);
    if (HasFatalFailure()) return;
  }
  // Past the image data the pixels are complete; a missing end marker is
  // tolerated, but what loads must be the whole image.
  for (size_t len = idatDataEnd; len < png.size(); ++len) {
    std::unique_ptr<PIX_IBitmap> bmp(PIX_LoadPNGFromMemory(png.data(), static_cast<int>(len), nullptr));
    if (!bmp) continue;
    ASSERT_EQ(bmp->getWidth(), 9);
    for (int x = 0; x < 9; ++x)
      EXPECT_EQ(bmp->getBits()[7 * bmp->getRowSpan() + x], ExpectedPixel(image, x, 7));
  }
}

int OpenFileCount()
{
  int count = 0;
  for (int fd = 0; fd < 1024; ++fd) count += fcntl(fd, F_GETFD) != -1;
  return count;
}

TEST(PNGBadInput, FileLoadsCloseTheirFiles)
{
  std::vector<unsigned char> png = ValidImage();
  const std::string path = "/tmp/quarry-png-fd-" + std::to_string(getpid()) + ".png";
  const int before = OpenFileCount();
  for (size_t len : {png.size(), png.size() / 2, size_t(20), size_t(3)}) {
    ASSERT_TRUE(WriteFile(path, std::vector<unsigned char>(png.begin(), png.begin() + len)));
    std::unique_ptr<PIX_IBitmap> bmp(PIX_LoadPNG(path.c_str()));
    EXPECT_EQ(bmp != nullptr, len == png.size());
  }
  std::remove(path.c_str());
  EXPECT_EQ(OpenFileCount(), before);
}

TEST(PNGBadInput, CorruptChunksAreRefused)
{
  const std::vector<unsigned char> png = ValidImage();
  const size_t idat = FindChunk(png, "IDAT");
  ASSERT_NE(idat, 0u);

  std::vector<unsigned char> badCRC = png;
  badCRC[idat + 8 + ChunkLength(png, idat) / 2] ^= 0x55;
  ExpectRefused(badCRC);

  // Damaged compressed data behind a correct checksum.
  std::vector<unsigned char> badZlib = png;
  badZlib[idat + 8] ^= 0x01;
  FixChunkCRC(badZlib, idat);
  ExpectRefused(badZlib);

  std::vector<unsigned char> badStream = png;
  for (uint32_t i = 2; i < ChunkLength(png, idat); ++i)
    badStream[idat + 8 + i] = static_cast<unsigned char>(i * 151);
  FixChunkCRC(badStream, idat);
  ExpectRefused(badStream);

  // Header fields no PNG may have.
  for (auto [offset, value] :
       {std::pair<int, int>{24, 3}, {24, 0}, {25, 5}, {25, 7}, {26, 1}, {27, 1}, {28, 2}}) {
    std::vector<unsigned char> badHeader = png;
    badHeader[offset] = static_cast<unsigned char>(value);
    FixChunkCRC(badHeader, 8);
    SCOPED_TRACE("header byte " + std::to_string(offset));
    ExpectRefused(badHeader);
  }

  // No image data at all.
  std::vector<unsigned char> noData(png.begin(), png.begin() + idat);
  noData.insert(noData.end(), png.begin() + idat + 12 + ChunkLength(png, idat), png.end());
  ExpectRefused(noData);

  // A palette image without its palette.
  std::vector<unsigned char> pal = WritePNG(MakeTestImage(PNG_COLOR_TYPE_PALETTE, 8, 4, 4));
  const size_t plte = FindChunk(pal, "PLTE");
  ASSERT_NE(plte, 0u);
  std::vector<unsigned char> noPalette(pal.begin(), pal.begin() + plte);
  noPalette.insert(noPalette.end(), pal.begin() + plte + 12 + ChunkLength(pal, plte), pal.end());
  ExpectRefused(noPalette);
}

TEST(PNGBadInput, OversizedImagesAreRefusedBeforeAllocation)
{
  // Sizes past a side limit, past the pixel limit, past what PNG allows,
  // and empty. A tiny file claiming any of them is turned away without
  // reserving the storage it claims.
  ExpectRefused(WithSize(PIX_PNG_MAX_SIDE + 1, 1));
  ExpectRefused(WithSize(1, PIX_PNG_MAX_SIDE + 1));
  ExpectRefused(WithSize(PIX_PNG_MAX_SIDE, PIX_PNG_MAX_SIDE));
  ExpectRefused(WithSize(4097, 4096));
  ExpectRefused(WithSize(0x7FFFFFFF, 0x7FFFFFFF));
  ExpectRefused(WithSize(0xFFFFFFFF, 1));
  ExpectRefused(WithSize(0, 8));
  ExpectRefused(WithSize(9, 0));
}

TEST(PNGBadInput, SizeLimitsHoldForValidImages)
{
  // A strip as tall as allowed loads: the side limit is not the pixel limit.
  TestImage strip = MakeTestImage(PNG_COLOR_TYPE_GRAY, 1, 1, PIX_PNG_MAX_SIDE);
  std::unique_ptr<PIX_IBitmap> bmp(Load(WritePNG(strip)));
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(bmp->getHeight(), PIX_PNG_MAX_SIDE);
  EXPECT_EQ(bmp->getBits()[(PIX_PNG_MAX_SIDE - 1) * bmp->getRowSpan()],
            ExpectedPixel(strip, 0, PIX_PNG_MAX_SIDE - 1));

  // Well-formed images (a few kilobytes of compressed data) at and just
  // past the pixel limit.
  bmp.reset(Load(WriteBlankPNG(4096, 4096)));
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(bmp->getBits()[4095 * bmp->getRowSpan() + 4095], 0xFF000000u);
  bmp.reset();
  ExpectRefused(WriteBlankPNG(4097, 4096));
  ExpectRefused(WriteBlankPNG(PIX_PNG_MAX_SIDE + 1, 1));
}

TEST(PNGBadInput, LargeAncillaryChunksDoNotStopTheImage)
{
  // A text chunk bigger than the loader buffers is skipped; the image loads.
  TestImage image = MakeTestImage(PNG_COLOR_TYPE_RGB, 8, 3, 3);
  std::vector<unsigned char> png = WritePNG(image);
  std::vector<unsigned char> text(12 + 5 * 1024 * 1024, 'x');
  PutBigEndian32(text, 0, static_cast<uint32_t>(text.size() - 12));
  std::memcpy(&text[4], "tEXt", 4);
  text[8] = 'C';
  text[9] = 0;
  FixChunkCRC(text, 0);
  png.insert(png.begin() + 33, text.begin(), text.end());
  std::unique_ptr<PIX_IBitmap> bmp(Load(png));
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(bmp->getBits()[0], ExpectedPixel(image, 0, 0));
}

}  // namespace
