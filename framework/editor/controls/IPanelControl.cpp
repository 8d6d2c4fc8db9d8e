#include "framework/editor/controls/IPanelControl.h"

#include "framework/editor/IGraphics.h"

IPanelControl::IPanelControl(IEffectBase* plug, IRECT rect, const IColor* color,
                             IChannelBlend::EBlendMethod blendMethod)
    : IControl(plug, rect, -1, blendMethod), mColor(color ? *color : COLOR_BLACK)
{
}

bool IPanelControl::Draw(IGraphics* graphics) { return graphics->FillIRect(&mColor, &mRECT, &mBlend); }
