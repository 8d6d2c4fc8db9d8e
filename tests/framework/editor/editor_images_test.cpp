// Images in the editor: the process-wide cache, PNG files through libpng,
// frame selection and clipping to the area being refreshed.

#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "framework/IParam.h"
#include "framework/editor/BitmapStorage.h"
#include "framework/editor/controls/IBitmapControl.h"
#include "pix/pix_membitmap.h"
#include "pix/pix_sysbitmap.h"
#include "tests/framework/editor/headless_graphics.h"
#include "tests/framework/test_plug.h"
#include "tests/pix/png_test_writer.h"

namespace {

// The pixel at (x, y) of the editor's draw bitmap, colour only (the draw
// bitmap has no alpha channel).
uint32_t ColourAt(HeadlessGraphics* gui, int x, int y)
{
  return gui->GetBits()[y * gui->GetDrawBitmap()->getRowSpan() + x] & 0xFFFFFFu;
}

TEST(EditorImagesTest, AnIdIsLoadedOnceAndSharedByEveryEditor)
{
  TestPlug plugA(0, "2-2", 0), plugB(0, "2-2", 0);
  HeadlessGraphics a(&plugA, 10, 10), b(&plugB, 10, 10);
  a.RegisterImage("img/one.png", 8, 4, 0xFF102030u);
  b.RegisterImage("img/other.png", 2, 2, 0xFF000000u);
  const IBitmap first = a.LoadIBitmap(9001, "img/one.png", 2);
  ASSERT_NE(first.mData, nullptr);
  EXPECT_EQ(first.mW, 8);
  EXPECT_EQ(first.mH, 4);
  EXPECT_EQ(first.mN, 2);
  EXPECT_FALSE(first.mFramesAreHorizontal);
  // The id alone decides: another editor and another name get the same image.
  const IBitmap again = b.LoadIBitmap(9001, "img/other.png", 1, true);
  EXPECT_EQ(again.mData, first.mData);
  EXPECT_EQ(again.mN, 1);
  EXPECT_TRUE(again.mFramesAreHorizontal);
  EXPECT_EQ(a.osLoads, 1);
  EXPECT_EQ(b.osLoads, 0);
  EXPECT_TRUE(s_bitmapCache.Holds(first.mData));
}

TEST(EditorImagesTest, AFailedLoadLeavesNoEntryAndIsTriedAgain)
{
  TestPlug plug(0, "2-2", 0);
  HeadlessGraphics gui(&plug, 10, 10);
  const int entries = s_bitmapCache.Size();
  const IBitmap missing = gui.LoadIBitmap(9002, "img/missing.png", 3);
  EXPECT_EQ(missing.mData, nullptr);
  EXPECT_EQ(missing.mW, 0);
  EXPECT_EQ(missing.mH, 0);
  EXPECT_EQ(s_bitmapCache.Size(), entries);
  gui.RegisterImage("img/missing.png", 3, 3, 0xFFFFFFFFu);
  EXPECT_NE(gui.LoadIBitmap(9002, "img/missing.png").mData, nullptr);
  EXPECT_EQ(gui.osLoads, 2);
}

TEST(EditorImagesTest, ACacheHoldsABitmapOnceHoweverOftenItIsAdded)
{
  BitmapStorage storage;
  PIX_MemBitmap* bitmap = new PIX_MemBitmap(2, 2);
  EXPECT_TRUE(storage.Add(bitmap, 5));
  EXPECT_TRUE(storage.Add(bitmap, -1));
  EXPECT_EQ(storage.Size(), 1);
  EXPECT_EQ(storage.Find(5), bitmap);
  EXPECT_EQ(storage.Find(-1), nullptr);
  storage.Remove(bitmap);  // deletes it
  EXPECT_EQ(storage.Size(), 0);
  storage.Remove(bitmap);  // no longer held: nothing happens
  EXPECT_FALSE(storage.Add(nullptr));
  storage.Add(new PIX_MemBitmap(1, 1), 6);  // freed with the storage
}

// The background from a real PNG file, decoded by libpng.
TEST(EditorImagesTest, ABackgroundFromAPNGFileDrawsItsPixels)
{
  char folder[] = "/tmp/quarry_editor_test_XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const TestImage image = MakeTestImage(PNG_COLOR_TYPE_RGB, 8, 40, 30);
  const std::string path = std::string(folder) + "/bg.png";
  ASSERT_TRUE(WriteFile(path, WritePNG(image)));

  TestPlug plug(0, "2-2", 0);
  HeadlessGraphics* gui = new HeadlessGraphics(&plug, 40, 30);
  gui->imageFolder = folder;
  gui->AttachBackground(9003, "resources/img/bg.png");
  plug.AttachGraphics(gui);
  unlink(path.c_str());
  rmdir(folder);
  ASSERT_EQ(gui->NControls(), 1);
  EXPECT_EQ(*gui->GetControl(0)->GetRECT(), IRECT(0, 0, 40, 30));
  EXPECT_EQ(gui->GetControl(0)->ParamIdx(), -1);
  EXPECT_EQ(gui->GetControl(0)->GetBlend()->mMethod, IChannelBlend::kBlendClobber);

  gui->OpenWindow(nullptr);
  ASSERT_TRUE(gui->TimerStep());
  for (int y = 0; y < 30; y += 7)
    for (int x = 0; x < 40; x += 3)
      ASSERT_EQ(ColourAt(gui, x, y), ExpectedPixel(image, x, y) & 0xFFFFFFu) << x << "," << y;
}

// A 31-frame strip of 6-pixel frames; frame i is filled with 0x100000 + i.
class FrameStripTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    plug.GetParam(0)->InitDouble("Position", 0.5, 0.0, 1.0, 0.01);
    gui = new HeadlessGraphics(&plug, 40, 20);
    gui->RegisterImage("img/strip.png", 8, 31 * 6, 0xFF100000u, 31);
    // A bitmap background: blits are clipped to the area being refreshed.
    gui->RegisterImage("img/black.png", 40, 20, 0xFF000000u);
    gui->AttachBackground(9005, "img/black.png");
    IBitmap strip = gui->LoadIBitmap(9004, "img/strip.png", 31);
    knob = new IBitmapControl(&plug, 10, 5, 0, &strip);
    gui->AttachControl(knob);
    plug.AttachGraphics(gui);
    gui->OpenWindow(nullptr);
  }
  TestPlug plug{1, "2-2", 0};
  HeadlessGraphics* gui = nullptr;
  IBitmapControl* knob = nullptr;
};

