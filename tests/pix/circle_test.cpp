// Circles, discs, the fixed circle masks, arcs and rounded rectangles.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "pix/pix_blendmode.h"
#include "pix/pix_vector.h"
#include "tests/pix/vector_testsupport.h"

using namespace vectest;

namespace {

const PIX_pixel kWhite = 0xFFFFFFFFu;
const PIX_pixel kOne = 0x01010101u;
const float kPi = 3.14159265f;

std::vector<int> Bytes(const std::string& rows)
{
  std::vector<int> v;
  std::istringstream in(rows);
  std::string tok;
  while (in >> tok)
    if (tok != "/") v.push_back(std::stoi(tok));
  return v;
}

struct MaskCase {
  float r;
  int size;
  bool aa;
  const char* rows;
};

const MaskCase kMaskCases[] = {
    {1.5f, 4, false, "0 255 255 0 / 255 0 0 255 / 255 0 0 255 / 0 255 255 0"},
    {1.5f, 4, true, "79 255 255 79 / 255 15 15 255 / 255 15 15 255 / 79 255 255 79"},
    {2.0f, 5, false, "0 0 255 0 0 / 0 255 0 255 0 / 255 0 0 0 255 / 0 255 0 255 0 / 0 0 255 0 0"},
    {2.0f, 5, true,
     "15 191 255 191 15 / 191 209 79 209 191 / 255 79 0 79 255 / 191 209 79 209 191 / 15 191 255 191 15"},
    {2.5f, 6, false,
     "0 0 255 255 0 0 / 0 255 0 0 255 0 / 255 0 0 0 0 255 / 255 0 0 0 0 255 / 0 255 0 0 255 0 / 0 0 255 255 "
     "0 0"},
    {2.5f, 6, true,
     "15 191 255 255 191 15 / 191 209 79 79 209 191 / 255 79 0 0 79 255 / 255 79 0 0 79 255 / 191 209 79 79 "
     "209 "
     "191 / 15 191 255 255 191 15"},
    {3.0f, 7, false,
     "0 0 255 255 255 0 0 / 0 255 0 0 0 255 0 / 255 0 0 0 0 0 255 / 255 0 0 0 0 0 255 / 255 0 0 0 0 0 255 / "
     "0 255 "
     "0 0 0 255 0 / 0 0 255 255 255 0 0"},
    {3.0f, 7, true,
     "0 143 255 255 255 143 0 / 143 255 97 64 97 255 143 / 255 112 0 0 0 112 255 / 255 48 0 0 0 48 255 / 255 "
     "112 0 "
     "0 0 112 255 / 143 255 97 64 97 255 143 / 0 143 255 255 255 143 0"},
    {3.5f, 8, false,
     "0 0 255 255 255 255 0 0 / 0 255 255 0 0 255 255 0 / 255 255 0 0 0 0 255 255 / 255 0 0 0 0 0 0 255 / "
     "255 0 0 "
     "0 0 0 0 255 / 255 255 0 0 0 0 255 255 / 0 255 255 0 0 255 255 0 / 0 0 255 255 255 255 0 0"},
    {3.5f, 8, true,
     "0 79 222 255 255 222 79 0 / 79 255 176 64 64 176 255 79 / 222 176 0 0 0 0 176 222 / 255 64 0 0 0 0 64 "
     "255 / "
     "255 64 0 0 0 0 64 255 / 222 176 0 0 0 0 176 222 / 79 255 176 64 64 176 255 79 / 0 79 222 255 255 222 "
     "79 0"},
    {4.0f, 9, false,
     "0 0 255 255 255 255 255 0 0 / 0 255 255 0 0 0 255 255 0 / 255 255 0 0 0 0 0 255 255 / 255 0 0 0 0 0 0 "
     "0 255 "
     "/ 255 0 0 0 0 0 0 0 255 / 255 0 0 0 0 0 0 0 255 / 255 255 0 0 0 0 0 255 255 / 0 255 255 0 0 0 255 255 "
     "0 / 0 0 "
     "255 255 255 255 255 0 0"},
    {4.0f, 9, true,
     "0 31 176 255 255 255 176 31 0 / 31 240 209 79 64 79 209 240 31 / 176 209 15 0 0 0 15 209 176 / 255 79 "
     "0 0 0 0 "
     "0 79 255 / 255 48 0 0 0 0 0 48 255 / 255 79 0 0 0 0 0 79 255 / 176 209 15 0 0 0 15 209 176 / 31 240 "
     "209 79 64 "
     "79 209 240 31 / 0 31 176 255 255 255 176 31 0"},
};

// Every pixel of the bitmap equals the one of `big` offset by (dx, dy).
void ExpectWindowOf(GuardedBitmap& small, GuardedBitmap& big, int dx, int dy, const char* what)
{
  for (int y = 0; y < small.h(); ++y)
    for (int x = 0; x < small.w(); ++x)
      ASSERT_EQ(small.get(x, y), big.get(x + dx, y + dy)) << what << " at " << x << "," << y;
}

// 8-fold symmetry of a drawing about the pixel centre (cx, cy).
void ExpectOctantSymmetry(GuardedBitmap& bm, int cx, int cy, int reach)
{
  for (int b = -reach; b <= reach; ++b)
    for (int a = -reach; a <= reach; ++a) {
      const PIX_pixel p = bm.get(cx + a, cy + b);
      ASSERT_EQ(p, bm.get(cx - a, cy + b)) << a << "," << b;
      ASSERT_EQ(p, bm.get(cx + a, cy - b)) << a << "," << b;
      ASSERT_EQ(p, bm.get(cx + b, cy + a)) << a << "," << b;
    }
}

}  // namespace

