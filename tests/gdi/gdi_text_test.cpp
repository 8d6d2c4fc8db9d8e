// Fonts, metrics and GDI_DrawText against Pango's own measurements.

#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "gdi/gdi-fontname-cache.h"
#include "gdi/gdi.h"

namespace {

const char* kFace = "DejaVu Sans";

// What Pango itself says about a line of text in a face at a pixel size,
// unhinted, as the layer lays text out.
struct PangoLine {
  double width, ascent, descent, leading;
};

PangoLine MeasureWithPango(const char* text, const char* face, int px)
{
  PangoFontMap* map = pango_cairo_font_map_new();
  PangoContext* context = pango_font_map_create_context(map);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  pango_cairo_context_set_font_options(context, options);
  pango_context_set_round_glyph_positions(context, FALSE);
  PangoFontDescription* desc = pango_font_description_from_string(face);
  pango_font_description_set_absolute_size(desc, px * PANGO_SCALE);
  PangoLayout* layout = pango_layout_new(context);
  pango_layout_set_font_description(layout, desc);
  pango_layout_set_text(layout, text, -1);
  PangoRectangle logical;
  pango_layout_line_get_extents(pango_layout_get_line_readonly(layout, 0), nullptr, &logical);
  PangoFont* font = pango_font_map_load_font(map, context, desc);
  PangoFontMetrics* m = pango_font_get_metrics(font, nullptr);
  PangoLine line;
  line.width = logical.width / double(PANGO_SCALE);
  line.ascent = -logical.y / double(PANGO_SCALE);
  line.descent = (logical.height + logical.y) / double(PANGO_SCALE);
  const int gap =
      pango_font_metrics_get_height(m) - pango_font_metrics_get_ascent(m) - pango_font_metrics_get_descent(m);
  line.leading = std::max(gap, 0) / double(PANGO_SCALE);
  pango_font_metrics_unref(m);
  g_object_unref(font);
  g_object_unref(layout);
  pango_font_description_free(desc);
  cairo_font_options_destroy(options);
  g_object_unref(context);
  g_object_unref(map);
  return line;
}

int ExpectedLineHeight(const PangoLine& l) { return int(std::floor(l.ascent + l.descent + l.leading + 1.5)); }

HFONT MakeFont(int px, int quality = 0, int weight = FW_NORMAL, const char* face = kFace)
{
  return CreateFont(px, 0, 0, 0, weight, 0, 0, 0, 0, 0, 0, char(quality), 0, face);
}

class GdiText : public ::testing::Test {
protected:
  void SetUp() override
  {
    ctx = GDI_CreateMemContext(nullptr, kW, kH);
    font = MakeFont(20);
    SelectObject(ctx, font);
  }
  void TearDown() override
  {
    SelectObject(ctx, GDI_DESELECT_FONT);
    DeleteObject(font);
    GDI_DeleteGfxContext(ctx);
  }
  RECT Measure(const char* text, int flags = DT_SINGLELINE)
  {
    RECT r = {5, 7, 5, 7};
    GDI_DrawText(ctx, text, -1, &r, flags | DT_CALCRECT);
    return r;
  }
  uint32_t Pixel(int x, int y) const
  {
    return static_cast<const uint32_t*>(GDI_GetCtxFrameBuffer(ctx))[y * kW + x] & 0xFFFFFF;
  }
  // Bounding box of the pixels that are not black.
  RECT Lit() const
  {
    RECT box = {kW, kH, 0, 0};
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x)
        if (Pixel(x, y)) {
          box.left = std::min(box.left, x);
          box.top = std::min(box.top, y);
          box.right = std::max(box.right, x + 1);
          box.bottom = std::max(box.bottom, y + 1);
        }
    return box;
  }
  static constexpr int kW = 200, kH = 80;
  HDC ctx = nullptr;
  HFONT font = nullptr;
};

