// Controls and parameters kept in step: host values reaching every bound
// control, operations addressed by parameter, and prompting for a value by
// menu or text field.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/IParam.h"
#include "framework/editor/controls/IControl.h"
#include "tests/framework/editor/headless_graphics.h"
#include "tests/framework/test_plug.h"

namespace {

class PlainControl : public IControl {
public:
  using IControl::IControl;
  bool Draw(IGraphics*) override { return true; }
};

// Parameters of every kind a prompt treats differently.
enum { kMode = 0, kBypass, kSteps, kLevel, kCut, kNumParams };

class EditorParamsTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    IParam* mode = plug.GetParam(kMode);
    mode->InitEnum("Mode", 1, 3);
    mode->SetDisplayText(0, "Soft");
    mode->SetDisplayText(1, "Hard");
    mode->SetDisplayText(2, "Fold");
    plug.GetParam(kBypass)->InitBool("Bypass", false);
    plug.GetParam(kSteps)->InitInt("Steps", 2, 0, 8);
    plug.GetParam(kLevel)->InitDouble("Level", 12.0, -24.0, 24.0, 0.1, "dB");
    plug.GetParam(kCut)->InitDouble("Cut", 6.0, 0.0, 24.0, 0.1);
    plug.GetParam(kCut)->NegateDisplay();

    gui = new HeadlessGraphics(&plug, 100, 100);
    for (int p = 0; p < kNumParams; ++p) controls[p] = Attach(IRECT(10 * p, 0, 10 * p + 10, 10), p);
    twin = Attach(IRECT(0, 50, 10, 60), kLevel);  // a second control on the level
    unbound = Attach(IRECT(50, 50, 60, 60), -1);
    plug.AttachGraphics(gui);
    plug.informed.clear();
  }
  PlainControl* Attach(IRECT r, int paramIdx)
  {
    PlainControl* control = new PlainControl(&plug, r, paramIdx);
    gui->AttachControl(control);
    return control;
  }
  void Clean()
  {
    for (int i = 0; i < gui->NControls(); ++i) {
      gui->GetControl(i)->SetClean();
      gui->GetControl(i)->SetClean();
    }
  }
  // The normalized value of a plain one.
  double Norm(int p, double plain) { return plug.GetParam(p)->GetNormalized(plain); }

  TestPlug plug{kNumParams, "2-2", 0};
  HeadlessGraphics* gui = nullptr;
  PlainControl* controls[kNumParams] = {};
  PlainControl* twin = nullptr;
  PlainControl* unbound = nullptr;
};

TEST_F(EditorParamsTest, EveryControlBoundToAParameterFollowsTheHost)
{
  EXPECT_DOUBLE_EQ(twin->GetValue(), Norm(kLevel, 12.0));
  Clean();
  gui->SetParameterFromPlug(kLevel, -12.0, false);  // a plain value
  EXPECT_DOUBLE_EQ(controls[kLevel]->GetValue(), 0.25);
  EXPECT_DOUBLE_EQ(twin->GetValue(), 0.25);
  EXPECT_TRUE(twin->IsDirty());
  EXPECT_FALSE(controls[kCut]->IsDirty());
  gui->PostParameterFromPlug(kLevel, 0.5, true);
  gui->TakePostedParameters();
  EXPECT_DOUBLE_EQ(controls[kLevel]->GetValue(), 0.5);
  EXPECT_DOUBLE_EQ(twin->GetValue(), 0.5);
  EXPECT_TRUE(plug.informed.empty());  // nothing goes back to the plug-in

  // A control following the level as an auxiliary parameter hears it too.
  unbound->AddAuxParam(kCut);
  unbound->AddAuxParam(kLevel);
  gui->SetParameterFromPlug(kLevel, 0.75, true);
  EXPECT_DOUBLE_EQ(unbound->GetAuxParam(1)->mValue, 0.75);
  EXPECT_DOUBLE_EQ(unbound->GetAuxParam(0)->mValue, 0.0);

  gui->SetControlFromPlug(gui->NControls() - 2, 0.125);  // the twin alone
  EXPECT_DOUBLE_EQ(twin->GetValue(), 0.125);
  EXPECT_DOUBLE_EQ(controls[kLevel]->GetValue(), 0.75);
  gui->SetControlFromPlug(-1, 0.3);
  gui->SetControlFromPlug(gui->NControls(), 0.3);
}

