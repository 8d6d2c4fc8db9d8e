// Trapezoids, convex polygons and triangles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "pix/pix_blendmode.h"
#include "pix/pix_vector.h"
#include "tests/pix/vector_testsupport.h"

using namespace vectest;

namespace {
const PIX_pixel kWhite = 0xFFFFFFFFu;
const PIX_pixel kOne = 0x01010101u;

// Each drawn pixel was combined once by an add of kOne.
void ExpectAllOnce(GuardedBitmap& bm)
{
  for (auto p : bm.drawn()) ASSERT_EQ(bm.get(p.first, p.second), kOne) << p.first << "," << p.second;
}

// Span of row y: first and last drawn column, or (-1, -1).
std::pair<int, int> RowSpan(GuardedBitmap& bm, int y)
{
  int lo = -1, hi = -1;
  for (int x = 0; x < bm.w(); ++x)
    if (bm.get(x, y)) {
      if (lo < 0) lo = x;
      hi = x;
    }
  return {lo, hi};
}
}  // namespace

TEST(FillTrapezoid, RowsRunBetweenTheEdgesWithBothEndsIncluded)
{
  GuardedBitmap bm(20, 12);
  PIX_FillTrapezoid(&bm, 4, 8, 1, 0, 15, 7, kOne, 1.0f, PIX_OP_ADD);
  EXPECT_EQ(RowSpan(bm, 1), std::make_pair(4, 8));
  EXPECT_EQ(RowSpan(bm, 7), std::make_pair(0, 15));
  EXPECT_EQ(RowSpan(bm, 0), std::make_pair(-1, -1));
  EXPECT_EQ(RowSpan(bm, 8), std::make_pair(-1, -1));
  for (int y = 2; y < 7; ++y) {
    const auto s = RowSpan(bm, y);
    EXPECT_LE(s.first, RowSpan(bm, y - 1).first);
    EXPECT_GE(s.second, RowSpan(bm, y - 1).second);
  }
  ExpectAllOnce(bm);
  // Ends and rows given the wrong way round describe the same trapezoid.
  GuardedBitmap swapped(20, 12);
  PIX_FillTrapezoid(&swapped, 15, 0, 7, 8, 4, 1, kOne, 1.0f, PIX_OP_ADD);
  EXPECT_EQ(swapped.pixels(), bm.pixels());
  // One row: the union of both spans.
  GuardedBitmap row(20, 3);
  PIX_FillTrapezoid(&row, 3, 5, 1, 9, 12, 1, kOne, 1.0f, PIX_OP_ADD);
  EXPECT_EQ(RowSpan(row, 1), std::make_pair(3, 12));
}

TEST(FillTrapezoid, CopyUsesWordParallelMixesAtExactIntegerAlphas)
{
  const PIX_pixel colour = 0x81FF4003u, dest = 0x7F01C0FFu;
  const PIX_pixel half = ((colour >> 1) & 0x7F7F7F7Fu) + ((dest >> 1) & 0x7F7F7F7Fu);
  const PIX_pixel quarter =
      ((colour >> 2) & 0x3F3F3F3Fu) + ((dest >> 2) & 0x3F3F3F3Fu) + ((dest >> 1) & 0x7F7F7F7Fu);
  const PIX_pixel three =
      ((colour >> 1) & 0x7F7F7F7Fu) + ((colour >> 2) & 0x3F3F3F3Fu) + ((dest >> 2) & 0x3F3F3F3Fu);
  const std::pair<float, PIX_pixel> cases[] = {
      {1.0f, colour}, {0.5f, half}, {0.25f, quarter}, {0.75f, three}};
  for (auto c : cases) {
    GuardedBitmap bm(6, 6);
    bm.clear(dest);
    PIX_FillTrapezoid(&bm, 1, 4, 1, 1, 4, 4, colour, c.first, PIX_OP_COPY);
    EXPECT_EQ(bm.drawn(dest).size(), 16u);
    for (auto p : bm.drawn(dest)) EXPECT_EQ(bm.get(p.first, p.second), c.second) << c.first;
  }
}

