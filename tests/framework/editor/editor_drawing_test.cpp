// The drawing operations against expected pixels: computed from the
// geometry where it is simple (clipping, frame offsets, outlines), else
// from the rasteriser operation the editor must call, run on a bitmap of
// the test's own with the blend word written out by hand.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "framework/editor/BitmapStorage.h"
#include "framework/editor/controls/IBitmapControl.h"
#include "pix/pix_blit.h"
#include "pix/pix_membitmap.h"
#include "pix/pix_sysbitmap.h"
#include "pix/pix_vector.h"
#include "tests/framework/editor/headless_graphics.h"
#include "tests/framework/test_plug.h"

namespace {

const PIX_pixel kGround = 0xFF203040u;  // what the canvas holds before each drawing

PIX_pixel Position(int x, int y) { return 0xFF000000u + (static_cast<PIX_pixel>(x) << 12) + y; }

// A bitmap whose pixel (x, y) is Position(x, y): every pixel names its own
// position.
PIX_MemBitmap* PositionBitmap(int w, int h)
{
  PIX_MemBitmap* bm = new PIX_MemBitmap(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) bm->getBits()[y * bm->getRowSpan() + x] = Position(x, y);
  return bm;
}

class EditorDrawingTest : public ::testing::Test {
protected:
  static const int kW = 64, kH = 48;
  void SetUp() override
  {
    gui = new HeadlessGraphics(&plug, kW, kH);
    plug.AttachGraphics(gui);
    canvas = gui->GetDrawBitmap();
    ASSERT_NE(canvas, nullptr);
    PIX_Clear(canvas, kGround);
    PIX_Clear(&expected, kGround);
  }
  void TearDown() override
  {
    for (PIX_IBitmap* bm : owned) s_bitmapCache.Remove(bm);
  }
  // Hands a test bitmap to the cache, as a loaded image would be.
  IBitmap Cached(PIX_MemBitmap* bm, int frames = 1, bool horizontal = false)
  {
    s_bitmapCache.Add(bm, -1);
    owned.push_back(bm);
    return IBitmap(bm, bm->getWidth(), bm->getHeight(), frames, horizontal);
  }
  PIX_pixel At(int x, int y) { return PIX_GetPixel(canvas, x, y); }
  // Every pixel of the canvas equals the expected bitmap's.
  ::testing::AssertionResult CanvasIsExpected()
  {
    int wrong = 0;
    std::string first;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x)
        if (At(x, y) != PIX_GetPixel(&expected, x, y) && wrong++ == 0)
          first = std::to_string(x) + "," + std::to_string(y);
    if (!wrong) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << wrong << " pixels differ, the first at " << first;
  }

  TestPlug plug{0, "2-2", 0};
  HeadlessGraphics* gui = nullptr;
  PIX_SysBitmap* canvas = nullptr;
  PIX_MemBitmap expected{kW, kH};
  std::vector<PIX_IBitmap*> owned;
};

const IChannelBlend kCopy(IChannelBlend::kBlendClobber);

TEST_F(EditorDrawingTest, ABlitIsClippedToTheDrawRectangleWithItsSourceOffsetShifted)
{
  IBitmap source = Cached(PositionBitmap(40, 40));
  gui->SetDrawRECT(IRECT(10, 10, 30, 30));
  IRECT dest(20, 5, 40, 25);  // the top and right lie outside the draw rectangle
  EXPECT_TRUE(gui->DrawBitmap(&source, &dest, 3, 4, &kCopy));
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const bool inside = x >= 20 && x < 30 && y >= 10 && y < 25;
      ASSERT_EQ(At(x, y), inside ? Position(3 + x - 20, 4 + y - 5) : kGround) << x << "," << y;
    }

  // Outside the draw rectangle, or with an empty one, nothing is drawn.
  PIX_Clear(canvas, kGround);
  IRECT away(40, 40, 50, 48);
  gui->DrawBitmap(&source, &away, 0, 0, &kCopy);
  gui->SetDrawRECT(IRECT());
  gui->DrawBitmap(&source, &dest, 0, 0, &kCopy);
  IRECT empty;
  gui->SetDrawRECT(IRECT(0, 0, kW, kH));
  gui->DrawBitmap(&source, &empty, 0, 0, &kCopy);
  IRECT inverted(30, 30, 10, 10);
  gui->DrawBitmap(&source, &inverted, 0, 0, &kCopy);
  gui->DrawBitmap(nullptr, &dest, 0, 0, &kCopy);
  IBitmap missing;
  gui->DrawBitmap(&missing, &dest, 0, 0, &kCopy);
  EXPECT_TRUE(CanvasIsExpected());
}

