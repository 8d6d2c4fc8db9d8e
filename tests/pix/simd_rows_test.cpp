// The vector row functions of every instruction set this processor runs,
// against the per-pixel formulas: every byte combination an operator reads
// (seeded random where there are more than 2^24), every row width from 1
// to 67 at every alignment, overlapping rows, and the choice of set.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "pix/pix_blendmode.h"
#include "pix/pix_blit.h"
#include "pix/pix_combine.h"
#include "pix/pix_simdbilinear.h"
#include "pix/pix_simdrows.h"
#include "pix/pix_wordmix.h"
#include "tests/pix/pix_testsupport.h"

using namespace pixtest;

namespace {

struct Level {
  const char* name;
  PIX_SimdLevel level;
  const PIX_SimdRowOps* ops;
};

// SSE2 always; AVX2 when the processor has it.
std::vector<Level> Levels()
{
  std::vector<Level> v = {{"sse2", PIX_SIMD_SSE2, PIX_SimdRowsFor(PIX_SIMD_SSE2)}};
  if (const PIX_SimdRowOps* avx2 = PIX_SimdRowsFor(PIX_SIMD_AVX2)) v.push_back({"avx2", PIX_SIMD_AVX2, avx2});
  return v;
}

// Puts the active set back when a test that switches it ends.
struct LevelRestorer {
  PIX_SimdLevel saved = PIX_GetSimdLevel();
  ~LevelRestorer() { PIX_SetSimdLevel(saved); }
};

// A row function under test: combines n pixels of dest (with src where it
// reads a source row).
using RowFn = std::function<void(const PIX_SimdRowOps&, PIX_pixel* dest, const PIX_pixel* src, int n)>;

// Runs fn on a copy of dest for every level and compares each pixel with want.
void ExpectRow(const std::string& what, const std::vector<PIX_pixel>& dest, const std::vector<PIX_pixel>& src,
               const std::vector<PIX_pixel>& want, const RowFn& fn)
{
  for (const Level& l : Levels()) {
    std::vector<PIX_pixel> out = dest;
    fn(*l.ops, out.data(), src.data(), (int)out.size());
    int failures = 0;
    for (size_t i = 0; i < out.size() && failures < 5; ++i)
      if (out[i] != want[i]) {
        ++failures;
        ADD_FAILURE() << what << " " << l.name << " pixel " << i << ": dest " << std::hex << dest[i]
                      << " src " << (src.empty() ? 0u : src[i]) << " want " << want[i] << " got " << out[i];
      }
  }
}

// Pixel whose four byte channels hold the (s, d) pairs first..first+3 of the
// 65536 byte pairs (pair t: s = t >> 8, d = t & 255), wrapping round.
void PairPixels(int first, int perPixel, PIX_pixel& s, PIX_pixel& d)
{
  s = d = 0;
  for (int c = 0; c < perPixel; ++c) {
    const int t = (first + c) & 0xFFFF;
    s |= (PIX_pixel)(t >> 8) << (8 * c);
    d |= (PIX_pixel)(t & 255) << (8 * c);
  }
}

// Source pixels in runs of opaque, transparent and mixed alphas, so that
// groups of every kind occur at every alignment.
std::vector<PIX_pixel> RunsOfAlphas(std::mt19937& rng, int n)
{
  std::vector<PIX_pixel> v;
  while ((int)v.size() < n) {
    const int kind = rng() % 3, len = rng() % 20;
    for (int i = 0; i < len && (int)v.size() < n; ++i) {
      const PIX_pixel c = rng();
      v.push_back(kind == 0 ? c | 0xFF000000u : kind == 1 ? c & 0xFFFFFFu : c);
    }
  }
  return v;
}

// Every destination byte under colours whose channels are base, base + 64,
// base + 128 and base + 192 (base 0..63): ref(d, colour) gives the pixel
// expected, rowFn(ops, d, colour, n) combines one colour's row.
void ExpectSolidSweep(const std::string& what, const std::function<PIX_pixel(PIX_pixel, PIX_pixel)>& ref,
                      const std::function<void(const PIX_SimdRowOps&, PIX_pixel*, PIX_pixel, int)>& rowFn)
{
  auto colour = [](int base) { return (PIX_pixel)base * 0x01010101u + 0xC0804000u; };
  std::vector<PIX_pixel> d(256 * 64), want(256 * 64);
  for (int base = 0; base < 64; ++base)
    for (int v = 0; v < 256; ++v) {
      d[base * 256 + v] = (PIX_pixel)v * 0x01010101u;
      want[base * 256 + v] = ref(d[base * 256 + v], colour(base));
    }
  ExpectRow(what, d, {}, want, [&](const PIX_SimdRowOps& o, PIX_pixel* dp, const PIX_pixel*, int) {
    for (int base = 0; base < 64; ++base) rowFn(o, dp + base * 256, colour(base), 256);
  });
}

PIX_pixel RefMix(PIX_pixel d, PIX_pixel k, int kind)
{
  Chans dc = Split(d), kc = Split(k), o;
  for (int c = 0; c < 4; ++c) {
    const int dv = dc.c[c], kv = kc.c[c];
    o.c[c] = kind == 0 ? kv / 2 + dv / 2 : kind == 1 ? kv / 4 + dv / 4 + dv / 2 : kv / 2 + kv / 4 + dv / 4;
  }
  return Join(o);
}

}  // namespace

