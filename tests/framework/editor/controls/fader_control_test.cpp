// Faders: the track and handle rectangles, snapping the handle to the
// pointer, handle-only hits, the wheel, and tracks with no room to travel.

#include "framework/editor/controls/IFaderControl.h"
#include "tests/framework/editor/controls/controls_fixture.h"

namespace {

using FaderControlTest = ControlsTest;

const PIX_pixel kHandlePixel = 0xFFA0A0F0u;

TEST_F(FaderControlTest, AVerticalFaderSnapsItsHandleMiddleToThePointer)
{
  // A 20 x 10 handle on a 100-pixel track: 90 pixels of travel.
  IBitmap handle = Strip(7401, 20, 10, 1, kHandlePixel);
  IFaderControl* fader = Attach(new IFaderControl(&plug, 10, 10, 100, kGain, &handle));
  EXPECT_EQ(*fader->GetRECT(), IRECT(10, 10, 30, 110));
  EXPECT_EQ(fader->GetHandleHeadroom(), 90);
  EXPECT_EQ(fader->GetHandleRECT(1.0), IRECT(10, 10, 30, 20));
  EXPECT_EQ(fader->GetHandleRECT(0.0), IRECT(10, 100, 30, 110));
  EXPECT_EQ(fader->GetHandleRECT(0.5), IRECT(10, 55, 30, 65));

  fader->OnMouseDown(15, 60, &left);
  EXPECT_DOUBLE_EQ(fader->GetValue(), 0.5);
  fader->OnMouseDrag(15, 15, 0, -45, &left);
  EXPECT_DOUBLE_EQ(fader->GetValue(), 1.0);
  fader->OnMouseDrag(15, 0, 0, -15, &left);  // beyond the track: held at the end
  EXPECT_DOUBLE_EQ(fader->GetValue(), 1.0);
  fader->OnMouseDrag(15, 105, 0, 105, &left);
  EXPECT_DOUBLE_EQ(fader->GetValue(), 0.0);
  EXPECT_EQ(Sent(kGain), (std::vector<double>{0.5, 1.0, 1.0, 0.0}));

  // The handle is drawn at the value; the rest of the track is background.
  fader->SetValue(0.5);
  DrawAll();
  EXPECT_EQ(ColourAt(10, 55), Colour(kHandlePixel));
  EXPECT_EQ(ColourAt(29, 64), Colour(kHandlePixel));
  EXPECT_EQ(ColourAt(15, 54), Colour(kBackground));
  EXPECT_EQ(ColourAt(15, 65), Colour(kBackground));
}

TEST_F(FaderControlTest, AHorizontalFaderAndHandleOnlyHits)
{
  IBitmap handle = Strip(7402, 10, 20, 1, kHandlePixel);
  IFaderControl* fader = Attach(new IFaderControl(&plug, 0, 0, 100, -1, &handle, kHorizontal, true));
  EXPECT_EQ(*fader->GetRECT(), IRECT(0, 0, 100, 20));
  fader->OnMouseDown(50, 5, &left);
  EXPECT_DOUBLE_EQ(fader->GetValue(), 0.5);
  EXPECT_EQ(fader->GetHandleRECT(), IRECT(45, 0, 55, 20));
  EXPECT_TRUE(fader->IsHit(45, 0));
  EXPECT_FALSE(fader->IsHit(44, 10));
  EXPECT_FALSE(fader->IsHit(90, 10));

  IFaderControl* anywhere = Attach(new IFaderControl(&plug, 0, 30, 100, -1, &handle, kHorizontal, false));
  EXPECT_TRUE(anywhere->IsHit(90, 40));
  EXPECT_FALSE(anywhere->IsHit(100, 40));

  // The wheel moves the value as a knob's does.
  fader->OnMouseWheel(50, 5, &shift, 3);
  EXPECT_NEAR(fader->GetValue(), 0.503, 1e-12);
  fader->OnMouseWheel(50, 5, &left, 10);
  EXPECT_NEAR(fader->GetValue(), 0.603, 1e-12);
}

TEST_F(FaderControlTest, ATrackWithNoRoomKeepsTheValue)
{
  IBitmap handle = Strip(7403, 20, 10, 1, kHandlePixel);
  IFaderControl* tight = Attach(new IFaderControl(&plug, 10, 10, 10, kGain, &handle));
  EXPECT_EQ(tight->GetHandleHeadroom(), 0);
  tight->OnMouseDown(15, 12, &left);
  tight->OnMouseDrag(15, 19, 0, 7, &left);
  EXPECT_DOUBLE_EQ(tight->GetValue(), 0.7);
  EXPECT_EQ(tight->GetHandleRECT(), IRECT(10, 10, 30, 20));

  IFaderControl* cramped = Attach(new IFaderControl(&plug, 50, 10, 4, kGain, &handle));
  cramped->OnMouseDown(55, 12, &left);
  EXPECT_DOUBLE_EQ(cramped->GetValue(), 0.7);

  IFaderControl* bare = Attach(new IFaderControl(&plug, 80, 10, 50, -1, nullptr));
  EXPECT_EQ(*bare->GetRECT(), IRECT(80, 10, 80, 60));
  bare->OnMouseDown(80, 35, &left);
  EXPECT_DOUBLE_EQ(bare->GetValue(), 0.5);
  DrawAll();
}

}  // namespace
