// Plain blit and copy: operators, clipping against both bitmaps, overlap.
#include <gtest/gtest.h>

#include "pix/pix_blendmode.h"
#include "pix/pix_blit.h"
#include "pix/pix_membitmap.h"
#include "tests/pix/pix_testsupport.h"

using namespace pixtest;

namespace {
// What one destination pixel becomes under PIX_Blit with (mode, ia): copy at
// full alpha and at exactly one half have their own forms.
PIX_pixel RefBlitPixel(PIX_pixel d, PIX_pixel s, int op, bool sa, int ia)
{
  if (op == 0 && !sa && ia == 256) return s;
  if (op == 0 && !sa && ia == 128) return RefHalfMix(d, s);
  return RefCombine(d, s, op, sa, ia);
}
}  // namespace

TEST(Blit, EveryOperatorAtEveryAlphaMatchesTheFormulas)
{
  const std::vector<PIX_pixel> px = TestPixels(4321, 48);
  const int n = (int)px.size();
  // One column short, so that row loops working on groups of pixels meet a tail.
  GuardedBitmap src(n - 1, n), dst(n, n, true);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n - 1; ++x) src.set(x, y, px[(x + 3 * y) % n]);
  for (int op = 0; op <= 5; ++op)
    for (int sa = 0; sa <= 1; ++sa)
      for (int ia : {0, 1, 64, 128, 192, 255, 256}) {
        for (int y = 0; y < n; ++y)
          for (int x = 0; x < n; ++x) dst.set(x, y, px[x]);
        PIX_Blit(&dst, &src, 0, 0, nullptr, ia / 256.0f, op | (sa ? PIX_USE_SOURCE_ALPHA : 0));
        int failures = 0;
        for (int y = 0; y < n; ++y)
          for (int x = 0; x < n; ++x) {
            const PIX_pixel want = x < n - 1 ? RefBlitPixel(px[x], src.get(x, y), op, sa, ia) : px[x];
            if (dst.get(x, y) != want && failures++ < 3)
              ADD_FAILURE() << "op " << op << " sa " << sa << " ia " << ia << " at " << x << "," << y
                            << std::hex << " want " << want << " got " << dst.get(x, y);
          }
        ASSERT_TRUE(dst.guardIntact());
      }
}

TEST(Blit, UnknownOperatorsDrawNothingAndChannelCopyMovesOneByte)
{
  GuardedBitmap src(4, 4), dst(4, 4);
  FillRandom(src, 1);
  FillRandom(dst, 2);
  const std::vector<PIX_pixel> before = dst.pixels();
  PIX_Blit(&dst, &src, 0, 0, nullptr, 1.0f, 6);
  PIX_Blit(&dst, &src, 0, 0, nullptr, 1.0f, 0xEF);
  PIX_Blit(&dst, &src, 0, 0, nullptr, 0.0f, PIX_OP_COPY);
  EXPECT_EQ(dst.pixels(), before);
  // 0xF3: source alpha byte into destination blue byte; other bytes stay.
  PIX_Blit(&dst, &src, 0, 0, nullptr, 0.3f, 0xF3);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(dst.get(x, y), (before[y * 4 + x] & 0xFFFFFF00u) | (src.get(x, y) >> 24));
  // 0xF9: green (1) into red (2).
  PIX_Blit(&dst, &src, 0, 0, nullptr, 1.0f, 0xF9);
  EXPECT_EQ((dst.get(1, 1) >> 16) & 255, (src.get(1, 1) >> 8) & 255);
}

