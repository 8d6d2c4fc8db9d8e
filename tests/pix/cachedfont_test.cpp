// Cached fonts: glyph rendering and caching, the font flags, native
// rendering and the choice between the two.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>

#include "pix/pix_blendmode.h"
#include "pix/pix_cachedfont.h"
#include "pix/pix_fontscratch.h"
#include "pix/pix_membitmap.h"
#include "pix/pix_sysbitmap.h"
#include "tests/pix/font_test_util.h"

namespace {

RECT Measure(PIX_IFont& font, const char* text, int flags = 0)
{
  RECT r = {3, 4, 3, 4};
  font.DrawText(nullptr, text, -1, &r, flags | DT_CALCRECT);
  return r;
}

void Clear(PIX_IBitmap* bm)
{
  PIX_BitmapRows rows(bm);
  for (int y = 0; y < rows.height; ++y) std::memset(rows.row(y), 0, rows.width * 4);
}

bool SamePixels(PIX_IBitmap* a, PIX_IBitmap* b)
{
  PIX_BitmapRows ra(a), rb(b);
  for (int y = 0; y < ra.height; ++y)
    for (int x = 0; x < ra.width; ++x)
      if (*ra.at(x, y) != *rb.at(x, y)) return false;
  return true;
}

class CachedFont : public ::testing::Test {
protected:
  void SetUp() override
  {
    font.SetFromHFont(DejaVu(16), PIX_FONT_OWNS_HFONT);
    font.SetTextColor(0xFFFFFFFF);
    Clear(&bm);
  }
  PIX_CachedFont font;
  PIX_MemBitmap bm{160, 60};
};

TEST_F(CachedFont, LineHeightAndMeasurementFollowTheTextLayer)
{
  HDC dc = GDI_CreateMemContext(nullptr, 4, 4);
  SelectObject(dc, font.GetHFont());
  TEXTMETRIC tm;
  GetTextMetrics(dc, &tm);
  EXPECT_EQ(font.GetLineHeight(), tm.tmHeight);

  // Native measuring is the text layer's own measurement.
  PIX_CachedFont native;
  native.SetFromHFont(DejaVu(16), PIX_FONT_NATIVE | PIX_FONT_OWNS_HFONT);
  RECT gdi = {3, 4, 3, 4};
  GDI_DrawText(dc, "-30.00 dB", -1, &gdi, DT_CALCRECT | DT_SINGLELINE);
  const RECT n = Measure(native, "-30.00 dB", DT_SINGLELINE);
  EXPECT_EQ(n.right, gdi.right);
  EXPECT_EQ(n.bottom, gdi.bottom);
  SelectObject(dc, GDI_DESELECT_FONT);
  GDI_DeleteGfxContext(dc);

  // Glyph measuring: the advances add up to about the same width.
  const RECT g = Measure(font, "-30.00 dB", DT_SINGLELINE);
  EXPECT_EQ(g.left, 3);
  EXPECT_EQ(g.top, 4);
  EXPECT_NEAR(g.right - g.left, n.right - n.left, 4);
  EXPECT_GT(g.bottom - g.top, 10);

  // Empty text measures 0 by 0; lines stack by the line height.
  const RECT e = Measure(font, "");
  EXPECT_EQ(e.right, 3);
  EXPECT_EQ(e.bottom, 4);
  const RECT one = Measure(font, "A");
  const RECT two = Measure(font, "A\nA");
  EXPECT_EQ(two.bottom - two.top, font.GetLineHeight() + (one.bottom - one.top));
  EXPECT_EQ(two.right, one.right);
  font.SetLineSpacingAdjust(3);
  EXPECT_EQ(Measure(font, "A\nA").bottom, two.bottom + 3);
  EXPECT_EQ(Measure(font, "A\nA", DT_SINGLELINE).right, Measure(font, "A A").right);
}

TEST_F(CachedFont, CharactersRenderOnceThenComeFromTheCache)
{
  EXPECT_EQ(font.GetCachedGlyph('A'), nullptr);
  RECT r = {0, 0, 160, 60};
  EXPECT_GT(font.DrawText(&bm, "A", -1, &r, 0), 0);
  const charEnt* a = font.GetCachedGlyph('A');
  ASSERT_NE(a, nullptr);
  EXPECT_GT(a->base_offset, 0);
  const int offset = a->base_offset, store = font.GetGlyphStoreSize();
  EXPECT_EQ(store, a->width * a->height);

  // Drawing it again (three times) adds nothing and composites the same
  // coverage at each pen position.
  Clear(&bm);
  font.DrawText(&bm, "AAA", -1, &r, 0);
  EXPECT_EQ(font.GetGlyphStoreSize(), store);
  EXPECT_EQ(font.GetCachedGlyph('A')->base_offset, offset);
  PIX_BitmapRows rows(&bm);
  const int adv = a->advance;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < adv; ++x)
      ASSERT_EQ(*rows.at(x + a->left_extra, y), *rows.at(x + a->left_extra + adv, y));