TEST_F(EditorParamsTest, AValueFromTheEditorDrivesEveryBoundControlAndReachesThePlugIn)
{
  gui->SetParameterFromGUI(kLevel, 0.625);
  EXPECT_DOUBLE_EQ(controls[kLevel]->GetValue(), 0.625);
  EXPECT_DOUBLE_EQ(twin->GetValue(), 0.625);
  EXPECT_DOUBLE_EQ(plug.GetParam(kLevel)->Value(), 6.0);
  ASSERT_EQ(plug.informed.size(), 2u);  // each control sends its value
  EXPECT_EQ(plug.informed[0], std::make_pair(static_cast<int>(kLevel), 0.625));
  // The same value again changes nothing and sends nothing.
  gui->SetParameterFromGUI(kLevel, 0.625);
  EXPECT_EQ(plug.informed.size(), 2u);
}

TEST_F(EditorParamsTest, HidingGreyingAndClampingReachEveryBoundControl)
{
  gui->HideControl(kLevel, true);
  EXPECT_TRUE(controls[kLevel]->IsHidden());
  EXPECT_TRUE(twin->IsHidden());
  EXPECT_FALSE(controls[kCut]->IsHidden());
  gui->HideControl(kLevel, false);
  EXPECT_FALSE(twin->IsHidden());

  gui->GrayOutControl(kLevel, true);
  EXPECT_TRUE(twin->IsGrayed());
  EXPECT_FLOAT_EQ(twin->GetBlend()->mWeight, 0.25f);
  gui->GrayOutControl(kLevel, false);
  EXPECT_FLOAT_EQ(twin->GetBlend()->mWeight, 1.0f);

  // Plain bounds -12 ... 12 dB are 0.25 ... 0.75 normalized.
  gui->ClampControl(kLevel, -12.0, 12.0, false);
  controls[kLevel]->SetValueFromUserInput(1.0);
  EXPECT_DOUBLE_EQ(controls[kLevel]->GetValue(), 0.75);
  EXPECT_EQ(plug.informed.back(), std::make_pair(static_cast<int>(kLevel), 0.75));
  twin->SetValueFromUserInput(0.0);
  EXPECT_DOUBLE_EQ(twin->GetValue(), 0.25);
  gui->ClampControl(kCut, 0.2, 0.8, true);
  controls[kCut]->SetValueFromUserInput(1.0);
  EXPECT_DOUBLE_EQ(controls[kCut]->GetValue(), 0.8);
}

TEST_F(EditorParamsTest, BoundControlsGetTheirParameterNamesAsTooltips)
{
  gui->AssignParamNameToolTips();
  EXPECT_STREQ(controls[kMode]->GetTooltip(), "Mode");
  EXPECT_STREQ(twin->GetTooltip(), "Level");
  EXPECT_STREQ(unbound->GetTooltip(), "");
}

TEST_F(EditorParamsTest, EnumerationsAndBooleansPromptWithAMenuOfTheirTexts)
{
  IRECT at(1, 2, 30, 40);
  gui->menuChoice = 2;
  gui->PromptUserInput(controls[kMode], plug.GetParam(kMode), &at);
  EXPECT_EQ(gui->shownMenu, (std::vector<std::string>{"Soft", "Hard", "Fold"}));
  EXPECT_EQ(gui->shownMenuChecked, (std::vector<bool>{false, true, false}));  // the current value
  EXPECT_EQ(gui->shownMenuRect, at);
  EXPECT_DOUBLE_EQ(controls[kMode]->GetValue(), 1.0);
  EXPECT_DOUBLE_EQ(plug.GetParam(kMode)->Value(), 2.0);

  // Dismissing the menu changes nothing.
  plug.informed.clear();
  gui->menuChoice = -1;
  gui->PromptUserInput(controls[kMode], plug.GetParam(kMode), &at);
  EXPECT_EQ(gui->shownMenuChecked, (std::vector<bool>{false, false, true}));
  EXPECT_TRUE(plug.informed.empty());

  gui->menuChoice = 1;
  gui->PromptUserInput(controls[kBypass], plug.GetParam(kBypass), &at);
  EXPECT_EQ(gui->shownMenu, (std::vector<std::string>{"off", "on"}));
  EXPECT_DOUBLE_EQ(plug.GetParam(kBypass)->Value(), 1.0);
  EXPECT_FALSE(gui->textEntry.open);
}