// Clipping: for destination positions and source rectangles hanging over
// every edge of both bitmaps, each destination pixel is either the source
// pixel the shifted rectangle puts there or untouched.
TEST(Blit, ClipsAgainstBothBitmaps)
{
  const int SW = 7, SH = 5, DW = 6, DH = 8;
  const int positions[] = {-9, -3, -1, 0, 2, 5, 7};
  const int rectEdges[] = {-4, -1, 0, 2, 6, 9};
  for (bool flipped : {false, true}) {
    GuardedBitmap src(SW, SH, flipped);
    FillRandom(src, 11);
    for (int dx : positions)
      for (int dy : positions)
        for (int l : rectEdges)
          for (int t : rectEdges) {
            const RECT r = {l, t, l + 5, t + 4};
            GuardedBitmap dst(DW, DH, !flipped);
            PIX_Blit(&dst, &src, dx, dy, &r, 1.0f, PIX_OP_ADD);
            ASSERT_TRUE(dst.guardIntact());
            for (int y = 0; y < DH; ++y)
              for (int x = 0; x < DW; ++x) {
                // A negative rectangle edge moves the destination instead.
                const int sx = x - (dx - std::min(l, 0)) + std::max(l, 0);
                const int sy = y - (dy - std::min(t, 0)) + std::max(t, 0);
                const bool inside = sx >= std::max(l, 0) && sx < std::min(r.right, SW) &&
                                    sy >= std::max(t, 0) && sy < std::min(r.bottom, SH);
                const PIX_pixel want = inside ? RefCombine(0, src.get(sx, sy), 1, false, 256) : 0;
                ASSERT_EQ(dst.get(x, y), want)
                    << dx << "," << dy << " rect " << l << "," << t << " at " << x << "," << y;
              }
          }
  }
}

TEST(Blit, NegativeSourceLeftShiftsTheDestination)
{
  GuardedBitmap src(4, 1), dst(8, 1);
  for (int x = 0; x < 4; ++x) src.set(x, 0, 0xFF000001u + x);
  PIX_Blit(&dst, &src, 2, 0, -2, 0, 4, 1, 1.0f, PIX_OP_COPY);
  const std::vector<PIX_pixel> want = {0, 0, 0, 0, 0xFF000001u, 0xFF000002u, 0, 0};
  EXPECT_EQ(dst.pixels(), want);
}

// Overlapping blits within one bitmap read every source pixel before it is
// overwritten, in every direction, for the row move and the operator loops.
TEST(Blit, OverlappingCopiesWithinOneBitmap)
{
  for (bool flipped : {false, true})
    for (float alpha : {1.0f, 0.5f, 0.75f})
      for (int dx = -3; dx <= 3; ++dx)
        for (int dy = -3; dy <= 3; ++dy) {
          GuardedBitmap bm(12, 10, flipped);
          FillRandom(bm, 5 + dx * 7 + dy);
          const std::vector<PIX_pixel> before = bm.pixels();
          const RECT r = {3, 3, 9, 7};
          PIX_Blit(&bm, &bm, 3 + dx, 3 + dy, &r, alpha, PIX_OP_COPY);
          ASSERT_TRUE(bm.guardIntact());
          const int ia = (int)(alpha * 256);
          for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 12; ++x) {
              const int sx = x - dx, sy = y - dy;
              PIX_pixel want = before[y * 12 + x];
              if (sx >= 3 && sx < 9 && sy >= 3 && sy < 7)
                want = RefBlitPixel(want, before[sy * 12 + sx], 0, false, ia);
              ASSERT_EQ(bm.get(x, y), want)
                  << "shift " << dx << "," << dy << " alpha " << alpha << " at " << x << "," << y;
            }
        }
}

TEST(Blit, CopyResizesAndCopiesExactly)
{
  GuardedBitmap src(9, 4, true);
  FillRandom(src, 8);
  PIX_MemBitmap dst(2, 2, 4);
  PIX_Copy(&dst, &src);
  ASSERT_EQ(dst.getWidth(), 9);
  ASSERT_EQ(dst.getHeight(), 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 9; ++x) EXPECT_EQ(dst.getBits()[y * dst.getRowSpan() + x], src.get(x, y));
  EXPECT_EQ(PIX_BitmapCmp(&dst, &src), 0);
  PIX_Copy(nullptr, &src);
  PIX_Copy(&dst, nullptr);
}

TEST(Blit, NullAndEmptyBitmapsAreIgnored)
{
  GuardedBitmap a(3, 3);
  PIX_MemBitmap empty;
  PIX_Blit(&a, nullptr, 0, 0);
  PIX_Blit(nullptr, &a, 0, 0);
  PIX_Blit(&a, &empty, 0, 0);
  PIX_Blit(&empty, &a, 0, 0);
  // Extreme rectangles cannot wrap round.
  PIX_Blit(&a, &a, 0, 0, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 1.0f, PIX_OP_COPY);
  PIX_Blit(&a, &a, INT32_MAX, INT32_MIN, 0, 0, 3, 3, 1.0f, PIX_OP_ADD);
  EXPECT_TRUE(a.guardIntact());
}
