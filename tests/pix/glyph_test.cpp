// Coverage-mask compositing and UTF-8 reading.

#include <gtest/gtest.h>

#include "pix/pix_blendmode.h"
#include "pix/pix_glyph.h"
#include "pix/pix_membitmap.h"
#include "pix/pix_utf8.h"

namespace {

TEST(Utf8, SequencesAndLatin1Fallback)
{
  unsigned short c = 0;
  EXPECT_EQ(utf8char("A", &c), 1);
  EXPECT_EQ(c, 'A');
  EXPECT_EQ(utf8char("\xC3\xA9", &c), 2);
  EXPECT_EQ(c, 0xE9);
  EXPECT_EQ(utf8char("\xE2\x82\xAC", &c), 3);
  EXPECT_EQ(c, 0x20AC);
  // Four-byte characters are consumed whole and read as a space.
  EXPECT_EQ(utf8char("\xF0\x9F\x98\x80x", &c), 4);
  EXPECT_EQ(c, ' ');
  // Stray and invalid bytes are Latin-1, one byte each.
  EXPECT_EQ(utf8char("\xE9t", &c), 1);
  EXPECT_EQ(c, 0xE9);
  EXPECT_EQ(utf8char("\xC0\x80", &c), 1);
  EXPECT_EQ(c, 0xC0);
  EXPECT_EQ(utf8char("\xF5\x80\x80\x80", &c), 1);
  EXPECT_EQ(c, 0xF5);
  EXPECT_EQ(utf8char("\xE2\x82", &c), 1);  // cut short by the terminator
  EXPECT_EQ(c, 0xE2);
  // A sequence cut by the byte count is not read past it.
  EXPECT_EQ(utf8char("\xC3\xA9", &c, 1), 1);
  EXPECT_EQ(c, 0xC3);
  EXPECT_EQ(utf8char("x", &c, 0), 0);

  char buf[3];
  EXPECT_EQ(PIX_EncodeUTF8(0x41, buf), 1);
  EXPECT_EQ(PIX_EncodeUTF8(0xE9, buf), 2);
  EXPECT_EQ(utf8char(buf, &c, 2), 2);
  EXPECT_EQ(c, 0xE9);
  EXPECT_EQ(PIX_EncodeUTF8(0x20AC, buf), 3);
  EXPECT_EQ(utf8char(buf, &c, 3), 3);
  EXPECT_EQ(c, 0x20AC);
}

class GlyphDraw : public ::testing::Test {
protected:
  void SetUp() override
  {
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) px(x, y) = 0;
  }
  PIX_pixel& px(int x, int y) { return bm.getBits()[y * bm.getRowSpan() + x]; }
  PIX_MemBitmap bm{4, 4};
};

TEST_F(GlyphDraw, WeightIsAlphaTimesCoverage)
{
  const unsigned char mask[4] = {0, 128, 255, 64};
  PIX_DrawGlyph(&bm, 0, 0, 0xFFFFFFFF, mask, 4, 1, 1.0f, PIX_OP_COPY);
  EXPECT_EQ(px(0, 0), 0u);  // no coverage, untouched
  // 0 + (255 - 0) * weight / 256 per channel, alpha included.
  EXPECT_EQ(px(1, 0), 0x80808080u);  // weight 128
  EXPECT_EQ(px(2, 0), 0xFFFFFFFFu);  // weight 255
  EXPECT_EQ(px(3, 0), 0x40404040u);  // weight 64
  // Half alpha halves the weight.
  PIX_DrawGlyph(&bm, 0, 1, 0xFFFFFFFF, mask, 4, 1, 0.5f, PIX_OP_COPY);
  EXPECT_EQ(px(2, 1), 0x7F7F7F7Fu);  // weight 127
  // Mono: any coverage is full weight.
  PIX_DrawMonoGlyph(&bm, 0, 2, 0xFFFFFFFF, mask, 4, 1, 1.0f, PIX_OP_COPY);
  EXPECT_EQ(px(0, 2), 0u);
  EXPECT_EQ(px(3, 2), 0xFFFFFFFFu);
  // Add uses the same weight.
  PIX_DrawGlyph(&bm, 0, 3, 0xFF808080, mask, 4, 1, 1.0f, PIX_OP_ADD);
  EXPECT_EQ(px(1, 3), 0x7F404040u);
}

TEST_F(GlyphDraw, ClippingRowOrderAndUnknownOperators)
{
  // Rows stored from the last one: the first stored row is the bottom.
  const unsigned char mask[4] = {255, 0, 0, 255};  // stored rows: [255 0] [0 255]
  PIX_DrawGlyphEx(&bm, 0, 0, 0xFFFFFFFF, mask, 2, -2, 2, 1.0f, PIX_OP_COPY);
  EXPECT_EQ(px(0, 0), 0u);
  EXPECT_NE(px(1, 0), 0u);
  EXPECT_NE(px(0, 1), 0u);
  EXPECT_EQ(px(1, 1), 0u);
  SetUp();
  PIX_DrawGlyphEx(&bm, 0, 0, 0xFFFFFFFF, mask, 2, 2, 2, 1.0f, PIX_OP_COPY);
  EXPECT_NE(px(0, 0), 0u);
  EXPECT_EQ(px(1, 0), 0u);

  // Partly outside the bitmap: only the inside is drawn, nothing outside read.
  SetUp();
  const unsigned char full[9] = {255, 255, 255, 255, 255, 255, 255, 255, 255};
  PIX_DrawMonoGlyph(&bm, -1, 2, 0xFFFFFFFF, full, 3, 3, 1.0f, PIX_OP_COPY);
  int drawn = 0;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) drawn += px(x, y) != 0;
  EXPECT_EQ(drawn, 4);  // columns 0-1, rows 2-3
  PIX_DrawMonoGlyph(&bm, 10, 10, 0xFFFFFFFF, full, 3, 3, 1.0f, PIX_OP_COPY);

  SetUp();
  PIX_DrawMonoGlyph(&bm, 0, 0, 0xFFFFFFFF, full, 3, 3, 1.0f, 7);     // no such operator
  PIX_DrawMonoGlyph(&bm, 0, 0, 0xFFFFFFFF, full, 3, 3, 0.0f, 0);     // invisible
  PIX_DrawMonoGlyph(&bm, 0, 0, 0xFFFFFFFF, nullptr, 3, 3, 1.0f, 0);  // no mask
  PIX_DrawMonoGlyph(nullptr, 0, 0, 0xFFFFFFFF, full, 3, 3, 1.0f, 0);
  EXPECT_EQ(px(0, 0), 0u);
}

}  // namespace