TEST(GdiFonts, MetricsFollowPangoAndDefaultOnUnusableContexts)
{
  TEXTMETRIC tm;
  // Released context: defaults, and 0.
  HDC gone = GDI_CreateMemContext(nullptr, 4, 4);
  GDI_DeleteGfxContext(gone);
  EXPECT_FALSE(GetTextMetrics(gone, &tm));
  EXPECT_EQ(tm.tmHeight, 16);
  EXPECT_EQ(tm.tmAscent, 12);
  EXPECT_EQ(tm.tmDescent, 4);
  EXPECT_EQ(tm.tmInternalLeading, 3);
  EXPECT_EQ(tm.tmAveCharWidth, 10);
  EXPECT_FALSE(GetTextMetrics(nullptr, &tm));

  HDC ctx = GDI_CreateMemContext(nullptr, 4, 4);
  HFONT f = MakeFont(24);
  SelectObject(ctx, f);
  ASSERT_TRUE(GetTextMetrics(ctx, &tm));
  const PangoLine p = MeasureWithPango("x", kFace, 24);
  EXPECT_EQ(tm.tmAscent, int(p.ascent));
  EXPECT_EQ(tm.tmDescent, int(p.descent));
  EXPECT_EQ(tm.tmInternalLeading, int(p.leading));
  const int sum = int(p.ascent) + int(p.descent) + int(p.leading);
  EXPECT_EQ(tm.tmHeight, sum + 1);
  EXPECT_EQ(tm.tmAveCharWidth, sum * 2 / 3);
  SelectObject(ctx, GDI_DESELECT_FONT);
  DeleteObject(f);
  GDI_DeleteGfxContext(ctx);
}