  // Characters from 128 up go to the sorted table and are found again.
  font.DrawText(&bm, "\xC3\xA9\xE2\x82\xAC\xC3\xA0", -1, &r, 0);  // é € à
  ASSERT_NE(font.GetCachedGlyph(0xE9), nullptr);
  ASSERT_NE(font.GetCachedGlyph(0x20AC), nullptr);
  ASSERT_NE(font.GetCachedGlyph(0xE0), nullptr);
  EXPECT_EQ(font.GetCachedGlyph(0xE9)->charid, 0xE9);
  EXPECT_EQ(font.GetCachedGlyph(0x20AC)->charid, 0x20AC);
  EXPECT_EQ(font.GetCachedGlyph(0xE1), nullptr);

  // Setting the font again resets the caches.
  font.SetFromHFont(font.GetHFont(), PIX_FONT_OWNS_HFONT);
  EXPECT_EQ(font.GetCachedGlyph('A'), nullptr);
  EXPECT_EQ(font.GetGlyphStoreSize(), 0);
}

TEST_F(CachedFont, Utf8RulesWhenDrawing)
{
  RECT r = {0, 0, 160, 60};
  PIX_MemBitmap other(160, 60);
  // A four-byte character draws as a space.
  font.DrawText(&bm,
                "a\xF0\x9F\x98\x80"
                "b",
                -1, &r, 0);
  Clear(&other);
  font.DrawText(&other, "a b", -1, &r, 0);
  EXPECT_TRUE(SamePixels(&bm, &other));
  // A stray 0xE9 draws U+00E9.
  Clear(&bm);
  Clear(&other);
  font.DrawText(&bm, "caf\xE9", -1, &r, 0);
  font.DrawText(&other, "caf\xC3\xA9", -1, &r, 0);
  EXPECT_TRUE(SamePixels(&bm, &other));
  EXPECT_GT(MaxRed(&bm), 200);
  // The byte count ends the text, even inside a sequence.
  RECT cut = {0, 0, 0, 0};
  font.DrawText(nullptr, "ab\xC3\xA9", 3, &cut, DT_CALCRECT);
  RECT latin1 = {0, 0, 0, 0};
  font.DrawText(nullptr, "ab\xC3", -1, &latin1, DT_CALCRECT);
  EXPECT_EQ(cut.right, latin1.right);
}

TEST_F(CachedFont, PrerenderedFontsSkipCharactersFrom128)
{
  PIX_CachedFont pre;
  pre.SetFromHFont(DejaVu(16), PIX_FONT_PRERENDER_ASCII | PIX_FONT_OWNS_HFONT);
  ASSERT_NE(pre.GetCachedGlyph('A'), nullptr);
  ASSERT_NE(pre.GetCachedGlyph('~'), nullptr);
  EXPECT_EQ(Measure(pre,
                    "a\xC3\xA9"
                    "b")
                .right,
            Measure(pre, "ab").right);
  EXPECT_EQ(pre.GetCachedGlyph(0xE9), nullptr);
}