TEST_F(EditorDrawingTest, FramesAreFoundByRoundedOffsetsAlongTheStrip)
{
  // A 31-frame vertical strip of 60-pixel frames: frame f starts at row
  // 60 (f - 1), so frame 31 starts at row 1800.
  IBitmap strip = Cached(PositionBitmap(2, 31 * 60), 31);
  gui->SetDrawRECT(IRECT(0, 0, kW, kH));
  IRECT dest(5, 5, 7, 65);
  const int rows[][2] = {{-3, 0}, {0, 0}, {1, 0}, {2, 60}, {16, 900}, {31, 1800}};
  for (const auto& fr : rows) {
    gui->DrawBitmap(&strip, &dest, fr[0], &kCopy);
    EXPECT_EQ(At(5, 5), Position(0, fr[1])) << "frame " << fr[0];
    EXPECT_EQ(At(6, 47), Position(1, fr[1] + 42)) << "frame " << fr[0];
  }
  // A strip whose length is no multiple of the count rounds to the nearest
  // row (100 / 3: frames at 0, 33 and 67); horizontal strips use columns.
  IBitmap uneven = Cached(PositionBitmap(100, 4), 3, true);
  IRECT wide(0, 40, 33, 44);
  gui->DrawBitmap(&uneven, &wide, 2, &kCopy);
  EXPECT_EQ(At(0, 40), Position(33, 0));
  gui->DrawBitmap(&uneven, &wide, 3, &kCopy);
  EXPECT_EQ(At(0, 41), Position(67, 1));
  // A one-frame image always draws from its corner.
  IBitmap single = Cached(PositionBitmap(8, 8));
  IRECT corner(50, 0, 58, 8);
  gui->DrawBitmap(&single, &corner, 5, &kCopy);
  EXPECT_EQ(At(50, 0), Position(0, 0));
}

TEST_F(EditorDrawingTest, EachBlendMethodIsItsRasteriserWord)
{
  // A half-transparent source over the ground, through each method.
  PIX_MemBitmap* src = new PIX_MemBitmap(8, 8);
  PIX_Clear(src, 0x80C08040u);
  IBitmap source = Cached(src);
  gui->SetDrawRECT(IRECT(0, 0, kW, kH));
  struct Case {
    const IChannelBlend* blend;
    float weight;
    int mode;
  };
  const IChannelBlend none(IChannelBlend::kBlendNone, 0.75f), clobber(IChannelBlend::kBlendClobber, 0.5f),
      add(IChannelBlend::kBlendAdd, 1.0f), dodge(IChannelBlend::kBlendColorDodge, 0.6f),
      odd(static_cast<IChannelBlend::EBlendMethod>(7), 0.3f);
  const Case cases[] = {{nullptr, 1.0f, 0x10000}, {&none, 0.75f, 0x10000}, {&clobber, 0.5f, 0x0},
                        {&add, 1.0f, 0x10001},    {&dodge, 0.6f, 0x10002}, {&odd, 0.3f, 0x10000}};
  for (int i = 0; i < 6; ++i) {
    IRECT dest(i * 10, 0, i * 10 + 8, 8);
    gui->DrawBitmap(&source, &dest, 0, 0, cases[i].blend);
    PIX_Blit(&expected, src, i * 10, 0, 0, 0, 8, 8, cases[i].weight, cases[i].mode);
    IRECT fill(i * 10, 20, i * 10 + 8, 28);
    IColor colour(0x80, 0xC0, 0x80, 0x40);
    gui->FillIRect(&colour, &fill, cases[i].blend);
    PIX_FillRect(&expected, i * 10, 20, 8, 8, 0x80C08040u, cases[i].weight, cases[i].mode);
  }
  EXPECT_TRUE(CanvasIsExpected());
}

