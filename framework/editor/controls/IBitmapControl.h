#pragma once
// A control drawn as one frame of a bitmap strip chosen by its value: with
// N frames, value v shows frame trunc((N - 1) v + 0.5) + 1, kept within
// 1..N. Unbound, it shows the first frame (a background image).
//
// Threads: the editor's thread, as every control (IControl.h).

#include "framework/editor/IBitmap.h"
#include "framework/editor/controls/IControl.h"

class IBitmapControl : public IControl {
public:
  // Rectangle: one frame of the bitmap with its top-left corner at (x, y).
  IBitmapControl(IEffectBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                 IChannelBlend::EBlendMethod blendMethod = IChannelBlend::kBlendNone);
  // Unbound.
  IBitmapControl(IEffectBase* plug, int x, int y, IBitmap* bitmap,
                 IChannelBlend::EBlendMethod blendMethod = IChannelBlend::kBlendNone);

  bool Draw(IGraphics* graphics) override;

  const IBitmap* GetBitmap() const { return &mBitmap; }
  // The frame (from 1) the current value shows.
  int FrameForValue() const { return FrameForValue(mBitmap, mValue); }
  // The frame (from 1) of the strip that shows value; every control that
  // draws a value as one frame of a strip chooses it here.
  static int FrameForValue(const IBitmap& bitmap, double value);

protected:
  IBitmap mBitmap;
};
