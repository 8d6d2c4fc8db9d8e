// Combine operators and single-pixel dispatchers against the formulas.
#include <gtest/gtest.h>

#include <random>

#include "pix/pix_blendmode.h"
#include "pix/pix_combine.h"
#include "pix/pix_wordmix.h"
#include "tests/pix/pix_testsupport.h"

using namespace pixtest;

namespace {
const int kAlphas[] = {0, 1, 64, 128, 192, 255, 256};

std::string Describe(int op, bool sa, int ia, PIX_pixel d, PIX_pixel s)
{
  char buf[128];
  snprintf(buf, sizeof buf, "op %d sa %d ia %d dest %08X src %08X", op, sa, ia, d, s);
  return buf;
}
}  // namespace

// Operators 0..4 against their formulas; for HSV adjust (5) the reference is
// the operator itself (see HandWorkedHsvPoints), so there this checks that
// the dispatchers apply it with the right weight.
TEST(CombineOperators, EveryOperatorMatchesItsFormula)
{
  const std::vector<PIX_pixel> px = TestPixels(1234, 40);
  for (int op = 0; op <= 5; ++op)
    for (int sa = 0; sa <= 1; ++sa)
      for (int ia : kAlphas) {
        const int mode = op | (sa ? PIX_USE_SOURCE_ALPHA : 0);
        int failures = 0;
        for (PIX_pixel d : px)
          for (PIX_pixel s : px) {
            const PIX_pixel want = RefCombine(d, s, op, sa, ia);
            PIX_pixel got = d;
            PIX_CombinePixels2(&got, PIX_GetR(s), PIX_GetG(s), PIX_GetB(s), PIX_GetA(s), ia, mode);
            const PIX_pixel got2 = PIX_CombinePixels(d, s, ia / 256.0f, mode);
            if ((got != want || got2 != want) && failures++ < 5)
              ADD_FAILURE() << Describe(op, sa, ia, d, s) << " want " << std::hex << want << " got " << got
                            << " / " << got2;
          }
      }
}

TEST(CombineOperators, NamedEdgeCases)
{
  // Copy at 256 stores exactly, alpha included; at 128, 0 over 255 gives 127.
  EXPECT_EQ(PIX_CombinePixels(0x12345678u, 0x9ABCDEF0u, 1.0f, PIX_OP_COPY), 0x9ABCDEF0u);
  EXPECT_EQ(PIX_CombinePixels(0xFFFFFFFFu, 0x00000000u, 0.5f, PIX_OP_COPY), 0x7F7F7F7Fu);
  // Add clamps at 255; a negative source value clamps at 0.
  EXPECT_EQ(PIX_CombinePixels(0x80F0F0F0u, 0x80202020u, 1.0f, PIX_OP_ADD), 0xFFFFFFFFu);
  PIX_pixel p = 0x10101010u;
  PIX_CombinePixels2(&p, -100, -100, -100, -100, 256, PIX_OP_ADD);
  EXPECT_EQ(p, 0u);
  // Dodge with s = 255 at full alpha: 255 for non-zero channels, 0 for zero ones.
  EXPECT_EQ(PIX_CombinePixels(0x01000300u, 0xFFFFFFFFu, 1.0f, PIX_OP_DODGE), 0xFF00FF00u);
  // Multiply by white loses the last bit only.
  EXPECT_EQ(PIX_CombinePixels(0xFF80FF01u, 0xFFFFFFFFu, 1.0f, PIX_OP_MUL), 0xFE7FFE00u);
  // HSV adjust: red 0 turns the hue half a circle (red becomes cyan); the
  // source alpha becomes the alpha.
  EXPECT_EQ(PIX_CombinePixels(0xFFFF0000u, 0x40008080u, 1.0f, PIX_OP_HSVADJ), 0x4000FFFFu);
  // Copy with source alpha: alpha 0 skipped, alpha 255 overwrites with alpha 255.
  EXPECT_EQ(PIX_CombinePixels(0x11223344u, 0x00FFFFFFu, 1.0f, PIX_OP_COPY | PIX_USE_SOURCE_ALPHA),
            0x11223344u);
  EXPECT_EQ(PIX_CombinePixels(0x11223344u, 0xFF010203u, 1.0f, PIX_OP_COPY | PIX_USE_SOURCE_ALPHA),
            0xFF010203u);
  EXPECT_EQ(PIX_CombinePixels(0x11223344u, 0xFF010203u, 0.5f, PIX_OP_COPY | PIX_USE_SOURCE_ALPHA) >> 24,
            0x11u + 128u);
}

