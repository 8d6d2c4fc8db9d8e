#include "tests/framework/editor/threads_probe_effect.h"

#include "framework/editor/controls/IKnobControls.h"
#include "framework/editor/controls/ITextControls.h"
#include "tests/framework/editor/headless_graphics.h"

namespace {

// The bound parameter's display text, read when the control draws.
class ParamReadout : public IControl {
public:
  ParamReadout(IEffectBase* plug, IRECT rect, int paramIdx, IText* text) : IControl(plug, rect, paramIdx)
  {
    SetText(text);
  }
  bool Draw(IGraphics* graphics) override
  {
    IGraphics::ParamSnapshot snapshot;
    if (!graphics->SnapshotParam(mParamIdx, &snapshot)) return true;
    graphics->FillIRect(&COLOR_WHITE, &mRECT);
    return graphics->DrawIText(&mText, snapshot.mDisplay, &mRECT);
  }
};

}  // namespace

ThreadsProbeEffect::ThreadsProbeEffect(IEffectInstanceInfo info) : ProbeEffect(info)
{
  HeadlessGraphics* gui = new HeadlessGraphics(this, kEditorWidth, kEditorHeight);
  gui->RegisterImage("knob.png", kKnobSize, kKnobSize * kKnobFrames, kKnobPixel, kKnobFrames);
  gui->AttachPanelBackground(&COLOR_GRAY);
  IBitmap knob = gui->LoadIBitmap(1, "knob.png", kKnobFrames);
  IText text(11, &COLOR_BLACK, "DejaVu Sans");
  ITextControl* display = new ITextControl(this, IRECT(10, 40, 160, 55), &text);
  for (int p = 0; p < kNumParams; ++p) {
    IKnobMultiControl* control = new IKnobMultiControl(this, KnobX(p), KnobY(), p, &knob);
    if (p == 0) control->SetValDisplayControl(display);
    gui->AttachControl(control);
    gui->AttachControl(new ParamReadout(this, IRECT(KnobX(p), 70, KnobX(p) + 36, 90), p, &text));
  }
  gui->AttachControl(display);
  AttachGraphics(gui);
}
