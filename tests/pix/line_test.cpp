// Lines, float lines, dashed lines, line clipping and rectangle outlines.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>

#include "pix/pix_blendmode.h"
#include "pix/pix_vector.h"
#include "tests/pix/vector_testsupport.h"

using namespace vectest;

namespace {

const PIX_pixel kWhite = 0xFFFFFFFFu;

PIX_pixel HalfWord(PIX_pixel d, PIX_pixel k) { return ((k >> 1) & 0x7F7F7F7Fu) + ((d >> 1) & 0x7F7F7F7Fu); }
PIX_pixel QuarterWord(PIX_pixel d, PIX_pixel k)
{
  return ((k >> 2) & 0x3F3F3F3Fu) + ((d >> 2) & 0x3F3F3F3Fu) + ((d >> 1) & 0x7F7F7F7Fu);
}
PIX_pixel ThreeQuarterWord(PIX_pixel d, PIX_pixel k)
{
  return ((k >> 1) & 0x7F7F7F7Fu) + ((k >> 2) & 0x3F3F3F3Fu) + ((d >> 2) & 0x3F3F3F3Fu);
}
// The blending copy per channel: s + (d - s) x (256 - ia) / 256.
PIX_pixel CopyBlend(PIX_pixel d, PIX_pixel s, int ia)
{
  PIX_pixel out = 0;
  for (int sh = 0; sh < 32; sh += 8) {
    const int dc = (d >> sh) & 255, sc = (s >> sh) & 255;
    out |= (PIX_pixel)((sc + (dc - sc) * (256 - ia) / 256) & 255) << sh;
  }
  return out;
}

}  // namespace

TEST(Line, ZeroToTenThreeIsElevenSymmetricPixels)
{
  GuardedBitmap bm(12, 5);
  PIX_Line(&bm, 0, 0, 10, 3, 0x01010101u, 1.0f, PIX_OP_ADD, false);
  const std::set<std::pair<int, int>> want = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 1},
                                              {6, 2}, {7, 2}, {8, 2}, {9, 3}, {10, 3}};
  EXPECT_EQ(bm.drawn(), want);
  // Each pixel once, and the pixels other than the middle one pair up about it.
  for (auto p : want) {
    EXPECT_EQ(bm.get(p.first, p.second), 0x01010101u);
    if (p.first != 5) {
      EXPECT_TRUE(want.count({10 - p.first, 3 - p.second}));
    }
  }
  // Drawn the other way round it covers the mirrored pixels.
  GuardedBitmap back(12, 5);
  PIX_Line(&back, 10, 3, 0, 0, 0x01010101u, 1.0f, PIX_OP_ADD, false);
  EXPECT_EQ(back.drawn().size(), 11u);
}

TEST(Line, EveryPixelOfGeneralLinesOnceAndEndsIncluded)
{
  std::mt19937 rng(7);
  for (int i = 0; i < 300; ++i) {
    GuardedBitmap bm(40, 30);
    const int x1 = rng() % 40, y1 = rng() % 30, x2 = rng() % 40, y2 = rng() % 30;
    PIX_Line(&bm, x1, y1, x2, y2, 0x01010101u, 1.0f, PIX_OP_ADD, false);
    const int n = std::max(std::abs(x2 - x1), std::abs(y2 - y1)) + 1;
    ASSERT_EQ(bm.drawn().size(), (size_t)n) << x1 << "," << y1 << " " << x2 << "," << y2;
    for (auto p : bm.drawn()) ASSERT_EQ(bm.get(p.first, p.second), 0x01010101u);
    EXPECT_NE(bm.get(x1, y1), 0u);
    EXPECT_NE(bm.get(x2, y2), 0u);
  }
}