TEST(CircleMask, SmallRadiiDrawTheFixedMasks)
{
  for (const MaskCase& m : kMaskCases) {
    GuardedBitmap bm(16, 16);
    // White copied over black shows each coverage byte unchanged.
    PIX_Circle(&bm, 7.3f, 6.6f, m.r, 0xFF0000FFu, 1.0f, PIX_OP_COPY, m.aa);
    const int x0 = (int)(7.3f - m.r), y0 = (int)(6.6f - m.r);
    const std::vector<int> want = Bytes(m.rows);
    ASSERT_EQ(want.size(), (size_t)(m.size * m.size));
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const bool in = x >= x0 && x < x0 + m.size && y >= y0 && y < y0 + m.size;
        const int k = in ? want[(y - y0) * m.size + (x - x0)] : 0;
        ASSERT_EQ(Blue(bm.get(x, y)), k) << "r " << m.r << " aa " << m.aa << " at " << x << "," << y;
      }
  }
  // Filled discs never use the masks; a radius just off a mask is computed.
  GuardedBitmap mask(12, 12), near(12, 12), disc(12, 12);
  PIX_Circle(&mask, 5.0f, 5.0f, 2.0f, kWhite, 1.0f, PIX_OP_COPY, false);
  PIX_Circle(&near, 5.0f, 5.0f, 2.01f, kWhite, 1.0f, PIX_OP_COPY, false);
  PIX_FillCircle(&disc, 5.0f, 5.0f, 2.0f, kWhite, 1.0f, PIX_OP_COPY, false);
  EXPECT_EQ(mask.get(6, 3), 0u);
  EXPECT_EQ(near.get(6, 3), kWhite);
  EXPECT_EQ(disc.get(5, 5), kWhite);
}