TEST(FillTrapezoid, ClippedAtEveryEdge)
{
  std::mt19937 rng(3);
  for (int i = 0; i < 3000; ++i) {
    GuardedBitmap bm(11, 9, i & 1);
    auto v = [&](int span) { return (int)(rng() % (2 * span + 30)) - span - 15; };
    PIX_FillTrapezoid(&bm, v(11), v(11), v(9), v(11), v(11), v(9), kWhite, (i & 2) ? 1.0f : 0.3f,
                      (i & 4) ? PIX_OP_ADD : PIX_OP_COPY);
    ASSERT_TRUE(bm.guardIntact());
  }
  GuardedBitmap bm(11, 9);
  PIX_FillTrapezoid(&bm, INT32_MIN, INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, kOne, 1.0f,
                    PIX_OP_ADD);
  EXPECT_TRUE(bm.guardIntact());
  EXPECT_EQ(bm.drawn().size(), 99u);
  ExpectAllOnce(bm);
  // Wholly left, right, above or below: nothing.
  GuardedBitmap none(11, 9);
  PIX_FillTrapezoid(&none, -9, -1, 0, -5, -2, 8, kWhite, 1.0f, PIX_OP_COPY);
  PIX_FillTrapezoid(&none, 11, 20, 0, 12, 13, 8, kWhite, 1.0f, PIX_OP_COPY);
  PIX_FillTrapezoid(&none, 0, 10, -5, 0, 10, -1, kWhite, 1.0f, PIX_OP_COPY);
  PIX_FillTrapezoid(&none, 0, 10, 9, 0, 10, 30, kWhite, 1.0f, PIX_OP_COPY);
  PIX_FillTrapezoid(&none, 0, 10, 0, 0, 10, 8, kWhite, 0.0f, PIX_OP_COPY);
  PIX_FillTrapezoid(&none, 0, 10, 0, 0, 10, 8, kWhite, 1.0f, 7);
  PIX_FillTrapezoid(nullptr, 0, 10, 0, 0, 10, 8, kWhite, 1.0f, PIX_OP_COPY);
  EXPECT_TRUE(none.drawn().empty());
}

TEST(FillConvexPolygon, FewerThanThreePointsOrNoArraysDrawNothing)
{
  GuardedBitmap bm(10, 10);
  const int x[] = {1, 8, 4}, y[] = {1, 2, 8};
  PIX_FillConvexPolygon(&bm, x, y, 2, kWhite, 1.0f, PIX_OP_COPY);
  PIX_FillConvexPolygon(&bm, x, y, 0, kWhite, 1.0f, PIX_OP_COPY);
  PIX_FillConvexPolygon(&bm, x, y, -4, kWhite, 1.0f, PIX_OP_COPY);
  PIX_FillConvexPolygon(&bm, nullptr, y, 3, kWhite, 1.0f, PIX_OP_COPY);
  PIX_FillConvexPolygon(&bm, x, nullptr, 3, kWhite, 1.0f, PIX_OP_COPY);
  PIX_FillConvexPolygon(&bm, x, y, 3, kWhite, 0.0f, PIX_OP_COPY);
  PIX_FillConvexPolygon(nullptr, x, y, 3, kWhite, 1.0f, PIX_OP_COPY);
  EXPECT_TRUE(bm.drawn().empty());
}

TEST(FillConvexPolygon, PointsOnOneRowDrawOneSpan)
{
  GuardedBitmap bm(12, 5);
  const int x[] = {7, 2, 10, 4}, y[] = {3, 3, 3, 3};
  PIX_FillConvexPolygon(&bm, x, y, 4, kOne, 1.0f, PIX_OP_ADD);
  EXPECT_EQ(bm.drawn().size(), 9u);
  EXPECT_EQ(RowSpan(bm, 3), std::make_pair(2, 10));
  ExpectAllOnce(bm);
}

TEST(FillConvexPolygon, EveryRowOnceAcrossVertexRows)
{
  // An octagon: several vertex rows on each side, each shared by two trapezoids.
  GuardedBitmap bm(24, 24);
  const int x[] = {8, 15, 20, 20, 15, 8, 3, 3}, y[] = {2, 2, 7, 14, 19, 19, 14, 7};
  PIX_FillConvexPolygon(&bm, x, y, 8, kOne, 1.0f, PIX_OP_ADD);
  ExpectAllOnce(bm);
  EXPECT_EQ(RowSpan(bm, 2), std::make_pair(8, 15));
  EXPECT_EQ(RowSpan(bm, 7), std::make_pair(3, 20));
  EXPECT_EQ(RowSpan(bm, 10), std::make_pair(3, 20));
  EXPECT_EQ(RowSpan(bm, 14), std::make_pair(3, 20));
  EXPECT_EQ(RowSpan(bm, 19), std::make_pair(8, 15));
  EXPECT_EQ(RowSpan(bm, 20), std::make_pair(-1, -1));
  // At half alpha a doubled row would show as a darker stripe.
  GuardedBitmap half(24, 24);
  half.clear(0xFFFFFFFFu);
  PIX_FillConvexPolygon(&half, x, y, 8, 0, 0.5f, PIX_OP_COPY);
  for (auto p : half.drawn(0xFFFFFFFFu)) ASSERT_EQ(half.get(p.first, p.second), 0x7F7F7F7Fu);
}