TEST(Line, StraightAndDiagonalRunsUseWordParallelMixesAtExactAlphas)
{
  const PIX_pixel colour = 0x81FF4003u, dest = 0x7F01C0FFu;
  struct Case {
    float alpha;
    PIX_pixel (*mix)(PIX_pixel, PIX_pixel);
  };
  const Case cases[] = {{0.5f, HalfWord}, {0.25f, QuarterWord}, {0.75f, ThreeQuarterWord}};
  for (const Case& c : cases) {
    for (int kind = 0; kind < 3; ++kind) {
      GuardedBitmap bm(8, 8);
      bm.clear(dest);
      if (kind == 0) PIX_Line(&bm, 6, 2, 1, 2, colour, c.alpha, PIX_OP_COPY, false);
      if (kind == 1) PIX_Line(&bm, 2, 6, 2, 1, colour, c.alpha, PIX_OP_COPY, false);
      if (kind == 2) PIX_Line(&bm, 1, 1, 6, 6, colour, c.alpha, PIX_OP_COPY, false);
      EXPECT_EQ(bm.drawn(dest).size(), 6u);
      for (auto p : bm.drawn(dest)) EXPECT_EQ(bm.get(p.first, p.second), c.mix(dest, colour)) << c.alpha;
    }
  }
  // Full alpha stores; other alphas blend per channel; 0.5 differs from the
  // per-channel half mix in the low bit.
  GuardedBitmap bm(4, 3);
  bm.clear(0x01010101u);
  PIX_Line(&bm, 0, 0, 3, 0, 0x01010101u, 0.5f, PIX_OP_COPY, false);
  PIX_Line(&bm, 0, 1, 3, 1, colour, 1.0f, PIX_OP_COPY, false);
  PIX_Line(&bm, 0, 2, 3, 2, colour, 0.3f, PIX_OP_COPY, false);
  EXPECT_EQ(bm.get(2, 0), 0u);
  EXPECT_EQ(bm.get(2, 1), colour);
  EXPECT_EQ(bm.get(2, 2), CopyBlend(0x01010101u, colour, 76));
}

TEST(Line, AntiAliasedDiagonalSharesQuartersWithTheSidePixels)
{
  GuardedBitmap bm(6, 6);
  const PIX_pixel dest = 0x40404040u;
  bm.clear(dest);
  PIX_Line(&bm, 1, 1, 3, 3, kWhite, 1.0f, PIX_OP_COPY, true);
  EXPECT_EQ(bm.get(2, 2), ThreeQuarterWord(dest, kWhite));
  EXPECT_EQ(bm.get(2, 1), QuarterWord(dest, kWhite));
  EXPECT_EQ(bm.get(1, 2), QuarterWord(dest, kWhite));
  EXPECT_EQ(bm.get(4, 3), dest);
  EXPECT_EQ(bm.drawn(dest).size(), 7u);

  // In add mode the weights are 3/4 and 1/4 of the integer alpha.
  GuardedBitmap add(6, 6);
  PIX_Line(&add, 4, 0, 0, 4, 0x80808080u, 1.0f, PIX_OP_ADD, true);
  EXPECT_EQ(add.get(2, 2), 0x60606060u);
  EXPECT_EQ(add.get(2, 1), 0x20202020u);
  EXPECT_EQ(add.get(1, 1), 0u);
}

TEST(Line, AntiAliasedLineSplitsEachColumnBetweenTwoPixels)
{
  GuardedBitmap bm(30, 12);
  PIX_Line(&bm, 1, 2, 27, 9, 0x000000FFu, 1.0f, PIX_OP_ADD, true);
  // Ends at full weight; inside, the two pixels of a column share 255 (add
  // gives 255 x w / 256 per pixel, so allow the truncation).
  EXPECT_EQ(Blue(bm.get(1, 2)), 255);
  EXPECT_EQ(Blue(bm.get(27, 9)), 255);
  for (int x = 2; x < 27; ++x) {
    int sum = 0;
    for (int y = 0; y < 12; ++y) sum += Blue(bm.get(x, y));
    EXPECT_GE(sum, 250) << x;
    EXPECT_LE(sum, 255) << x;
  }
  EXPECT_TRUE(bm.guardIntact());
}

TEST(Line, ClippedAtEveryEdgeAndNothingOutside)
{
  std::mt19937 rng(11);
  for (int i = 0; i < 2000; ++i) {
    GuardedBitmap bm(17, 13, i & 1);
    const int x1 = (int)(rng() % 61) - 22, y1 = (int)(rng() % 51) - 19;
    const int x2 = (int)(rng() % 61) - 22, y2 = (int)(rng() % 51) - 19;
    PIX_Line(&bm, x1, y1, x2, y2, kWhite, (i & 2) ? 1.0f : 0.6f, (i & 4) ? PIX_OP_ADD : PIX_OP_COPY, i & 8);
    ASSERT_TRUE(bm.guardIntact()) << x1 << "," << y1 << " " << x2 << "," << y2;
  }
  // Extreme coordinates clip without overflow.
  GuardedBitmap bm(9, 7);
  PIX_Line(&bm, INT32_MIN, 3, INT32_MAX, 3, kWhite, 1.0f, PIX_OP_COPY, true);
  for (int x = 0; x < 9; ++x) EXPECT_EQ(bm.get(x, 3), kWhite);
  PIX_Line(&bm, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, kWhite, 1.0f, PIX_OP_COPY, true);
  PIX_Line(&bm, -5, -3, -1, 20, kWhite, 1.0f, PIX_OP_COPY, false);  // entirely left
  EXPECT_TRUE(bm.guardIntact());
  EXPECT_EQ(bm.get(3, 0), 0u);
}