TEST_F(FrameStripTest, TheValueChoosesTheFrame)
{
  EXPECT_EQ(*knob->GetRECT(), IRECT(10, 5, 18, 11));
  ASSERT_TRUE(gui->TimerStep());
  EXPECT_EQ(knob->FrameForValue(), 16);
  EXPECT_EQ(ColourAt(gui, 10, 5), 0x10000Fu);
  EXPECT_EQ(ColourAt(gui, 17, 10), 0x10000Fu);
  EXPECT_EQ(ColourAt(gui, 18, 10), 0u);  // outside the control: the background

  gui->PostParameterFromPlug(0, 1.0, true);
  ASSERT_TRUE(gui->TimerStep());
  EXPECT_EQ(knob->FrameForValue(), 31);
  EXPECT_EQ(ColourAt(gui, 12, 8), 0x10001Eu);
  gui->PostParameterFromPlug(0, 0.0, true);
  ASSERT_TRUE(gui->TimerStep());
  EXPECT_EQ(ColourAt(gui, 12, 8), 0x100000u);
}

TEST_F(FrameStripTest, ARefreshOfHalfTheControlRepaintsOnlyThatHalf)
{
  ASSERT_TRUE(gui->TimerStep());
  knob->SetValueFromPlug(1.0);
  IRECT leftHalf(10, 5, 14, 11);
  EXPECT_TRUE(gui->Draw(&leftHalf));
  EXPECT_EQ(ColourAt(gui, 10, 5), 0x10001Eu);
  EXPECT_EQ(ColourAt(gui, 13, 10), 0x10001Eu);
  EXPECT_EQ(ColourAt(gui, 14, 5), 0x10000Fu);  // the right half keeps the old frame
  EXPECT_EQ(ColourAt(gui, 17, 10), 0x10000Fu);
}

}  // namespace
