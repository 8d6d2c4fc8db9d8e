// Bezier curves: drawn as float-line segments and filled to a baseline.
#include <gtest/gtest.h>

#include <cmath>

#include "pix/pix_blendmode.h"
#include "pix/pix_vector.h"
#include "tests/pix/vector_testsupport.h"

using namespace vectest;

namespace {
const PIX_pixel kWhite = 0xFFFFFFFFu;
const PIX_pixel kOne = 0x01010101u;

// Rows drawn in column x, as first and last.
std::pair<int, int> ColumnSpan(GuardedBitmap& bm, int x)
{
  int lo = -1, hi = -1;
  for (int y = 0; y < bm.h(); ++y)
    if (bm.get(x, y)) {
      if (lo < 0) lo = y;
      hi = y;
    }
  return {lo, hi};
}
}  // namespace

TEST(DrawBezier, StraightControlPolygonDrawsItsLine)
{
  // Control points evenly spaced on a line: the curve is that line.
  GuardedBitmap curve(24, 12), line(24, 12);
  PIX_DrawCBezier(&curve, 1.0f, 2.0f, 7.0f, 4.0f, 13.0f, 6.0f, 19.0f, 8.0f, kWhite, 1.0f, PIX_OP_COPY, false,
                  0.5f);
  PIX_Line(&line, 1, 2, 19, 8, kWhite, 1.0f, PIX_OP_COPY, false);
  for (int x = 1; x <= 19; ++x) {
    const auto s = ColumnSpan(curve, x);
    ASSERT_GE(s.first, 0) << x;
    const double yLine = 2.0 + (x - 1) / 3.0;
    EXPECT_LE(std::fabs(s.first - yLine), 1.0) << x;
  }
  EXPECT_EQ(ColumnSpan(curve, 0).first, -1);
  EXPECT_EQ(ColumnSpan(curve, 20).first, -1);
  // A quadratic with its middle point halfway is a line too.
  GuardedBitmap q(24, 12);
  PIX_DrawQBezier(&q, 2.0f, 9.0f, 11.0f, 5.0f, 20.0f, 1.0f, kWhite, 1.0f, PIX_OP_COPY, true, 1.0f);
  for (int x = 2; x <= 20; ++x) EXPECT_GE(ColumnSpan(q, x).first, 0) << x;
  EXPECT_TRUE(q.guardIntact());
}

TEST(DrawBezier, CurveBendsTowardItsControlPoints)
{
  GuardedBitmap bm(40, 30);
  PIX_DrawQBezier(&bm, 2.0f, 25.0f, 20.0f, -15.0f, 38.0f, 25.0f, kWhite, 1.0f, PIX_OP_COPY, false, 1.0f);
  // Apex at t = 0.5: y = 0.25 x 25 + 0.5 x -15 + 0.25 x 25 = 5.
  const auto apex = ColumnSpan(bm, 20);
  EXPECT_NEAR(apex.first, 5, 1);
  EXPECT_NE(bm.get(2, 25), 0u);
  EXPECT_NE(bm.get(38, 25), 0u);
  // Continuous: every column between the ends has a pixel.
  for (int x = 2; x <= 38; ++x) EXPECT_GE(ColumnSpan(bm, x).first, 0) << x;
}

TEST(DrawBezier, CutToTheBitmapAndRobustToBadInput)
{
  // Far wider than the bitmap, with a tiny tolerance: segments are only
  // spent on the visible part and the count is bounded.
  GuardedBitmap bm(16, 16, true);
  PIX_DrawCBezier(&bm, -5000.0f, 3.0f, -100.0f, 40.0f, 200.0f, -30.0f, 9000.0f, 12.0f, kWhite, 1.0f,
                  PIX_OP_ADD, true, 1e-6f);
  EXPECT_TRUE(bm.guardIntact());
  EXPECT_FALSE(bm.drawn().empty());
  // S-curve leaving and re-entering the columns.
  GuardedBitmap s(16, 16);
  PIX_DrawCBezier(&s, 8.0f, 0.0f, 40.0f, 5.0f, -25.0f, 10.0f, 8.0f, 15.0f, kWhite, 1.0f, PIX_OP_COPY, true,
                  0.0f);
  EXPECT_TRUE(s.guardIntact());
  EXPECT_NE(ColumnSpan(s, 8).first, -1);
  // Entirely outside, NaN, zero alpha: nothing.
  GuardedBitmap none(16, 16);
  PIX_DrawCBezier(&none, 20.0f, 1.0f, 30.0f, 2.0f, 40.0f, 3.0f, 50.0f, 4.0f, kWhite, 1.0f, PIX_OP_COPY, true,
                  1.0f);
  PIX_DrawCBezier(&none, NAN, 1.0f, 3.0f, 2.0f, 4.0f, 3.0f, 5.0f, 4.0f, kWhite, 1.0f, PIX_OP_COPY, true,
                  1.0f);
  PIX_DrawQBezier(&none, 1.0f, 1.0f, 3.0f, 9.0f, 14.0f, 3.0f, kWhite, 0.0f, PIX_OP_COPY, false, 1.0f);
  PIX_DrawQBezier(nullptr, 1.0f, 1.0f, 3.0f, 9.0f, 14.0f, 3.0f, kWhite, 1.0f, PIX_OP_COPY, false, 1.0f);
  EXPECT_TRUE(none.drawn().empty());
  // A huge tolerance draws one segment: the chord.
  GuardedBitmap chord(16, 16), line(16, 16);
  PIX_DrawQBezier(&chord, 1.0f, 1.0f, 8.0f, 14.0f, 14.0f, 3.0f, kWhite, 1.0f, PIX_OP_COPY, false, 1e9f);
  PIX_Line(&line, 1, 1, 14, 3, kWhite, 1.0f, PIX_OP_COPY, false);
  EXPECT_EQ(chord.pixels(), line.pixels());
}