TEST_F(CachedFont, AlignmentMovesTheWholeText)
{
  const RECT m = Measure(font, "Hey");
  const int tw = m.right - m.left, th = m.bottom - m.top;
  RECT topLeft = {0, 0, 160, 60};
  font.DrawText(&bm, "Hey", -1, &topLeft, 0);
  const RECT base = LitBox(&bm);

  struct Case {
    int flags, dx, dy;
  } cases[] = {
      {DT_RIGHT | DT_BOTTOM, 150 - tw - 10, 50 - th - 5},
      {DT_CENTER | DT_VCENTER, (140 - tw) / 2, (45 - th) / 2},
  };
  for (const Case& c : cases) {
    Clear(&bm);
    RECT r = {10, 5, 150, 50};
    font.DrawText(&bm, "Hey", -1, &r, c.flags);
    const RECT lit = LitBox(&bm);
    EXPECT_EQ(lit.left, base.left + 10 + c.dx) << c.flags;
    EXPECT_EQ(lit.top, base.top + 5 + c.dy) << c.flags;
    EXPECT_EQ(lit.right - lit.left, base.right - base.left);
  }

  // Centred in a rectangle narrower than the text: starts left of it and is
  // clipped to it, unless clipping is off.
  Clear(&bm);
  RECT narrow = {70, 10, 80, 50};
  font.DrawText(&bm, "WWWWWW", -1, &narrow, DT_CENTER);
  RECT lit = LitBox(&bm);
  EXPECT_EQ(lit.left, 70);
  EXPECT_EQ(lit.right, 80);
  Clear(&bm);
  font.DrawText(&bm, "WWWWWW", -1, &narrow, DT_CENTER | DT_NOCLIP);
  lit = LitBox(&bm);
  EXPECT_LT(lit.left, 70);
  EXPECT_GT(lit.right, 80);
}

TEST_F(CachedFont, MonochromeShadowAndOutlineCoverage)
{
  struct Case {
    int flags;
    std::set<int> allowed;
  } cases[] = {
      {PIX_FONT_MONO, {0, 255}},
      {PIX_FONT_SHADOW, {0, 128, 255}},
      {PIX_FONT_OUTLINE, {0, 128, 255}},
  };
  for (const Case& c : cases) {
    PIX_CachedFont f;
    f.SetFromHFont(DejaVu(16), c.flags | PIX_FONT_OWNS_HFONT);
    RECT r = {0, 0, 0, 0};
    f.DrawText(nullptr, "O", -1, &r, DT_CALCRECT);
    const charEnt* e = f.GetCachedGlyph('O');
    ASSERT_NE(e, nullptr);
    const unsigned char* cov = f.GetGlyphCoverage(e);
    std::set<int> seen;
    for (int i = 0; i < e->width * e->height; ++i) seen.insert(cov[i]);
    for (int v : seen) EXPECT_TRUE(c.allowed.count(v)) << c.flags << " " << v;
    EXPECT_TRUE(seen.count(255));
    if (c.flags == PIX_FONT_MONO) continue;
    EXPECT_TRUE(seen.count(128));
    // Every effect pixel touches the glyph: left, above or above-left for a
    // shadow, any of the four sides for an outline.
    auto at = [&](int x, int y) {
      return x < 0 || y < 0 || x >= e->width || y >= e->height ? 0 : cov[y * e->width + x];
    };
    for (int y = 0; y < e->height; ++y)
      for (int x = 0; x < e->width; ++x) {
        if (at(x, y) != 128) continue;
        const bool ok =
            c.flags == PIX_FONT_SHADOW
                ? at(x - 1, y) == 255 || at(x, y - 1) == 255 || at(x - 1, y - 1) == 255
                : at(x - 1, y) == 255 || at(x + 1, y) == 255 || at(x, y - 1) == 255 || at(x, y + 1) == 255;
        EXPECT_TRUE(ok) << c.flags << " at " << x << "," << y;
      }
  }
  // Effect pixels draw in the effect colour, glyph pixels in the text colour.
  PIX_CachedFont f;
  f.SetFromHFont(DejaVu(16), PIX_FONT_OUTLINE | PIX_FONT_OWNS_HFONT);
  f.SetTextColor(0xFFFF0000);
  f.SetEffectColor(0xFF0000FF);
  RECT r = {0, 0, 160, 60};
  f.DrawText(&bm, "O", -1, &r, 0);
  std::set<PIX_pixel> colours;
  PIX_BitmapRows rows(&bm);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 160; ++x) colours.insert(*rows.at(x, y) & 0xFFFFFF);
  EXPECT_EQ(colours, (std::set<PIX_pixel>{0, 0xFF0000, 0x0000FF}));
}

