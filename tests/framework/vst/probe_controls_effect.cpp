#include "tests/framework/vst/probe_controls_effect.h"

#include "framework/editor/controls/IKnobControls.h"
#include "framework/editor/controls/ISwitchControls.h"
#include "tests/framework/editor/headless_graphics.h"

namespace {

enum EImageId { kBackgroundId = 201, kSwitchId, kKnobId };

}  // namespace

ProbeControlsEffect::ProbeControlsEffect(IEffectInstanceInfo info) : ProbeEffect(info)
{
  HeadlessGraphics* gui = new HeadlessGraphics(this, kEditorWidth, kEditorHeight);
  gui->RegisterImage("img/bg.png", kEditorWidth, kEditorHeight, 0xFF303030u);
  gui->RegisterImage("img/switch.png", kSwitchW, 2 * kSwitchH, 0xFF00A000u, 2);
  gui->RegisterImage("img/knob.png", kKnobSize, 31 * kKnobSize, 0xFFA00000u, 31);
  gui->AttachBackground(kBackgroundId, "img/bg.png");
  IBitmap switchStrip = gui->LoadIBitmap(kSwitchId, "img/switch.png", 2);
  gui->AttachControl(new ISwitchControl(this, kSwitchX, kSwitchY, kFlip, &switchStrip));
  IBitmap knobStrip = gui->LoadIBitmap(kKnobId, "img/knob.png", 31);
  gui->AttachControl(new IKnobMultiControl(this, kKnobX, kKnobY, kGain, &knobStrip, kVertical, 4.0));
  AttachGraphics(gui);
}
