#pragma once
// A rectangle filled with one colour (a plain background, for one).
//
// Threads: the editor's thread, as every control (IControl.h).

#include "framework/editor/IColor.h"
#include "framework/editor/controls/IControl.h"

class IPanelControl : public IControl {
public:
  // Unbound; fills rect with the colour through the blend method.
  IPanelControl(IEffectBase* plug, IRECT rect, const IColor* color,
                IChannelBlend::EBlendMethod blendMethod = IChannelBlend::kBlendNone);

  bool Draw(IGraphics* graphics) override;

  const IColor* GetColor() const { return &mColor; }

protected:
  IColor mColor;
};