TEST_F(CachedFont, InvertedAndVerticalGlyphs)
{
  PIX_CachedFont inv;
  inv.SetFromHFont(DejaVu(16), PIX_FONT_INVERT | PIX_FONT_OWNS_HFONT);
  RECT r = {0, 0, 0, 0};
  inv.DrawText(nullptr, "I", -1, &r, DT_CALCRECT);
  font.DrawText(nullptr, "I", -1, &r, DT_CALCRECT);
  const charEnt* a = font.GetCachedGlyph('I');
  const charEnt* b = inv.GetCachedGlyph('I');
  ASSERT_TRUE(a && b);
  // The untrimmed inverse covers every column, so compare a middle pixel.
  const int y = a->height / 2;
  const int xa = a->left_extra + a->advance / 2, xb = b->left_extra + b->advance / 2;
  EXPECT_EQ(255 - font.GetGlyphCoverage(a)[y * a->width + xa], inv.GetGlyphCoverage(b)[y * b->width + xb]);

  PIX_CachedFont down, up;
  down.SetFromHFont(DejaVu(16), PIX_FONT_VERTICAL | PIX_FONT_OWNS_HFONT);
  up.SetFromHFont(DejaVu(16), PIX_FONT_VERTICAL | PIX_FONT_BOTTOMUP | PIX_FONT_OWNS_HFONT);
  const RECT h = Measure(font, "AB");
  const RECT v = Measure(down, "AB");
  EXPECT_EQ(v.right - v.left, h.bottom - h.top);  // axes swap
  EXPECT_EQ(v.bottom - v.top, h.right - h.left);
  const charEnt* va = down.GetCachedGlyph('A');
  const charEnt* ha = font.GetCachedGlyph('A');
  ASSERT_TRUE(va && ha);
  EXPECT_EQ(va->width, ha->height);
  EXPECT_EQ(va->height, ha->width);

  // Drawn top-down from the top and bottom-up from the bottom of the box.
  RECT box = {20, 0, 60, 60};
  down.SetTextColor(0xFFFFFFFF);
  down.DrawText(&bm, "AB", -1, &box, 0);
  RECT lit = LitBox(&bm);
  EXPECT_GE(lit.left, 20);
  EXPECT_LE(lit.top, 4);
  EXPECT_LE(lit.bottom, v.bottom - v.top + 2);
  Clear(&bm);
  up.SetTextColor(0xFFFFFFFF);
  up.DrawText(&bm, "AB", -1, &box, DT_BOTTOM);
  lit = LitBox(&bm);
  EXPECT_GE(lit.top, 60 - (v.bottom - v.top) - 2);
  EXPECT_LE(lit.bottom, 60);
}

TEST_F(CachedFont, TranslucentTextGoesThroughGlyphs)
{
  PIX_CachedFont native;
  native.SetFromHFont(DejaVu(16), PIX_FONT_NATIVE | PIX_FONT_OWNS_HFONT);
  DCBitmap target(160, 60);
  RECT r = {0, 0, 160, 60};
  native.SetTextColor(0x80FFFFFF);
  native.DrawText(&target, "Hello", -1, &r, PIX_DT_USE_FG_ALPHA);
  EXPECT_NE(native.GetCachedGlyph('H'), nullptr);
  const int translucent = MaxRed(&target);
  EXPECT_GT(translucent, 100);
  EXPECT_LE(translucent, 129);

  // Opaque: the text layer draws straight into the bitmap's context.
  Clear(&target);
  native.SetFromHFont(native.GetHFont(), PIX_FONT_NATIVE | PIX_FONT_OWNS_HFONT);
  native.SetTextColor(0xFFFFFFFF);
  native.DrawText(&target, "Hello", -1, &r, 0);
  EXPECT_EQ(native.GetCachedGlyph('H'), nullptr);
  EXPECT_EQ(MaxRed(&target), 255);
  // Native colours arrive unswapped: red text is red.
  Clear(&target);
  native.SetTextColor(0xFFFF0000);
  native.DrawText(&target, "Hello", -1, &r, 0);
  PIX_BitmapRows rows(&target);
  bool red = false;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 160; ++x) {
      EXPECT_EQ(*rows.at(x, y) & 0xFFFF, 0u);
      red = red || (*rows.at(x, y) >> 16 & 0xFF) > 200;
    }
  EXPECT_TRUE(red);
}