TEST_F(EditorDrawingTest, RotationsAreTheRotatedBlitsOfTheirImages)
{
  IBitmap knob = Cached(PositionBitmap(15, 20));
  const IChannelBlend half(IChannelBlend::kBlendNone, 0.5f);
  // Centred on (30, 25): the destination starts at the integer halves.
  gui->DrawRotatedBitmap(&knob, 30, 25, 0.7, 3, &half);
  PIX_RotatedBlit(&expected, knob.mData, 30 - 7, 25 - 10, 15, 20, 0, 0, 15, 20, 0.7f, false, 0.5f, 0x10100,
                  0.0f, 3.0f);
  EXPECT_TRUE(CanvasIsExpected());

  // A masked rotation: the base's colours without alpha, the mask added and
  // the top copied, both turned by 30 degrees (odd width: centre moved half
  // a pixel left), then the result blitted at (5, 6) within the draw
  // rectangle.
  PIX_Clear(canvas, kGround);
  PIX_Clear(&expected, kGround);
  PIX_MemBitmap* mask = new PIX_MemBitmap(15, 20);
  PIX_Clear(mask, 0x80FF0000u);
  PIX_FillRect(mask, 6, 0, 3, 10, 0xFF0000FFu);
  PIX_MemBitmap* top = new PIX_MemBitmap(15, 20);
  PIX_Clear(top, 0x00000000u);
  PIX_FillRect(top, 4, 4, 7, 7, 0xFF00FF00u);
  IBitmap maskImage = Cached(mask), topImage = Cached(top);
  gui->SetDrawRECT(IRECT(0, 0, 12, kH));
  gui->DrawRotatedMask(&knob, &maskImage, &topImage, 5, 6, 30.0, &kCopy);

  PIX_MemBitmap work;
  PIX_Copy(&work, knob.mData);
  PIX_ClearRect(&work, 0, 0, 15, 20, 0xFFFFFF, 0);
  const float radians = static_cast<float>(30.0 * 3.141592653589793 / 180.0);
  PIX_RotatedBlit(&work, mask, 0, 0, 15, 20, 0, 0, 15, 20, radians, true, 1.0f, 0x10101, -0.5f, 0.0f);
  PIX_RotatedBlit(&work, top, 0, 0, 15, 20, 0, 0, 15, 20, radians, true, 1.0f, 0x10100, -0.5f, 0.0f);
  PIX_Blit(&expected, &work, 5, 6, 0, 0, 7, 20, 1.0f, 0);
  EXPECT_TRUE(CanvasIsExpected());
}

TEST_F(EditorDrawingTest, EachShapeIsItsRasteriserPrimitiveWithTheMappedBlend)
{
  const IColor c(200, 10, 220, 130);
  const PIX_pixel p = 0xC80ADC82u;
  const IChannelBlend add(IChannelBlend::kBlendAdd, 0.8f);
  IRECT r(5, 6, 40, 30);
  int xs[] = {10, 50, 30, 12}, ys[] = {5, 8, 40, 30};
  using Step = std::function<void()>;
  const std::vector<std::pair<Step, Step>> shapes = {
      {[&] { gui->DrawLine(&c, 3.9f, 4.2f, 50.7f, 30.1f, &add, true); },
       [&] { PIX_Line(&expected, 3, 4, 50, 30, p, 0.8f, 0x10001, true); }},
      {[&] { gui->DrawArc(&c, 30.f, 20.f, 12.f, 0.5f, 2.5f, nullptr, true); },
       [&] { PIX_Arc(&expected, 30.f, 20.f, 12.f, 0.5f, 2.5f, p, 1.0f, 0x10000, true); }},
      {[&] { gui->DrawCircle(&c, 30.5f, 20.f, 9.f, &add, false); },
       [&] { PIX_Circle(&expected, 30.5f, 20.f, 9.f, p, 0.8f, 0x10001, false); }},
      {[&] { gui->RoundRect(&c, &r, &kCopy, 6, true); },
       [&] { PIX_RoundRect(&expected, 5.f, 6.f, 35.f, 24.f, 6, p, 1.0f, 0, true); }},
      {[&] { gui->FillCircle(&c, 20, 22, 10.5f, &add, true); },
       [&] { PIX_FillCircle(&expected, 20.f, 22.f, 10.5f, p, 0.8f, 0x10001, true); }},
      {[&] { gui->FillTriangle(&c, 2, 3, 60, 10, 20, 45, nullptr); },
       [&] { PIX_FillTriangle(&expected, 2, 3, 60, 10, 20, 45, p, 1.0f, 0x10000); }},
      {[&] { gui->FillIConvexPolygon(&c, xs, ys, 4, &add); },
       [&] { PIX_FillConvexPolygon(&expected, xs, ys, 4, p, 0.8f, 0x10001); }},
      {[&] { gui->FillRoundRect(&c, &r, &add, 7, true); },
       [&] {
         PIX_FillRect(&expected, 12, 6, 21, 24, p, 0.8f, 0x10001);
         PIX_FillRect(&expected, 5, 13, 7, 10, p, 0.8f, 0x10001);
         PIX_FillRect(&expected, 33, 13, 7, 10, p, 0.8f, 0x10001);
         PIX_FillCircle(&expected, 12.f, 13.f, 7.f, p, 0.8f, 0x10001, true);
         PIX_FillCircle(&expected, 32.f, 22.f, 7.f, p, 0.8f, 0x10001, true);
         PIX_FillCircle(&expected, 32.f, 13.f, 7.f, p, 0.8f, 0x10001, true);
         PIX_FillCircle(&expected, 12.f, 22.f, 7.f, p, 0.8f, 0x10001, true);
       }},
  };
  for (size_t i = 0; i < shapes.size(); ++i) {
    PIX_Clear(canvas, kGround);
    PIX_Clear(&expected, kGround);
    shapes[i].first();
    shapes[i].second();
    EXPECT_TRUE(CanvasIsExpected()) << "shape " << i;
  }
}