TEST(FillConvexPolygon, PointOrderDoesNotMatterAndTriangleIsAThreePointPolygon)
{
  std::mt19937 rng(9);
  int x[] = {3, 17, 21, 12, 1}, y[] = {4, 1, 12, 20, 14};
  GuardedBitmap ref(24, 24);
  PIX_FillConvexPolygon(&ref, x, y, 5, kOne, 1.0f, PIX_OP_ADD);
  ExpectAllOnce(ref);
  for (int i = 0; i < 20; ++i) {
    int idx[] = {0, 1, 2, 3, 4};
    std::shuffle(idx, idx + 5, rng);
    int sx[5], sy[5];
    for (int k = 0; k < 5; ++k) sx[k] = x[idx[k]], sy[k] = y[idx[k]];
    GuardedBitmap bm(24, 24);
    PIX_FillConvexPolygon(&bm, sx, sy, 5, kOne, 1.0f, PIX_OP_ADD);
    ASSERT_EQ(bm.pixels(), ref.pixels());
  }
  GuardedBitmap tri(24, 24), poly(24, 24);
  PIX_FillTriangle(&tri, 2, 3, 20, 9, 7, 22, kOne, 1.0f, PIX_OP_ADD);
  const int tx[] = {2, 20, 7}, ty[] = {3, 9, 22};
  PIX_FillConvexPolygon(&poly, tx, ty, 3, kOne, 1.0f, PIX_OP_ADD);
  EXPECT_EQ(tri.pixels(), poly.pixels());
  ExpectAllOnce(tri);
  // The vertices themselves are covered.
  EXPECT_EQ(tri.get(2, 3), kOne);
  EXPECT_EQ(tri.get(20, 9), kOne);
  EXPECT_EQ(tri.get(7, 22), kOne);
}

TEST(FillConvexPolygon, ManyPointsAndClipping)
{
  // More points than fit the scratch area: points on a circle, plus
  // duplicates and interior points that the hull drops.
  std::vector<int> x, y;
  for (int i = 0; i < 700; ++i) {
    const double a = i * 2 * 3.14159265358979 / 700;
    x.push_back((int)std::lround(15 + 12 * std::sin(a)));
    y.push_back((int)std::lround(15 - 12 * std::cos(a)));
  }
  x.push_back(15), y.push_back(15);
  GuardedBitmap bm(31, 31);
  PIX_FillConvexPolygon(&bm, x.data(), y.data(), (int)x.size(), kOne, 1.0f, PIX_OP_ADD);
  ExpectAllOnce(bm);
  EXPECT_EQ(RowSpan(bm, 15), std::make_pair(3, 27));
  EXPECT_EQ(RowSpan(bm, 3).first, 15 - RowSpan(bm, 3).second + 15);
  // Polygons hanging over every edge, and flipped bitmaps.
  std::mt19937 rng(2);
  for (int i = 0; i < 2000; ++i) {
    GuardedBitmap g(9, 7, i & 1);
    int px[6], py[6];
    for (int k = 0; k < 6; ++k) px[k] = (int)(rng() % 40) - 15, py[k] = (int)(rng() % 36) - 14;
    PIX_FillConvexPolygon(&g, px, py, 3 + i % 4, kOne, 1.0f, PIX_OP_ADD);
    ASSERT_TRUE(g.guardIntact());
    ExpectAllOnce(g);
  }
  // Collinear points fill one pixel per row.
  GuardedBitmap line(10, 10);
  const int lx[] = {2, 2, 2}, ly[] = {1, 5, 8};
  PIX_FillConvexPolygon(&line, lx, ly, 3, kOne, 1.0f, PIX_OP_ADD);
  EXPECT_EQ(line.drawn().size(), 8u);
  // Extreme coordinates.
  GuardedBitmap big(10, 10);
  const int ex[] = {INT32_MIN, INT32_MAX, 0}, ey[] = {INT32_MIN, INT32_MIN, INT32_MAX};
  PIX_FillConvexPolygon(&big, ex, ey, 3, kOne, 1.0f, PIX_OP_ADD);
  EXPECT_TRUE(big.guardIntact());
  ExpectAllOnce(big);
}

TEST(FillConvexPolygon, FlippedBitmapMirrorsRows)
{
  const int x[] = {2, 14, 9}, y[] = {1, 4, 11};
  const int my[] = {11, 8, 1};
  GuardedBitmap flipped(16, 13, true), plain(16, 13);
  PIX_FillConvexPolygon(&flipped, x, y, 3, kOne, 1.0f, PIX_OP_ADD);
  PIX_FillConvexPolygon(&plain, x, my, 3, kOne, 1.0f, PIX_OP_ADD);
  for (int r = 0; r < 13; ++r)
    for (int c = 0; c < 16; ++c) ASSERT_EQ(flipped.get(c, r), plain.get(c, 12 - r));
  EXPECT_EQ(flipped.get(2, 1), kOne);
}