TEST_F(CachedFont, NativeTextIntoASystemBitmapUsesItsContext)
{
  PIX_SysBitmap sys(101, 40);  // row span 104
  ASSERT_NE(sys.getDC(), nullptr);
  EXPECT_EQ(static_cast<void*>(sys.getBits()), GDI_GetCtxFrameBuffer(sys.getDC()));
  PIX_CachedFont native;
  native.SetFromHFont(DejaVu(16), PIX_FONT_NATIVE | PIX_FONT_OWNS_HFONT);
  native.SetTextColor(0xFF00FF00);
  RECT r = {0, 0, 101, 40};
  EXPECT_GT(native.DrawText(&sys, "Quarry", -1, &r, DT_RIGHT | DT_SINGLELINE), 0);
  EXPECT_EQ(native.GetCachedGlyph('Q'), nullptr);
  const RECT lit = LitBox(&sys);
  EXPECT_LE(lit.right, 101);
  EXPECT_GT(lit.right, 90);
  // Measuring through the bitmap's context copies the rectangle back.
  RECT m = {5, 5, 5, 5};
  native.DrawText(&sys, "Quarry", -1, &m, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_GT(m.right, 40);
  EXPECT_GT(m.bottom, 15);
}

TEST_F(CachedFont, NativeTextIntoAMemoryBitmapKeepsItsAlpha)
{
  PIX_CachedFont native;
  native.SetFromHFont(DejaVu(16), PIX_FONT_NATIVE | PIX_FONT_OWNS_HFONT);
  native.SetTextColor(0xFFFFFFFF);
  PIX_BitmapRows rows(&bm);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 160; ++x) *rows.at(x, y) = 0x5A000000;
  RECT r = {10, 10, 150, 50};
  EXPECT_GT(native.DrawText(&bm, "Hello", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE), 0);
  EXPECT_EQ(native.GetCachedGlyph('H'), nullptr);
  const RECT lit = LitBox(&bm);
  EXPECT_GE(lit.left, 10);
  EXPECT_LE(lit.right, 150);
  EXPECT_GT(lit.right - lit.left, 20);
  EXPECT_EQ(MaxRed(&bm), 255);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 160; ++x) ASSERT_EQ(*rows.at(x, y) >> 24, 0x5Au);
}

TEST_F(CachedFont, HugeFontsAreDrawnNatively)
{
  PIX_CachedFont huge;
  huge.SetFromHFont(DejaVu(1100), PIX_FONT_OWNS_HFONT);  // no native flag
  EXPECT_GT(huge.GetLineHeight(), 1023);
  RECT r = {0, 0, 0, 0};
  EXPECT_GT(huge.DrawText(nullptr, "x", -1, &r, DT_CALCRECT), 256);
  EXPECT_GT(r.right, 100);
  EXPECT_EQ(huge.GetCachedGlyph('x'), nullptr);
  DCBitmap target(64, 64);
  RECT all = {0, 0, 64, 64};
  huge.SetTextColor(0xFFFFFFFF);
  huge.DrawText(&target, "\xE2\x96\x88", -1, &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE);  // full block
  EXPECT_EQ(huge.GetCachedGlyph(0x2588), nullptr);
  EXPECT_EQ(MaxRed(&target), 255);
}