TEST(CircleMask, MasksClipAtTheEdgesAndFollowAFlippedBitmap)
{
  GuardedBitmap bm(5, 5);
  PIX_Circle(&bm, 0.0f, 4.5f, 3.0f, kWhite, 1.0f, PIX_OP_ADD, true);
  PIX_Circle(&bm, 4.5f, 0.0f, 4.0f, kWhite, 1.0f, PIX_OP_ADD, false);
  EXPECT_TRUE(bm.guardIntact());
  GuardedBitmap flipped(12, 12, true), plain(12, 12);
  PIX_Circle(&flipped, 4.0f, 3.0f, 2.5f, kWhite, 1.0f, PIX_OP_COPY, true);
  PIX_Circle(&plain, 4.0f, 8.0f, 2.5f, kWhite, 1.0f, PIX_OP_COPY, true);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) ASSERT_EQ(flipped.get(x, y), plain.get(x, 11 - y)) << x << "," << y;
  EXPECT_FALSE(flipped.drawn().empty());
}

TEST(Circle, MidpointOutlineTouchesEachPixelOnce)
{
  GuardedBitmap bm(21, 21);
  PIX_Circle(&bm, 10.2f, 9.6f, 5.3f, kOne, 1.0f, PIX_OP_ADD, false);
  // Radius 5 about (10, 10): per quadrant (0,5) (1,5) (2,5) (3,4) (4,3) (5,2) (5,1) (5,0).
  std::set<std::pair<int, int>> want;
  const int q[][2] = {{0, 5}, {1, 5}, {2, 5}, {3, 4}, {4, 3}, {5, 2}, {5, 1}, {5, 0}};
  for (auto& p : q)
    for (int sx : {-1, 1})
      for (int sy : {-1, 1}) want.insert({10 + sx * p[0], 10 + sy * p[1]});
  EXPECT_EQ(bm.drawn(), want);
  for (auto p : want) EXPECT_EQ(bm.get(p.first, p.second), kOne);
  ExpectOctantSymmetry(bm, 10, 10, 6);
}

TEST(FillCircle, DiscsTouchEachPixelExactlyOnce)
{
  for (int aa = 0; aa < 2; ++aa)
    for (float r = 0.0f; r < 14.0f; r += 0.37f) {
      GuardedBitmap add(36, 36), copy(36, 36);
      PIX_FillCircle(&add, 17.0f, 17.0f, r, kWhite, 1.0f, PIX_OP_ADD, aa);
      PIX_FillCircle(&copy, 17.0f, 17.0f, r, kWhite, 1.0f, PIX_OP_COPY, aa);
      // A single combine of white over black: copy leaves the weight w (255 at
      // full), add 255 x w / 256. Any pixel combined twice breaks the relation.
      for (int y = 0; y < 36; ++y)
        for (int x = 0; x < 36; ++x) {
          const int c = Blue(copy.get(x, y)), a = Blue(add.get(x, y));
          const int want = c == 255 ? (aa ? 255 : 255) : 255 * c / 256;
          if (c == 255) ASSERT_GE(a, 254) << "r " << r << " aa " << aa << " at " << x << "," << y;
          else ASSERT_EQ(a, want) << "r " << r << " aa " << aa << " at " << x << "," << y;
        }
      ExpectOctantSymmetry(copy, 17, 17, 15);
    }
  // A low-alpha plain disc in add mode: one step everywhere inside.
  GuardedBitmap bm(30, 30);
  PIX_FillCircle(&bm, 14.0f, 15.0f, 9.4f, kOne, 1.0f, PIX_OP_ADD, false);
  for (auto p : bm.drawn()) ASSERT_EQ(bm.get(p.first, p.second), kOne);
}