// Points worked through the conversion by hand: hue h (sectors of 64),
// saturation sv, value v, then back with m = ((256 - sv) v) >> 8 and
// F(k) = v (16384 - k sv) / 16384. T is the reciprocal table.
TEST(CombineOperators, HandWorkedHsvPoints)
{
  struct Point {
    PIX_pixel dest;
    int r, g, b, a, ia;
    PIX_pixel want;
  };
  const Point points[] = {
      // Red (255, 0, 0), neutral adjust: v 255, delta 255, h 0, sv 255 x 256 / 256 = 255,
      // m = (1 x 255) >> 8 = 0; h < 64: red v, green F(64) = 255 x 64 / 16384 = 0, blue m.
      {0xFFFF0000u, 128, 128, 128, 0xFF, 256, 0xFFFF0000u},
      // (200, 100, 50), hue +48: v 200, delta 150, base 0, diff 50;
      // h = 48 + 50 x (435 + 1) / 1024 = 48 + 21 = 69; sv = 150 x 326 / 256 = 191;
      // m = 65 x 200 >> 8 = 50; 64 <= h < 128: red F(5) = 200 x 15429 / 16384 = 188,
      // green v = 200, blue m = 50.
      {0x00C86432u, 160, 128, 128, 0xFF, 256, 0xFFBCC832u},
      // (30, 60, 90) at ia 128, saturation +72, value -88: v 90, delta 60, base 256,
      // diff -30; h = 256 + (-30 x 1092 / 1024 = -31) = 225; sv = 60 x 727 / 256 + 72 = 242;
      // v = 90 - 88 = 2; m = 14 x 2 >> 8 = 0; 192 <= h < 256: red m, green
      // F(33) = 2 x 8398 / 16384 = 1, blue v = 2.
      {0x001E3C5Au, 128, 200, 40, 0x80, 128, 0x80000102u},
      // (255, 0, 10), hue +190 wraps: v 255, delta 255, base 383 (G < B), diff -10;
      // h = 383 + 190 + (-10 x 257 / 1024 = -2) = 571 - 384 = 187; sv 255, m 0;
      // 128 <= h < 192: red m, green v, blue F(5) = 255 x 15109 / 16384 = 235.
      {0xFFFF000Au, 255, 128, 128, 0xFF, 256, 0xFF00FFEBu},
      // (255, 10, 0), hue -192 wraps below 0: base 0, diff 10;
      // h = -192 + 10 x 257 / 1024 = -190 + 384 = 194; 192 <= h < 256: red m = 0,
      // green F(2) = 255 x 15874 / 16384 = 247, blue v = 255; alpha from the source.
      {0xFFFF0A00u, 0, 128, 128, 0x40, 256, 0x4000F7FFu},
      // Grey (100, 100, 100), value +144: delta 0, base 256, h 256, sv 0, v 244,
      // m = 256 x 244 >> 8 = 244; 256 <= h < 320: red F(64) = 244, green m, blue v.
      {0xFF646464u, 128, 128, 200, 0xFF, 256, 0xFFF4F4F4u},
  };
  for (const Point& p : points) {
    PIX_pixel got = p.dest;
    PIX_CombinePixels2(&got, p.r, p.g, p.b, p.a, p.ia, PIX_OP_HSVADJ);
    EXPECT_EQ(got, p.want) << std::hex << "dest " << p.dest << " adjust " << p.r << "," << p.g << "," << p.b;
  }
}