TEST_F(EditorDrawingTest, OutlinesAndRulesLandOnTheirPixels)
{
  const IColor c(255, 1, 2, 3);
  const PIX_pixel p = 0xFF010203u;
  // The outline includes the right and bottom edges.
  IRECT r(4, 5, 10, 9);
  gui->DrawRect(&c, &r);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const bool edge =
          (x >= 4 && x <= 10 && (y == 5 || y == 9)) || (y >= 5 && y <= 9 && (x == 4 || x == 10));
      ASSERT_EQ(At(x, y), edge ? p : kGround) << x << "," << y;
    }

  // Rules at a fraction of a rectangle: columns from the left, rows up
  // from the bottom, fractions clamped to 0-1.
  PIX_Clear(canvas, kGround);
  IRECT box(20, 10, 40, 30);
  gui->DrawVerticalLine(&c, &box, 0.26f);                                      // 20 + trunc(20 x 0.26) = 25
  gui->DrawHorizontalLine(&c, &box, 0.5f);                                     // 30 - 10 = 20
  gui->DrawVerticalLine(&c, &box, 7.0f);                                       // clamped: the right edge, 40
  gui->DrawHorizontalLine(&c, &box, std::numeric_limits<float>::quiet_NaN());  // as 0: row 30
  for (int y = 10; y <= 30; ++y) {
    EXPECT_EQ(At(25, y), p) << y;
    EXPECT_EQ(At(40, y), p) << y;
  }
  for (int x = 20; x <= 40; ++x) {
    EXPECT_EQ(At(x, 20), p) << x;
    EXPECT_EQ(At(x, 30), p) << x;
  }
  EXPECT_EQ(At(26, 15), kGround);
  EXPECT_EQ(At(30, 19), kGround);

  // Radial lines: angle 0 points up, a quarter turn to the right.
  PIX_Clear(canvas, kGround);
  gui->DrawRadialLine(&c, 30.f, 30.f, 0.f, 5.f, 10.f);
  gui->DrawRadialLine(&c, 30.f, 30.f, 1.5707964f, 5.f, 10.f);
  int drawn = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) drawn += At(x, y) == p;
  EXPECT_EQ(drawn, 12);
  for (int i = 0; i <= 5; ++i) {
    EXPECT_EQ(At(30, 20 + i), p) << i;
    EXPECT_EQ(At(35 + i, 30), p) << i;
  }
}