TEST(FillCircle, PlainDiscIsBoundedByItsOutline)
{
  for (float r = 0.0f; r < 12.0f; r += 0.5f) {
    GuardedBitmap disc(30, 30), ring(30, 30);
    PIX_FillCircle(&disc, 14.0f, 14.0f, r, kWhite, 1.0f, PIX_OP_COPY, false);
    PIX_Circle(&ring, 14.0f, 14.0f, r + 0.01f, kWhite, 1.0f, PIX_OP_COPY, false);
    for (int y = 0; y < 30; ++y) {
      int lo = 99, hi = -1, dlo = 99, dhi = -1;
      for (int x = 0; x < 30; ++x) {
        if (ring.get(x, y)) lo = std::min(lo, x), hi = std::max(hi, x);
        if (disc.get(x, y)) dlo = std::min(dlo, x), dhi = std::max(dhi, x);
      }
      ASSERT_EQ(lo, dlo) << r << " row " << y;
      ASSERT_EQ(hi, dhi) << r << " row " << y;
      for (int x = dlo; x <= dhi; ++x) ASSERT_EQ(disc.get(x, y), kWhite);
    }
  }
}

TEST(FillCircle, AntiAliasedDiscCoversItsArea)
{
  for (float r : {3.3f, 7.5f, 12.8f}) {
    GuardedBitmap bm(40, 40);
    PIX_FillCircle(&bm, 19.6f, 20.2f, r, 0x000000FFu, 1.0f, PIX_OP_COPY, true);
    double sum = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x) sum += Blue(bm.get(x, y)) / 255.0;
    // Pixel k spans k..k+1 of the radius, so the disc covers r + 0.5.
    const double area = kPi * (r + 0.5) * (r + 0.5);
    EXPECT_NEAR(sum, area, 0.03 * area) << r;
  }
}

TEST(Circle, ClippedAtEveryEdgeLikeTheUnclippedCircle)
{
  // Drawn near each edge of a small bitmap and in the middle of a large one:
  // the small one must show exactly the window of the large one.
  const float radii[] = {0.0f, 1.0f, 1.5f, 2.0f, 4.0f, 5.7f, 9.2f};
  const float centres[][2] = {{0, 0}, {-2, 5}, {5, -2}, {11, 5}, {5, 9}, {13, 11}, {-3.5f, -3.5f}, {6, 4}};
  for (int kind = 0; kind < 4; ++kind)
    for (float r : radii)
      for (auto& c : centres) {
        GuardedBitmap small(12, 10), big(52, 50);
        const bool aa = kind & 1, fill = kind & 2;
        if (fill) {
          PIX_FillCircle(&small, c[0], c[1], r, kWhite, 0.6f, PIX_OP_ADD, aa);
          PIX_FillCircle(&big, c[0] + 20, c[1] + 20, r, kWhite, 0.6f, PIX_OP_ADD, aa);
        } else {
          PIX_Circle(&small, c[0], c[1], r, kWhite, 0.6f, PIX_OP_ADD, aa);
          PIX_Circle(&big, c[0] + 20, c[1] + 20, r, kWhite, 0.6f, PIX_OP_ADD, aa);
        }
        ASSERT_TRUE(small.guardIntact()) << kind << " r " << r;
        ExpectWindowOf(small, big, 20, 20, "circle");
      }
  // Far outside, negative radius, zero alpha, unknown operator: nothing.
  GuardedBitmap bm(10, 10);
  PIX_Circle(&bm, -30.0f, 5.0f, 4.0f, kWhite, 1.0f, PIX_OP_COPY, true);
  PIX_FillCircle(&bm, 5.0f, 5.0f, -1.0f, kWhite, 1.0f, PIX_OP_COPY, true);
  PIX_FillCircle(&bm, 5.0f, 5.0f, 3.0f, kWhite, 0.0f, PIX_OP_COPY, true);
  PIX_FillCircle(&bm, 5.0f, 5.0f, 3.0f, kWhite, 1.0f, 9, false);
  PIX_FillCircle(&bm, NAN, 5.0f, 3.0f, kWhite, 1.0f, PIX_OP_COPY, false);
  PIX_FillCircle(nullptr, 5.0f, 5.0f, 3.0f, kWhite, 1.0f, PIX_OP_COPY, false);
  EXPECT_TRUE(bm.drawn().empty());
  // A huge circle around the bitmap stays clipped.
  PIX_Circle(&bm, 5.0f, 5.0f, 3000.0f, kWhite, 1.0f, PIX_OP_COPY, true);
  PIX_FillCircle(&bm, 5.0f, 5.0f, 3000.0f, kWhite, 1.0f, PIX_OP_COPY, true);
  EXPECT_TRUE(bm.guardIntact());
  EXPECT_EQ(bm.get(0, 0), kWhite);
}

