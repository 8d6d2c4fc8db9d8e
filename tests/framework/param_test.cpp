#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "framework/IParam.h"

namespace {

TEST(ParamInit, DoubleParameterShowsTwoDecimalsAndNegates)
{
  IParam p;
  p.InitDouble("OUT", -30.0, -40.0, 0.0, 0.01, "dB");
  EXPECT_EQ(p.Type(), IParam::kTypeDouble);
  EXPECT_EQ(p.GetPrecision(), 2);
  char text[64];
  p.GetDisplayForHost(text);
  EXPECT_STREQ(text, "-30.00");
  p.NegateDisplay();
  p.GetDisplayForHost(text);
  EXPECT_STREQ(text, "30.00");
  EXPECT_STREQ(p.GetLabelForHost(), "dB");
  EXPECT_STREQ(p.GetNameForHost(), "OUT");
}

TEST(ParamInit, PrecisionFollowsStep)
{
  const struct {
    double step;
    int precision;
  } cases[] = {{0.01, 2}, {0.001, 3}, {0.25, 2}, {1.0, 0}, {1.0 / 3.0, 6}, {2.5, 1}};
  for (const auto& c : cases) {
    IParam p;
    p.InitDouble("x", 0.0, 0.0, 10.0, c.step);
    EXPECT_EQ(p.GetPrecision(), c.precision) << c.step;
  }
}

TEST(ParamInit, RangesAreWidenedToAtLeastOneStep)
{
  IParam i;
  i.InitInt("i", 3, 3, 2);
  EXPECT_EQ(i.GetMax(), 4.0);
  IParam e;
  e.InitEnum("e", 0, 1);
  EXPECT_EQ(e.GetMax(), 1.0);
  IParam e5;
  e5.InitEnum("e", 2, 5);
  EXPECT_EQ(e5.GetMax(), 4.0);
  EXPECT_EQ(e5.Int(), 2);
  IParam d;
  d.InitDouble("d", 1.0, 1.0, 0.5, 0.1);
  EXPECT_DOUBLE_EQ(d.GetMax(), 1.1);
}

TEST(ParamInit, FirstInitialiserFixesTheType)
{
  IParam p;
  p.InitInt("n", 0, 0, 10);
  p.InitDouble("n", 0.0, 0.0, 10.0, 0.5);
  EXPECT_EQ(p.Type(), IParam::kTypeInt);
  p.SetNormalized(0.33);  // 3.3 quantised to the step 0.5
  EXPECT_DOUBLE_EQ(p.Value(), 3.5);
}

TEST(ParamInit, OverlongTextsAreCut)
{
  IParam p;
  const char* longName = "a name that is far longer than thirty-one characters";
  p.InitBool(longName, false, longName, longName);
  EXPECT_EQ(strlen(p.GetNameForHost()), 31u);
  EXPECT_EQ(strncmp(p.GetNameForHost(), longName, 31), 0);
  EXPECT_EQ(strlen(p.GetParamGroupForHost()), 31u);
}

TEST(ParamNormalize, IntegerRoundsToStep)
{
  IParam p;
  p.InitInt("Bypass", 0, 0, 1);
  char text[32];
  p.SetNormalized(0.49);
  EXPECT_EQ(p.Value(), 0.0);
  p.GetDisplayForHost(text);
  EXPECT_STREQ(text, "0");
  p.SetNormalized(0.5);
  EXPECT_EQ(p.Value(), 1.0);
  p.GetDisplayForHost(text);
  EXPECT_STREQ(text, "1");
}

TEST(ParamNormalize, ClampsBothEnds)
{
  IParam p;
  p.InitDouble("x", 0.0, 10.0, 20.0, 0.1);
  EXPECT_EQ(p.GetNormalized(25.0), 1.0);
  EXPECT_EQ(p.GetNormalized(5.0), 0.0);
  p.SetNormalized(1.5);
  EXPECT_EQ(p.Value(), 20.0);
  p.SetNormalized(-0.5);
  EXPECT_EQ(p.Value(), 10.0);
  p.SetNormalized(-HUGE_VAL);
  EXPECT_EQ(p.Value(), 10.0);
  p.SetNormalized(HUGE_VAL);
  EXPECT_EQ(p.Value(), 20.0);

  // Below 0 an integer would round to -1 and an even shape would fold the
  // value back up into the range.
  IParam bypass;
  bypass.InitInt("Bypass", 1, 0, 1);
  bypass.SetNormalized(-0.6);
  EXPECT_EQ(bypass.Value(), 0.0);
  IParam curved;
  curved.InitDouble("c", 50.0, 0.0, 100.0, 0.01, "", "", 2.0);
  curved.SetNormalized(-0.5);
  EXPECT_EQ(curved.Value(), 0.0);
}

TEST(ParamNormalize, NotANumberLeavesTheValue)
{
  IParam p;
  p.InitDouble("x", 15.0, 10.0, 20.0, 0.1);
  p.SetNormalized(std::nan(""));
  EXPECT_EQ(p.Value(), 15.0);
  p.Set(-std::nan(""));
  EXPECT_EQ(p.Value(), 15.0);
  IParam i;
  i.InitInt("i", 1, 0, 1);
  i.SetNormalized(std::nan(""));
  EXPECT_EQ(i.Value(), 1.0);
}

TEST(ParamNormalize, ShapeCurvesBothWays)
{
  IParam p;
  p.InitDouble("x", 0.0, 0.0, 100.0, 0.01, "", "", 2.0);
  p.SetNormalized(0.5);
  EXPECT_DOUBLE_EQ(p.Value(), 25.0);
  EXPECT_DOUBLE_EQ(p.GetNormalized(), 0.5);
  EXPECT_DOUBLE_EQ(p.GetNonNormalized(0.5), 25.0);
  p.SetShape(0.0);
  EXPECT_EQ(p.GetShape(), 2.0);
  char text[32];
  p.GetDisplayForHost(0.5, true, text, false);
  EXPECT_STREQ(text, "25.00");
}

TEST(ParamDisplayTexts, BoolHasOffAndOn)
{
  IParam p;
  p.InitBool("Switch", true, "label");
  ASSERT_EQ(p.GetNDisplayTexts(), 2);
  int v = -1;
  EXPECT_STREQ(p.GetDisplayTextAtIdx(0, &v), "off");
  EXPECT_EQ(v, 0);
  EXPECT_STREQ(p.GetDisplayTextAtIdx(1, &v), "on");
  EXPECT_EQ(v, 1);
  EXPECT_STREQ(p.GetDisplayTextAtIdx(2, &v), "");
  char text[32];
  p.GetDisplayForHost(text, true);
  EXPECT_STREQ(text, "on");
  p.GetDisplayForHost(text, false);
  EXPECT_STREQ(text, "1");
  EXPECT_STREQ(p.GetLabelForHost(), "");
}

TEST(ParamDisplayTexts, MapIsExactAndFirstEntryWins)
{
  IParam p;
  p.InitBool("Switch", false);
  int v = -7;
  EXPECT_TRUE(p.MapDisplayText("on", &v));
  EXPECT_EQ(v, 1);
  v = -7;
  EXPECT_FALSE(p.MapDisplayText("On", &v));
  EXPECT_EQ(v, -7);
  p.SetDisplayText(1, "again");
  EXPECT_STREQ(p.GetDisplayText(1), "on");
  EXPECT_STREQ(p.GetDisplayText(5), "");
  // An empty text falls back to the number.
  IParam q;
  q.InitEnum("mode", 2, 3);
  q.SetDisplayText(2, "");
  char text[32];
  q.GetDisplayForHost(text);
  EXPECT_STREQ(text, "2");
}

TEST(ParamDisplayTexts, TruncatesTowardZero)
{
  IParam p;
  p.InitEnum("mode", 0, 3);
  p.SetDisplayText(-1, "minus one");
  p.SetDisplayText(0, "zero");
  char text[32];
  p.GetDisplayForHost(-0.9, false, text, true);
  EXPECT_STREQ(text, "zero");
  p.GetDisplayForHost(-1.2, false, text, true);
  EXPECT_STREQ(text, "minus one");
}

TEST(ParamValues, NonFiniteValuesAreSafeAsIntegers)
{
  EXPECT_EQ(IParam::TruncToInt(NAN), 0);
  IParam p;
  p.Set(1e300);
  EXPECT_EQ(p.Int(), 2147483647);
  p.Set(-1e300);
  EXPECT_EQ(p.Int(), -2147483647 - 1);
  char text[32];
  p.GetDisplayForHost(text);
  EXPECT_STREQ(text, "-2147483648");
}

TEST(ParamValues, DecibelsToGain)
{
  IParam p;
  p.InitDouble("OUT", -6.0, -40.0, 0.0, 0.01);
  EXPECT_NEAR(p.DBToAmp(), 0.501187, 1e-6);
  p.Set(0.0);
  EXPECT_EQ(p.DBToAmp(), 1.0);
}

}  // namespace
