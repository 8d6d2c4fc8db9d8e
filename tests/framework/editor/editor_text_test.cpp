// Text in the editor: how a text asks its font to draw and measure
// (through a font that records its calls), the font cache, and real text
// drawn through Pango.

#include <gtest/gtest.h>

#include <vector>

#include "framework/editor/FontStorage.h"
#include "gdi/gdi.h"
#include "pix/pix_blit.h"
#include "pix/pix_cachedfont.h"
#include "pix/pix_sysbitmap.h"
#include "tests/framework/editor/headless_graphics.h"
#include "tests/framework/test_plug.h"

namespace {

// A font that measures every text as 40 x 12 and records what it is asked.
class RecordingFont : public PIX_IFont {
public:
  struct Call {
    PIX_IBitmap* bitmap;
    RECT rect;
    int flags;
    PIX_pixel colour;
  };
  void SetFromHFont(HFONT, int) override {}
  PIX_pixel SetTextColor(PIX_pixel c) override
  {
    const PIX_pixel old = colour;
    colour = c;
    return old;
  }
  PIX_pixel SetBkColor(PIX_pixel) override { return 0; }
  PIX_pixel SetEffectColor(PIX_pixel) override { return 0; }
  int SetBkMode(int) override { return 0; }
  void SetCombineMode(int, float) override {}
  int DrawText(PIX_IBitmap* bm, const char*, int, RECT* r, int flags) override
  {
    calls.push_back({bm, *r, flags, colour});
    if (flags & DT_CALCRECT) {
      r->right = r->left + 40;
      r->bottom = r->top + 12;
    }
    return 12;
  }
  PIX_pixel GetTextColor() override { return colour; }
  HFONT GetHFont() override { return nullptr; }
  int GetLineHeight() override { return 12; }

  PIX_pixel colour = 0;
  std::vector<Call> calls;
};

class EditorTextTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    gui = new HeadlessGraphics(&plug, 200, 60);
    plug.AttachGraphics(gui);
  }
  TestPlug plug{0, "2-2", 0};
  HeadlessGraphics* gui = nullptr;
  RecordingFont font;
};

TEST_F(EditorTextTest, MeasuringPlacesTheExtentAsTheTextAligns)
{
  IText text;
  text.mCached = &font;
  const struct {
    IText::EAlign align;
    IRECT expected;
  } cases[] = {
      {IText::kAlignNear, IRECT(10, 0, 50, 12)},
      {IText::kAlignCenter, IRECT(40, 0, 80, 12)},  // middle 60, half of 40 each side
      {IText::kAlignFar, IRECT(70, 0, 110, 12)},
      {static_cast<IText::EAlign>(9), IRECT(70, 0, 110, 12)},  // unknown alignments count as far
  };
  for (const auto& c : cases) {
    text.mAlign = c.align;
    IRECT r(10, 0, 110, 20);
    EXPECT_TRUE(gui->MeasureIText(&text, "Level", &r));
    EXPECT_EQ(r, c.expected) << c.align;
  }
  // The centre is truncated from the single-precision middle: (10 + 111) / 2
  // = 60.5 gives 60.
  text.mAlign = IText::kAlignCenter;
  IRECT odd(10, 5, 111, 20);
  gui->MeasureIText(&text, "Level", &odd);
  EXPECT_EQ(odd, IRECT(40, 5, 80, 17));
  // Measuring asks on an empty rectangle and needs no pixels.
  for (const RecordingFont::Call& call : font.calls) {
    EXPECT_EQ(call.rect.left | call.rect.top | call.rect.right | call.rect.bottom, 0);
    EXPECT_NE(call.flags & DT_CALCRECT, 0);
  }
  EXPECT_FALSE(gui->HasDrawBitmap());
}

TEST_F(EditorTextTest, DrawingAsksForAlignmentNoClippingAndTheColoursAlpha)
{
  IText text;
  text.mCached = &font;
  IRECT r(3, 4, 90, 30);
  const struct {
    IText::EAlign align;
    IColor colour;
    int flags;
  } cases[] = {
      {IText::kAlignNear, IColor(255, 1, 2, 3), DT_NOCLIP | DT_LEFT},
      {IText::kAlignCenter, IColor(255, 1, 2, 3), DT_NOCLIP | DT_CENTER},
      {IText::kAlignFar, IColor(128, 1, 2, 3), DT_NOCLIP | DT_RIGHT | PIX_DT_USE_FG_ALPHA},
      {static_cast<IText::EAlign>(-1), IColor(254, 1, 2, 3), DT_NOCLIP | DT_RIGHT | PIX_DT_USE_FG_ALPHA},
  };
  for (const auto& c : cases) {
    text.mAlign = c.align;
    text.mColor = c.colour;
    font.calls.clear();
    EXPECT_TRUE(gui->DrawIText(&text, "x", &r));
    ASSERT_EQ(font.calls.size(), 1u);
    EXPECT_EQ(font.calls[0].flags, c.flags);
    EXPECT_EQ(font.calls[0].colour, c.colour.ToPixel());
    EXPECT_EQ(font.calls[0].bitmap, gui->GetDrawBitmap());
    EXPECT_EQ(font.calls[0].rect.left, 3);
    EXPECT_EQ(font.calls[0].rect.bottom, 30);
  }
  // Nothing to write draws nothing and needs no font.
  font.calls.clear();
  IText fontless;
  const int fonts = s_fontCache.Size();
  EXPECT_TRUE(gui->DrawIText(&text, "", &r));
  EXPECT_TRUE(gui->DrawIText(&fontless, nullptr, &r));
  EXPECT_TRUE(font.calls.empty());
  EXPECT_EQ(fontless.mCached, nullptr);
  EXPECT_EQ(s_fontCache.Size(), fonts);
}