TEST(Arc, QuarterArcIsThePartOfTheCircleInItsQuadrant)
{
  for (int aa = 0; aa < 2; ++aa) {
    GuardedBitmap full(30, 30), arc(30, 30);
    PIX_Circle(&full, 15.0f, 15.0f, 9.3f, kWhite, 1.0f, PIX_OP_COPY, aa);
    PIX_Arc(&arc, 15.0f, 15.0f, 9.3f, 0.0f, kPi / 2, kWhite, 1.0f, PIX_OP_COPY, aa);
    EXPECT_FALSE(arc.drawn().empty());
    for (auto p : arc.drawn()) {
      EXPECT_GE(p.first, 15);
      EXPECT_LE(p.second, 15);
      EXPECT_EQ(arc.get(p.first, p.second), full.get(p.first, p.second));
    }
    for (auto p : full.drawn())
      if (p.first > 15 && p.second < 15) {
        EXPECT_EQ(arc.get(p.first, p.second), full.get(p.first, p.second));
      }
  }
}

TEST(Arc, AnglesNormaliseAndFullTurnsDrawTheCircle)
{
  GuardedBitmap a(30, 30), b(30, 30), c(30, 30), full(30, 30), whole(30, 30);
  PIX_Arc(&a, 14.0f, 15.0f, 8.0f, 0.4f, 2.0f, kWhite, 1.0f, PIX_OP_COPY, true);
  PIX_Arc(&b, 14.0f, 15.0f, 8.0f, 2.0f, 0.4f, kWhite, 1.0f, PIX_OP_COPY, true);
  PIX_Arc(&c, 14.0f, 15.0f, 8.0f, 0.4f + 4 * kPi, 2.0f + 4 * kPi, kWhite, 1.0f, PIX_OP_COPY, true);
  EXPECT_EQ(a.drawn(), b.drawn());
  EXPECT_EQ(a.drawn(), c.drawn());
  PIX_Arc(&full, 14.0f, 15.0f, 8.0f, -1.0f, -1.0f + 2 * kPi + 0.01f, kWhite, 1.0f, PIX_OP_COPY, false);
  PIX_Circle(&whole, 14.0f, 15.0f, 8.0f, kWhite, 1.0f, PIX_OP_COPY, false);
  EXPECT_EQ(full.drawn(), whole.drawn());
  // Equal angles or zero alpha: nothing.
  GuardedBitmap none(30, 30);
  PIX_Arc(&none, 14.0f, 15.0f, 8.0f, 1.0f, 1.0f, kWhite, 1.0f, PIX_OP_COPY, false);
  PIX_Arc(&none, 14.0f, 15.0f, 8.0f, 0.0f, 1.0f, kWhite, 0.0f, PIX_OP_COPY, false);
  PIX_Arc(&none, 14.0f, 15.0f, 8.0f, NAN, 1.0f, kWhite, 1.0f, PIX_OP_COPY, false);
  EXPECT_TRUE(none.drawn().empty());
  // Arcs across the edges stay inside.
  GuardedBitmap edge(8, 8);
  PIX_Arc(&edge, 1.0f, 7.0f, 6.0f, -3.0f, 2.5f, kWhite, 1.0f, PIX_OP_ADD, true);
  EXPECT_TRUE(edge.guardIntact());
  EXPECT_FALSE(edge.drawn().empty());
}

