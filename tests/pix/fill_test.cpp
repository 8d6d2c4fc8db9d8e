// Rectangle fills, masks, gradients and per-pixel rectangle operations.
#include <gtest/gtest.h>

#include <cmath>

#include "pix/pix_blendmode.h"
#include "pix/pix_blit.h"
#include "tests/pix/pix_testsupport.h"

using namespace pixtest;

namespace {
const PIX_pixel kColor = 0xC0408020u;

// Rectangles hanging over every edge of a 7 x 5 bitmap.
struct Rect {
  int x, y, w, h;
};
const Rect kRects[] = {{-3, -2, 5, 4}, {4, 3, 9, 9}, {-10, 1, 30, 2}, {2, -5, 2, 30}, {0, 0, 7, 5},
                       {5, 0, -3, 4},  {7, 0, 3, 3}, {0, 5, 3, 3},    {-4, -4, 3, 3}};

bool Inside(const Rect& r, int x, int y) { return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h; }
}  // namespace

TEST(FillRect, CopyUsesWordParallelMixesAtExactFractions)
{
  for (float alpha : {0.25f, 0.5f, 0.75f, 1.0f, 0.3f, 0.0f, -0.5f}) {
    GuardedBitmap bm(7, 5, alpha < 0.4f);
    FillRandom(bm, 51);
    const std::vector<PIX_pixel> before = bm.pixels();
    PIX_FillRect(&bm, 1, 1, 4, 3, kColor, alpha, PIX_OP_COPY);
    const int ia = (int)(alpha * 256);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x) {
        const PIX_pixel d = before[y * 7 + x];
        PIX_pixel want = d;
        if (x >= 1 && x < 5 && y >= 1 && y < 4) {
          const Chans dc = Split(d), kc = Split(kColor);
          Chans m;
          for (int c = 0; c < 4; ++c) {
            if (ia == 64) m.c[c] = kc.c[c] / 4 + dc.c[c] / 4 + dc.c[c] / 2;
            else if (ia == 128) m.c[c] = kc.c[c] / 2 + dc.c[c] / 2;
            else if (ia == 192) m.c[c] = kc.c[c] / 2 + kc.c[c] / 4 + dc.c[c] / 4;
          }
          if (ia == 64 || ia == 128 || ia == 192) want = Join(m);
          else if (ia == 256) want = kColor;
          else if (ia > 0) want = RefOperator(d, kColor, 0, false, ia);
        }
        ASSERT_EQ(bm.get(x, y), want) << "alpha " << alpha << " at " << x << "," << y;
      }
  }
  // Half alpha is the word-parallel mix, not the per-channel blend.
  GuardedBitmap one(1, 1);
  one.set(0, 0, 0x01010101u);
  PIX_FillRect(&one, 0, 0, 1, 1, 0x01010101u, 0.5f, PIX_OP_COPY);
  EXPECT_EQ(one.get(0, 0), 0u);
}

TEST(FillRect, OperatorsUseTheIntegerAlphaAsSourceAlpha)
{
  for (int op = 1; op <= 5; ++op)
    for (float alpha : {0.2f, 0.5f, 1.0f}) {
      GuardedBitmap bm(7, 5);
      FillRandom(bm, 52 + op);
      const std::vector<PIX_pixel> before = bm.pixels();
      PIX_FillRect(&bm, 0, 0, 7, 5, kColor, alpha, op);
      const int ia = (int)(alpha * 256);
      const PIX_pixel src = (kColor & 0xFFFFFFu) | ((PIX_pixel)(ia & 255) << 24);
      for (int i = 0; i < 35; ++i) {
        PIX_pixel want = before[i];
        if (ia == 256 && op != 5) {
          // A source alpha of 256 does not fit a pixel: apply the operator to
          // the colour channels and to alpha separately.
          want = RefOperator(before[i], kColor, op, false, ia) & 0xFFFFFFu;
          const int da = (int)(before[i] >> 24);
          int a = 0;
          switch (op) {
            case 1:
              a = RefAdd(da, 256, 256);
              break;
            case 2:
              a = RefDodge(da, 256, 256);
              break;
            case 3:
              a = RefMul(da, 256, 256) & 255;
              break;
            case 4:
              a = RefOverlay(da, 256, 256);
              break;
          }
          want |= (PIX_pixel)a << 24;
        } else if (ia == 256) {
          want = HsvByOperator(before[i], PIX_GetR(kColor), PIX_GetG(kColor), PIX_GetB(kColor), 256, 256);
        } else {
          want = RefOperator(before[i], src, op, false, ia);
        }
        ASSERT_EQ(bm.pixels()[i], want) << "op " << op << " alpha " << alpha << " pixel " << i;
      }
    }
}