// A seeded sweep through both HSV operators, folded into one checksum that
// was taken when the hand-worked points above passed: any change to the
// conversion shows here.
TEST(CombineOperators, HsvSweepChecksumIsPinned)
{
  std::mt19937 rng(2024);
  uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (int i = 0; i < 1 << 18; ++i) {
    PIX_pixel p = rng();
    const PIX_pixel s = rng();
    const int ia = 1 + (int)(rng() % 256);
    const int mode = i & 1 ? PIX_OP_HSVADJ | PIX_USE_SOURCE_ALPHA : PIX_OP_HSVADJ;
    PIX_CombinePixels2(&p, PIX_GetR(s), PIX_GetG(s), PIX_GetB(s), PIX_GetA(s), ia, mode);
    for (int k = 0; k < 4; ++k) hash = (hash ^ ((p >> (8 * k)) & 255)) * 1099511628211ull;
  }
  EXPECT_EQ(hash, 2704866962330074230ull);
}

TEST(CombineOperators, HsvNeutralAdjustKeepsColourUpToTableRounding)
{
  for (PIX_pixel d : TestPixels(77, 200)) {
    const PIX_pixel got = PIX_CombinePixels(d, 0xFF808080u, 1.0f, PIX_OP_HSVADJ);
    for (int sh = 0; sh < 24; sh += 8)
      EXPECT_NEAR((int)((got >> sh) & 255), (int)((d >> sh) & 255), 8) << std::hex << d;
    EXPECT_EQ(got >> 24, 0xFFu);
  }
}

TEST(CombineOperators, UnknownOperatorsAndZeroAlphaLeaveThePixel)
{
  for (int mode : {6, 7, 0x20, 0xEF, 0xF3, 0x10006})
    EXPECT_EQ(PIX_CombinePixels(0x12345678u, 0xFFFFFFFFu, 1.0f, mode), 0x12345678u);
  for (int op = 0; op <= 5; ++op)
    EXPECT_EQ(PIX_CombinePixels(0x12345678u, 0xFF00FF00u, 0.001f, op), 0x12345678u);
  // A negative alpha in copy mode draws nothing.
  EXPECT_EQ(PIX_CombinePixels(0x12345678u, 0xFF00FF00u, -0.5f, PIX_OP_COPY), 0x12345678u);
  // The filter bit is not part of the selector.
  EXPECT_EQ(PIX_CombinePixels(0x12345678u, 0x9ABCDEF0u, 1.0f, PIX_OP_COPY | PIX_FILTER_BILINEAR),
            0x9ABCDEF0u);
}

TEST(CombineOperators, ClampingDispatcher)
{
  PIX_pixel p = 0x11223344u;
  PIX_CombinePixels2Clamp(&p, 300, -5, 128, 999, 256, PIX_OP_COPY);
  EXPECT_EQ(p, 0xFFFF0080u);
  p = 0x80808080u;
  PIX_CombinePixels2Clamp(&p, 600, -600, 0, 255, 128, PIX_OP_COPY);
  // clamp(s + (d - s) x 128 / 256) per channel.
  EXPECT_EQ(p, Join({{RefCopy(128, 0, 128), 0, 255, RefCopy(128, 255, 128)}}));
  p = 0xFFFFFFFFu;
  PIX_CombinePixels2Clamp(&p, 1000, -1000, 255, 255, 256, PIX_OP_MUL);
  EXPECT_EQ(p & 0x00FFFF00u, 0x00FF0000u);
  // Other operators behave as in the plain dispatcher.
  PIX_pixel q = 0x10203040u, r = q;
  PIX_CombinePixels2Clamp(&q, 5, 6, 7, 8, 100, PIX_OP_OVERLAY);
  PIX_CombinePixels2(&r, 5, 6, 7, 8, 100, PIX_OP_OVERLAY);
  EXPECT_EQ(q, r);
}