TEST(SimdRows, LevelChoice)
{
  LevelRestorer restore;
  const bool avx2 = __builtin_cpu_supports("avx2");
  ASSERT_NE(PIX_SimdRowsFor(PIX_SIMD_SSE2), nullptr);
  EXPECT_EQ(PIX_SimdRowsFor(PIX_SIMD_AVX2) != nullptr, avx2);
  // The first use takes AVX2 where there is one, unless the environment keeps
  // the baseline.
  const char* env = getenv("QUARRY_PIX_SIMD");
  const bool forced = env && strcmp(env, "sse2") == 0;
  EXPECT_EQ(PIX_GetSimdLevel(), avx2 && !forced ? PIX_SIMD_AVX2 : PIX_SIMD_SSE2);
  EXPECT_EQ(PIX_SetSimdLevel(PIX_SIMD_AVX2), avx2);
  EXPECT_TRUE(PIX_SetSimdLevel(PIX_SIMD_SSE2));
  EXPECT_EQ(PIX_GetSimdLevel(), PIX_SIMD_SSE2);
  EXPECT_EQ(&PIX_SimdRows(), PIX_SimdRowsFor(PIX_SIMD_SSE2));
}

TEST(SimdRows, CopyEveryByteCombination)
{
  // For each alpha, four of the 65536 (s, d) pairs per pixel.
  for (int ia = 1; ia < 256; ++ia) {
    std::vector<PIX_pixel> s(16384), d(16384), want(16384);
    for (int i = 0; i < 16384; ++i) {
      PairPixels(4 * i, 4, s[i], d[i]);
      want[i] = RefOperator(d[i], s[i], PIX_OP_COPY, false, ia);
    }
    ExpectRow(
        "copy ia " + std::to_string(ia), d, s, want,
        [ia](const PIX_SimdRowOps& o, PIX_pixel* dp, const PIX_pixel* sp, int n) { o.copy(dp, sp, n, ia); });
    if (HasFailure()) return;
  }
}

TEST(SimdRows, CopySolidEveryByteCombination)
{
  for (int ia = 1; ia < 256; ++ia) {
    ExpectSolidSweep(
        "copySolid ia " + std::to_string(ia),
        [ia](PIX_pixel d, PIX_pixel colour) { return RefOperator(d, colour, PIX_OP_COPY, false, ia); },
        [ia](const PIX_SimdRowOps& o, PIX_pixel* d, PIX_pixel colour, int n) {
          o.copySolid(d, colour, n, ia);
        });
    if (HasFailure()) return;
  }
}

TEST(SimdRows, CopySourceAlphaFullEveryByteCombination)
{
  // Three (s, d) pairs per pixel in the colour channels under each source
  // alpha; the destination alphas run through every value.
  for (int sa = 0; sa < 256; ++sa) {
    const int n = 65536 / 3 + 1;
    std::vector<PIX_pixel> s(n), d(n), want(n);
    for (int i = 0; i < n; ++i) {
      PairPixels(3 * i, 3, s[i], d[i]);
      s[i] |= (PIX_pixel)sa << 24;
      d[i] |= (PIX_pixel)(i & 255) << 24;
      want[i] = RefOperator(d[i], s[i], PIX_OP_COPY, true, 256);
    }
    ExpectRow("copySourceAlphaFull sa " + std::to_string(sa), d, s, want,
              [](const PIX_SimdRowOps& o, PIX_pixel* dp, const PIX_pixel* sp, int n) {
                o.copySourceAlphaFull(dp, sp, n);
              });
    if (HasFailure()) return;
  }
}

