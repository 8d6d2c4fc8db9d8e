// Rotated, delta and transform blits.
#include <gtest/gtest.h>

#include <cmath>

#include "pix/pix_blendmode.h"
#include "pix/pix_blit.h"
#include "tests/pix/pix_testsupport.h"

using namespace pixtest;

TEST(RotatedBlit, AngleZeroWithEqualSizesIsTheIdentity)
{
  for (int mode : {(int)PIX_OP_COPY, PIX_OP_COPY | PIX_FILTER_BILINEAR}) {
    GuardedBitmap src(11, 7), dst(11, 7, true);
    FillRandom(src, 41);
    PIX_RotatedBlit(&dst, &src, 0, 0, 11, 7, 0, 0, 11, 7, 0.0, false, 1.0f, mode);
    EXPECT_EQ(dst.pixels(), src.pixels()) << "mode " << mode;
    // A rectangle of a larger source, with clipping to it, at an offset.
    GuardedBitmap part(5, 4);
    PIX_RotatedBlit(&part, &src, 1, 1, 3, 2, 4, 2, 3, 2, 0.0, true, 1.0f, mode);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 5; ++x) {
        const bool inside = x >= 1 && x < 4 && y >= 1 && y < 3;
        EXPECT_EQ(part.get(x, y), inside ? src.get(x + 3, y + 1) : 0u) << x << "," << y;
      }
  }
}

TEST(RotatedBlit, HalfTurnTurnsAboutTheCentre)
{
  GuardedBitmap src(6, 4), dst(6, 4);
  FillRandom(src, 42);
  PIX_RotatedBlit(&dst, &src, 0, 0, 6, 4, 0, 0, 6, 4, M_PI, false, 1.0f, PIX_OP_COPY);
  // Source coordinates run from the rectangle's far corner (6, 4) backwards:
  // dest (x, y) samples (6 - x, 4 - y), and the first row and column, whose
  // samples fall on the source's far edge, stay untouched.
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(dst.get(x, y), x == 0 || y == 0 ? 0u : src.get(6 - x, 4 - y)) << x << "," << y;
}

TEST(RotatedBlit, NeverWritesOutsideTheDestination)
{
  GuardedBitmap src(9, 9);
  FillRandom(src, 43);
  for (double angle = -7.0; angle < 7.0; angle += 0.37)
    for (int mode :
         {(int)PIX_OP_ADD, PIX_OP_COPY | PIX_FILTER_BILINEAR, PIX_OP_OVERLAY | PIX_USE_SOURCE_ALPHA})
      for (int pos : {-12, -4, 3, 8}) {
        GuardedBitmap dst(10, 8, pos > 0);
        PIX_RotatedBlit(&dst, &src, pos, -pos / 2, 14, 12, -2, -1, 13, 12, angle, pos < 0, 0.9f, mode, 1.5f,
                        -2.0f);
        PIX_RotatedBlit(&dst, &src, pos, pos, -9, -9, 0, 0, 9, 9, angle, true, 1.0f, mode);
        ASSERT_TRUE(dst.guardIntact()) << angle << " " << mode << " " << pos;
      }
}

// A walk with a second-order term starting above and left of the
// destination gives exactly the crop of the unclipped walk.
TEST(DeltaBlit, ClippedWalksMatchTheUnclippedOnes)
{
  GuardedBitmap src(32, 32);
  FillRandom(src, 44);
  for (int mode : {(int)PIX_OP_COPY, PIX_OP_COPY | PIX_FILTER_BILINEAR})
    for (int dx : {-7, -2, 0, 3})
      for (int dy : {-6, -1, 0, 4}) {
        GuardedBitmap big(40, 40), small(8, 8);
        auto draw = [&](PIX_IBitmap* bm, int x, int y) {
          PIX_DeltaBlit(bm, &src, x, y, 12, 10, 1.5, 2.25, 20, 20, 1.25, 0.25, -0.125, 1.5, 0.0625, -0.03125,
                        false, 1.0f, mode);
        };
        draw(&big, 16 + dx, 16 + dy);
        draw(&small, dx, dy);
        ASSERT_TRUE(small.guardIntact());
        for (int y = 0; y < 8; ++y)
          for (int x = 0; x < 8; ++x)
            ASSERT_EQ(small.get(x, y), big.get(16 + x, 16 + y))
                << dx << "," << dy << " pixel " << x << "," << y;
      }
}

TEST(DeltaBlit, AlphaRunsAcrossTheRectangle)
{
  GuardedBitmap src(8, 1), dst(8, 1);
  for (int x = 0; x < 8; ++x) src.set(x, 0, 0xFFFFFFFFu);
  // Alpha from 0 rising by 1/8 per pixel: integer alpha 32 x.
  PIX_DeltaBlitAlpha(&dst, &src, 0, 0, 8, 1, 0, 0, 8, 1, 1, 0, 0, 1, 0, 0, false, 0.0f, PIX_OP_COPY, 0.125, 0,
                     0);
  for (int x = 0; x < 8; ++x) {
    const int v = RefCopy(0, 255, 32 * x);
    EXPECT_EQ(dst.get(x, 0), Join({{v, v, v, v}})) << x;
  }
}

TEST(TransformBlit, IdentityGridEqualsAPlainBlit)
{
  GuardedBitmap src(12, 8), a(14, 11), b(14, 11);
  FillRandom(src, 45);
  // A 4 x 3 grid of source points on the destination grid (cells of 4 x 4).
  std::vector<float> pts;
  std::vector<double> pts2, pts3;
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 4; ++i) {
      pts.push_back(i * 4.0f), pts.push_back(j * 4.0f);
      pts2.push_back(i * 4.0), pts2.push_back(j * 4.0);
      pts3.push_back(i * 4.0), pts3.push_back(j * 4.0), pts3.push_back(0.5);
    }
  PIX_TransformBlit(&a, &src, 1, 1, 12, 8, pts.data(), 4, 3, 1.0f, PIX_OP_COPY);
  PIX_Blit(&b, &src, 1, 1);
  EXPECT_EQ(a.pixels(), b.pixels());
  GuardedBitmap c(14, 11);
  PIX_TransformBlit2(&c, &src, 1, 1, 12, 8, pts2.data(), 4, 3, 1.0f, PIX_OP_COPY | PIX_FILTER_BILINEAR);
  EXPECT_EQ(c.pixels(), b.pixels());
  // Alpha 0.5 at every vertex: the blending copy at integer alpha 128.
  GuardedBitmap d(14, 11);
  FillRandom(d, 46);
  const std::vector<PIX_pixel> before = d.pixels();
  PIX_TransformBlit2Alpha(&d, &src, 1, 1, 12, 8, pts3.data(), 4, 3, PIX_OP_COPY);
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 14; ++x) {
      PIX_pixel want = before[y * 14 + x];
      if (x >= 1 && x < 13 && y >= 1 && y < 9) want = RefCombine(want, src.get(x - 1, y - 1), 0, false, 128);
      ASSERT_EQ(d.get(x, y), want) << x << "," << y;
    }
  // Degenerate grids draw nothing.
  GuardedBitmap e(14, 11);
  PIX_TransformBlit(&e, &src, 0, 0, 12, 8, pts.data(), 1, 3, 1.0f, PIX_OP_COPY);
  PIX_TransformBlit(&e, &src, 0, 0, 0, 8, pts.data(), 4, 3, 1.0f, PIX_OP_COPY);
  PIX_TransformBlit(&e, &src, 0, 0, 12, 8, nullptr, 4, 3, 1.0f, PIX_OP_COPY);
  for (PIX_pixel p : e.pixels()) EXPECT_EQ(p, 0u);
}
