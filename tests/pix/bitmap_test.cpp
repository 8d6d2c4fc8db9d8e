// Memory and system bitmaps: layout, growth and refusal of impossible sizes.
#include <gtest/gtest.h>

#include <cstdint>

#include "pix/pix_membitmap.h"
#include "pix/pix_sysbitmap.h"

TEST(MemBitmap, RowAlignmentAndBitsAlignment)
{
  struct Case {
    int align, width, span;
  } cases[] = {{4, 1, 4}, {4, 4, 4}, {4, 5, 8},    {1, 5, 5},   {0, 7, 7},
               {2, 7, 8}, {6, 7, 8}, {16, 17, 32}, {64, 17, 32}};
  for (const Case& c : cases) {
    PIX_MemBitmap bm(c.width, 3, c.align);
    EXPECT_EQ(bm.getRowSpan(), c.span) << "alignment " << c.align << " width " << c.width;
    ASSERT_NE(bm.getBits(), nullptr);
    EXPECT_EQ((uintptr_t)bm.getBits() % 64, 0u);
    EXPECT_FALSE(bm.isFlipped());
    EXPECT_EQ(bm.getDC(), nullptr);
    EXPECT_EQ(bm.Extended(1, nullptr), 0);
    // Every row is writable up to its span.
    for (int i = 0; i < c.span * 3; ++i) bm.getBits()[i] = 0xFFFFFFFFu;
  }
  PIX_MemBitmap empty;
  EXPECT_EQ(empty.getBits(), nullptr);
  EXPECT_EQ(empty.getWidth(), 0);
}

TEST(MemBitmap, ResizeGrowsByAQuarterAndNeverShrinks)
{
  PIX_MemBitmap bm(10, 10, 4);
  EXPECT_FALSE(bm.resize(10, 10));
  const int first = bm.getAllocatedSize();
  EXPECT_EQ(first, 12 * 10 * 4);
  bm.getBits()[0] = 0x12345678u;
  PIX_pixel* bits = bm.getBits();
  // Smaller: same storage, contents kept (pixels are never cleared).
  EXPECT_TRUE(bm.resize(4, 4));
  EXPECT_EQ(bm.getBits(), bits);
  EXPECT_EQ(bm.getBits()[0], 0x12345678u);
  EXPECT_EQ(bm.getAllocatedSize(), first);
  // Larger: the request plus a quarter.
  EXPECT_TRUE(bm.resize(40, 40));
  EXPECT_EQ(bm.getAllocatedSize(), 40 * 40 * 4 + 40 * 40 * 4 / 4);
  EXPECT_EQ((uintptr_t)bm.getBits() % 64, 0u);
  EXPECT_EQ(bm.getWidth(), 40);
  // A slightly larger size fits the reserve without reallocating.
  const int grown = bm.getAllocatedSize();
  EXPECT_TRUE(bm.resize(44, 44));
  EXPECT_EQ(bm.getAllocatedSize(), grown);
  // 0 by n frees the storage.
  EXPECT_TRUE(bm.resize(0, 5));
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_EQ(bm.getAllocatedSize(), 0);
  EXPECT_EQ(bm.getWidth(), 0);
  EXPECT_EQ(bm.getHeight(), 0);
  EXPECT_TRUE(bm.resize(3, 3));
  ASSERT_NE(bm.getBits(), nullptr);
  EXPECT_EQ(bm.getAllocatedSize(), 4 * 3 * 4);
}

TEST(MemBitmap, SizesWhoseByteCountOverflowAreRefused)
{
  // 50000 x 50000 x 4 bytes and sizes whose int product would wrap round to
  // something small must not give a small buffer that rows are written past.
  const int sizes[][2] = {{50000, 50000}, {46341, 46341},  {65536, 16384},
                          {1 << 30, 4},   {2147483647, 1}, {4, 1 << 29}};
  for (const auto& s : sizes) {
    PIX_MemBitmap bm(8, 8, 4);
    EXPECT_TRUE(bm.resize(s[0], s[1]));
    EXPECT_EQ(bm.getBits(), nullptr) << s[0] << " x " << s[1];
    EXPECT_EQ(bm.getWidth(), 0);
    EXPECT_EQ(bm.getHeight(), 0);
    PIX_MemBitmap direct(s[0], s[1], 4);
    EXPECT_EQ(direct.getBits(), nullptr);
    EXPECT_EQ(direct.getWidth(), 0);
    // The bitmap stays usable.
    EXPECT_TRUE(bm.resize(16, 2));
    ASSERT_NE(bm.getBits(), nullptr);
    bm.getBits()[16 * 2 - 1] = 1;
  }
}

TEST(SysBitmap, RowSpanStorageAndShrinking)
{
  PIX_SysBitmap bm(5, 3);
  EXPECT_EQ(bm.getWidth(), 5);
  EXPECT_EQ(bm.getRowSpan(), 8);
  ASSERT_NE(bm.getBits(), nullptr);
  EXPECT_EQ((uintptr_t)bm.getBits() % 64, 0u);
  for (int i = 0; i < 8 * 3; ++i) EXPECT_EQ(bm.getBits()[i], 0u);  // zero-filled
  EXPECT_FALSE(bm.resize(5, 3));
  PIX_pixel* bits = bm.getBits();
  bits[0] = 42;
  EXPECT_TRUE(bm.resize(2, 2));
  EXPECT_EQ(bm.getRowSpan(), 8);  // storage never shrinks
  EXPECT_EQ(bm.getBits(), bits);
  EXPECT_EQ(bm.getBits()[0], 42u);
  EXPECT_TRUE(bm.resize(9, 4));
  EXPECT_EQ(bm.getRowSpan(), 12);
  EXPECT_EQ(bm.getHeight(), 4);
  EXPECT_FALSE(bm.resize(0, 4));
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_FALSE(bm.resize(-3, 4));
  EXPECT_TRUE(bm.resize(1, 1));
  EXPECT_EQ(bm.getRowSpan(), 4);
}

TEST(SysBitmap, SizesWhoseByteCountOverflowAreRefused)
{
  PIX_SysBitmap bm(4, 4);
  EXPECT_TRUE(bm.resize(50000, 50000));
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_EQ(bm.getWidth(), 0);
  EXPECT_FALSE(bm.resize(2147483645, 1));
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_TRUE(bm.resize(2147483644, 1));
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_TRUE(bm.resize(8, 8));
  ASSERT_NE(bm.getBits(), nullptr);
}