TEST(SimdRows, CopySourceAlphaEveryAlphaPair)
{
  // The operator reads (ia, sa, s, d): every (s, d) at one alpha, and every
  // (ia, sa) with seeded colours.
  {
    const int n = 65536 / 3 + 1;
    std::vector<PIX_pixel> s, d, want;
    for (int sa = 0; sa < 256; ++sa)
      for (int i = 0; i < n; ++i) {
        PIX_pixel sp, dp;
        PairPixels(3 * i, 3, sp, dp);
        s.push_back(sp | (PIX_pixel)sa << 24);
        d.push_back(dp | (PIX_pixel)(i & 255) << 24);
        want.push_back(RefOperator(d.back(), s.back(), PIX_OP_COPY, true, 128));
      }
    ExpectRow("copySourceAlpha ia 128", d, s, want,
              [](const PIX_SimdRowOps& o, PIX_pixel* dp, const PIX_pixel* sp, int n) {
                o.copySourceAlpha(dp, sp, n, 128);
              });
  }
  std::mt19937 rng(15);
  for (int ia = 1; ia < 256; ++ia) {
    std::vector<PIX_pixel> s(256 * 8), d(256 * 8), want(256 * 8);
    for (int i = 0; i < 256 * 8; ++i) {
      s[i] = (rng() & 0xFFFFFFu) | (PIX_pixel)(i / 8) << 24;
      d[i] = rng();
      want[i] = RefOperator(d[i], s[i], PIX_OP_COPY, true, ia);
    }
    ExpectRow("copySourceAlpha ia " + std::to_string(ia), d, s, want,
              [ia](const PIX_SimdRowOps& o, PIX_pixel* dp, const PIX_pixel* sp, int n) {
                o.copySourceAlpha(dp, sp, n, ia);
              });
    if (HasFailure()) return;
  }
}

TEST(SimdRows, WordMixesEveryByteCombination)
{
  std::vector<PIX_pixel> s(16384), d(16384), want(16384);
  for (int i = 0; i < 16384; ++i) {
    PairPixels(4 * i, 4, s[i], d[i]);
    want[i] = RefHalfMix(d[i], s[i]);
  }
  ExpectRow("halfMix", d, s, want,
            [](const PIX_SimdRowOps& o, PIX_pixel* dp, const PIX_pixel* sp, int n) { o.halfMix(dp, sp, n); });

  // The solid mixes take the colour pre-shifted.
  using SolidFn = void (*PIX_SimdRowOps::*)(PIX_pixel*, PIX_pixel, int);
  const SolidFn fns[] = {&PIX_SimdRowOps::halfMixSolid, &PIX_SimdRowOps::quarterMixSolid,
                         &PIX_SimdRowOps::threeQuarterMixSolid, &PIX_SimdRowOps::fillSolid};
  PIX_pixel (*const preShift[])(PIX_pixel) = {PIX_PreShiftHalf, PIX_PreShiftQuarter, PIX_PreShiftThreeQuarter,
                                              [](PIX_pixel k) { return k; }};
  for (int kind = 0; kind < 4; ++kind)
    ExpectSolidSweep(
        "solid mix " + std::to_string(kind),
        [kind](PIX_pixel d, PIX_pixel colour) { return kind == 3 ? colour : RefMix(d, colour, kind); },
        [&](const PIX_SimdRowOps& o, PIX_pixel* d, PIX_pixel colour, int n) {
          (o.*fns[kind])(d, preShift[kind](colour), n);
        });
}

