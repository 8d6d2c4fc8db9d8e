// The knob family: drags with gearing, wheel steps, the default value,
// clamping at the ends, and how each knob draws its value.

#include <cmath>
#include <functional>

#include "framework/editor/controls/IKnobControls.h"
#include "tests/framework/editor/controls/controls_fixture.h"

namespace {

const PIX_pixel kKnobPixel = 0xFF008000u;

class KnobControlsTest : public ControlsTest {
protected:
  // A 31-frame strip of 60 x 60 frames, as the effect's knobs use.
  IBitmap KnobStrip() { return Strip(7301, 60, 60, 31, kKnobPixel); }

  // Whether the editor's pixels equal those of a second editor with the
  // same background on which draw made its call directly, and differ from
  // the bare background somewhere (so the comparison means something).
  ::testing::AssertionResult DrawsAs(const std::function<void(IGraphics*)>& draw)
  {
    DrawAll();
    HeadlessGraphics reference(&plug, kW, kH);
    reference.AttachPanelBackground(&kBackgroundColor);
    IRECT all(0, 0, kW, kH);
    reference.Draw(&all);
    draw(&reference);
    int differs = 0, drawn = 0;
    const int span = gui->GetDrawBitmap()->getRowSpan(), refSpan = reference.GetDrawBitmap()->getRowSpan();
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        const uint32_t got = gui->GetBits()[y * span + x] & 0xFFFFFFu;
        const uint32_t want = reference.GetBits()[y * refSpan + x] & 0xFFFFFFu;
        differs += got != want;
        drawn += want != Colour(kBackground);
      }
    if (differs) return ::testing::AssertionFailure() << differs << " pixels differ";
    if (!drawn) return ::testing::AssertionFailure() << "nothing was drawn";
    return ::testing::AssertionSuccess();
  }
};

TEST_F(KnobControlsTest, GearingSetsTheDragNeededForTheWholeRange)
{
  IBitmap strip = KnobStrip();
  IKnobMultiControl* knob = Attach(new IKnobMultiControl(&plug, 0, 0, -1, &strip, kVertical, 4.0));
  ASSERT_EQ(*knob->GetRECT(), IRECT(0, 0, 60, 60));
  // Upwards raises the value: 240 pixels for the whole range at gearing 4.
  knob->OnMouseDrag(0, 0, 0, -120, &left);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.5);
  knob->OnMouseDrag(0, 0, 5, -120, &left);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 1.0);
  knob->OnMouseDrag(0, 0, 0, 60, &left);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.75);

  // Pixel by pixel the steps add up to the same.
  knob->SetValue(0.0);
  for (int i = 0; i < 240; ++i) knob->OnMouseDrag(0, 0, 0, -1, &left);
  EXPECT_NEAR(knob->GetValue(), 1.0, 1e-9);

  // Shift or control: ten times finer, 2400 pixels.
  knob->SetValue(0.0);
  knob->OnMouseDrag(0, 0, 0, -1200, &shift);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.5);
  IMouseMod control(true, false, false, true);
  knob->OnMouseDrag(0, 0, 0, -1200, &control);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 1.0);

  // A horizontal knob follows dX over its width.
  IKnobMultiControl* across = Attach(new IKnobMultiControl(&plug, 100, 0, -1, &strip, kHorizontal, 2.0));
  across->OnMouseDrag(0, 0, 60, -500, &left);
  EXPECT_DOUBLE_EQ(across->GetValue(), 0.5);
}

TEST_F(KnobControlsTest, AKnobDraggedPastItsEndStaysThereAndSendsTheEnd)
{
  IBitmap strip = KnobStrip();
  IKnobMultiControl* knob = Attach(new IKnobMultiControl(&plug, 0, 0, kGain, &strip));
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.7);
  knob->OnMouseDrag(0, 0, 0, -240, &left);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 1.0);
  knob->OnMouseDrag(0, 0, 0, -10, &left);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 1.0);
  knob->OnMouseDrag(0, 0, 0, 1000, &left);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.0);
  EXPECT_EQ(Sent(kGain), (std::vector<double>{1.0, 1.0, 0.0}));
  EXPECT_DOUBLE_EQ(plug.GetParam(kGain)->Value(), 0.0);
}

TEST_F(KnobControlsTest, WheelStepsAndTheDefaultValue)
{
  IBitmap strip = KnobStrip();
  IKnobMultiControl* knob = Attach(new IKnobMultiControl(&plug, 0, 0, kPos, &strip));
  knob->SetValue(0.5);
  knob->OnMouseWheel(0, 0, &shift, 3);
  EXPECT_NEAR(knob->GetValue(), 0.503, 1e-12);
  knob->OnMouseWheel(0, 0, &left, -2);
  EXPECT_NEAR(knob->GetValue(), 0.483, 1e-12);

  // A double click returns to the first value the plug-in pushed.
  knob->OnMouseDblClick(0, 0, &left);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.25);
  EXPECT_DOUBLE_EQ(Sent(kPos).back(), 0.25);
  EXPECT_DOUBLE_EQ(plug.GetParam(kPos)->Value(), 0.25);

  // Without a default a double click does nothing.
  IKnobMultiControl* loose = Attach(new IKnobMultiControl(&plug, 100, 0, -1, &strip));
  loose->SetValue(0.6);
  loose->OnMouseDblClick(100, 0, &left);
  EXPECT_DOUBLE_EQ(loose->GetValue(), 0.6);
}

