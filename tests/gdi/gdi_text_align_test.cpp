// Placing a block of text in a rectangle: hand-worked corners for each
// alignment and for both roundings of a centre.

#include <gtest/gtest.h>

#include "gdi/gdi-text-align.h"

namespace {

struct Placed {
  int x, y;
};

Placed Place(const RECT& r, int w, int h, int flags, GDI_Centring centring)
{
  const POINT p = GDI_AlignText(r, w, h, flags, centring);
  return {p.x, p.y};
}

TEST(GdiTextAlign, CornersAndEdges)
{
  // A 30 x 12 text in a 100 x 50 rectangle at (10, 20).
  const RECT r = {10, 20, 110, 70};
  struct Case {
    int flags, x, y;
  } cases[] = {
      {0, 10, 20},
      {DT_RIGHT | DT_BOTTOM, 80, 58},
      // Right and bottom win over the centres.
      {DT_RIGHT | DT_CENTER | DT_BOTTOM | DT_VCENTER, 80, 58},
      // Even sizes centre alike in both roundings: 10 + 35, 20 + 19.
      {DT_CENTER | DT_VCENTER, 45, 39},
      {DT_CENTER | DT_BOTTOM, 45, 58},
      // Flags that do not align leave the corner alone.
      {DT_SINGLELINE | DT_NOCLIP | DT_CALCRECT | DT_NOPREFIX, 10, 20},
  };
  for (GDI_Centring centring : {GDI_CENTRE_HALVES, GDI_CENTRE_DIFFERENCE})
    for (const Case& c : cases) {
      const Placed p = Place(r, 30, 12, c.flags, centring);
      EXPECT_EQ(p.x, c.x) << c.flags << " " << centring;
      EXPECT_EQ(p.y, c.y) << c.flags << " " << centring;
    }
}

TEST(GdiTextAlign, TheTwoRoundingsOfACentre)
{
  // Rectangle 0..11 (odd), text 5 (odd): halves 5 - 2 = 3, difference 6 / 2 = 3.
  EXPECT_EQ(Place({0, 0, 11, 11}, 5, 5, DT_CENTER, GDI_CENTRE_HALVES).x, 3);
  EXPECT_EQ(Place({0, 0, 11, 11}, 5, 5, DT_CENTER, GDI_CENTRE_DIFFERENCE).x, 3);
  // Rectangle 10 (even), text 5 (odd): halves 5 - 2 = 3, difference 5 / 2 = 2.
  EXPECT_EQ(Place({0, 0, 10, 10}, 5, 5, DT_CENTER | DT_VCENTER, GDI_CENTRE_HALVES).x, 3);
  EXPECT_EQ(Place({0, 0, 10, 10}, 5, 5, DT_CENTER | DT_VCENTER, GDI_CENTRE_HALVES).y, 3);
  EXPECT_EQ(Place({0, 0, 10, 10}, 5, 5, DT_CENTER | DT_VCENTER, GDI_CENTRE_DIFFERENCE).x, 2);
  EXPECT_EQ(Place({0, 0, 10, 10}, 5, 5, DT_CENTER | DT_VCENTER, GDI_CENTRE_DIFFERENCE).y, 2);
  // Rectangle 11 (odd), text 4 (even): halves 5 - 2 = 3, difference 7 / 2 = 3.
  EXPECT_EQ(Place({0, 0, 11, 11}, 4, 4, DT_CENTER, GDI_CENTRE_HALVES).x, 3);
  EXPECT_EQ(Place({0, 0, 11, 11}, 4, 4, DT_CENTER, GDI_CENTRE_DIFFERENCE).x, 3);
}

TEST(GdiTextAlign, TextLargerThanTheRectangleStartsBeforeIt)
{
  // Rectangle 70..80, text 45: right-aligned at 35; centred at 70 + 5 - 22
  // = 53 (halves) or 70 + (-35) / 2 = 70 - 17 = 53 (difference, toward zero).
  const RECT r = {70, 10, 80, 50};
  EXPECT_EQ(Place(r, 45, 10, DT_RIGHT, GDI_CENTRE_HALVES).x, 35);
  EXPECT_EQ(Place(r, 45, 10, DT_CENTER, GDI_CENTRE_HALVES).x, 53);
  EXPECT_EQ(Place(r, 45, 10, DT_CENTER, GDI_CENTRE_DIFFERENCE).x, 53);
  // Text 46: halves 75 - 23 = 52; difference 70 + (-36) / 2 = 52.
  EXPECT_EQ(Place(r, 46, 10, DT_CENTER, GDI_CENTRE_HALVES).x, 52);
  EXPECT_EQ(Place(r, 46, 10, DT_CENTER, GDI_CENTRE_DIFFERENCE).x, 52);
  // Rectangle 71..80 (9), text 46: halves 71 + 4 - 23 = 52; difference
  // 71 + (-37) / 2 = 71 - 18 = 53.
  EXPECT_EQ(Place({71, 0, 80, 0}, 46, 0, DT_CENTER, GDI_CENTRE_HALVES).x, 52);
  EXPECT_EQ(Place({71, 0, 80, 0}, 46, 0, DT_CENTER, GDI_CENTRE_DIFFERENCE).x, 53);
}

}  // namespace
