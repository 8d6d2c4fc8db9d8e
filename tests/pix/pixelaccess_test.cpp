// Single pixels, flood fill and bitmap comparison.
#include <gtest/gtest.h>

#include "pix/pix_blendmode.h"
#include "pix/pix_blit.h"
#include "pix/pix_membitmap.h"
#include "tests/pix/pix_testsupport.h"

using namespace pixtest;

TEST(PixelAccess, GetAndPutFollowTheFillRules)
{
  GuardedBitmap bm(4, 3, true);
  bm.set(1, 2, 0x11223344u);
  EXPECT_EQ(PIX_GetPixel(&bm, 1, 2), 0x11223344u);
  EXPECT_EQ(PIX_GetPixel(&bm, -1, 0), 0u);
  EXPECT_EQ(PIX_GetPixel(&bm, 4, 0), 0u);
  EXPECT_EQ(PIX_GetPixel(&bm, 0, 3), 0u);
  EXPECT_EQ(PIX_GetPixel(nullptr, 0, 0), 0u);
  PIX_MemBitmap empty;
  EXPECT_EQ(PIX_GetPixel(&empty, 0, 0), 0u);

  const PIX_pixel color = 0x80FF4020u;
  for (float alpha : {1.0f, 0.75f, 0.5f, 0.25f, 0.3f, 0.0f, -1.0f})
    for (int op = 0; op <= 5; ++op) {
      const PIX_pixel d = 0x40808080u;
      bm.set(2, 1, d);
      PIX_PutPixel(&bm, 2, 1, color, alpha, op | PIX_USE_SOURCE_ALPHA);  // the flag is ignored
      const int ia = (int)(alpha * 256.0f);
      PIX_pixel want = d;
      if (op == 0) {
        const Chans dc = Split(d), kc = Split(color);
        Chans m;
        for (int c = 0; c < 4; ++c) {
          if (ia == 64) m.c[c] = kc.c[c] / 4 + dc.c[c] / 4 + dc.c[c] / 2;
          if (ia == 128) m.c[c] = kc.c[c] / 2 + dc.c[c] / 2;
          if (ia == 192) m.c[c] = kc.c[c] / 2 + kc.c[c] / 4 + dc.c[c] / 4;
        }
        if (ia == 64 || ia == 128 || ia == 192) want = Join(m);
        else if (ia == 256) want = color;
        else if (ia > 0) want = RefOperator(d, color, 0, false, ia);
      } else if (ia != 0) {
        want = RefOperator(d, color, op, false, ia);
      }
      EXPECT_EQ(bm.get(2, 1), want) << "op " << op << " alpha " << alpha;
    }
  PIX_PutPixel(&bm, -1, 0, 0xFFFFFFFFu);
  PIX_PutPixel(&bm, 4, 3, 0xFFFFFFFFu);
  PIX_PutPixel(&bm, 0, 1, 0xFFFFFFFFu, 1.0f, 7);
  EXPECT_EQ(bm.get(0, 1), 0u);
  EXPECT_TRUE(bm.guardIntact());
}

TEST(SimpleFill, FillsRunsConnectedToTheSeedColumn)
{
  // 0 = fillable, 1 = wall. Only the runs through the seed column (x = 2)
  // are filled: the upper right part of row 0, reachable only around the
  // wall, is not.
  const char* rows[] = {
      "0001000", "0000000", "1101111", "0001000", "1111000",
  };
  GuardedBitmap bm(7, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) bm.set(x, y, rows[y][x] == '1' ? 0xFF000000u : 0x00000005u);
  PIX_SimpleFill(&bm, 2, 1, 0x00AB0000u, 0xFFFFFFFFu, 0x000000FFu);
  const char* want[] = {
      "xxx1000", "xxxxxxx", "11x1111", "xxx1000", "1111000",
  };
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) {
      const PIX_pixel expect = want[y][x] == 'x'   ? 0x00AB0005u
                               : want[y][x] == '1' ? 0xFF000000u
                                                   : 0x00000005u;
      EXPECT_EQ(bm.get(x, y), expect) << x << "," << y;
    }
  // A compare mask lets different pixels count as the same.
  GuardedBitmap m(3, 1);
  m.set(0, 0, 0x01000000u);
  m.set(1, 0, 0x02000000u);
  m.set(2, 0, 0x03000001u);
  PIX_SimpleFill(&m, 1, 0, 0x00000077u, 0x00FFFFFFu, 0);
  EXPECT_EQ(m.get(0, 0), 0x77u);
  EXPECT_EQ(m.get(1, 0), 0x77u);
  EXPECT_EQ(m.get(2, 0), 0x03000001u);
  PIX_SimpleFill(&m, 3, 0, 0, 0xFFFFFFFFu, 0);
  PIX_SimpleFill(nullptr, 0, 0, 0, 0xFFFFFFFFu, 0);
  EXPECT_TRUE(m.guardIntact() && bm.guardIntact());
}

TEST(BitmapCmp, NullsSizesRowsMasksAndBoxes)
{
  GuardedBitmap a(5, 4), b(5, 4, true), c(6, 4), d(5, 2);
  FillRandom(a, 71);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) b.set(x, y, a.get(x, y));
  EXPECT_EQ(PIX_BitmapCmp(nullptr, nullptr), 0);
  EXPECT_EQ(PIX_BitmapCmp(nullptr, &a), -1);
  EXPECT_EQ(PIX_BitmapCmp(&a, nullptr), 1);
  EXPECT_EQ(PIX_BitmapCmp(&a, &c), 1);
  EXPECT_EQ(PIX_BitmapCmp(&c, &a), -1);
  EXPECT_EQ(PIX_BitmapCmp(&a, &d), -2);
  EXPECT_EQ(PIX_BitmapCmp(&a, &b), 0);
  int box[4] = {9, 9, 9, 9};
  EXPECT_EQ(PIX_BitmapCmp(&a, &b, box), 0);
  EXPECT_EQ(box[0] | box[1] | box[2] | box[3], 0);

  b.set(1, 2, a.get(1, 2) ^ 0x01000000u);
  b.set(3, 1, a.get(3, 1) ^ 0x00000100u);
  // Row comparison: the sign of the first differing row's bytes.
  const int r = PIX_BitmapCmp(&a, &b);
  const PIX_pixel pa = a.get(3, 1), pb = b.get(3, 1);
  EXPECT_EQ(r > 0, memcmp(&pa, &pb, 4) > 0);
  EXPECT_NE(r, 0);
  EXPECT_EQ(PIX_BitmapCmpEx(&a, &b, 0x00FF00FFu), 0);
  EXPECT_EQ(PIX_BitmapCmpEx(&a, &b, 0xFF000000u), 1);
  EXPECT_EQ(PIX_BitmapCmp(&a, &b, box), 1);
  EXPECT_EQ(box[0], 1);
  EXPECT_EQ(box[1], 1);
  EXPECT_EQ(box[2], 3);
  EXPECT_EQ(box[3], 2);
  EXPECT_EQ(PIX_BitmapCmpEx(&a, &b, 0x0000FF00u, box), 1);
  EXPECT_EQ(box[0], 3);
  EXPECT_EQ(box[2], 1);
  PIX_MemBitmap e1, e2;
  EXPECT_EQ(PIX_BitmapCmp(&e1, &e2), 0);
}
