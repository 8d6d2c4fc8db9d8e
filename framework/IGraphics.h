#pragma once
// The editor as the plug-in base sees it: the base pushes parameter values
// into it and asks it to prepare its drawing surfaces when it is attached.
// The full editor derives from this interface.
//
// Threads: SetParameterFromPlug runs on whichever thread changes a
// parameter (host or editor), always under the plug-in mutex; PrepDraw runs
// under the plug-in mutex during IEffectBase::AttachGraphics.

class IGraphics {
public:
  virtual ~IGraphics() {}
  // Moves the controls bound to paramIdx to the value (normalized 0..1 or
  // the parameter's plain value).
  virtual void SetParameterFromPlug(int paramIdx, double value, bool normalized) = 0;
  // Creates the drawing bitmaps.
  virtual void PrepDraw() = 0;
};
