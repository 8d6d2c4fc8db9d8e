// Blur and halving.
#include <gtest/gtest.h>

#include "pix/pix_blit.h"
#include "pix/pix_membitmap.h"
#include "tests/pix/pix_testsupport.h"

using namespace pixtest;

namespace {
// Half the centre plus an eighth of each neighbour inside the w x h block;
// a missing neighbour's share goes to the opposite one as a quarter.
PIX_pixel RefBlur(const std::vector<PIX_pixel>& px, int stride, int x0, int y0, int w, int h, int x, int y)
{
  auto at = [&](int i, int j) { return Split(px[(size_t)(y0 + j) * stride + x0 + i]); };
  const Chans c = at(x, y);
  Chans out;
  for (int k = 0; k < 4; ++k) {
    int v = c.c[k] / 2;
    if (y > 0 && y < h - 1) v += at(x, y - 1).c[k] / 8 + at(x, y + 1).c[k] / 8;
    else v += (y == 0 ? at(x, y + 1) : at(x, y - 1)).c[k] / 4;
    if (x > 0 && x < w - 1) v += at(x - 1, y).c[k] / 8 + at(x + 1, y).c[k] / 8;
    else v += (x == 0 ? at(x + 1, y) : at(x - 1, y)).c[k] / 4;
    out.c[k] = v;
  }
  return Join(out);
}
}  // namespace

TEST(Blur, IntoAnotherBitmapAndInPlace)
{
  for (int w : {2, 3, 9, 1100}) {
    const int h = w == 1100 ? 3 : 6;
    GuardedBitmap src(w, h), dst(w + 2, h + 1, true), same(w, h);
    FillRandom(src, 61);
    FillRandom(same, 61);
    const std::vector<PIX_pixel> px = src.pixels();
    PIX_Blur(&dst, &src, 1, 1, 0, 0, w, h);
    PIX_Blur(&same, &same, 0, 0, 0, 0, w, h);
    ASSERT_TRUE(dst.guardIntact() && same.guardIntact());
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const PIX_pixel want = RefBlur(px, w, 0, 0, w, h, x, y);
        ASSERT_EQ(dst.get(x + 1, y + 1), want) << w << ": " << x << "," << y;
        ASSERT_EQ(same.get(x, y), want) << "in place " << w << ": " << x << "," << y;
      }
  }
}

TEST(Blur, ShiftedWithinOneBitmapAndClipped)
{
  GuardedBitmap bm(10, 8);
  FillRandom(bm, 62);
  const std::vector<PIX_pixel> px = bm.pixels();
  PIX_Blur(&bm, &bm, 3, 2, 1, 1, 6, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x)
      ASSERT_EQ(bm.get(x + 3, y + 2), RefBlur(px, 10, 1, 1, 6, 5, x, y)) << x << "," << y;
  // Clipped to 3 x 2 by the destination's corner: the blur is of that block.
  GuardedBitmap src(6, 6), dst(4, 4);
  FillRandom(src, 63);
  const std::vector<PIX_pixel> sp = src.pixels();
  PIX_Blur(&dst, &src, 1, 2, 0, 0, 6, 6);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) ASSERT_EQ(dst.get(x + 1, y + 2), RefBlur(sp, 6, 0, 0, 3, 2, x, y));
  // Under 2 x 2 after clipping: nothing.
  GuardedBitmap tiny(4, 4);
  PIX_Blur(&tiny, &src, 3, 0, 0, 0, 6, 6);
  PIX_Blur(&tiny, &src, -5, -5, 0, 0, 6, 6);
  for (PIX_pixel p : tiny.pixels()) EXPECT_EQ(p, 0u);
  EXPECT_TRUE(tiny.guardIntact() && dst.guardIntact() && bm.guardIntact());
}

TEST(HalveBlitAA, AveragesTwoByTwoBlocks)
{
  GuardedBitmap src(9, 7), dst(6, 2), self(8, 8);
  FillRandom(src, 64);
  PIX_HalveBlitAA(&dst, &src);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool in = x < 4;
      Chans want = Split(0);
      for (int k = 0; k < 4; ++k)
        want.c[k] = Split(src.get(2 * x, 2 * y)).c[k] / 4 + Split(src.get(2 * x + 1, 2 * y)).c[k] / 4 +
                    Split(src.get(2 * x, 2 * y + 1)).c[k] / 4 + Split(src.get(2 * x + 1, 2 * y + 1)).c[k] / 4;
      EXPECT_EQ(dst.get(x, y), in ? Join(want) : 0u) << x << "," << y;
    }
  FillRandom(self, 65);
  const std::vector<PIX_pixel> px = self.pixels();
  PIX_HalveBlitAA(&self, &self);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      Chans want = Split(0);
      for (int k = 0; k < 4; ++k)
        want.c[k] = Split(px[2 * y * 8 + 2 * x]).c[k] / 4 + Split(px[2 * y * 8 + 2 * x + 1]).c[k] / 4 +
                    Split(px[(2 * y + 1) * 8 + 2 * x]).c[k] / 4 +
                    Split(px[(2 * y + 1) * 8 + 2 * x + 1]).c[k] / 4;
      EXPECT_EQ(self.get(x, y), Join(want));
    }
}
