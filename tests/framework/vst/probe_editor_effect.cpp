#include "tests/framework/vst/probe_editor_effect.h"

#include "framework/editor/controls/IPanelControl.h"
#include "tests/framework/editor/headless_graphics.h"

ProbeEditorEffect::ProbeEditorEffect(IEffectInstanceInfo info) : ProbeEffect(info)
{
  HeadlessGraphics* gui = new HeadlessGraphics(this, kEditorWidth, kEditorHeight);
  gui->AttachPanelBackground(&COLOR_GRAY);
  gui->AttachControl(new IPanelControl(this, IRECT(10, 10, 30, 30), &COLOR_RED));
  AttachGraphics(gui);
}