TEST(CombineOperators, WordParallelMixes)
{
  const std::vector<PIX_pixel> px = TestPixels(99, 60);
  for (PIX_pixel d : px)
    for (PIX_pixel k : px) {
      Chans dc = Split(d), kc = Split(k), half, quarter, three;
      for (int c = 0; c < 4; ++c) {
        half.c[c] = kc.c[c] / 2 + dc.c[c] / 2;
        quarter.c[c] = kc.c[c] / 4 + dc.c[c] / 4 + dc.c[c] / 2;
        three.c[c] = kc.c[c] / 2 + kc.c[c] / 4 + dc.c[c] / 4;
      }
      ASSERT_EQ(_PIX_CombinePixelsHalfMixFAST::mix(d, k), Join(half));
      ASSERT_EQ(_PIX_CombinePixelsHalfMix2FAST::mix(d, PIX_PreShiftHalf(k)), Join(half));
      ASSERT_EQ(_PIX_CombinePixelsQuarterMix2FAST::mix(d, PIX_PreShiftQuarter(k)), Join(quarter));
      ASSERT_EQ(_PIX_CombinePixelsThreeQuarterMix2FAST::mix(d, PIX_PreShiftThreeQuarter(k)), Join(three));
    }
}

TEST(CombineOperators, ClampingOperatorsAndHalfMix)
{
  for (PIX_pixel d : TestPixels(5, 30)) {
    const Chans dc = Split(d);
    for (int s : {-300, -1, 0, 77, 255, 256, 1000})
      for (int ia : {-64, 0, 1, 128, 256, 300}) {
        unsigned char px[4];
        memcpy(px, &d, 4);
        _PIX_CombinePixelsCopyClamp::doPix(px, s, s, s, s, ia);
        for (int c = 0; c < 4; ++c)
          ASSERT_EQ(px[c], Clamp(s + TDiv((long long)(dc.c[c] - s) * (256 - ia), 256)));
        memcpy(px, &d, 4);
        _PIX_CombinePixelsMulClamp::doPix(px, s, s, s, s, ia);
        for (int c = 0; c < 4; ++c) {
          const long long x = ((long long)s * ia + (long long)(256 - ia) * 256) * dc.c[c];
          ASSERT_EQ(px[c], x >= (1 << 24) ? 255 : x < 0 ? 0 : (int)(x / 65536));
        }
        memcpy(px, &d, 4);
        _PIX_CombinePixelsClobberClamp::doPix(px, s, s, s, s, ia);
        for (int c = 0; c < 4; ++c) ASSERT_EQ(px[c], Clamp(s));
      }
    for (PIX_pixel s : TestPixels(6, 10)) {
      PIX_pixel p = d;
      _PIX_CombinePixelsHalfMixNoClamp::doPix((unsigned char*)&p, PIX_GetR(s), PIX_GetG(s), PIX_GetB(s),
                                              PIX_GetA(s), 0);
      const Chans sc = Split(s);
      Chans want;
      for (int c = 0; c < 4; ++c) want.c[c] = (dc.c[c] + sc.c[c]) / 2;
      ASSERT_EQ(p, Join(want));
    }
  }
}

TEST(CombineOperators, ReciprocalTable)
{
  EXPECT_EQ(PIX_HSVReciprocal[0], 0);
  EXPECT_EQ(PIX_HSVReciprocal[1], 65535);
  EXPECT_EQ(PIX_HSVReciprocal[3], 21844);
  EXPECT_EQ(PIX_HSVReciprocal[255], 256);
  for (int x = 1; x < 256; ++x) EXPECT_EQ(PIX_HSVReciprocal[x], RefTable(x));
}