TEST_F(EditorTextTest, AFontIsMadeOncePerSizeOrientationStyleAndFace)
{
  IText a(13, &COLOR_RED, "DejaVu Sans");
  const int fonts = s_fontCache.Size();
  PIX_IFont* font = gui->CacheFont(&a);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(a.mCached, font);
  EXPECT_EQ(s_fontCache.Size(), fonts + 1);

  // Colour, alignment and quality are not part of the key.
  IText b(13, &COLOR_BLUE, "DejaVu Sans", IText::kStyleNormal, IText::kAlignFar, 0,
          IText::kQualityAntiAliased);
  EXPECT_EQ(gui->CacheFont(&b), font);
  EXPECT_EQ(s_fontCache.Size(), fonts + 1);
  // Size, style, orientation and face are.
  IText bold(13, &COLOR_RED, "DejaVu Sans", IText::kStyleBold);
  IText turned(13, &COLOR_RED, "DejaVu Sans", IText::kStyleNormal, IText::kAlignCenter, 90);
  IText bigger(14, &COLOR_RED, "DejaVu Sans");
  IText otherFace(13, &COLOR_RED, "DejaVu Sans Mono");
  for (IText* t : {&bold, &turned, &bigger, &otherFace}) EXPECT_NE(gui->CacheFont(t), font);
  EXPECT_EQ(s_fontCache.Size(), fonts + 5);
  // Drawing a text without a cached font finds the cached one.
  IText c(13, &COLOR_BLACK, "DejaVu Sans");
  IRECT r(0, 0, 100, 20);
  EXPECT_TRUE(gui->DrawIText(&c, "found", &r));
  EXPECT_EQ(c.mCached, font);
  EXPECT_EQ(s_fontCache.Size(), fonts + 5);
}

TEST_F(EditorTextTest, AFontWhoseLinesComeOutTallerIsMadeAgainAtTheCorrectedHeight)
{
  // The line height a face gives at the asked pixel height, read the way
  // the cached font reads it.
  auto lineHeightAt = [](int height) {
    PIX_CachedFont probe;
    probe.SetFromHFont(CreateFont(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans"),
                       PIX_FONT_OWNS_HFONT);
    return probe.GetLineHeight();
  };
  const int size = 21;
  const int first = lineHeightAt(size);
  ASSERT_GT(first, 0);
  IText text(size, &COLOR_BLACK, "DejaVu Sans", IText::kStyleNormal, IText::kAlignNear, 0,
             IText::kQualityAntiAliased);
  PIX_IFont* font = gui->CacheFont(&text);
  ASSERT_NE(font, nullptr);
  const int expected =
      first == size ? first : lineHeightAt(static_cast<int>(size * size / double(first) + 0.5));
  EXPECT_EQ(font->GetLineHeight(), expected) << "first try " << first;

  // Sizes below 2 are asked for at 2 and corrected from 4.
  IText tiny(1, &COLOR_BLACK, "DejaVu Sans");
  EXPECT_NE(gui->CacheFont(&tiny), nullptr);
}

// Real text: dark ink inside the measured extent, half as dark at alpha 128.
TEST_F(EditorTextTest, RealTextLandsWhereItWasMeasuredAndHonoursAlpha)
{
  PIX_SysBitmap* canvas = gui->GetDrawBitmap();
  auto darkest = [&](int* left, int* right) {
    int dark = 255;
    *left = 1000, *right = -1;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 200; ++x) {
        const int g = (PIX_GetPixel(canvas, x, y) >> 8) & 0xFF;
        if (g < dark) dark = g;
        if (g < 200) {
          if (x < *left) *left = x;
          if (x > *right) *right = x;
        }
      }
    return dark;
  };
  for (IText::EAlign align : {IText::kAlignNear, IText::kAlignCenter, IText::kAlignFar}) {
    PIX_Clear(canvas, 0xFFFFFFFFu);
    IText text(16, &COLOR_BLACK, "DejaVu Sans", IText::kStyleNormal, align);
    IRECT r(20, 10, 180, 40);
    ASSERT_TRUE(gui->DrawIText(&text, "MMMM", &r));
    IRECT measured = r;
    ASSERT_TRUE(gui->MeasureIText(&text, "MMMM", &measured));
    int left, right;
    EXPECT_LT(darkest(&left, &right), 60) << align;
    EXPECT_GT(measured.W(), 20);
    EXPECT_GE(left, measured.mL - 1) << align;
    EXPECT_LE(right, measured.mR) << align;
    EXPECT_LT(right - left, measured.W() + 1) << align;
  }
  PIX_Clear(canvas, 0xFFFFFFFFu);
  const IColor halfBlack(128, 0, 0, 0);
  IText faint(16, &halfBlack, "DejaVu Sans");
  IRECT r(20, 10, 180, 40);
  ASSERT_TRUE(gui->DrawIText(&faint, "MMMM", &r));
  int left, right;
  const int dark = darkest(&left, &right);
  EXPECT_GT(dark, 110);
  EXPECT_LT(dark, 145);
}

}  // namespace
