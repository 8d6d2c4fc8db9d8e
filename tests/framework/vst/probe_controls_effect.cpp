#include "tests/framework/vst/probe_controls_effect.h"

#include "framework/editor/controls/IKnobControls.h"
#include "framework/editor/controls/ISwitchControls.h"
#include "tests/framework/editor/headless_graphics.h"
#include "tests/framework/vst/probe_controls_window.h"

namespace {

// The headless editor, taking the events of its window on each idle call
// before its timer step, as a platform pumps its event queue.
class ProbeControlsGraphics : public HeadlessGraphics {
public:
  using HeadlessGraphics::HeadlessGraphics;

  void OnEditIdle() override
  {
    if (Window()) PumpEvents(static_cast<ProbeControlsWindow*>(Window()));
    HeadlessGraphics::OnEditIdle();
  }

private:
  void PumpEvents(ProbeControlsWindow* window)
  {
    int n = window->nEvents;
    if (n < 0) n = 0;
    if (n > ProbeControlsWindow::kMaxEvents) n = ProbeControlsWindow::kMaxEvents;
    window->nEvents = 0;
    for (int i = 0; i < n; ++i) Route(window->events[i]);
  }

  void Route(const ProbeMouseEvent& e)
  {
    IMouseMod mod(e.left, e.right, e.shift, e.control, e.alt);
    switch (e.kind) {
      case ProbeMouseEvent::kDown:
        OnMouseDown(e.x, e.y, &mod);
        break;
      case ProbeMouseEvent::kDrag:
        OnMouseDrag(e.x, e.y, &mod);
        break;
      case ProbeMouseEvent::kUp:
        OnMouseUp(e.x, e.y, &mod);
        break;
      case ProbeMouseEvent::kDblClick:
        OnMouseDblClick(e.x, e.y, &mod);
        break;
      case ProbeMouseEvent::kWheel:
        OnMouseWheel(e.x, e.y, &mod, e.wheel);
        break;
    }
  }
};

enum EImageId { kBackgroundId = 201, kSwitchId, kKnobId };

}  // namespace

ProbeControlsEffect::ProbeControlsEffect(IEffectInstanceInfo info) : ProbeEffect(info)
{
  ProbeControlsGraphics* gui = new ProbeControlsGraphics(this, kEditorWidth, kEditorHeight);
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