TEST_F(CachedFont, BackgroundModeAndCombineModes)
{
  font.SetBkMode(1);
  font.SetBkColor(0xFF0000FF);
  RECT r = {0, 0, 160, 60};
  font.DrawText(&bm, "A", -1, &r, 0);
  const charEnt* a = font.GetCachedGlyph('A');
  ASSERT_NE(a, nullptr);
  PIX_BitmapRows rows(&bm);
  // The glyph box's corner is background.
  EXPECT_EQ(*rows.at(0, 0), 0xFF0000FFu);
  EXPECT_EQ(*rows.at(a->width, 0), 0u);

  // Additive at half alpha: at most half the colour.
  font.SetBkMode(0);
  Clear(&bm);
  font.SetCombineMode(PIX_OP_ADD, 0.5f);
  font.DrawText(&bm, "A", -1, &r, 0);
  EXPECT_LE(MaxRed(&bm), 128);
  EXPECT_GT(MaxRed(&bm), 100);
  Clear(&bm);
  font.SetCombineMode(PIX_OP_COPY, 0.0f);
  EXPECT_EQ(font.DrawText(&bm, "A", -1, &r, 0), 0);
  EXPECT_EQ(MaxRed(&bm), 0);
  // DrawGlyph alone composites one cached character.
  font.SetCombineMode(PIX_OP_COPY, 1.0f);
  EXPECT_TRUE(font.DrawGlyph(&bm, 'A', 5, 5, nullptr));
  EXPECT_FALSE(font.DrawGlyph(&bm, 'A', 500, 5, nullptr));
  EXPECT_FALSE(font.DrawGlyph(&bm, ' ', 5, 5, nullptr) && MaxRed(&bm) == 0);
}

// Texts come from hosts and files too (program names): arbitrary bytes,
// with and without a byte count, through every path.
TEST_F(CachedFont, ArbitraryBytesAreDrawnSafely)
{
  PIX_CachedFont native;
  native.SetFromHFont(DejaVu(12), PIX_FONT_NATIVE | PIX_FONT_OWNS_HFONT);
  PIX_CachedFont vertical;
  vertical.SetFromHFont(DejaVu(12), PIX_FONT_VERTICAL | PIX_FONT_SHADOW | PIX_FONT_OWNS_HFONT);
  DCBitmap withDC(64, 64);
  unsigned seed = 12345;
  auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  for (int round = 0; round < 150; ++round) {
    char text[48];
    const int n = (int)(next() % 40);
    for (int i = 0; i < n; ++i) text[i] = (char)(next() & 0xFF);
    text[n] = 0;
    // Just the counted bytes: the copy has no terminator after them.
    std::unique_ptr<char[]> counted(new char[n > 0 ? n : 1]);
    std::memcpy(counted.get(), text, n);
    for (PIX_IFont* f : {(PIX_IFont*)&font, (PIX_IFont*)&native, (PIX_IFont*)&vertical}) {
      RECT r = {-5, 3, 40, 30};
      f->DrawText(&bm, text, -1, &r, (int)(next() & 0x92F));
      r = {-5, 3, 40, 30};
      f->DrawText(&withDC, counted.get(), n, &r, (int)(next() & 0x92F));
      r = {0, 0, 0, 0};
      f->DrawText(nullptr, counted.get(), n, &r, DT_CALCRECT);
      EXPECT_GE(r.right, 0);
    }
  }
}

TEST(CachedFontLifetime, ScratchBitmapsAndOwnedFonts)
{
  const int before = PIX_FontScratchRefCount();
  {
    PIX_CachedFont a, b;
    EXPECT_EQ(PIX_FontScratchRefCount(), before + 2);
    HFONT owned = DejaVu(12), next = DejaVu(13);
    a.SetFromHFont(owned, PIX_FONT_OWNS_HFONT);
    a.SetFromHFont(next, PIX_FONT_OWNS_HFONT);  // deletes the first
    HDC dc = GDI_CreateMemContext(nullptr, 2, 2);
    EXPECT_EQ(SelectObject(dc, owned), nullptr);
    EXPECT_NE(SelectObject(dc, next), nullptr);
    SelectObject(dc, GDI_DESELECT_FONT);
    GDI_DeleteGfxContext(dc);
    HFONT kept = DejaVu(12);
    b.SetFromHFont(kept, 0);  // not owned: left to the caller
    b.SetFromHFont(nullptr, 0);
    DeleteObject(kept);
  }
  EXPECT_EQ(PIX_FontScratchRefCount(), before);
}

}  // namespace