TEST(FillRect, SourceAlphaFlagScalesByTheColourAlpha)
{
  GuardedBitmap bm(3, 3);
  FillRandom(bm, 54);
  const std::vector<PIX_pixel> before = bm.pixels();
  PIX_FillRect(&bm, 0, 0, 3, 3, 0x00FFFFFFu, 1.0f, PIX_OP_COPY | PIX_USE_SOURCE_ALPHA);
  PIX_FillRect(&bm, 0, 0, 3, 3, 0x00FFFFFFu, 1.0f, PIX_OP_ADD | PIX_USE_SOURCE_ALPHA);
  EXPECT_EQ(bm.pixels(), before);
  // Colour alpha 0x80 at alpha 1.0: 128/255 of 256 truncates to 128, the half mix.
  PIX_FillRect(&bm, 0, 0, 3, 3, 0x80FFFFFFu, 1.0f, PIX_OP_COPY | PIX_USE_SOURCE_ALPHA);
  EXPECT_EQ(bm.get(1, 1), RefHalfMix(before[4], 0x80FFFFFFu));
  // Unknown operators draw nothing.
  const std::vector<PIX_pixel> mid = bm.pixels();
  PIX_FillRect(&bm, 0, 0, 3, 3, kColor, 1.0f, 9);
  EXPECT_EQ(bm.pixels(), mid);
}

TEST(FillRect, ClearAndMaskOperationsClip)
{
  for (const Rect& r : kRects) {
    GuardedBitmap a(7, 5, true), b(7, 5), c(7, 5), d(7, 5);
    FillRandom(a, 55);
    FillRandom(b, 55);
    FillRandom(c, 55);
    const std::vector<PIX_pixel> before = a.pixels();
    PIX_FillRect(&a, r.x, r.y, r.w, r.h, kColor, 0.4f, PIX_OP_OVERLAY);
    PIX_ClearRect(&b, r.x, r.y, r.w, r.h, 0xFF00FF00u, 0x00110011u);
    int calls = 0;
    PIX_ProcessRect(
        &c, r.x, r.y, r.w, r.h, [](PIX_pixel* p, void* n) { *p ^= 0xFFFFFFFFu, ++*(int*)n; }, &calls);
    PIX_MultiplyAddRect(&d, r.x, r.y, r.w, r.h, 1, 1, 1, 1, 1, 2, 3, 4);
    int inside = 0;
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x) {
        const PIX_pixel p = before[y * 7 + x];
        const bool in = Inside(r, x, y);
        inside += in;
        ASSERT_EQ(a.get(x, y), in ? RefOperator(p, (kColor & 0xFFFFFFu) | 102u << 24, 4, false, 102) : p);
        ASSERT_EQ(b.get(x, y), in ? (p & 0xFF00FF00u) | 0x00110011u : p);
        ASSERT_EQ(c.get(x, y), in ? ~p : p);
        ASSERT_EQ(d.get(x, y), in ? 0x04010203u : 0u);
      }
    EXPECT_EQ(calls, inside);
    EXPECT_TRUE(a.guardIntact() && b.guardIntact() && c.guardIntact() && d.guardIntact());
  }
  GuardedBitmap e(4, 3);
  PIX_Clear(&e, 0x12345678u);
  for (PIX_pixel p : e.pixels()) EXPECT_EQ(p, 0x12345678u);
  EXPECT_TRUE(e.guardIntact());
}

TEST(MultiplyAddRect, ScalesAddsAndClamps)
{
  GuardedBitmap bm(16, 16);
  FillRandom(bm, 56);
  const std::vector<PIX_pixel> before = bm.pixels();
  const float scale[4] = {0.5f, 1.5f, -0.25f, 1.0f};  // red, green, blue, alpha
  const float add[4] = {10.0f, -20.5f, 300.0f, 0.0f};
  PIX_MultiplyAddRect(&bm, 0, 0, 16, 16, scale[0], scale[1], scale[2], scale[3], add[0], add[1], add[2],
                      add[3]);
  for (int i = 0; i < 256; ++i) {
    const Chans c = Split(before[i]);
    Chans want;
    const int chanOf[4] = {2, 1, 0, 3};  // memory byte of red, green, blue, alpha
    for (int k = 0; k < 4; ++k) {
      const long long x = (long long)(scale[k] * 256) * c.c[chanOf[k]] + (long long)(add[k] * 256);
      want.c[chanOf[k]] = x >= 65536 ? 255 : x < 0 ? 0 : (int)(x / 256);
    }
    ASSERT_EQ(bm.pixels()[i], Join(want)) << i;
  }
}

