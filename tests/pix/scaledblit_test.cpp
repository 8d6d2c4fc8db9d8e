// Scaled blit: unscaled shortcut, nearest, bilinear with its edge rules,
// filter-down, mirroring and clipping.
#include <gtest/gtest.h>

#include "pix/pix_blendmode.h"
#include "pix/pix_blit.h"
#include "tests/pix/pix_testsupport.h"

using namespace pixtest;

TEST(ScaledBlit, UnscaledBecomesAPlainBlit)
{
  GuardedBitmap src(9, 7), a(8, 8), b(8, 8);
  FillRandom(src, 21);
  // Without filtering a fractional origin of 2.49 rounds to column 2.
  PIX_ScaledBlit(&a, &src, 1, 1, 5, 4, 2.49f, 1.0f, 5.0f, 4.0f, 0.7f, PIX_OP_ADD);
  PIX_Blit(&b, &src, 1, 1, 2, 1, 5, 4, 0.7f, PIX_OP_ADD);
  EXPECT_EQ(a.pixels(), b.pixels());
  // With filtering, an origin within 0.03 of the grid is still a plain blit.
  PIX_ScaledBlit(&a, &src, 0, 0, 5, 4, 2.02f, 0.99f, 5.0005f, 4.0f, 1.0f, PIX_OP_COPY | PIX_FILTER_BILINEAR);
  PIX_Blit(&b, &src, 0, 0, 2, 1, 5, 4, 1.0f, PIX_OP_COPY);
  EXPECT_EQ(a.pixels(), b.pixels());
}

TEST(ScaledBlit, UnscaledWithBilinearAtAFractionalOriginInterpolates)
{
  GuardedBitmap src(9, 7), dst(8, 8);
  FillRandom(src, 22);
  PIX_ScaledBlit(&dst, &src, 1, 1, 5, 4, 2.49f, 1.0f, 5.0f, 4.0f, 1.0f, PIX_OP_COPY | PIX_FILTER_BILINEAR);
  const long long fx = (long long)std::floor((double)2.49f * 65536) & 0xFFFF;
  for (int j = 0; j < 4; ++j)
    for (int i = 0; i < 5; ++i) {
      const PIX_pixel p[2] = {src.get(2 + i, 1 + j), src.get(3 + i, 1 + j)};
      const long long w[2] = {65536 - fx, fx};
      EXPECT_EQ(dst.get(1 + i, 1 + j), Weighted(p, w, 2)) << i << "," << j;
    }
  EXPECT_EQ(dst.get(0, 0), 0u);
  EXPECT_EQ(dst.get(6, 1), 0u);
}

TEST(ScaledBlit, NearestUpscaleRepeatsPixels)
{
  GuardedBitmap src(4, 3), dst(8, 6, true);
  FillRandom(src, 23);
  PIX_ScaledBlit(&dst, &src, 0, 0, 8, 6, 0, 0, 4, 3, 1.0f, PIX_OP_COPY);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(dst.get(x, y), src.get(x / 2, y / 2));
  // Half alpha without an operator takes the word-parallel half mix.
  GuardedBitmap base(8, 6);
  FillRandom(base, 24);
  const std::vector<PIX_pixel> before = base.pixels();
  PIX_ScaledBlit(&base, &src, 0, 0, 8, 6, 0, 0, 4, 3, 0.5f, PIX_OP_COPY);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x)
      EXPECT_EQ(base.get(x, y), RefHalfMix(before[y * 8 + x], src.get(x / 2, y / 2)));
}

TEST(ScaledBlit, NegativeSizesMirror)
{
  GuardedBitmap src(100, 3), dst(100, 3);
  FillRandom(src, 25);
  PIX_ScaledBlit(&dst, &src, 100, 0, -100, 3, 0, 0, 100, 3, 1.0f, PIX_OP_COPY);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 100; ++x) ASSERT_EQ(dst.get(x, y), src.get(99 - x, y)) << x;
  GuardedBitmap col(2, 6), flippedCol(2, 6);
  FillRandom(col, 26);
  PIX_ScaledBlit(&flippedCol, &col, 0, 6, 2, -6, 0, 0, 2, 6, 1.0f, PIX_OP_COPY);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_EQ(flippedCol.get(x, y), col.get(x, 5 - y));
  // Mirrored at twice the size: every source pixel twice, in reverse.
  GuardedBitmap wide(8, 1);
  PIX_ScaledBlit(&wide, &src, 8, 0, -8, 1, 10, 0, 4, 1, 1.0f, PIX_OP_COPY);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(wide.get(x, 0), src.get(13 - x / 2, 0)) << x;
}