namespace {
// A source window with its column records for the row pair at iy, and
// pixels sampled from it.
struct BilinearCase {
  int w, h, iy;
  std::vector<PIX_pixel> px;
  PIX_pixel get(int x, int y) const { return px[(size_t)y * w + x]; }
};

// Samples at (col[i], fx[i]) of the row pair of c, through ops, from
// records of the columns first..first+count-1 (count reaching the window's
// edge or not).
std::vector<PIX_pixel> SampleRow(const PIX_SimdRowOps& ops, const BilinearCase& c, int first, int count,
                                 const std::vector<int32_t>& col, const std::vector<uint32_t>& fx, int fy)
{
  std::vector<PIX_BilinearColumn> rec(count);
  const PIX_pixel* r0 = c.px.data() + (size_t)c.iy * c.w + first;
  const PIX_pixel* r1 = c.iy == c.h - 1 ? r0 : r0 + c.w;
  ops.bilinearColumns(rec.data(), r0, r1, count, first + count == c.w);
  std::vector<PIX_pixel> out(col.size());
  ops.bilinearRow(out.data(), (int)out.size(), rec.data(), col.data(), fx.data(), fy);
  return out;
}
}  // namespace

TEST(SimdRows, BilinearSamplesMatchTheWeightedSum)
{
  std::mt19937 rng(33);
  const uint32_t special[] = {0, 1, 255, 256, 32767, 32768, 32769, 65280, 65535};
  auto fraction = [&] { return rng() % 4 == 0 ? special[rng() % 9] : rng() & 0xFFFF; };
  auto channelByte = [&] { return rng() % 4 == 0 ? (rng() % 2) * 255 : rng() & 255; };
  for (int trial = 0; trial < 3000; ++trial) {
    BilinearCase c;
    c.w = 1 + rng() % 20;
    c.h = 1 + rng() % 3;
    c.iy = rng() % c.h;
    for (int i = 0; i < c.w * c.h; ++i)
      c.px.push_back(channelByte() | channelByte() << 8 | channelByte() << 16 |
                     (PIX_pixel)channelByte() << 24);
    // Records of a run of columns, which may stop short of the window's edge.
    const int first = rng() % c.w;
    const int count = 1 + rng() % (c.w - first);
    const int n = 1 + rng() % 40;
    std::vector<int32_t> col(n);
    std::vector<uint32_t> fx(n);
    const int fy = (int)fraction();
    std::vector<PIX_pixel> want(n);
    for (int i = 0; i < n; ++i) {
      col[i] = rng() % count;
      fx[i] = fraction();
      want[i] = RefBilinear([&](int x, int y) { return c.get(x, y); }, c.w, c.h,
                            (long long)(first + col[i]) << 16 | fx[i], (long long)c.iy << 16 | fy);
    }
    for (const Level& l : Levels()) {
      const std::vector<PIX_pixel> got = SampleRow(*l.ops, c, first, count, col, fx, fy);
      for (int i = 0; i < n; ++i)
        ASSERT_EQ(got[i], want[i]) << l.name << " trial " << trial << " sample " << i << " column "
                                   << first + col[i] << " of " << c.w << " row " << c.iy << " of " << c.h
                                   << " fx " << fx[i] << " fy " << fy;
    }
  }
}