TEST(Line, CrossingLineIsCutAtTheEdges)
{
  GuardedBitmap bm(10, 6);
  PIX_Line(&bm, -5, 2, 20, 2, kWhite, 1.0f, PIX_OP_COPY, false);
  EXPECT_EQ(bm.drawn().size(), 10u);
  PIX_Line(&bm, 4, -10, 4, 30, 0x11111111u, 1.0f, PIX_OP_COPY, false);
  for (int y = 0; y < 6; ++y) EXPECT_EQ(bm.get(4, y), 0x11111111u);
  EXPECT_TRUE(bm.guardIntact());
}

TEST(Line, NothingForNullBitmapZeroAlphaOrUnknownOperator)
{
  PIX_Line(nullptr, 0, 0, 5, 5, kWhite, 1.0f, PIX_OP_COPY, true);
  PIX_FLine(nullptr, 0, 0, 5, 5, kWhite, 1.0f, PIX_OP_COPY, true);
  GuardedBitmap bm(8, 8);
  PIX_Line(&bm, 0, 0, 7, 3, kWhite, 0.001f, PIX_OP_COPY, false);
  PIX_Line(&bm, 0, 0, 7, 3, kWhite, 1.0f, 6, false);
  PIX_Line(&bm, 0, 0, 7, 3, kWhite, 1.0f, 0x20, true);
  PIX_Line(&bm, 0, 0, 7, 7, kWhite, -1.0f, PIX_OP_COPY, true);
  PIX_FLine(&bm, 0.5f, 0.5f, 7.5f, 3.5f, kWhite, 1.0f, 6, true);
  PIX_FLine(&bm, NAN, 0.5f, 7.5f, 3.5f, kWhite, 1.0f, PIX_OP_COPY, true);
  PIX_FLine(&bm, 1e30f, 0.5f, -1e30f, 3.5f, kWhite, 1.0f, PIX_OP_COPY, false);
  EXPECT_TRUE(bm.drawn().empty());
  // The source-alpha flag is ignored.
  PIX_Line(&bm, 0, 0, 7, 0, kWhite, 1.0f, PIX_USE_SOURCE_ALPHA, false);
  EXPECT_EQ(bm.get(7, 0), kWhite);
}

TEST(Line, FlippedBitmapMirrorsRows)
{
  GuardedBitmap flipped(10, 8, true), plain(10, 8);
  PIX_Line(&flipped, 1, 1, 8, 5, kWhite, 1.0f, PIX_OP_COPY, true);
  PIX_Line(&plain, 1, 6, 8, 2, kWhite, 1.0f, PIX_OP_COPY, true);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(flipped.get(x, y), plain.get(x, 7 - y));
  EXPECT_NE(flipped.get(1, 1), 0u);
  EXPECT_TRUE(flipped.guardIntact());
}

TEST(FLine, CoverageFollowsTheFractionalPosition)
{
  GuardedBitmap bm(12, 10);
  PIX_FLine(&bm, 0.0f, 5.0f, 11.0f, 5.0f, 0x000000FFu, 1.0f, PIX_OP_COPY, true);
  for (int x = 0; x < 12; ++x) {
    EXPECT_EQ(Blue(bm.get(x, 5)), 255);
    EXPECT_EQ(bm.get(x, 6), 0u);
  }
  GuardedBitmap q(12, 10);
  PIX_FLine(&q, 0.0f, 3.25f, 11.0f, 3.25f, 0x000000FFu, 1.0f, PIX_OP_COPY, true);
  EXPECT_EQ(Blue(q.get(4, 3)), 191);
  EXPECT_EQ(Blue(q.get(4, 4)), 64);
  // A line starting between columns begins at the next whole column.
  GuardedBitmap s(12, 10);
  PIX_FLine(&s, 2.5f, 1.0f, 8.2f, 1.0f, 0x000000FFu, 1.0f, PIX_OP_COPY, true);
  EXPECT_EQ(s.get(2, 1), 0u);
  EXPECT_NE(s.get(3, 1), 0u);
  EXPECT_NE(s.get(8, 1), 0u);
  EXPECT_EQ(s.get(9, 1), 0u);
  // Zero length draws nothing.
  GuardedBitmap z(4, 4);
  PIX_FLine(&z, 2.0f, 2.0f, 2.0f, 2.0f, kWhite, 1.0f, PIX_OP_COPY, true);
  EXPECT_TRUE(z.drawn().empty());
}