TEST(FillBezier, FillsBetweenTheCurveAndTheBaselineOnce)
{
  // A flat curve at y = 3 from x = 1 to 10 over baseline y = 8.
  GuardedBitmap bm(14, 12);
  PIX_FillCBezier(&bm, 1.0f, 3.0f, 4.0f, 3.0f, 7.0f, 3.0f, 10.0f, 3.0f, 8.0f, kOne, 1.0f, PIX_OP_ADD, 0.5f);
  for (auto p : bm.drawn()) ASSERT_EQ(bm.get(p.first, p.second), kOne) << p.first << "," << p.second;
  for (int x = 1; x <= 10; ++x) EXPECT_EQ(ColumnSpan(bm, x), std::make_pair(3, 8)) << x;
  EXPECT_EQ(ColumnSpan(bm, 0).first, -1);
  EXPECT_EQ(ColumnSpan(bm, 11).first, -1);
  // Curve below the baseline, and the same along x for a vertical baseline.
  GuardedBitmap below(14, 12);
  PIX_FillCBezier(&below, 10.0f, 9.0f, 7.0f, 9.0f, 4.0f, 9.0f, 1.0f, 9.0f, 2.0f, kOne, 1.0f, PIX_OP_ADD,
                  1.0f);
  for (int x = 1; x <= 10; ++x) EXPECT_EQ(ColumnSpan(below, x), std::make_pair(2, 9)) << x;
  GuardedBitmap across(12, 14);
  PIX_FillCBezierX(&across, 3.0f, 1.0f, 3.0f, 4.0f, 3.0f, 7.0f, 3.0f, 10.0f, 8.0f, kOne, 1.0f, PIX_OP_ADD,
                   0.5f);
  for (auto p : across.drawn()) ASSERT_EQ(across.get(p.first, p.second), kOne);
  EXPECT_EQ(across.drawn().size(), 10u * 6u);
  EXPECT_EQ(across.get(3, 1), kOne);
  EXPECT_EQ(across.get(8, 10), kOne);
  EXPECT_EQ(across.get(3, 11), 0u);
}

TEST(FillBezier, CurvedAndCrossingCurvesStayInsideAndCombineOnce)
{
  GuardedBitmap bm(30, 20);
  // A wave crossing its baseline y = 10.
  PIX_FillCBezier(&bm, -4.0f, 2.0f, 10.0f, 30.0f, 20.0f, -10.0f, 34.0f, 18.0f, 10.0f, kOne, 1.0f, PIX_OP_ADD,
                  0.3f);
  EXPECT_TRUE(bm.guardIntact());
  for (auto p : bm.drawn()) ASSERT_EQ(bm.get(p.first, p.second), kOne) << p.first << "," << p.second;
  for (int x = 0; x < 30; ++x) {
    const auto s = ColumnSpan(bm, x);
    ASSERT_GE(s.first, 0) << x;
    EXPECT_TRUE(s.first <= 10 && s.second >= 10) << x;
  }
  GuardedBitmap flipped(30, 20, true);
  PIX_FillCBezierX(&flipped, 5.0f, -3.0f, 40.0f, 6.0f, -20.0f, 12.0f, 25.0f, 25.0f, 15.0f, kWhite, 0.5f,
                   PIX_OP_COPY, 1.0f);
  EXPECT_TRUE(flipped.guardIntact());
  EXPECT_FALSE(flipped.drawn().empty());
  GuardedBitmap none(10, 10);
  PIX_FillCBezier(&none, 1.0f, 1.0f, 2.0f, 2.0f, 3.0f, 3.0f, 4.0f, 4.0f, NAN, kWhite, 1.0f, PIX_OP_COPY,
                  1.0f);
  PIX_FillCBezierX(&none, 1.0f, 1.0f, 2.0f, 2.0f, 3.0f, 3.0f, 4.0f, 4.0f, 5.0f, kWhite, 1.0f, 12, 1.0f);
  EXPECT_TRUE(none.drawn().empty());
}