TEST(Arc, PiecesMeetingOnAnAxisDrawTheirPixelsOnce)
{
  for (int aa = 0; aa < 2; ++aa) {
    GuardedBitmap arc(30, 30), full(30, 30);
    PIX_Arc(&arc, 15.0f, 14.0f, 9.6f, -0.3f, 4.0f, kWhite, 0.5f, PIX_OP_ADD, aa);
    PIX_Circle(&full, 15.0f, 14.0f, 9.6f, kWhite, 0.5f, PIX_OP_ADD, aa);
    EXPECT_GT(arc.drawn().size(), 20u);
    for (auto p : arc.drawn()) ASSERT_EQ(arc.get(p.first, p.second), full.get(p.first, p.second)) << aa;
  }
}

TEST(Arc, FlippedBitmapMirrorsTheArc)
{
  GuardedBitmap flipped(30, 30, true), plain(30, 30);
  PIX_Arc(&flipped, 12.0f, 10.0f, 7.0f, 0.2f, 1.4f, kWhite, 1.0f, PIX_OP_COPY, false);
  // Mirrored: centre row 29 - 10 = 19, angles pi - a.
  PIX_Arc(&plain, 12.0f, 19.0f, 7.0f, kPi - 1.4f, kPi - 0.2f, kWhite, 1.0f, PIX_OP_COPY, false);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) ASSERT_EQ(flipped.get(x, y), plain.get(x, 29 - y)) << x << "," << y;
  EXPECT_FALSE(flipped.drawn().empty());
  // The visible arc stays in the upper right quadrant of its centre.
  for (auto p : flipped.drawn()) {
    EXPECT_GE(p.first, 12);
    EXPECT_LE(p.second, 10);
  }
}

TEST(RoundRect, SmallRadiusIsThePlainOutline)
{
  GuardedBitmap round(20, 20), rect(20, 20);
  PIX_RoundRect(&round, 2.7f, 3.2f, 12.0f, 9.0f, 1, kOne, 1.0f, PIX_OP_ADD, false);
  PIX_DrawRect(&rect, 2, 3, 12, 9, kOne, 1.0f, PIX_OP_ADD);
  EXPECT_EQ(round.pixels(), rect.pixels());
}

TEST(RoundRect, CornersAreQuarterArcsJoiningTheSides)
{
  for (int aa = 0; aa < 2; ++aa) {
    GuardedBitmap bm(24, 20);
    PIX_RoundRect(&bm, 2.0f, 3.0f, 18.0f, 14.0f, 5, kWhite, 1.0f, PIX_OP_COPY, aa);
    // Corners cut, sides and arc ends present, nothing outside the box.
    EXPECT_EQ(bm.get(2, 3), 0u);
    EXPECT_EQ(bm.get(20, 17), 0u);
    EXPECT_EQ(bm.get(11, 3), kWhite);
    EXPECT_EQ(bm.get(11, 17), kWhite);
    EXPECT_EQ(bm.get(2, 10), kWhite);
    EXPECT_EQ(bm.get(20, 10), kWhite);
    EXPECT_NE(bm.get(7, 3), 0u);
    EXPECT_NE(bm.get(2, 8), 0u);
    for (auto p : bm.drawn()) {
      EXPECT_GE(p.first, 1);
      EXPECT_LE(p.first, 21);
      EXPECT_GE(p.second, 2);
      EXPECT_LE(p.second, 18);
    }
    EXPECT_EQ(bm.get(11, 10), 0u);
  }
  // The radius is limited by half the size.
  GuardedBitmap thin(12, 12);
  PIX_RoundRect(&thin, 1.0f, 1.0f, 9.0f, 3.0f, 20, kWhite, 1.0f, PIX_OP_COPY, false);
  GuardedBitmap rect(12, 12);
  PIX_DrawRect(&rect, 1, 1, 9, 3, kWhite, 1.0f, PIX_OP_COPY);
  EXPECT_EQ(thin.pixels(), rect.pixels());
}