TEST_F(EditorDrawingTest, PointsAndPixelsStayInsideTheCanvas)
{
  const IColor c(255, 9, 8, 7);
  gui->DrawPoint(&c, 2.6f, 3.4f);  // rounded to (3, 3)
  EXPECT_EQ(At(3, 3), 0xFF090807u);
  EXPECT_EQ(At(2, 3), kGround);

  const IColor seeThrough(0x80, 0x11, 0x22, 0x33);
  EXPECT_TRUE(gui->ForcePixel(&seeThrough, 63, 47));
  EXPECT_EQ(At(63, 47), 0x80112233u);  // stored as it is, not blended
  const IColor read = gui->GetPoint(63, 47);
  EXPECT_EQ(read, seeThrough);

  // Points outside the canvas, and coordinates no pixel can have, change
  // nothing and read as transparent.
  PIX_Clear(canvas, kGround);
  const float huge = 3e9f, nan = std::numeric_limits<float>::quiet_NaN();
  gui->ForcePixel(&c, -1, 0);
  gui->ForcePixel(&c, 64, 0);
  gui->ForcePixel(&c, 0, 48);
  gui->ForcePixel(&c, 0, -1);
  gui->DrawPoint(&c, huge, 1.f);
  gui->DrawPoint(&c, nan, nan);
  gui->DrawLine(&c, -huge, 10.f, nan, 10.f);
  gui->DrawRadialLine(&c, 10.f, 10.f, nan, 0.f, 5.f);
  gui->DrawVerticalLine(&c, nullptr, 0.5f);
  gui->FillIConvexPolygon(&c, nullptr, nullptr, 3);
  gui->FillIRect(nullptr, nullptr);
  EXPECT_TRUE(CanvasIsExpected());
  EXPECT_EQ(gui->GetPoint(-1, -1), COLOR_TRANSPARENT);
  EXPECT_EQ(gui->GetPoint(64, 0), COLOR_TRANSPARENT);
}

TEST_F(EditorDrawingTest, ScaledAndCroppedCopiesBelongToTheCache)
{
  PIX_MemBitmap* src = PositionBitmap(6, 9);
  IBitmap source = Cached(src, 3, true);
  IBitmap scaled = gui->ScaleBitmap(&source, 12, 5);
  ASSERT_NE(scaled.mData, nullptr);
  EXPECT_TRUE(s_bitmapCache.Holds(scaled.mData));
  EXPECT_EQ(scaled.mW, 12);
  EXPECT_EQ(scaled.mH, 5);
  EXPECT_EQ(scaled.mN, 3);
  EXPECT_FALSE(scaled.mFramesAreHorizontal);
  PIX_MemBitmap reference(12, 5);
  PIX_ScaledBlit(&reference, src, 0, 0, 12, 5, 0.f, 0.f, 6.f, 9.f, 1.0f, 0x100);
  EXPECT_EQ(PIX_BitmapCmp(scaled.mData, &reference), 0);

  // A crop reaching past the source is transparent where the source ends.
  IRECT area(4, 7, 8, 10);
  IBitmap cropped = gui->CropBitmap(&source, &area);
  ASSERT_NE(cropped.mData, nullptr);
  EXPECT_TRUE(s_bitmapCache.Holds(cropped.mData));
  EXPECT_EQ(cropped.mW, 4);
  EXPECT_EQ(cropped.mH, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) {
      const bool inside = 4 + x < 6 && 7 + y < 9;
      EXPECT_EQ(PIX_GetPixel(cropped.mData, x, y), inside ? Position(4 + x, 7 + y) : 0u) << x << "," << y;
    }

  // Nothing to copy gives an image without data, and nothing is cached.
  const int entries = s_bitmapCache.Size();
  IBitmap missing;
  IRECT none(2, 2, 2, 2);
  EXPECT_EQ(gui->ScaleBitmap(&missing, 4, 4).mData, nullptr);
  EXPECT_EQ(gui->ScaleBitmap(&source, 0, 4).mData, nullptr);
  EXPECT_EQ(gui->CropBitmap(&source, &none).mData, nullptr);
  EXPECT_EQ(gui->CropBitmap(&source, nullptr).mData, nullptr);
  EXPECT_EQ(s_bitmapCache.Size(), entries);

  gui->ReleaseBitmap(&scaled);
  gui->ReleaseBitmap(&cropped);
  EXPECT_EQ(s_bitmapCache.Size(), entries - 2);
}

