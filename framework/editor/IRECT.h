#pragma once
// An axis-aligned rectangle in editor pixels, y growing downwards; right
// and bottom are exclusive for hit testing. Only the rectangle whose four
// fields are all 0 is empty: (5, 5, 5, 5) is not.
//
// Intersects is deliberately not symmetric: the tests against this
// rectangle's right and bottom edges are inclusive, so a refresh rectangle
// "touches" a control whose left edge lies on its right edge. Callers that
// ask whether a control must be repainted put the refresh rectangle first.
//
// Threads: a plain value.

#include <climits>

#include "framework/editor/IBitmap.h"

// Truncation toward zero of a coordinate computed in floating point, kept
// within int: beyond-range values saturate and NaN gives INT_MIN, which
// lies outside every bitmap.
inline int ITruncToInt(double v)
{
  if (!(v > static_cast<double>(INT_MIN))) return INT_MIN;
  if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(v);
}

struct IRECT {
  int mL = 0, mT = 0, mR = 0, mB = 0;

  IRECT() {}
  IRECT(int l, int t, int r, int b) : mL(l), mT(t), mR(r), mB(b) {}
  // One frame of the bitmap with its top-left corner at (x, y).
  IRECT(int x, int y, const IBitmap* bitmap)
      : mL(x), mT(y), mR(x + bitmap->FrameWidth()), mB(y + bitmap->FrameHeight())
  {
  }

  bool Empty() const { return mL == 0 && mT == 0 && mR == 0 && mB == 0; }
  void Clear() { mL = mT = mR = mB = 0; }
  bool operator==(const IRECT& o) const { return mL == o.mL && mT == o.mT && mR == o.mR && mB == o.mB; }
  bool operator!=(const IRECT& o) const { return !(*this == o); }

  int W() const { return mR - mL; }
  int H() const { return mB - mT; }
  // Middles in single precision.
  float MW() const { return (static_cast<float>(mL) + static_cast<float>(mR)) * 0.5f; }
  float MH() const { return (static_cast<float>(mT) + static_cast<float>(mB)) * 0.5f; }

  bool Contains(int x, int y) const
  {
    if (Empty()) return false;
    return x >= mL && x < mR && y >= mT && y < mB;
  }
  bool Intersects(const IRECT* o) const
  {
    if (Empty() || o->Empty()) return false;
    return mR >= o->mL && mL < o->mR && mB >= o->mT && mT < o->mB;
  }
  // The overlap when the two intersect, otherwise the empty rectangle.
  IRECT Intersect(const IRECT* o) const
  {
    if (!Intersects(o)) return IRECT();
    return IRECT(Max(mL, o->mL), Max(mT, o->mT), Min(mR, o->mR), Min(mB, o->mB));
  }
  // The bounding rectangle; an empty side gives the other one unchanged.
  IRECT Union(const IRECT* o) const
  {
    if (Empty()) return *o;
    if (o->Empty()) return *this;
    return IRECT(Min(mL, o->mL), Min(mT, o->mT), Max(mR, o->mR), Max(mB, o->mB));
  }

private:
  static int Min(int a, int b) { return a < b ? a : b; }
  static int Max(int a, int b) { return a > b ? a : b; }
};