TEST(GdiFonts, SizeRulesAndFallbackFaces)
{
  HDC ctx = GDI_CreateMemContext(nullptr, 4, 4);
  TEXTMETRIC ten, zero, negative, huge, widthOnly;
  HFONT f10 = MakeFont(10), f0 = MakeFont(0), fneg = MakeFont(-10), fhuge = MakeFont(9000);
  HFONT fw = CreateFont(0, 10, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, kFace);
  SelectObject(ctx, f10), GetTextMetrics(ctx, &ten);
  SelectObject(ctx, f0), GetTextMetrics(ctx, &zero);
  SelectObject(ctx, fneg), GetTextMetrics(ctx, &negative);
  SelectObject(ctx, fhuge), GetTextMetrics(ctx, &huge);
  SelectObject(ctx, fw), GetTextMetrics(ctx, &widthOnly);
  for (const TEXTMETRIC* t : {&zero, &negative, &huge, &widthOnly}) {
    EXPECT_EQ(t->tmHeight, ten.tmHeight);
    EXPECT_EQ(t->tmAscent, ten.tmAscent);
  }
  // The logical-font form, also with a face name that fills its array
  // without a terminator.
  LOGFONT lf = {};
  lf.lfHeight = 10;
  lf.lfWeight = FW_NORMAL;
  std::memcpy(lf.lfFaceName, "DejaVu Sans", 12);
  HFONT indirect = CreateFontIndirect(&lf);
  SelectObject(ctx, indirect);
  TEXTMETRIC viaLogFont;
  GetTextMetrics(ctx, &viaLogFont);
  EXPECT_EQ(viaLogFont.tmHeight, ten.tmHeight);
  std::memset(lf.lfFaceName, 'x', sizeof(lf.lfFaceName));
  HFONT unterminated = CreateFontIndirect(&lf);
  EXPECT_NE(unterminated, nullptr);
  EXPECT_EQ(CreateFontIndirect(nullptr), nullptr);
  // A face the system lacks still gives a working font.
  HFONT monaco = CreateFont(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Monaco");
  ASSERT_NE(monaco, nullptr);
  SelectObject(ctx, monaco);
  RECT r = {0, 0, 0, 0};
  EXPECT_GT(GDI_DrawText(ctx, "abc", -1, &r, DT_CALCRECT | DT_SINGLELINE), 0);
  EXPECT_GT(r.right, 0);
  SelectObject(ctx, GDI_DESELECT_FONT);
  for (HFONT f : {f10, f0, fneg, fhuge, fw, monaco, indirect, unterminated}) DeleteObject(f);
  GDI_DeleteGfxContext(ctx);
}

TEST(GdiFonts, ComposedNamesResolveOnceThroughTheCache)
{
  char family[64];
  GDI_ResolveFontFamily("DejaVu Sans Bold", family, sizeof(family));
  EXPECT_STREQ(family, "DejaVu Sans");
  const int entries = GDI_FontNameCacheSize();
  GDI_ResolveFontFamily("DejaVu Sans Bold", family, sizeof(family));
  EXPECT_EQ(GDI_FontNameCacheSize(), entries);
  // Bold text is wider than regular text.
  HDC ctx = GDI_CreateMemContext(nullptr, 4, 4);
  HFONT regular = MakeFont(20), bold = MakeFont(20, 0, FW_BOLD);
  RECT a = {0, 0, 0, 0}, b = {0, 0, 0, 0};
  SelectObject(ctx, regular);
  GDI_DrawText(ctx, "Quarry", -1, &a, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(ctx, bold);
  GDI_DrawText(ctx, "Quarry", -1, &b, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_GT(b.right, a.right);
  SelectObject(ctx, GDI_DESELECT_FONT);
  DeleteObject(regular);
  DeleteObject(bold);
  GDI_DeleteGfxContext(ctx);
}

TEST_F(GdiText, MeasuredSizesMatchPango)
{
  for (const char* text : {"Hello, world", "-30.00", "W", "Quarry 1.0"}) {
    const PangoLine p = MeasureWithPango(text, kFace, 20);
    const RECT r = Measure(text);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.top, 7);
    EXPECT_EQ(r.right - r.left, int(std::floor(p.width + 0.5))) << text;
    EXPECT_EQ(r.bottom - r.top, ExpectedLineHeight(p) + 1) << text;
  }
}

TEST_F(GdiText, MultiLineTextStacksLines)
{
  const PangoLine p = MeasureWithPango("abc", kFace, 20);
  RECT r = {0, 0, 0, 0};
  const int h = GDI_DrawText(ctx, "abc\r\nabcabc", -1, &r, DT_CALCRECT);
  EXPECT_EQ(h, 2 * ExpectedLineHeight(p) + 1);
  EXPECT_EQ(r.bottom, h);
  EXPECT_EQ(r.right, Measure("abcabc").right - 5);
  // Single-line: the line feed is a space.
  EXPECT_EQ(Measure("abc\nabc").right, Measure("abc abc").right);
  EXPECT_EQ(Measure("abc\nabc").bottom, Measure("abc abc").bottom);
}

TEST_F(GdiText, PrefixAmpersandsAndEmptyText)
{
  EXPECT_EQ(Measure("a&b").right, Measure("ab").right);
  EXPECT_EQ(Measure("a&&b").right, Measure("a&b", DT_SINGLELINE | DT_NOPREFIX).right);
  EXPECT_GT(Measure("a&b", DT_SINGLELINE | DT_NOPREFIX).right, Measure("ab").right);
  EXPECT_EQ(Measure("a&&b", DT_SINGLELINE | DT_NOPREFIX).right,
            Measure("a&&b", DT_SINGLELINE | DT_NOPREFIX).right);
  EXPECT_GT(Measure("a&&b", DT_SINGLELINE | DT_NOPREFIX).right, Measure("a&&b").right);

  // Empty text (also text that is empty once prepared) measures 0 and
  // leaves the rectangle as it was.
  for (const char* text : {"", "&", "\r\r"}) {
    RECT r = {1, 2, 30, 40};
    EXPECT_EQ(GDI_DrawText(ctx, text, -1, &r, DT_CALCRECT), 0);
    EXPECT_EQ(r.left, 1);
    EXPECT_EQ(r.top, 2);
    EXPECT_EQ(r.right, 30);
    EXPECT_EQ(r.bottom, 40);
  }
  // The byte count limits the text.
  RECT r = {0, 0, 0, 0};
  GDI_DrawText(ctx, "abXYZ", 2, &r, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(r.right, Measure("ab").right - 5);
}

TEST_F(GdiText, InvalidAndOverlongText)
{
  RECT r = {0, 0, 0, 0};
  EXPECT_EQ(GDI_DrawText(ctx, "ab\xE9", -1, &r, DT_CALCRECT), 0);  // not UTF-8
  EXPECT_EQ(GDI_DrawText(ctx, nullptr, -1, &r, DT_CALCRECT), 0);
  EXPECT_EQ(GDI_DrawText(ctx, "ab", -1, nullptr, DT_CALCRECT), 0);
  // Text beyond the work buffer is cut at a character boundary rather than
  // failing as a whole.
  std::string longText;
  while (longText.size() < 5000) longText += "\xC3\xA9";  // é
  // 4095 bytes of two-byte characters end inside one.
  EXPECT_GT(GDI_DrawText(ctx, longText.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE), 0);
}

TEST_F(GdiText, AlignmentPlacesTheBackgroundBox)
{
  // With an opaque background in the text colour, every drawn pixel lies
  // in the placed text box, whose bounds are therefore exact.
  const RECT m = Measure("Hi");
  const int w = m.right - m.left, h = m.bottom - m.top;
  SetBkMode(ctx, OPAQUE);
  SetBkColor(ctx, RGB(0, 0, 255));
  SetTextColor(ctx, RGB(0, 0, 255));
  struct Case {
    int flags, x, y;
  } cases[] = {
      {0, 10, 5},
      {DT_RIGHT | DT_BOTTOM, 190 - w, 75 - h},
      {DT_CENTER | DT_VCENTER, 10 + 180 / 2 - w / 2, 5 + 70 / 2 - h / 2},
  };
  for (const Case& c : cases) {
    std::memset(GDI_GetCtxFrameBuffer(ctx), 0, kW * kH * 4);
    RECT r = {10, 5, 190, 75};
    EXPECT_EQ(GDI_DrawText(ctx, "Hi", -1, &r, c.flags | DT_SINGLELINE), h);
    const RECT lit = Lit();
    EXPECT_EQ(lit.left, c.x) << c.flags;
    EXPECT_EQ(lit.top, c.y) << c.flags;
    EXPECT_EQ(lit.right, c.x + w) << c.flags;
    EXPECT_EQ(lit.bottom, c.y + h) << c.flags;
    EXPECT_EQ(Pixel(c.x, c.y), 0xFFu);  // blue in the low byte
  }
}

TEST_F(GdiText, ClippingAndNoClip)
{
  SetTextColor(ctx, RGB(255, 255, 255));
  RECT r = {60, 10, 70, 50};  // far narrower than the text
  GDI_DrawText(ctx, "WWWWWW", -1, &r, DT_CENTER | DT_SINGLELINE);
  RECT lit = Lit();
  EXPECT_GE(lit.left, 60);
  EXPECT_LE(lit.right, 70);
  std::memset(GDI_GetCtxFrameBuffer(ctx), 0, kW * kH * 4);
  GDI_DrawText(ctx, "WWWWWW", -1, &r, DT_CENTER | DT_SINGLELINE | DT_NOCLIP);
  lit = Lit();
  EXPECT_LT(lit.left, 60);  // centred text starts left of the rectangle
  EXPECT_GT(lit.right, 70);
}

TEST_F(GdiText, ColourAndQuality)
{
  SetTextColor(ctx, RGB(255, 0, 0));
  RECT r = {0, 0, kW, kH};
  GDI_DrawText(ctx, "Quarry", -1, &r, DT_SINGLELINE);
  bool grey = false;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const uint32_t p = Pixel(x, y);
      EXPECT_EQ(p & 0xFFFF, 0u);  // only red
      const uint32_t red = p >> 16;
      if (red != 0 && red != 255) grey = true;
    }
  EXPECT_TRUE(grey);  // anti-aliased by default

  // Quality 3: no anti-aliasing, only full or empty pixels.
  HFONT aliased = MakeFont(20, NONANTIALIASED_QUALITY);
  SelectObject(ctx, aliased);
  std::memset(GDI_GetCtxFrameBuffer(ctx), 0, kW * kH * 4);
  GDI_DrawText(ctx, "Quarry", -1, &r, DT_SINGLELINE);
  int full = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const uint32_t red = Pixel(x, y) >> 16;
      EXPECT_TRUE(red == 0 || red == 255) << red;
      full += red == 255;
    }
  EXPECT_GT(full, 20);
  SelectObject(ctx, font);
  DeleteObject(aliased);
}

TEST_F(GdiText, DefaultFontWhenNoneIsUsable)
{
  SelectObject(ctx, GDI_DESELECT_FONT);
  RECT r = {0, 0, 0, 0};
  EXPECT_GT(GDI_DrawText(ctx, "abc", -1, &r, DT_CALCRECT | DT_SINGLELINE), 0);
  const PangoLine p = MeasureWithPango("abc", "Sans", 10);
  EXPECT_EQ(r.right, int(std::floor(p.width + 0.5)));
  char face[64];
  EXPECT_GT(GetTextFace(ctx, sizeof(face), face), 0);
  SelectObject(ctx, font);
  EXPECT_EQ(GetTextFace(ctx, sizeof(face), face), int(std::strlen(kFace)));
  EXPECT_STREQ(face, kFace);
  unsigned short chars[2] = {'A', 0xFFF0}, glyphs[2] = {0, 0};
  EXPECT_EQ(GetGlyphIndicesW(ctx, chars, 2, glyphs, GGI_MARK_NONEXISTING_GLYPHS), 2);
  EXPECT_NE(glyphs[0], 0);
  EXPECT_EQ(glyphs[1], 0xFFFF);
}

}  // namespace
