// The switch family: stepping switches, frame slices, contacts, overlays,
// invisible switches and radio buttons, with the frames they draw.

#include "framework/editor/controls/ISwitchControls.h"
#include "tests/framework/editor/controls/controls_fixture.h"

namespace {

using SwitchControlsTest = ControlsTest;

const PIX_pixel kSwitchPixel = 0xFF40A000u;

TEST_F(SwitchControlsTest, ABypassSwitchTogglesTheParameterAndItsFrame)
{
  IBitmap strip = Strip(7201, 30, 20, 2, kSwitchPixel);
  ISwitchControl* s = Attach(new ISwitchControl(&plug, 11, 25, kBypass, &strip));
  EXPECT_EQ(*s->GetRECT(), IRECT(11, 25, 41, 45));
  DrawAll();
  EXPECT_EQ(ColourAt(11, 25), Colour(kSwitchPixel));  // value 0: frame 1
  EXPECT_EQ(ColourAt(40, 44), Colour(kSwitchPixel));

  s->OnMouseDown(20, 30, &left);
  EXPECT_DOUBLE_EQ(s->GetValue(), 1.0);
  EXPECT_EQ(plug.GetParam(kBypass)->Int(), 1);
  DrawAll();
  EXPECT_EQ(ColourAt(11, 25), Colour(kSwitchPixel + 1));

  s->OnMouseDown(20, 30, &right);  // any button; switches never prompt
  EXPECT_DOUBLE_EQ(s->GetValue(), 0.0);
  EXPECT_EQ(gui->calls.size(), 0u);
  // A double click is a press.
  s->OnMouseDblClick(20, 30, &left);
  EXPECT_EQ(Sent(kBypass), (std::vector<double>{1.0, 0.0, 1.0}));
}

TEST_F(SwitchControlsTest, SwitchesStepThroughTheirFramesAndWrap)
{
  IBitmap three = Strip(7202, 10, 10, 3, kSwitchPixel);
  ISwitchControl* s = Attach(new ISwitchControl(&plug, 0, 0, -1, &three));
  std::vector<double> seen;
  for (int i = 0; i < 4; ++i) {
    s->OnMouseDown(1, 1, &left);
    seen.push_back(s->GetValue());
  }
  EXPECT_EQ(seen, (std::vector<double>{0.5, 1.0, 0.0, 0.5}));

  // Thirty steps of a 31-frame switch reach its last frame before wrapping.
  IBitmap many = Strip(7203, 4, 4, 31, kSwitchPixel);
  ISwitchControl* fine = Attach(new ISwitchControl(&plug, 20, 0, -1, &many));
  for (int i = 0; i < 30; ++i) fine->OnMouseDown(21, 1, &left);
  EXPECT_EQ(fine->FrameForValue(), 31);
  fine->OnMouseDown(21, 1, &left);
  EXPECT_DOUBLE_EQ(fine->GetValue(), 0.0);

  // One frame: every press toggles between 0 and 1.
  IBitmap one = Strip(7204, 4, 4, 1, kSwitchPixel);
  ISwitchControl* single = Attach(new ISwitchControl(&plug, 40, 0, -1, &one));
  single->OnMouseDown(41, 1, &left);
  EXPECT_DOUBLE_EQ(single->GetValue(), 1.0);
  single->OnMouseDown(41, 1, &left);
  EXPECT_DOUBLE_EQ(single->GetValue(), 0.0);

  // Without a bitmap a switch has no size and still works.
  ISwitchControl* bare = Attach(new ISwitchControl(&plug, 60, 0, -1, nullptr));
  EXPECT_EQ(*bare->GetRECT(), IRECT(60, 0, 60, 0));
  bare->OnMouseDown(60, 0, &left);
  DrawAll();
}

TEST_F(SwitchControlsTest, FrameSlicesSelectTheirPositionAndMissesStillSend)
{
  // A three-frame strip of 30 x 10 frames, sliced across.
  IBitmap strip = Strip(7205, 30, 10, 3, kSwitchPixel);
  ISwitchFramesControl* across = Attach(new ISwitchFramesControl(&plug, 100, 0, kGain, &strip, true));
  EXPECT_FALSE(across->IsPromptDisabled());
  across->OnMouseDown(115, 5, &left);
  EXPECT_DOUBLE_EQ(across->GetValue(), 0.5);
  across->OnMouseDown(129, 9, &left);
  EXPECT_DOUBLE_EQ(across->GetValue(), 1.0);
  across->OnMouseDown(100, 0, &left);
  EXPECT_DOUBLE_EQ(across->GetValue(), 0.0);

  // Sliced down the 10 rows: 3.33 rows each, cut to 0-3, 3-6, 6-9, so the
  // last row hits nothing: the value stays and is still sent.
  ISwitchFramesControl* down = Attach(new ISwitchFramesControl(&plug, 100, 20, kGain, &strip, false));
  down->OnMouseDown(110, 25, &left);
  EXPECT_DOUBLE_EQ(down->GetValue(), 0.5);
  DrawClean();
  down->OnMouseDown(110, 29, &left);
  EXPECT_DOUBLE_EQ(down->GetValue(), 0.5);
  EXPECT_TRUE(down->IsDirty());
  EXPECT_EQ(Sent(kGain), (std::vector<double>{0.5, 1.0, 0.0, 0.5, 0.5}));

  // A single slice selects 0.
  IBitmap one = Strip(7206, 10, 10, 1, kSwitchPixel);
  ISwitchFramesControl* single = Attach(new ISwitchFramesControl(&plug, 0, 100, -1, &one));
  single->SetValue(0.7);
  single->OnMouseDown(5, 105, &left);
  EXPECT_DOUBLE_EQ(single->GetValue(), 0.0);
}

TEST_F(SwitchControlsTest, ContactsInvisibleSwitchesAndOverlays)
{
  IBitmap strip = Strip(7207, 10, 10, 2, kSwitchPixel);
  IContactControl* contact = Attach(new IContactControl(&plug, 0, 0, kBypass, &strip));
  contact->OnMouseDown(1, 1, &left);
  EXPECT_DOUBLE_EQ(contact->GetValue(), 1.0);
  contact->OnMouseUp(1, 1, &left);
  EXPECT_DOUBLE_EQ(contact->GetValue(), 0.0);
  EXPECT_EQ(Sent(kBypass), (std::vector<double>{1.0, 0.0}));

  IInvisibleSwitchControl* invisible =
      Attach(new IInvisibleSwitchControl(&plug, IRECT(20, 0, 40, 20), kGain));
  EXPECT_EQ(invisible->GetBlend()->mMethod, IChannelBlend::kBlendClobber);
  EXPECT_DOUBLE_EQ(invisible->GetValue(), 0.7);
  invisible->OnMouseDown(25, 5, &left);
  EXPECT_DOUBLE_EQ(invisible->GetValue(), 0.0);
  invisible->OnMouseDown(25, 5, &left);
  EXPECT_DOUBLE_EQ(invisible->GetValue(), 1.0);
  DrawAll();
  EXPECT_EQ(ColourAt(25, 5), Colour(kBackground));

  // Off, an overlay is hit in its target area and draws nothing; on, it is
  // hit over its bitmap and draws it.
  IBitmap picture = Strip(7208, 40, 40, 1, 0xFF0000C0u);
  IBitmapOverlayControl* overlay =
      Attach(new IBitmapOverlayControl(&plug, 100, 100, &picture, IRECT(0, 100, 10, 110)));
  DrawAll();
  EXPECT_EQ(ColourAt(120, 120), Colour(kBackground));
  EXPECT_TRUE(overlay->IsHit(5, 105));
  EXPECT_FALSE(overlay->IsHit(120, 120));
  overlay->OnMouseDown(5, 105, &left);
  DrawAll();
  EXPECT_EQ(ColourAt(120, 120), 0x0000C0u);
  EXPECT_FALSE(overlay->IsHit(5, 105));
  EXPECT_TRUE(overlay->IsHit(120, 120));
}

TEST_F(SwitchControlsTest, RadioButtonsAreSpreadOverTheirRectangle)
{
  IBitmap strip = Strip(7209, 20, 20, 2, kSwitchPixel);
  // Three vertical buttons in 100 rows: 20 rows each, 20 between.
  IRadioButtonsControl* down =
      Attach(new IRadioButtonsControl(&plug, IRECT(0, 0, 20, 100), kMode, 3, &strip));
  IRadioButtonsControl* up =
      Attach(new IRadioButtonsControl(&plug, IRECT(30, 0, 50, 100), kMode, 3, &strip, kVertical, true));
  down->SetValue(0.5);
  up->SetValue(0.5);
  DrawAll();
  EXPECT_EQ(ColourAt(5, 10), Colour(kSwitchPixel));
  EXPECT_EQ(ColourAt(5, 30), Colour(kBackground));
  EXPECT_EQ(ColourAt(5, 50), Colour(kSwitchPixel + 1));  // the active one
  EXPECT_EQ(ColourAt(5, 90), Colour(kSwitchPixel));

  // Reversed, the first button sits at the bottom.
  up->OnMouseDown(35, 90, &left);
  EXPECT_DOUBLE_EQ(up->GetValue(), 0.0);
  up->OnMouseDown(35, 5, &left);
  EXPECT_DOUBLE_EQ(up->GetValue(), 1.0);
  down->OnMouseDown(5, 99, &left);
  EXPECT_DOUBLE_EQ(down->GetValue(), 1.0);

  // Four across 100 columns: lefts 0, 30, 60, 90 (spacing cut to 20);
  // reversed from the right edge at 200: 190, 160, 130, 100.
  IBitmap narrow = Strip(7210, 10, 10, 2, kSwitchPixel);
  IRadioButtonsControl* across =
      Attach(new IRadioButtonsControl(&plug, IRECT(0, 120, 100, 130), kMode, 4, &narrow, kHorizontal));
  IRadioButtonsControl* back = Attach(
      new IRadioButtonsControl(&plug, IRECT(100, 120, 200, 130), kMode, 4, &narrow, kHorizontal, true));
  const int lefts[] = {0, 30, 60, 90};
  for (int j = 0; j < 4; ++j) {
    across->OnMouseDown(lefts[j] + 9, 125, &left);
    EXPECT_DOUBLE_EQ(across->GetValue(), j / 3.0) << j;
    back->OnMouseDown(190 - lefts[j], 125, &left);
    EXPECT_DOUBLE_EQ(back->GetValue(), j / 3.0) << j;
  }
}

TEST_F(SwitchControlsTest, RadioPressesThatMissStillSendAndOddCountsAreSafe)
{
  IBitmap strip = Strip(7211, 20, 20, 2, kSwitchPixel);
  IRadioButtonsControl* radio =
      Attach(new IRadioButtonsControl(&plug, IRECT(0, 0, 20, 100), kMode, 3, &strip));
  radio->OnMouseDown(5, 45, &left);
  DrawClean();
  plug.informed.clear();
  radio->OnMouseDown(5, 30, &left);  // between two buttons
  EXPECT_DOUBLE_EQ(radio->GetValue(), 0.5);
  EXPECT_TRUE(radio->IsDirty());
  EXPECT_EQ(Sent(kMode), (std::vector<double>{0.5}));

  IRadioButtonsControl* single = Attach(new IRadioButtonsControl(&plug, IRECT(50, 0, 70, 20), -1, 1, &strip));
  single->SetValue(0.8);
  single->OnMouseDown(55, 5, &left);
  EXPECT_DOUBLE_EQ(single->GetValue(), 0.0);
  IRadioButtonsControl* none = Attach(new IRadioButtonsControl(&plug, IRECT(80, 0, 100, 20), -1, 0, nullptr));
  none->OnMouseDown(85, 5, &left);
  EXPECT_DOUBLE_EQ(none->GetValue(), 0.0);
  DrawAll();
  EXPECT_EQ(ColourAt(55, 5), Colour(kSwitchPixel + 1));
}

}  // namespace
