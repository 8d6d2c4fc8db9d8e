#pragma once
// The knob family. A drag moves the value by the distance over the
// control's size divided by the gearing (ten times finer with control or
// shift held; upward raises it on vertical knobs); a wheel step moves it by
// 0.01 (0.001 fine); a double click returns to the default value. A knob
// without size or gearing does not turn. The
// family differs in how the value is drawn: a line, a rotated bitmap, a
// frame of a strip, or a rotated mask.
//
// Threads: the editor's thread, as every control (IControl.h).

#include "framework/editor/IBitmap.h"
#include "framework/editor/IColor.h"
#include "framework/editor/controls/IControl.h"

inline constexpr double kDefaultGearing = 4.0;

class IKnobControl : public IControl {
public:
  IKnobControl(IEffectBase* plug, IRECT rect, int paramIdx, EDirection direction = kVertical,
               double gearing = kDefaultGearing);

  void OnMouseDrag(int x, int y, int dX, int dY, IMouseMod* mod) override;
  void OnMouseWheel(int x, int y, IMouseMod* mod, int d) override;

  void SetGearing(double gearing) { mGearing = gearing; }
  double GetGearing() const { return mGearing; }
  EDirection GetDirection() const { return mDirection; }

protected:
  EDirection mDirection;
  double mGearing;
};

// A line from the inner to the outer radius at the value's angle (radians,
// 0 up, clockwise), antialiased. An outer radius of 0 becomes half the
// rectangle's width. Blend method 1.
class IKnobLineControl : public IKnobControl {
public:
  IKnobLineControl(IEffectBase* plug, IRECT rect, int paramIdx, const IColor* color, double innerRadius = 0.0,
                   double outerRadius = 0.0, double minAngle = -0.75 * 3.141592653589793,
                   double maxAngle = 0.75 * 3.141592653589793, EDirection direction = kVertical,
                   double gearing = kDefaultGearing);

  bool Draw(IGraphics* graphics) override;

protected:
  IColor mColor;
  float mMinAngle, mMaxAngle, mInnerRadius, mOuterRadius;
};

// The bitmap rotated about the rectangle's centre by the value's angle
// (radians); yOffsetZeroDeg moves the rotation centre.
class IKnobRotaterControl : public IKnobControl {
public:
  IKnobRotaterControl(IEffectBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                      double minAngle = -0.75 * 3.141592653589793, double maxAngle = 0.75 * 3.141592653589793,
                      int yOffsetZeroDeg = 0, EDirection direction = kVertical,
                      double gearing = kDefaultGearing);

  bool Draw(IGraphics* graphics) override;

protected:
  IBitmap mBitmap;
  double mMinAngle, mMaxAngle;
  int mYOffset;
};

// One frame of a strip per value step, as IBitmapControl chooses it.
class IKnobMultiControl : public IKnobControl {
public:
  // Rectangle: one frame with its top-left corner at (x, y).
  IKnobMultiControl(IEffectBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                    EDirection direction = kVertical, double gearing = kDefaultGearing);

  bool Draw(IGraphics* graphics) override;

protected:
  IBitmap mBitmap;
};

// The mask and top images rotated by the value's angle (degrees) over the
// base image (IGraphics::DrawRotatedMask).
class IKnobRotatingMaskControl : public IKnobControl {
public:
  IKnobRotatingMaskControl(IEffectBase* plug, int x, int y, int paramIdx, IBitmap* base, IBitmap* mask,
                           IBitmap* top, double minAngle = -135.0, double maxAngle = 135.0,
                           EDirection direction = kVertical, double gearing = kDefaultGearing);

  bool Draw(IGraphics* graphics) override;

protected:
  IBitmap mBase, mMask, mTop;
  double mMinAngle, mMaxAngle;
};
