// The value and dirty protocol every control shares: values from the
// plug-in and from the user, clamping, the redraw pass, auxiliary
// parameters, the display controls, hiding and greying.

#include "framework/editor/controls/IBitmapControl.h"
#include "framework/editor/controls/IFaderControl.h"
#include "framework/editor/controls/ISwitchControls.h"
#include "framework/editor/controls/ITextControls.h"
#include "pix/pix_blendmode.h"
#include "pix/pix_blit.h"
#include "pix/pix_membitmap.h"
#include "tests/framework/editor/controls/controls_fixture.h"

namespace {

// A bound control that draws nothing and counts its draws.
class PlainControl : public IControl {
public:
  PlainControl(IEffectBase* plug, int paramIdx) : IControl(plug, IRECT(10, 10, 30, 30), paramIdx) {}
  bool Draw(IGraphics*) override
  {
    ++draws;
    return true;
  }
  int draws = 0;
};

using ControlProtocolTest = ControlsTest;

TEST_F(ControlProtocolTest, TheFirstPlugValueIsTheDefaultAndEqualValuesMarkNothing)
{
  PlainControl* c = Attach(new PlainControl(&plug, kPos));
  EXPECT_DOUBLE_EQ(c->GetDefaultValue(), 0.25);
  EXPECT_DOUBLE_EQ(c->GetValue(), 0.25);
  DrawClean();
  EXPECT_FALSE(c->IsDirty());

  c->SetValueFromPlug(0.25);
  EXPECT_FALSE(c->IsDirty());
  EXPECT_TRUE(plug.informed.empty());

  // A change is drawn in the pass after it and in the next one, and never
  // goes back to the plug-in.
  c->SetValueFromPlug(0.5);
  EXPECT_TRUE(c->IsDirty());
  DrawAll();
  EXPECT_TRUE(c->IsDirty());
  DrawAll();
  EXPECT_FALSE(c->IsDirty());
  EXPECT_EQ(c->draws, 4);
  EXPECT_DOUBLE_EQ(c->GetDefaultValue(), 0.25);
  EXPECT_TRUE(plug.informed.empty());
}

TEST_F(ControlProtocolTest, UserValuesAreClampedAndSentOnce)
{
  PlainControl* c = Attach(new PlainControl(&plug, kGain));
  c->Clamp(0.2, 0.8);
  c->SetValueFromUserInput(1.0);
  EXPECT_DOUBLE_EQ(c->GetValue(), 0.8);
  c->SetValueFromUserInput(0.0);
  EXPECT_DOUBLE_EQ(c->GetValue(), 0.2);
  c->SetValueFromUserInput(0.2);  // equal: nothing sent
  EXPECT_EQ(Sent(kGain), (std::vector<double>{0.8, 0.2}));
  EXPECT_DOUBLE_EQ(plug.GetParam(kGain)->Value(), 0.2);
  EXPECT_EQ(plug.paramChanges, (std::vector<int>{kGain, kGain}));

  // The editor clamps every control bound to the parameter.
  PlainControl* twin = Attach(new PlainControl(&plug, kGain));
  gui->ClampControl(kGain, 0.0, 0.5, true);
  twin->SetValueFromUserInput(0.9);
  EXPECT_DOUBLE_EQ(twin->GetValue(), 0.5);
}

TEST_F(ControlProtocolTest, AnUnboundControlSendsNothing)
{
  PlainControl* c = Attach(new PlainControl(&plug, -1));
  EXPECT_EQ(c->GetParam(), nullptr);
  c->SetValueFromUserInput(0.6);
  EXPECT_DOUBLE_EQ(c->GetValue(), 0.6);
  EXPECT_TRUE(c->IsDirty());
  PlainControl* stranger = Attach(new PlainControl(&plug, kNParams));
  EXPECT_EQ(stranger->GetParam(), nullptr);
  stranger->SetValueFromUserInput(0.6);
  EXPECT_TRUE(plug.informed.empty());
}

TEST_F(ControlProtocolTest, AuxiliaryParametersFollowThePlugAndGoBackInOrder)
{
  PlainControl* c = Attach(new PlainControl(&plug, kGain));
  c->AddAuxParam(kPos);
  c->AddAuxParam(kLevel);
  EXPECT_EQ(c->AuxParamIdx(kLevel), 1);
  EXPECT_EQ(c->AuxParamIdx(kMode), -1);
  EXPECT_EQ(c->GetAuxParam(2), nullptr);
  EXPECT_EQ(c->GetAuxParam(-1), nullptr);
  DrawClean();

  gui->SetParameterFromPlug(kPos, 0.4, true);
  EXPECT_DOUBLE_EQ(c->GetAuxParam(0)->mValue, 0.4);
  EXPECT_DOUBLE_EQ(c->GetValue(), 0.7);
  EXPECT_TRUE(c->IsDirty());
  DrawClean();
  c->SetAuxParamValueFromPlug(0, 0.4);
  EXPECT_FALSE(c->IsDirty());
  c->SetAuxParamValueFromPlug(5, 0.1);  // outside the list: nothing

  c->GetAuxParam(1)->mValue = 1.0;
  c->SetAllAuxParamsFromGUI();
  ASSERT_EQ(plug.informed.size(), 2u);
  EXPECT_EQ(plug.informed[0], std::make_pair(int(kPos), 0.4));
  EXPECT_EQ(plug.informed[1], std::make_pair(int(kLevel), 1.0));
}

TEST_F(ControlProtocolTest, DisplayControlsShowTheSentValueWithItsLabelAndTheName)
{
  IText text;
  ITextControl* value = Attach(new ITextControl(&plug, IRECT(0, 40, 60, 60), &text));
  ITextControl* name = Attach(new ITextControl(&plug, IRECT(0, 60, 60, 80), &text, "Level"));
  PlainControl* c = Attach(new PlainControl(&plug, kLevel));
  c->SetValDisplayControl(value);
  c->SetNameDisplayControl(name);
  DrawClean();

  c->SetValueFromUserInput(0.5);
  EXPECT_STREQ(value->GetTextForPlug(), "-24.0 dB");
  EXPECT_TRUE(value->IsDirty());
  EXPECT_FALSE(name->IsDirty());  // the name was right already

  // Display texts replace the number; the label only follows numbers.
  PlainControl* mode = Attach(new PlainControl(&plug, kMode));
  mode->SetValDisplayControl(value);
  mode->SetNameDisplayControl(name);
  mode->SetValueFromUserInput(1.0);
  EXPECT_STREQ(value->GetTextForPlug(), "fold ");
  EXPECT_STREQ(name->GetTextForPlug(), "Mode");
}

TEST_F(ControlProtocolTest, PromptsOpenATextBoxCentredOnTheControlOrAMenuOverIt)
{
  PlainControl* level = Attach(new PlainControl(&plug, kLevel));
  level->OnMouseDown(15, 15, &right);  // prompting is off until enabled
  EXPECT_TRUE(gui->calls.empty());
  level->DisablePrompt(false);
  level->OnMouseDown(15, 15, &left);
  EXPECT_TRUE(gui->calls.empty());
  DrawClean();
  level->OnMouseDown(15, 15, &right);
  ASSERT_TRUE(gui->textEntry.open);
  EXPECT_EQ(gui->textEntry.rect, IRECT(0, 12, 40, 28));  // 40 x 16 round the middle (20, 20)
  EXPECT_EQ(gui->textEntry.text, "12.0");
  DrawAll();
  EXPECT_TRUE(level->IsDirty());  // drawn once more after the field opened
  gui->CommitTextEntry("-24");
  EXPECT_DOUBLE_EQ(level->GetValue(), 0.5);
  EXPECT_EQ(Sent(kLevel), (std::vector<double>{0.5}));

  // Parameters with display texts get a menu over the whole control.
  PlainControl* mode = Attach(new PlainControl(&plug, kMode));
  mode->DisablePrompt(false);
  gui->menuChoice = 2;
  mode->OnMouseDown(15, 15, &right);
  EXPECT_EQ(gui->shownMenu, (std::vector<std::string>{"soft", "hard", "fold"}));
  EXPECT_EQ(gui->shownMenuRect, *mode->GetRECT());
  EXPECT_DOUBLE_EQ(mode->GetValue(), 1.0);
}

TEST_F(ControlProtocolTest, TheRightButtonPromptsOnRadiosAndFadersAndPopUpSwitchesAlwaysPrompt)
{
  gui->menuChoice = 1;
  IBitmap strip = Strip(7102, 10, 10, 2, 0xFF000000u);
  IRadioButtonsControl* radio =
      Attach(new IRadioButtonsControl(&plug, IRECT(0, 0, 10, 30), kMode, 3, &strip));
  radio->DisablePrompt(false);
  radio->OnMouseDown(5, 25, &right);
  EXPECT_DOUBLE_EQ(radio->GetValue(), 0.5);  // the menu's choice, not the button under the pointer

  IFaderControl* fader = Attach(new IFaderControl(&plug, 20, 0, 50, kLevel, &strip));
  fader->DisablePrompt(false);
  fader->OnMouseDown(25, 40, &right);
  EXPECT_TRUE(gui->textEntry.open);
  EXPECT_DOUBLE_EQ(fader->GetValue(), 1.0);  // unmoved until the text comes back

  // A pop-up switch prompts on every press, then sends its value.
  ISwitchPopUpControl* popUp = Attach(new ISwitchPopUpControl(&plug, 40, 0, kMode, &strip));
  plug.informed.clear();
  gui->menuChoice = 2;
  popUp->OnMouseDown(45, 5, &left);
  EXPECT_DOUBLE_EQ(popUp->GetValue(), 1.0);
  EXPECT_EQ(Sent(kMode), (std::vector<double>{1.0, 1.0}));
}

// Every test image here is one solid colour, so a blit at a weight is a
// single pixel worked out by the rasteriser on a 1 x 1 bitmap.
uint32_t BlendedColour(PIX_pixel under, PIX_pixel over, float weight)
{
  PIX_MemBitmap dst(1, 1), src(1, 1);
  PIX_FillRect(&dst, 0, 0, 1, 1, under);
  PIX_FillRect(&src, 0, 0, 1, 1, over);
  PIX_Blit(&dst, &src, 0, 0, 0, 0, 1, 1, weight, PIX_USE_SOURCE_ALPHA);
  return dst.getBits()[0] & 0xFFFFFFu;
}

TEST_F(ControlProtocolTest, GreyedControlsDrawAtAQuarterAndHiddenOnesNotAtAll)
{
  IBitmap strip = Strip(7101, 20, 20, 1, 0xFFE0C0A0u);
  IBitmapControl* c = Attach(new IBitmapControl(&plug, 50, 50, -1, &strip));
  DrawClean();
  EXPECT_EQ(ColourAt(55, 55), 0xE0C0A0u);

  c->GrayOut(true);
  EXPECT_FLOAT_EQ(c->GetBlend()->mWeight, 0.25f);
  EXPECT_TRUE(c->IsDirty());
  DrawAll();
  const uint32_t greyed = BlendedColour(kBackground, 0xFFE0C0A0u, 0.25f);
  EXPECT_NE(greyed, 0xE0C0A0u);
  EXPECT_EQ(ColourAt(55, 55), greyed);
  EXPECT_EQ(ColourAt(69, 69), greyed);
  EXPECT_EQ(ColourAt(70, 70), Colour(kBackground));

  c->GrayOut(false);
  DrawAll();
  EXPECT_EQ(ColourAt(55, 55), 0xE0C0A0u);

  // Hiding is drawn in two passes too; the background shows through.
  DrawClean();
  c->Hide(true);
  EXPECT_TRUE(c->IsDirty());
  DrawAll();
  EXPECT_EQ(ColourAt(55, 55), Colour(kBackground));
  EXPECT_TRUE(c->IsDirty());
  DrawAll();
  EXPECT_FALSE(c->IsDirty());
}

}  // namespace
