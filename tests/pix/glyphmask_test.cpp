// Making a glyph's coverage: capture from a white-on-black rendering with
// column trimming, quarter turns, threshold and the shadow and outline
// pixels, each against hand-worked masks.

#include <gtest/gtest.h>

#include <vector>

#include "pix/pix_bitmaprows.h"
#include "pix/pix_glyphmask.h"
#include "pix/pix_membitmap.h"

namespace {

using Bytes = std::vector<unsigned char>;

PIX_GlyphMask Mask(int w, int h, Bytes bytes)
{
  PIX_GlyphMask m;
  m.width = w;
  m.height = h;
  m.bytes = bytes;
  return m;
}

// An 8 x 2 rendering, black but for the given red values.
struct Rendering {
  PIX_MemBitmap bm{8, 2};
  Rendering()
  {
    PIX_BitmapRows rows(&bm);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 8; ++x) *rows.at(x, y) = 0xFF000000;
  }
  Rendering& Set(int x, int y, PIX_pixel p)
  {
    *PIX_BitmapRows(&bm).at(x, y) = p;
    return *this;
  }
};

// The capture of the rendering with the pen at 2 and an advance of 3.
void ExpectCapture(Rendering& r, int areaWidth, bool invert, int width, int leftExtra, const Bytes& bytes)
{
  const PIX_GlyphMask m = PIX_CaptureGlyphCoverage(&r.bm, areaWidth, 2, 2, 3, invert);
  EXPECT_EQ(m.width, width);
  EXPECT_EQ(m.height, 2);
  EXPECT_EQ(m.leftExtra, leftExtra);
  EXPECT_EQ(m.bytes, bytes);
}

TEST(GlyphMask, CaptureTrimsBlankColumnsButKeepsThePenAndAdvance)
{
  // Columns 2..4 (pen to advance) stay even when blank; coverage at 5 and 6
  // widens the kept range to 2..6.
  Rendering r;
  r.Set(5, 0, 0xFFC80000).Set(6, 1, 0xFF640000);
  ExpectCapture(r, 8, false, 5, 0, {0, 0, 0, 200, 0, 0, 0, 0, 0, 100});
  // Coverage left of the pen: kept, and counted as left extra.
  Rendering left;
  left.Set(0, 1, 0xFFFF0000);
  ExpectCapture(left, 8, false, 5, 2, {0, 0, 0, 0, 0, 255, 0, 0, 0, 0});
  // Only the red byte is coverage; a blank rendering keeps pen..advance.
  Rendering blank;
  blank.Set(1, 0, 0xFF00FFFF);
  ExpectCapture(blank, 8, false, 3, 0, Bytes(6, 0));
  // Inverted, the blank rendering covers every column of the area (here
  // the first 6).
  ExpectCapture(blank, 6, true, 6, 2, Bytes(12, 255));

  // An area larger than the rendering is cut to it; an empty one is empty.
  const PIX_GlyphMask m = PIX_CaptureGlyphCoverage(&r.bm, 50, 9, 2, 60, false);
  EXPECT_EQ(m.width, 6);
  EXPECT_EQ(m.height, 2);
  EXPECT_TRUE(PIX_CaptureGlyphCoverage(&r.bm, 0, 2, 2, 3, false).bytes.empty());
  EXPECT_TRUE(PIX_CaptureGlyphCoverage(nullptr, 8, 2, 2, 3, false).bytes.empty());
}

TEST(GlyphMask, QuarterTurnsBothWays)
{
  // 1 2 3        clockwise: 4 1     bottom-up: 3 6
  // 4 5 6                   5 2                2 5
  //                         6 3                1 4
  PIX_GlyphMask m = Mask(3, 2, {1, 2, 3, 4, 5, 6});
  PIX_TurnGlyphMask(m, false);
  EXPECT_EQ(m.width, 2);
  EXPECT_EQ(m.height, 3);
  EXPECT_EQ(m.bytes, (Bytes{4, 1, 5, 2, 6, 3}));
  m = Mask(3, 2, {1, 2, 3, 4, 5, 6});
  PIX_TurnGlyphMask(m, true);
  EXPECT_EQ(m.bytes, (Bytes{3, 6, 2, 5, 1, 4}));
}

TEST(GlyphMask, ThresholdAndEffectPixels)
{
  PIX_GlyphMask m = Mask(4, 1, {0, 130, 131, 255});
  PIX_ThresholdGlyphMask(m);
  EXPECT_EQ(m.bytes, (Bytes{0, 0, 255, 255}));

  // One glyph pixel in the middle: the shadow falls right, below and
  // below-right of it; the outline on its four sides.
  PIX_GlyphMask shadow = Mask(3, 3, {0, 0, 0, 0, 255, 0, 0, 0, 0});
  PIX_AddGlyphEffect(shadow, false);
  EXPECT_EQ(shadow.bytes, (Bytes{0, 0, 0, 0, 255, 128, 0, 128, 128}));
  PIX_GlyphMask outline = Mask(3, 3, {0, 0, 0, 0, 255, 0, 0, 0, 0});
  PIX_AddGlyphEffect(outline, true);
  EXPECT_EQ(outline.bytes, (Bytes{0, 128, 0, 128, 255, 128, 0, 128, 0}));

  // Effect pixels do not spread further.
  PIX_GlyphMask row = Mask(4, 1, {255, 0, 0, 0});
  PIX_AddGlyphEffect(row, true);
  EXPECT_EQ(row.bytes, (Bytes{255, 128, 0, 0}));
}

}  // namespace