TEST(SimdRows, EveryWidthAtEveryAlignment)
{
  const PIX_pixel kGuard = 0xDEADBEEFu;
  const int kPad = 8;
  std::mt19937 rng(47);
  // Records of a 70-column window for the bilinear rows.
  BilinearCase bc{70, 2, 0, {}};
  for (int i = 0; i < 140; ++i) bc.px.push_back(rng());
  struct Case {
    const char* name;
    RowFn fn;
    std::function<PIX_pixel(PIX_pixel d, PIX_pixel s, int i)> ref;
  };
  const PIX_pixel colour = 0x80C01040u;
  std::vector<int32_t> col(67);
  std::vector<uint32_t> fx(67);
  for (int i = 0; i < 67; ++i) col[i] = rng() % 70, fx[i] = rng() & 0xFFFF;
  const int fy = 12345;
  const Case cases[] = {
      {"copy", [](const PIX_SimdRowOps& o, PIX_pixel* d, const PIX_pixel* s, int n) { o.copy(d, s, n, 100); },
       [](PIX_pixel d, PIX_pixel s, int) { return RefOperator(d, s, PIX_OP_COPY, false, 100); }},
      {"copySolid",
       [&](const PIX_SimdRowOps& o, PIX_pixel* d, const PIX_pixel*, int n) { o.copySolid(d, colour, n, 37); },
       [&](PIX_pixel d, PIX_pixel, int) { return RefOperator(d, colour, PIX_OP_COPY, false, 37); }},
      {"copySourceAlphaFull",
       [](const PIX_SimdRowOps& o, PIX_pixel* d, const PIX_pixel* s, int n) {
         o.copySourceAlphaFull(d, s, n);
       },
       [](PIX_pixel d, PIX_pixel s, int) { return RefOperator(d, s, PIX_OP_COPY, true, 256); }},
      {"copySourceAlpha",
       [](const PIX_SimdRowOps& o, PIX_pixel* d, const PIX_pixel* s, int n) {
         o.copySourceAlpha(d, s, n, 201);
       },
       [](PIX_pixel d, PIX_pixel s, int) { return RefOperator(d, s, PIX_OP_COPY, true, 201); }},
      {"halfMix",
       [](const PIX_SimdRowOps& o, PIX_pixel* d, const PIX_pixel* s, int n) { o.halfMix(d, s, n); },
       [](PIX_pixel d, PIX_pixel s, int) { return RefHalfMix(d, s); }},
      {"quarterMixSolid",
       [&](const PIX_SimdRowOps& o, PIX_pixel* d, const PIX_pixel*, int n) {
         o.quarterMixSolid(d, PIX_PreShiftQuarter(colour), n);
       },
       [&](PIX_pixel d, PIX_pixel, int) { return RefMix(d, colour, 1); }},
      {"fillSolid",
       [&](const PIX_SimdRowOps& o, PIX_pixel* d, const PIX_pixel*, int n) { o.fillSolid(d, colour, n); },
       [&](PIX_pixel, PIX_pixel, int) { return colour; }},
      {"bilinearRow",
       [&](const PIX_SimdRowOps& o, PIX_pixel* d, const PIX_pixel*, int n) {
         std::vector<PIX_BilinearColumn> rec(70);
         o.bilinearColumns(rec.data(), bc.px.data(), bc.px.data() + 70, 70, true);
         o.bilinearRow(d, n, rec.data(), col.data(), fx.data(), fy);
       },
       [&](PIX_pixel, PIX_pixel, int i) {
         return RefBilinear([&](int x, int y) { return bc.get(x, y); }, 70, 2,
                            (long long)col[i] << 16 | fx[i], fy);
       }},
  };
  for (const Case& c : cases)
    for (const Level& l : Levels())
      for (int width = 1; width <= 67; ++width)
        for (int start = 0; start < 8; ++start) {
          std::vector<PIX_pixel> dest(kPad + 8 + 67 + kPad, kGuard), src(dest.size());
          const std::vector<PIX_pixel> row = RunsOfAlphas(rng, width);
          for (int i = 0; i < width; ++i) dest[kPad + start + i] = rng(), src[kPad + start + i] = row[i];
          const std::vector<PIX_pixel> before = dest;
          c.fn(*l.ops, dest.data() + kPad + start, src.data() + kPad + start, width);
          for (size_t i = 0; i < dest.size(); ++i) {
            const int at = (int)i - kPad - start;
            const PIX_pixel want = at >= 0 && at < width ? c.ref(before[i], src[i], at) : kGuard;
            ASSERT_EQ(dest[i], want) << c.name << " " << l.name << " width " << width << " start " << start
                                     << " pixel " << at;
          }
        }
}

TEST(SimdRows, BlitsWithinOneBitmapReadEachSourceBeforeWritingIt)
{
  // Moving a row left or right over itself gives, pixel for pixel, the
  // operator applied to the pixels as they were.
  LevelRestorer restore;
  struct Mode {
    float alpha;
    int mode;
    int ia;
    bool sourceAlpha;
  };
  const Mode modes[] = {{0.39f, PIX_OP_COPY, 99, false},
                        {1.0f, PIX_OP_COPY | PIX_USE_SOURCE_ALPHA, 256, true},
                        {0.7f, PIX_OP_COPY | PIX_USE_SOURCE_ALPHA, 179, true}};
  std::mt19937 rng(5);
  for (const Level& l : Levels()) {
    ASSERT_TRUE(PIX_SetSimdLevel(l.level));
    for (const Mode& m : modes)
      for (int shift : {-9, -4, -1, 1, 3, 8}) {
        GuardedBitmap bm(40, 3);
        for (int y = 0; y < 3; ++y) {
          const std::vector<PIX_pixel> row = RunsOfAlphas(rng, 40);
          for (int x = 0; x < 40; ++x) bm.set(x, y, row[x]);
        }
        const std::vector<PIX_pixel> before = bm.pixels();
        PIX_Blit(&bm, &bm, 10 + shift, 0, 10, 0, 20, 3, m.alpha, m.mode);
        for (int y = 0; y < 3; ++y)
          for (int x = 0; x < 40; ++x) {
            const int sx = x - shift;
            const PIX_pixel was = before[y * 40 + x];
            const PIX_pixel want =
                x >= 10 + shift && x < 30 + shift
                    ? RefOperator(was, before[y * 40 + sx], PIX_OP_COPY, m.sourceAlpha, m.ia)
                    : was;
            ASSERT_EQ(bm.get(x, y), want)
                << l.name << " mode " << m.mode << " shift " << shift << " at " << x;
          }
      }
  }
}