TEST_F(KnobControlsTest, KnobsWithoutSizeOrGearingDoNotMove)
{
  IKnobMultiControl* flat = Attach(new IKnobMultiControl(&plug, 10, 10, kGain, nullptr));
  flat->OnMouseDrag(10, 10, 0, -5, &left);
  flat->OnMouseDrag(10, 10, 5, 0, &left);
  EXPECT_DOUBLE_EQ(flat->GetValue(), 0.7);
  IBitmap strip = KnobStrip();
  IKnobMultiControl* stuck = Attach(new IKnobMultiControl(&plug, 0, 0, -1, &strip, kVertical, 0.0));
  stuck->SetValue(0.3);
  stuck->OnMouseDrag(0, 0, 0, -5, &left);
  EXPECT_DOUBLE_EQ(stuck->GetValue(), 0.3);
  DrawAll();
}

TEST_F(KnobControlsTest, AMultiKnobShowsTheFrameOfItsValue)
{
  IBitmap strip = KnobStrip();
  IKnobMultiControl* knob = Attach(new IKnobMultiControl(&plug, 100, 50, -1, &strip));
  const struct {
    double value;
    int frame;
  } cases[] = {{0.0, 1}, {0.5, 16}, {1.0, 31}, {0.016, 1}, {0.017, 2}, {0.99, 31}};
  for (const auto& c : cases) {
    knob->SetValue(c.value);
    DrawAll();
    EXPECT_EQ(ColourAt(100, 50), Colour(kKnobPixel + c.frame - 1)) << c.value;
    EXPECT_EQ(ColourAt(159, 109), Colour(kKnobPixel + c.frame - 1)) << c.value;
    EXPECT_EQ(ColourAt(160, 109), Colour(kBackground));
  }
}

TEST_F(KnobControlsTest, ALineKnobDrawsFromTheInnerToTheOuterRadius)
{
  // Angles -1 to 1 radian: the middle value points straight up. The outer
  // radius 0 becomes half the width, 30.
  IKnobLineControl* knob =
      Attach(new IKnobLineControl(&plug, IRECT(100, 20, 160, 80), -1, &COLOR_RED, 10.0, 0.0, -1.0, 1.0));
  knob->SetValue(0.5);
  const IChannelBlend clobber(IChannelBlend::kBlendClobber);
  EXPECT_TRUE(DrawsAs([&](IGraphics* g) { g->DrawLine(&COLOR_RED, 130, 40, 130, 20, &clobber, true); }));

  // At the top of its range: 1 radian clockwise from up.
  knob->SetValue(1.0);
  const float s = static_cast<float>(std::sin(1.0)), c = static_cast<float>(std::cos(1.0));
  EXPECT_TRUE(DrawsAs([&](IGraphics* g) {
    g->DrawLine(&COLOR_RED, 130 + s * 10, 50 - c * 10, 130 + s * 30, 50 - c * 30, &clobber, true);
  }));
}

TEST_F(KnobControlsTest, RotatingKnobsTurnTheirImagesByTheValue)
{
  IBitmap picture = Strip(7302, 40, 40, 1, 0xFFC08040u);
  IKnobRotaterControl* rotater = Attach(new IKnobRotaterControl(&plug, 100, 20, -1, &picture, 0.0, 2.0, 3));
  rotater->SetValue(0.25);
  EXPECT_TRUE(DrawsAs([&](IGraphics* g) { g->DrawRotatedBitmap(&picture, 120, 40, 0.5, 3, nullptr); }));
  rotater->Hide(true);

  IBitmap base = Strip(7303, 30, 30, 1, 0xFF102030u);
  IBitmap mask = Strip(7304, 30, 30, 1, 0x80405060u);
  IBitmap top = Strip(7305, 30, 30, 1, 0x40FFFFFFu);
  IKnobRotatingMaskControl* masked =
      Attach(new IKnobRotatingMaskControl(&plug, 10, 90, -1, &base, &mask, &top, 0.0, 180.0));
  EXPECT_EQ(*masked->GetRECT(), IRECT(10, 90, 40, 120));
  masked->SetValue(0.25);
  EXPECT_TRUE(DrawsAs([&](IGraphics* g) { g->DrawRotatedMask(&base, &mask, &top, 10, 90, 45.0, nullptr); }));
}

}  // namespace