TEST_F(EditorDrawingTest, ABitmapRetainedTwiceIsReleasedOnce)
{
  const int entries = s_bitmapCache.Size();
  IBitmap image(new PIX_MemBitmap(3, 3), 3, 3, 1, false);
  IBitmap copy = image;
  gui->RetainBitmap(&image);
  gui->RetainBitmap(&copy);
  EXPECT_EQ(s_bitmapCache.Size(), entries + 1);
  gui->ReleaseBitmap(&image);
  EXPECT_EQ(image.mData, nullptr);  // the caller's description lets go too
  EXPECT_EQ(s_bitmapCache.Size(), entries);
  // The copy still names the freed pixels; releasing it finds nothing to free.
  gui->ReleaseBitmap(&copy);
  EXPECT_EQ(s_bitmapCache.Size(), entries);
  gui->RetainBitmap(nullptr);
  gui->ReleaseBitmap(nullptr);
}

// Passes repaint what they must, in list order, clipped to their area:
// a black background with a red control A (10-30) under a green control B
// (20-40) on the same rows.
class EditorPassTest : public EditorDrawingTest {
protected:
  void SetUp() override
  {
    EditorDrawingTest::SetUp();
    PIX_MemBitmap* black = new PIX_MemBitmap(kW, kH);
    PIX_Clear(black, 0xFF000000u);
    PIX_MemBitmap* red = new PIX_MemBitmap(20, 10);
    PIX_Clear(red, 0xFFFF0000u);
    PIX_MemBitmap* green = new PIX_MemBitmap(20, 10);
    PIX_Clear(green, 0xFF00FF00u);
    IBitmap bg = Cached(black), a = Cached(red), b = Cached(green);
    gui->AttachControl(new IBitmapControl(&plug, 0, 0, -1, &bg, IChannelBlend::kBlendClobber));
    A = new IBitmapControl(&plug, 10, 10, &a);
    B = new IBitmapControl(&plug, 20, 10, &b);
    gui->AttachControl(A);
    gui->AttachControl(B);
    gui->OpenWindow(nullptr);
  }
  // Paints the canvas white, so that only what a pass repaints shows.
  void Whiten() { PIX_Clear(canvas, 0xFFFFFFFFu); }
  // The row through both controls, one letter per pixel from x 0 to 49:
  // k black, r red, g green, w white.
  std::string Row()
  {
    std::string s;
    for (int x = 0; x < 50; ++x) {
      const PIX_pixel p = At(x, 15) & 0xFFFFFFu;
      s += p == 0 ? 'k' : p == 0xFF0000u ? 'r' : p == 0x00FF00u ? 'g' : p == 0xFFFFFFu ? 'w' : '?';
    }
    return s;
  }
  IControl* A = nullptr;
  IControl* B = nullptr;
};

TEST_F(EditorPassTest, AStrictPassPaintsInListOrderClippedToItsArea)
{
  Whiten();
  IRECT area(15, 0, 25, kH);
  EXPECT_TRUE(gui->Draw(&area));
  EXPECT_EQ(Row(), std::string(15, 'w') + "rrrrrggggg" + std::string(25, 'w'));
  Whiten();
  IRECT all(0, 0, kW, kH);
  gui->Draw(&all);
  EXPECT_EQ(Row(), std::string(10, 'k') + std::string(10, 'r') + std::string(20, 'g') + std::string(10, 'k'));
}

TEST_F(EditorPassTest, ALoosePassRepaintsEachDirtyControlWithWhatItOverlaps)
{
  gui->SetStrictDrawing(false);
  IRECT r;
  ASSERT_TRUE(gui->IsDirty(&r));
  Whiten();
  gui->Draw(&r);  // the background is dirty: everything, in full
  EXPECT_EQ(Row(), std::string(10, 'k') + std::string(10, 'r') + std::string(20, 'g') + std::string(10, 'k'));

  // Only A is dirty: its area is repainted, B on top of it where they overlap.
  Whiten();
  A->SetDirty(false);
  r = IRECT();
  ASSERT_TRUE(gui->IsDirty(&r));
  EXPECT_EQ(r, IRECT(10, 10, 30, 20));
  gui->Draw(&r);
  EXPECT_EQ(Row(), std::string(10, 'w') + std::string(10, 'r') + std::string(10, 'g') + std::string(20, 'w'));
  EXPECT_FALSE(A->IsDirty());
  EXPECT_FALSE(B->IsDirty());
}

}  // namespace