TEST(SimdRows, BilinearScaledBlitsMatchThePixelByPixelSampler)
{
  // A source inside the destination's memory (but outside the area drawn)
  // makes the scaled blit sample pixel by pixel; a separate destination
  // takes the vector rows. Both must agree for every operator and scale.
  LevelRestorer restore;
  std::mt19937 rng(61);
  GuardedBitmap shared(96, 40);
  FillRandom(shared, 3);
  class Window : public PIX_IBitmap {
  public:
    Window(GuardedBitmap& b, int x, int y, int w, int h) : m_b(b), m_x(x), m_y(y), m_w(w), m_h(h) {}
    PIX_pixel* getBits() override { return m_b.getBits() + m_y * m_b.getRowSpan() + m_x; }
    int getWidth() override { return m_w; }
    int getHeight() override { return m_h; }
    int getRowSpan() override { return m_b.getRowSpan(); }
    bool resize(int, int) override { return false; }

  private:
    GuardedBitmap& m_b;
    int m_x, m_y, m_w, m_h;
  };
  Window source(shared, 70, 2, 23, 17);
  for (int y = 0; y < 17; ++y)
    for (int x = 0; x < 23; ++x) {
      const int kind = rng() % 3;
      const PIX_pixel c = rng();
      shared.set(70 + x, 2 + y, kind == 0 ? c | 0xFF000000u : kind == 1 ? c & 0xFFFFFFu : c);
    }
  const int modes[] = {PIX_OP_COPY, PIX_OP_COPY | PIX_USE_SOURCE_ALPHA, PIX_OP_ADD,
                       PIX_OP_MUL | PIX_USE_SOURCE_ALPHA};
  for (const Level& l : Levels()) {
    ASSERT_TRUE(PIX_SetSimdLevel(l.level));
    for (int trial = 0; trial < 200; ++trial) {
      const int dstw = (int)(rng() % 60) - 10, dsth = (int)(rng() % 50) - 8;
      const int dstx = (int)(rng() % 20) - 8, dsty = (int)(rng() % 20) - 8;
      const float srcx = (float)(rng() % 1000) / 100.0f - 2.0f, srcy = (float)(rng() % 800) / 100.0f - 1.0f;
      const float srcw = (float)(rng() % 2400) / 100.0f, srch = (float)(rng() % 1800) / 100.0f;
      const float alpha = trial % 3 == 0 ? 1.0f : (float)(rng() % 256) / 256.0f;
      const int mode = modes[rng() % 4] | PIX_FILTER_BILINEAR;
      GuardedBitmap separate(64, 40);
      for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 64; ++x) separate.set(x, y, shared.get(x, y));
      // The left part of the shared bitmap, away from the source.
      Window inShared(shared, 0, 0, 64, 40);
      PIX_ScaledBlit(&inShared, &source, dstx, dsty, dstw, dsth, srcx, srcy, srcw, srch, alpha, mode);
      PIX_ScaledBlit(&separate, &source, dstx, dsty, dstw, dsth, srcx, srcy, srcw, srch, alpha, mode);
      for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 64; ++x)
          ASSERT_EQ(separate.get(x, y), shared.get(x, y))
              << l.name << " trial " << trial << " at " << x << "," << y << " dst " << dstx << "," << dsty
              << " " << dstw << "x" << dsth << " src " << srcx << "," << srcy << " " << srcw << "x" << srch;
      ASSERT_TRUE(separate.guardIntact());
    }
  }
}
