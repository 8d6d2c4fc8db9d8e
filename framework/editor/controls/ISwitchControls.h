#pragma once
// The switch family: bitmap switches that step through their frames,
// switches that prompt, switches hit frame by frame, momentary contacts,
// overlays, invisible switches and radio buttons. The bitmaps stay with the
// cache; controls that keep rectangle lists free them.
//
// Threads: the editor's thread, as every control (IControl.h).

#include "base/heapbuf.h"
#include "framework/editor/controls/IBitmapControl.h"

// A press (any button) or double click steps the value by 1 / (N - 1)
// (1 for fewer than two frames), wrapping to 0 past 1, and sends it.
class ISwitchControl : public IBitmapControl {
public:
  ISwitchControl(IEffectBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                 IChannelBlend::EBlendMethod blendMethod = IChannelBlend::kBlendNone);

  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  void OnMouseDblClick(int x, int y, IMouseMod* mod) override;
};

// A press prompts for the value (menu or text field), then sends the
// value. Constructed with prompting enabled.
class ISwitchPopUpControl : public ISwitchControl {
public:
  ISwitchPopUpControl(IEffectBase* plug, int x, int y, int paramIdx, IBitmap* bitmap);

  void OnMouseDown(int x, int y, IMouseMod* mod) override;
};

// The rectangle is cut into one slice per frame; a press on slice j of n
// sets j / (n - 1) (a single slice sets 0), a press on no slice keeps the
// value; either way the value is sent. Constructed with prompting enabled.
class ISwitchFramesControl : public ISwitchControl {
public:
  ISwitchFramesControl(IEffectBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                       bool imagesAreHorizontal = false,
                       IChannelBlend::EBlendMethod blendMethod = IChannelBlend::kBlendNone);
  ~ISwitchFramesControl() override;

  void OnMouseDown(int x, int y, IMouseMod* mod) override;

protected:
  BASE_TypedBuf<IRECT> mRECTs;
};

// Momentary: a press steps like ISwitchControl, the release returns to 0.
class IContactControl : public ISwitchControl {
public:
  IContactControl(IEffectBase* plug, int x, int y, int paramIdx, IBitmap* bitmap);

  void OnMouseUp(int x, int y, IMouseMod* mod) override;
};

// Off (value below 0.5): draws nothing and is hit in the target area; on:
// draws its bitmap and is hit in its rectangle. A press steps like
// ISwitchControl.
class IBitmapOverlayControl : public ISwitchControl {
public:
  IBitmapOverlayControl(IEffectBase* plug, int x, int y, int paramIdx, IBitmap* bitmap, IRECT targetArea);
  // Unbound.
  IBitmapOverlayControl(IEffectBase* plug, int x, int y, IBitmap* bitmap, IRECT targetArea);

  bool Draw(IGraphics* graphics) override;

protected:
  IRECT mTargetArea;
};

// An invisible toggle: a press sets 1 below 0.5, else 0, and sends it.
class IInvisibleSwitchControl : public IControl {
public:
  IInvisibleSwitchControl(IEffectBase* plug, IRECT rect, int paramIdx);

  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  bool Draw(IGraphics* graphics) override;
};

// nButtons buttons of one bitmap frame each, spread evenly over the
// rectangle; reversed, the layout is mirrored, the first button at the far
// edge. Frame 2 shows the active button, frame 1 the others. A press on
// button j of n sets j / (n - 1) (a single button sets 0); a press between
// buttons keeps the value and still sends it; the right button prompts.
class IRadioButtonsControl : public IControl {
public:
  IRadioButtonsControl(IEffectBase* plug, IRECT rect, int paramIdx, int nButtons, IBitmap* bitmap,
                       EDirection direction = kVertical, bool reverse = false);
  ~IRadioButtonsControl() override;

  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  bool Draw(IGraphics* graphics) override;

protected:
  BASE_TypedBuf<IRECT> mRECTs;
  IBitmap mBitmap;
};