TEST(FLine, FallingLinesShareCoverageLikeRisingOnes)
{
  // B is A mirrored about row 5: each pixel gets the same share within the
  // fixed point's last step.
  GuardedBitmap a(24, 12), b(24, 12);
  PIX_FLine(&a, 0.0f, 2.25f, 20.0f, 7.25f, 0x000000FFu, 1.0f, PIX_OP_COPY, true);
  PIX_FLine(&b, 0.0f, 7.75f, 20.0f, 2.75f, 0x000000FFu, 1.0f, PIX_OP_COPY, true);
  for (int x = 0; x <= 20; ++x)
    for (int y = 0; y <= 10; ++y) EXPECT_NEAR(Blue(a.get(x, y)), Blue(b.get(x, 10 - y)), 1) << x << "," << y;
  EXPECT_EQ(Blue(a.get(0, 2)), 191);
  EXPECT_EQ(Blue(a.get(0, 3)), 64);
}

TEST(FLine, ClippedFloatLinesStayInside)
{
  std::mt19937 rng(5);
  std::uniform_real_distribution<float> c(-30.0f, 40.0f);
  for (int i = 0; i < 2000; ++i) {
    GuardedBitmap bm(13, 9, i & 1);
    PIX_FLine(&bm, c(rng), c(rng), c(rng), c(rng), kWhite, 1.0f, (i & 2) ? PIX_OP_ADD : PIX_OP_COPY, true);
    ASSERT_TRUE(bm.guardIntact());
  }
  // Without anti-aliasing it is the integer line of the truncated ends.
  GuardedBitmap f(12, 8), l(12, 8);
  PIX_FLine(&f, 0.9f, 1.7f, 10.2f, 6.9f, kWhite, 1.0f, PIX_OP_COPY, false);
  PIX_Line(&l, 0, 1, 10, 6, kWhite, 1.0f, PIX_OP_COPY, false);
  EXPECT_EQ(f.drawn(), l.drawn());
}

TEST(ClipLine, ClipsToTheBoundsAndReportsWhatIsLeft)
{
  int x1 = -10, y1 = 5, x2 = 30, y2 = 5;
  ASSERT_TRUE(PIX_ClipLine(&x1, &y1, &x2, &y2, 2, 0, 12, 10));
  EXPECT_EQ(x1, 2);
  EXPECT_EQ(x2, 11);
  EXPECT_EQ(y1, 5);
  int a = 0, b = -5, c = 0, d = -1;
  EXPECT_FALSE(PIX_ClipLine(&a, &b, &c, &d, 0, 0, 10, 10));
  // A diagonal through the corner region keeps both ends inside the bounds.
  int p = -4, q = -4, r = 20, s = 20;
  ASSERT_TRUE(PIX_ClipLine(&p, &q, &r, &s, 0, 0, 8, 8));
  for (int v : {p, q, r, s}) {
    EXPECT_GE(v, 0);
    EXPECT_LE(v, 7);
  }
  float fx1 = -1.5f, fy1 = 2.0f, fx2 = 5.0f, fy2 = 2.0f;
  ASSERT_TRUE(PIX_ClipFLine(&fx1, &fy1, &fx2, &fy2, 0.0f, 0.0f, 4.0f, 4.0f));
  EXPECT_FLOAT_EQ(fx1, 0.0f);
  EXPECT_FLOAT_EQ(fx2, 3.0f);
  EXPECT_FALSE(PIX_ClipFLine(&fx1, &fy1, &fx2, &fy2, 0.0f, 5.0f, 4.0f, 9.0f));
  EXPECT_FALSE(PIX_ClipLine(nullptr, &y1, &x2, &y2, 0, 0, 4, 4));
}