TEST(GradRect, ChannelsFollowTheRunningValues)
{
  struct Grad {
    float r, g, b, a, drdx, dgdx, dbdx, dadx, drdy, dgdy, dbdy, dady;
    int mode;
  } grads[] = {
      {0.0f, 1.0f, 0.5f, 1.0f, 0.1f, -0.1f, 0.0f, 0.0f, 0.0f, 0.05f, 0.2f, 0.0f,
       PIX_OP_COPY},  // stored, clamped
      {0.2f, 0.3f, 0.4f, 0.5f, 0.05f, 0.0f, -0.05f, 0.1f, 0.1f, 0.1f, 0.0f, -0.05f, PIX_OP_COPY},
      {0.2f, 0.3f, 0.4f, 0.5f, 0.05f, 0.0f, -0.05f, 0.1f, 0.1f, 0.1f, 0.0f, -0.05f, PIX_OP_ADD},
      {0.9f, 0.1f, 0.4f, 1.0f, 0.05f, 0.3f, -0.05f, 0.0f, 0.1f, 0.1f, 0.0f, -0.1f, PIX_OP_MUL},
      {0.9f, 0.1f, 0.4f, 0.7f, 0.05f, 0.3f, -0.05f, 0.0f, 0.1f, 0.1f, 0.0f, 0.1f, PIX_OP_OVERLAY},
  };
  for (const Grad& g : grads)
    for (int x0 : {-3, 1})
      for (int y0 : {-2, 0}) {
        GuardedBitmap bm(7, 5);
        FillRandom(bm, 57);
        const std::vector<PIX_pixel> before = bm.pixels();
        PIX_GradRect(&bm, x0, y0, 12, 12, g.r, g.g, g.b, g.a, g.drdx, g.dgdx, g.dbdx, g.dadx, g.drdy, g.dgdy,
                     g.dbdy, g.dady, g.mode);
        ASSERT_TRUE(bm.guardIntact());
        auto fixed = [](double v, double scale) { return (long long)(v * scale * 65536.0); };
        const bool store = g.mode == PIX_OP_COPY && g.a == 1.0f && g.dadx == 0 && g.dady == 0;
        for (int y = 0; y < 5; ++y)
          for (int x = 0; x < 7; ++x) {
            const PIX_pixel d = before[y * 7 + x];
            if (x < x0 || y < y0) {
              ASSERT_EQ(bm.get(x, y), d);
              continue;
            }
            const int i = x - x0, j = y - y0;
            auto chan = [&](double v, double dx, double dy, double scale) {
              return (int)((fixed(v, scale) + i * fixed(dx, scale) + j * fixed(dy, scale)) >> 16);
            };
            const int r = chan(g.r, g.drdx, g.drdy, 255), gg = chan(g.g, g.dgdx, g.dgdy, 255);
            const int b = chan(g.b, g.dbdx, g.dbdy, 255), a = chan(g.a, g.dadx, g.dady, 256);
            Chans want = Split(d);
            const int s[4] = {b, gg, r, a};
            for (int k = 0; k < 4; ++k) {
              const int dc = want.c[k];
              if (store) want.c[k] = Clamp(s[k]);
              else if (g.mode == PIX_OP_COPY)
                want.c[k] = Clamp(s[k] + TDiv((long long)(dc - s[k]) * (256 - a), 256));
              else if (g.mode == PIX_OP_ADD) want.c[k] = RefAdd(dc, s[k], a);
              else if (g.mode == PIX_OP_OVERLAY) want.c[k] = RefOverlay(dc, s[k], a);
              else {
                const long long v = ((long long)s[k] * a + (long long)(256 - a) * 256) * dc;
                want.c[k] = v >= (1 << 24) ? 255 : v < 0 ? 0 : (int)(v >> 16);
              }
            }
            ASSERT_EQ(bm.get(x, y), Join(want))
                << "mode " << g.mode << " origin " << x0 << "," << y0 << " at " << x << "," << y;
          }
      }
}

TEST(SetAlphaFromColorMask, KeyColourBecomesTransparent)
{
  GuardedBitmap bm(3, 1);
  bm.set(0, 0, 0x80FF00FFu);
  bm.set(1, 0, 0x00FF00FEu);
  bm.set(2, 0, 0x12FF00FFu);
  PIX_SetAlphaFromColorMask(&bm, 0xABFF00FFu);
  EXPECT_EQ(bm.get(0, 0), 0x00FF00FFu);
  EXPECT_EQ(bm.get(1, 0), 0xFFFF00FEu);
  EXPECT_EQ(bm.get(2, 0), 0x00FF00FFu);
}
