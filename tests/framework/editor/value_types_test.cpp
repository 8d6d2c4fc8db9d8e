// The editor's value types: rectangle rules at their edges, colour packing
// and the named colours, text defaults, frame sizes and the blend mapping.

#include <gtest/gtest.h>

#include "framework/editor/IBitmap.h"
#include "framework/editor/IBlendMode.h"
#include "framework/editor/IColor.h"
#include "framework/editor/IRECT.h"
#include "framework/editor/IText.h"

namespace {

TEST(IRECTTest, OnlyTheAllZeroRectangleIsEmpty)
{
  EXPECT_TRUE(IRECT().Empty());
  EXPECT_TRUE(IRECT(0, 0, 0, 0).Empty());
  EXPECT_FALSE(IRECT(5, 5, 5, 5).Empty());
  EXPECT_FALSE(IRECT(0, 0, 0, 1).Empty());
  IRECT r(1, 2, 3, 4);
  r.Clear();
  EXPECT_TRUE(r.Empty());
}

TEST(IRECTTest, SizesAndSinglePrecisionMiddles)
{
  const IRECT r(10, 20, 15, 27);
  EXPECT_EQ(r.W(), 5);
  EXPECT_EQ(r.H(), 7);
  EXPECT_FLOAT_EQ(r.MW(), 12.5f);
  EXPECT_FLOAT_EQ(r.MH(), 23.5f);
  EXPECT_EQ(IRECT(-4, 0, 2, 0).MW(), -1.0f);
}

TEST(IRECTTest, ContainsExcludesRightAndBottomAndNeverHoldsForEmpty)
{
  const IRECT r(10, 20, 30, 40);
  EXPECT_TRUE(r.Contains(10, 20));
  EXPECT_TRUE(r.Contains(29, 39));
  EXPECT_FALSE(r.Contains(30, 25));
  EXPECT_FALSE(r.Contains(15, 40));
  EXPECT_FALSE(r.Contains(9, 25));
  EXPECT_FALSE(IRECT().Contains(0, 0));
  // A zero-sized rectangle away from the origin is not empty, yet holds nothing.
  EXPECT_FALSE(IRECT(5, 5, 5, 5).Contains(5, 5));
}

TEST(IRECTTest, IntersectsTreatsThisRightAndBottomEdgesAsTouching)
{
  const IRECT refresh(0, 0, 100, 100);
  const IRECT rightNeighbour(100, 10, 120, 20);
  const IRECT belowNeighbour(10, 100, 20, 120);
  EXPECT_TRUE(refresh.Intersects(&rightNeighbour));
  EXPECT_TRUE(refresh.Intersects(&belowNeighbour));
  // Not symmetric: the neighbour's left edge is not inside the refresh area.
  EXPECT_FALSE(rightNeighbour.Intersects(&refresh));
  EXPECT_FALSE(belowNeighbour.Intersects(&refresh));
  const IRECT further(101, 10, 120, 20);
  EXPECT_FALSE(refresh.Intersects(&further));
  const IRECT empty;
  EXPECT_FALSE(refresh.Intersects(&empty));
  EXPECT_FALSE(empty.Intersects(&refresh));
  EXPECT_FALSE(empty.Intersects(&empty));
}

TEST(IRECTTest, IntersectionAndUnion)
{
  const IRECT a(0, 0, 50, 40), b(30, 10, 80, 90), apart(60, 50, 70, 60), empty;
  EXPECT_EQ(a.Intersect(&b), IRECT(30, 10, 50, 40));
  EXPECT_EQ(b.Intersect(&a), IRECT(30, 10, 50, 40));
  EXPECT_TRUE(a.Intersect(&apart).Empty());
  EXPECT_TRUE(a.Intersect(&empty).Empty());
  // Touching edges overlap in a zero-wide strip.
  const IRECT touching(50, 0, 60, 40);
  EXPECT_EQ(a.Intersect(&touching), IRECT(50, 0, 50, 40));

  EXPECT_EQ(a.Union(&b), IRECT(0, 0, 80, 90));
  EXPECT_EQ(a.Union(&apart), IRECT(0, 0, 70, 60));
  EXPECT_EQ(empty.Union(&b), b);
  EXPECT_EQ(b.Union(&empty), b);
  // Union with the empty rectangle does not pull the result to the origin.
  const IRECT far(200, 300, 210, 310);
  EXPECT_EQ(empty.Union(&far), far);
}

TEST(IColorTest, PacksIntoPixelsAndBack)
{
  EXPECT_EQ(IColor(255, 0x12, 0x34, 0x56).ToPixel(), 0xFF123456u);
  EXPECT_EQ(IColor(128, 255, 0, 1).ToPixel(), 0x80FF0001u);
  // Each channel keeps its low eight bits.
  EXPECT_EQ(IColor(256 + 1, -1, 0x1FF, 0).ToPixel(), 0x01FFFF00u);
  EXPECT_EQ(IColor::FromPixel(0x80FF0001u), IColor(128, 255, 0, 1));
}

TEST(IColorTest, NamedColours)
{
  EXPECT_EQ(COLOR_TRANSPARENT.ToPixel(), 0x00000000u);
  EXPECT_EQ(COLOR_BLACK.ToPixel(), 0xFF000000u);
  EXPECT_EQ(COLOR_GRAY.ToPixel(), 0xFF7F7F7Fu);
  EXPECT_EQ(COLOR_WHITE.ToPixel(), 0xFFFFFFFFu);
  EXPECT_EQ(COLOR_RED.ToPixel(), 0xFFFF0000u);
  EXPECT_EQ(COLOR_GREEN.ToPixel(), 0xFF00FF00u);
  EXPECT_EQ(COLOR_BLUE.ToPixel(), 0xFF0000FFu);
  EXPECT_EQ(COLOR_YELLOW.ToPixel(), 0xFFFFFF00u);
  EXPECT_EQ(COLOR_ORANGE.ToPixel(), 0xFFFF7F00u);
  EXPECT_EQ(DEFAULT_TEXT_COLOR, COLOR_BLACK);
  EXPECT_EQ(DEFAULT_TEXT_ENTRY_BGCOLOR, COLOR_WHITE);
  EXPECT_EQ(DEFAULT_TEXT_ENTRY_FGCOLOR, COLOR_BLACK);
}

TEST(ITextTest, DefaultsAndBoundedFaceName)
{
  const IText t;
  EXPECT_STREQ(t.mFont, "Monaco");
  EXPECT_EQ(t.mSize, 10);
  EXPECT_EQ(t.mColor, DEFAULT_TEXT_COLOR);
  EXPECT_EQ(t.mTextEntryBGColor, DEFAULT_TEXT_ENTRY_BGCOLOR);
  EXPECT_EQ(t.mTextEntryFGColor, DEFAULT_TEXT_ENTRY_FGCOLOR);
  EXPECT_EQ(t.mStyle, IText::kStyleNormal);
  EXPECT_EQ(t.mAlign, IText::kAlignCenter);
  EXPECT_EQ(t.mOrientation, 0);
  EXPECT_EQ(t.mQuality, IText::kQualityDefault);
  EXPECT_EQ(t.mCached, nullptr);

  const IText red(&COLOR_RED);
  EXPECT_EQ(red.mColor, COLOR_RED);
  EXPECT_EQ(red.mSize, 10);

  const char* longFace = "A face name well beyond thirty-one characters";
  const IText cut(12, nullptr, longFace);
  EXPECT_EQ(std::string(cut.mFont), std::string(longFace, 31));
  EXPECT_EQ(cut.mFont[31], '\0');
}

TEST(IBitmapTest, FrameSizes)
{
  const IBitmap vertical(nullptr, 60, 31 * 60, 31);
  EXPECT_EQ(vertical.FrameWidth(), 60);
  EXPECT_EQ(vertical.FrameHeight(), 60);
  const IBitmap horizontal(nullptr, 100, 20, 3, true);
  EXPECT_EQ(horizontal.FrameWidth(), 33);
  EXPECT_EQ(horizontal.FrameHeight(), 20);
  // No frames cannot divide by zero: the image is one frame.
  const IBitmap none(nullptr, 10, 10, 0);
  EXPECT_EQ(none.mN, 1);
  EXPECT_EQ(none.FrameHeight(), 10);
  IBitmap raw;
  raw.mW = 8, raw.mH = 8, raw.mN = -3;
  EXPECT_EQ(raw.FrameHeight(), 8);
  const IRECT frame(5, 7, &vertical);
  EXPECT_EQ(frame, IRECT(5, 7, 65, 67));
}

TEST(BlendModeTest, MethodsMapToRasteriserWords)
{
  const IBlendMode none = BlendModeOf(nullptr);
  EXPECT_EQ(none.mWeight, 1.0f);
  EXPECT_EQ(none.mMode, 0x10000);
  const IChannelBlend blend(IChannelBlend::kBlendNone, 0.5f);
  EXPECT_EQ(BlendModeOf(&blend).mMode, 0x10000);
  EXPECT_EQ(BlendModeOf(&blend).mWeight, 0.5f);
  const IChannelBlend clobber(IChannelBlend::kBlendClobber, 0.25f);
  EXPECT_EQ(BlendModeOf(&clobber).mMode, 0);
  EXPECT_EQ(BlendModeOf(&clobber).mWeight, 0.25f);
  const IChannelBlend add(IChannelBlend::kBlendAdd);
  EXPECT_EQ(BlendModeOf(&add).mMode, 0x10001);
  const IChannelBlend dodge(IChannelBlend::kBlendColorDodge);
  EXPECT_EQ(BlendModeOf(&dodge).mMode, 0x10002);
  const IChannelBlend unknown(static_cast<IChannelBlend::EBlendMethod>(7), 0.75f);
  EXPECT_EQ(BlendModeOf(&unknown).mMode, 0x10000);
  EXPECT_EQ(BlendModeOf(&unknown).mWeight, 0.75f);
}

}  // namespace