TEST(DashedLine, AlternatesRunsOnStraightLinesOnly)
{
  GuardedBitmap bm(12, 12);
  PIX_DashedLine(&bm, 9, 1, 0, 1, 2, 1, 0x01010101u, 1.0f, PIX_OP_ADD, false);
  for (int x = 0; x < 12; ++x) EXPECT_EQ(bm.get(x, 1), (x % 3 != 2 && x <= 9) ? 0x01010101u : 0u) << x;
  // One on, one off, full alpha, copy: every second pixel stored.
  PIX_DashedLine(&bm, 4, 0, 4, 11, 1, 1, 0xFF123456u, 1.0f, PIX_OP_COPY, false);
  for (int y = 0; y < 12; ++y)
    EXPECT_EQ(bm.get(4, y), y % 2 ? (y == 1 ? 0x01010101u : 0u) : 0xFF123456u) << y;
  // The final run is cut by the end of the line.
  GuardedBitmap c(10, 3);
  PIX_DashedLine(&c, 0, 0, 6, 0, 3, 2, kWhite, 1.0f, PIX_OP_COPY, false);
  EXPECT_EQ(c.drawn(), (std::set<std::pair<int, int>>{{0, 0}, {1, 0}, {2, 0}, {5, 0}, {6, 0}}));
  // Diagonal and sloped dashed lines draw nothing; so do empty patterns.
  GuardedBitmap d(10, 10);
  PIX_DashedLine(&d, 0, 0, 9, 9, 2, 2, kWhite, 1.0f, PIX_OP_COPY, false);
  PIX_DashedLine(&d, 0, 0, 9, 4, 2, 2, kWhite, 1.0f, PIX_OP_COPY, true);
  PIX_DashedLine(&d, 0, 3, 9, 3, 0, 2, kWhite, 1.0f, PIX_OP_COPY, false);
  EXPECT_TRUE(d.drawn().empty());
  PIX_DashedLine(&d, -20, 3, 40, 3, 4, 0, kWhite, 1.0f, PIX_OP_COPY, false);
  EXPECT_EQ(d.drawn().size(), 10u);
  EXPECT_TRUE(d.guardIntact());
}

TEST(DrawRect, OutlineCoversOneMoreThanTheSizeAndCornersTwice)
{
  GuardedBitmap bm(10, 8);
  PIX_DrawRect(&bm, 1, 2, 6, 4, 0x10101010u, 1.0f, PIX_OP_ADD);
  EXPECT_EQ(bm.drawn().size(), 2u * 7 + 2u * 3);
  for (auto p : bm.drawn()) {
    const bool corner = (p.first == 1 || p.first == 7) && (p.second == 2 || p.second == 6);
    EXPECT_EQ(bm.get(p.first, p.second), corner ? 0x20202020u : 0x10101010u) << p.first << "," << p.second;
  }
  // At alpha 0.5 in copy mode the corners are mixed twice.
  GuardedBitmap half(10, 8);
  half.clear(0x80808080u);
  PIX_DrawRect(&half, 0, 0, 9, 7, 0, 0.5f, PIX_OP_COPY);
  EXPECT_EQ(half.get(0, 0), 0x20202020u);
  EXPECT_EQ(half.get(4, 0), 0x40404040u);
  EXPECT_EQ(half.get(4, 3), 0x80808080u);
  // Half outside: clipped.
  GuardedBitmap clip(6, 6);
  PIX_DrawRect(&clip, -3, -3, 20, 5, kWhite, 1.0f, PIX_OP_COPY);
  PIX_DrawRect(&clip, INT32_MAX - 2, 0, 100, 100, kWhite, 1.0f, PIX_OP_COPY);
  EXPECT_TRUE(clip.guardIntact());
  EXPECT_EQ(clip.get(0, 2), kWhite);
}

TEST(BorderedRect, FillsTheInsideThenDrawsTheBorder)
{
  GuardedBitmap bm(8, 8);
  PIX_BorderedRect(&bm, 1, 1, 5, 4, 0xFF00FF00u, 0xFFFF0000u, 1.0f, PIX_OP_COPY);
  EXPECT_EQ(bm.get(1, 1), 0xFFFF0000u);
  EXPECT_EQ(bm.get(6, 5), 0xFFFF0000u);
  EXPECT_EQ(bm.get(2, 2), 0xFF00FF00u);
  EXPECT_EQ(bm.get(5, 4), 0xFF00FF00u);
  EXPECT_EQ(bm.get(7, 7), 0u);
  EXPECT_EQ(bm.drawn().size(), 6u * 5);
}