TEST(ScaledBlit, BilinearEdgesStayInsideTheSource)
{
  // The guard pixels around the source would show in any read outside it.
  GuardedBitmap src(4, 4), dst(8, 8);
  FillRandom(src, 27);
  PIX_ScaledBlit(&dst, &src, 0, 0, 8, 8, 0, 0, 4, 4, 1.0f, PIX_OP_COPY | PIX_FILTER_BILINEAR);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      EXPECT_EQ(dst.get(x, y), RefBilinear(Getter(src), 4, 4, x * 32768LL, y * 32768LL)) << x << "," << y;
  // A source rectangle inside a larger bitmap is its own edge.
  GuardedBitmap big(10, 10), out(4, 4);
  FillRandom(big, 28);
  PIX_ScaledBlit(&out, &big, 0, 0, 4, 4, 3, 3, 2, 2, 1.0f, PIX_OP_COPY | PIX_FILTER_BILINEAR);
  EXPECT_EQ(out.get(3, 0), RefBilinear(Getter(big), 5, 4, (4LL << 16) + 32768, 3LL << 16));
  EXPECT_EQ(out.get(3, 0), big.get(4, 3));  // last column and fy 0: the pixel itself, not its right neighbour
}

TEST(ScaledBlit, ShrinkingWithFilterAveragesBlocks)
{
  for (int factor : {3, 5}) {
    const int n = factor == 3 ? 3 : 5, half = (n - 1) / 2;
    GuardedBitmap src(4 * factor, 4 * factor), dst(4, 4);
    FillRandom(src, 29 + factor);
    PIX_ScaledBlit(&dst, &src, 0, 0, 4, 4, 0, 0, 4.0f * factor, 4.0f * factor, 1.0f,
                   PIX_OP_COPY | PIX_FILTER_BILINEAR);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) {
        long long sum[4] = {0, 0, 0, 0}, cnt = 0;
        for (int by = y * factor - half; by <= y * factor + half; ++by)
          for (int bx = x * factor - half; bx <= x * factor + half; ++bx) {
            if (bx < 0 || by < 0 || bx >= 4 * factor || by >= 4 * factor) continue;
            const Chans c = Split(src.get(bx, by));
            for (int k = 0; k < 4; ++k) sum[k] += c.c[k];
            ++cnt;
          }
        Chans want;
        for (int k = 0; k < 4; ++k) want.c[k] = (int)(sum[k] / cnt);
        EXPECT_EQ(dst.get(x, y), Join(want)) << "factor " << factor << " at " << x << "," << y;
      }
  }
}

// Clipping with binary-exact steps: a blit hanging over any edge of the
// destination gives exactly the crop of the same blit into a large bitmap.
TEST(ScaledBlit, ClipsLikeACropOfTheUnclippedResult)
{
  GuardedBitmap src(8, 6);
  FillRandom(src, 31);
  struct Geometry {
    int w, h;
    float sx, sy, sw, sh;
  } geos[] = {{16, 12, 0, 0, 8, 6},
              {4, 3, 0, 0, 8, 6},
              {12, 9, 2, 1, 6, 4.5f},
              {10, 10, -2, -3, 5, 5},
              {8, 6, 4, 3, 8, 6}};
  for (const Geometry& g : geos)
    for (int mode : {(int)PIX_OP_COPY, PIX_OP_COPY | PIX_FILTER_BILINEAR, PIX_OP_ADD | PIX_FILTER_BILINEAR})
      for (int dx : {-13, -5, -1, 0, 3, 7})
        for (int dy : {-11, -4, 0, 2, 6}) {
          GuardedBitmap big(48, 48), small(9, 7, true);
          PIX_ScaledBlit(&big, &src, 20 + dx, 20 + dy, g.w, g.h, g.sx, g.sy, g.sw, g.sh, 0.8f, mode);
          PIX_ScaledBlit(&small, &src, dx, dy, g.w, g.h, g.sx, g.sy, g.sw, g.sh, 0.8f, mode);
          ASSERT_TRUE(small.guardIntact());
          for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 9; ++x)
              ASSERT_EQ(small.get(x, y), big.get(20 + x, 20 + y))
                  << "size " << g.w << "x" << g.h << " mode " << mode << " at " << dx << "," << dy
                  << " pixel " << x << "," << y;
        }
}

TEST(ScaledBlit, DegenerateCallsDrawNothing)
{
  GuardedBitmap src(4, 4), dst(4, 4);
  FillRandom(src, 32);
  PIX_ScaledBlit(&dst, &src, 0, 0, 0, 4, 0, 0, 4, 4, 1.0f, 0);
  PIX_ScaledBlit(&dst, &src, 0, 0, 4, 4, 0, 0, 4, 4, 0.0f, 0);
  PIX_ScaledBlit(&dst, nullptr, 0, 0, 4, 4, 0, 0, 4, 4, 1.0f, 0);
  PIX_ScaledBlit(&dst, &src, 5, 0, 4, 4, 0, 0, 8, 8, 1.0f, 0);
  PIX_ScaledBlit(&dst, &src, 0, 0, 4, 4, 10, 0, 8, 8, 1.0f, 0);
  PIX_ScaledBlit(&dst, &src, 0, 0, 4, 4, 1e30f, -1e30f, 8, 8, 1.0f, PIX_FILTER_BILINEAR);
  for (PIX_pixel p : dst.pixels()) EXPECT_EQ(p, 0u);
  EXPECT_TRUE(dst.guardIntact());
}