TEST_F(EditorParamsTest, OtherParametersPromptWithATextFieldHoldingTheirValue)
{
  IRECT at(5, 5, 45, 21);
  gui->PromptUserInput(controls[kLevel], plug.GetParam(kLevel), &at);
  ASSERT_TRUE(gui->textEntry.open);
  EXPECT_EQ(gui->textEntry.text, "12.0");
  EXPECT_EQ(gui->textEntry.rect, at);
  EXPECT_EQ(gui->textEntry.control, controls[kLevel]);
  gui->CommitTextEntry("-6 dB");
  EXPECT_DOUBLE_EQ(plug.GetParam(kLevel)->Value(), -6.0);
  EXPECT_DOUBLE_EQ(controls[kLevel]->GetValue(), Norm(kLevel, -6.0));

  // The field shows the number even where a value has a display text.
  plug.GetParam(kSteps)->SetDisplayText(2, "two");
  gui->PromptUserInput(controls[kSteps], plug.GetParam(kSteps), &at);
  EXPECT_EQ(gui->textEntry.text, "2");
  gui->CommitTextEntry("7");
  EXPECT_DOUBLE_EQ(plug.GetParam(kSteps)->Value(), 7.0);

  // A missing argument prompts nothing.
  gui->calls.clear();
  gui->PromptUserInput(nullptr, plug.GetParam(kLevel), &at);
  gui->PromptUserInput(controls[kLevel], nullptr, &at);
  gui->PromptUserInput(controls[kLevel], plug.GetParam(kLevel), nullptr);
  EXPECT_TRUE(gui->calls.empty());
}

TEST_F(EditorParamsTest, TypedTextBecomesTheDecimalNumberItStartsWith)
{
  IParam* level = plug.GetParam(kLevel);
  PlainControl* c = controls[kLevel];
  const struct {
    const char* text;
    double plain;
  } cases[] = {
      {"3.25abc", 3.25}, {"  -7.5", -7.5}, {"+.5", 0.5},  {"5.", 5.0},     {"1e1", 10.0},    {"2E-1x", 0.2},
      {"1e", 1.0},       {"4e+", 4.0},     {"abc", 0.0},  {"", 0.0},       {"-", 0.0},       {".", 0.0},
      {"0x10", 0.0},     {"inf", 0.0},     {"-nan", 0.0}, {"1e999", 24.0}, {"-9e99", -24.0},
  };
  for (const auto& t : cases) {
    c->SetValue(0.123);  // so that every case is a change
    gui->SetFromStringAfterPrompt(c, level, t.text);
    EXPECT_NEAR(level->Value(), t.plain, 1e-9) << t.text;  // through a normalized value
  }
  c->SetValue(0.123);
  gui->SetFromStringAfterPrompt(c, level, nullptr);
  EXPECT_DOUBLE_EQ(level->Value(), 0.0);

  // A negated display reads typed numbers with their sign turned.
  gui->SetFromStringAfterPrompt(controls[kCut], plug.GetParam(kCut), "-12");
  EXPECT_DOUBLE_EQ(plug.GetParam(kCut)->Value(), 12.0);

  // Enumerations and booleans take their display texts; others read as 0.
  gui->SetFromStringAfterPrompt(controls[kMode], plug.GetParam(kMode), "Fold");
  EXPECT_DOUBLE_EQ(plug.GetParam(kMode)->Value(), 2.0);
  gui->SetFromStringAfterPrompt(controls[kMode], plug.GetParam(kMode), "2");
  EXPECT_DOUBLE_EQ(plug.GetParam(kMode)->Value(), 0.0);
  gui->SetFromStringAfterPrompt(controls[kBypass], plug.GetParam(kBypass), "on");
  EXPECT_DOUBLE_EQ(plug.GetParam(kBypass)->Value(), 1.0);

  // Without a parameter nothing happens.
  const size_t sent = plug.informed.size();
  gui->SetFromStringAfterPrompt(c, nullptr, "5");
  EXPECT_EQ(plug.informed.size(), sent);
}

}  // namespace
