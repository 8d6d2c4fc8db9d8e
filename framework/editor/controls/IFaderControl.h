#pragma once
// A fader: a handle bitmap travelling along a track of the given length.
// Presses and drags snap the handle to the pointer; the wheel moves it as a
// knob's; the right button prompts.
//
// Threads: the editor's thread, as every control (IControl.h).

#include "framework/editor/IBitmap.h"
#include "framework/editor/controls/IControl.h"

class IFaderControl : public IControl {
public:
  // Rectangle: horizontal (x, y, x + length, y + handle height), vertical
  // (x, y, x + handle width, y + length). With onlyHandle, only the handle
  // is hit.
  IFaderControl(IEffectBase* plug, int x, int y, int length, int paramIdx, IBitmap* handle,
                EDirection direction = kVertical, bool onlyHandle = false);

  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  void OnMouseDrag(int x, int y, int dX, int dY, IMouseMod* mod) override;
  void OnMouseWheel(int x, int y, IMouseMod* mod, int d) override;
  bool Draw(IGraphics* graphics) override;
  bool IsHit(int x, int y) override;
  // Sets the value that puts the handle's middle under the point, then
  // sends it. A track no longer than the handle keeps the value.
  virtual void SnapToMouse(int x, int y);

  int GetLength() const { return mLen; }
  // Travel of the handle: length minus handle size.
  int GetHandleHeadroom() const { return mLen - mHandleHeadroom; }
  // The handle's rectangle for a value (the current value when below 0).
  IRECT GetHandleRECT(double value = -1.0) const;

protected:
  int mLen;
  int mHandleHeadroom;  // the handle's size along the track
  IBitmap mHandleBitmap;
  EDirection mDirection;
  bool mOnlyHandle;
};
