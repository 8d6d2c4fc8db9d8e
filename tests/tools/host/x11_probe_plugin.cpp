// A VST 2.4 plug-in written straight against the published interface, not
// on the framework, with an X11 editor of its own: the host commands'
// tests use it as "any Linux plug-in". One parameter, "Level" (0 to 1,
// shown as a percentage); the editor is a 160 x 100 window whose left half
// shows the level as grey 0x00LLLLLL (LL = level x 255, rounded) and whose
// right half is 0x0000C000. A left click in the editor raises the level by
// 0.25 (wrapping from 1 to 0) and reports it to the host with begin-edit,
// automate and end-edit, as hosts expect of a gesture.

#include <X11/Xlib.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "framework/vst/VSTInterface.h"

namespace {

const int kWidth = 160;
const int kHeight = 100;

struct Probe {
  AEffect effect = {};
  audioMasterCallback host = nullptr;
  float level = 0.25f;
  ERect rect = {0, 0, kHeight, kWidth};
  Display* display = nullptr;
  Window window = 0;
  GC gc = nullptr;
};

Probe* Of(AEffect* e) { return static_cast<Probe*>(e->object); }

unsigned long Grey(float level)
{
  const unsigned long v = static_cast<unsigned long>(std::lround(level * 255.0f));
  return v << 16 | v << 8 | v;
}

void Paint(Probe* p)
{
  XSetForeground(p->display, p->gc, Grey(p->level));
  XFillRectangle(p->display, p->window, p->gc, 0, 0, kWidth / 2, kHeight);
  XSetForeground(p->display, p->gc, 0x00C000);
  XFillRectangle(p->display, p->window, p->gc, kWidth / 2, 0, kWidth - kWidth / 2, kHeight);
  XFlush(p->display);
}

void Click(Probe* p)
{
  p->level = p->level >= 1.0f ? 0.0f : p->level + 0.25f;
  p->host(&p->effect, audioMasterBeginEdit, 0, 0, nullptr, 0.0f);
  p->host(&p->effect, audioMasterAutomate, 0, 0, nullptr, p->level);
  p->host(&p->effect, audioMasterEndEdit, 0, 0, nullptr, 0.0f);
  Paint(p);
}

VstIntPtr OpenEditor(Probe* p, void* parent)
{
  if (p->display || !parent) return 0;
  p->display = XOpenDisplay(nullptr);
  if (!p->display) return 0;
  p->window =
      XCreateSimpleWindow(p->display, reinterpret_cast<Window>(parent), 0, 0, kWidth, kHeight, 0, 0, 0);
  XSelectInput(p->display, p->window, ButtonPressMask | ExposureMask);
  p->gc = XCreateGC(p->display, p->window, 0, nullptr);
  XMapWindow(p->display, p->window);
  XFlush(p->display);
  return 1;
}

void Idle(Probe* p)
{
  if (!p->display) return;
  XEvent event;
  while (XPending(p->display)) {
    XNextEvent(p->display, &event);
    if (event.type == Expose && event.xexpose.count == 0) Paint(p);
    if (event.type == ButtonPress && event.xbutton.button == Button1) Click(p);
  }
}

void CloseEditor(Probe* p)
{
  if (!p->display) return;
  XFreeGC(p->display, p->gc);
  XDestroyWindow(p->display, p->window);
  XCloseDisplay(p->display);
  p->display = nullptr;
}

void CopyText(void* ptr, const char* text)
{
  if (ptr) std::strcpy(static_cast<char*>(ptr), text);
}

VstIntPtr Dispatcher(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr, void* ptr, float)
{
  Probe* p = Of(e);
  switch (opcode) {
    case effClose:
      CloseEditor(p);
      delete p;
      return 0;
    case effGetParamName:
      if (index == 0) CopyText(ptr, "Level");
      return 0;
    case effGetParamLabel:
      if (index == 0) CopyText(ptr, "%");
      return 0;
    case effGetParamDisplay:
      if (index == 0 && ptr) std::snprintf(static_cast<char*>(ptr), 8, "%.0f", p->level * 100.0f);
      return 0;
    case effGetEffectName:
      CopyText(ptr, "X11 Probe");
      return 1;
    case effEditGetRect:
      if (!ptr) return 0;
      *static_cast<ERect**>(ptr) = &p->rect;
      return 1;
    case effEditOpen:
      return OpenEditor(p, ptr);
    case effEditClose:
      CloseEditor(p);
      return 1;
    case effEditIdle:
      Idle(p);
      return 0;
    case effCanBeAutomated:
      return 1;
    default:
      return 0;
  }
}

void SetParameter(AEffect* e, VstInt32 index, float value)
{
  if (index == 0) Of(e)->level = value;
}

float GetParameter(AEffect* e, VstInt32 index) { return index == 0 ? Of(e)->level : 0.0f; }

void ProcessReplacing(AEffect*, float** in, float** out, VstInt32 frames)
{
  for (int c = 0; c < 2; ++c) std::memmove(out[c], in[c], sizeof(float) * static_cast<size_t>(frames));
}

}  // namespace

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host)
{
  Probe* p = new Probe();
  p->host = host;
  AEffect& e = p->effect;
  e.magic = kEffectMagic;
  e.dispatcher = Dispatcher;
  e.setParameter = SetParameter;
  e.getParameter = GetParameter;
  e.processReplacing = ProcessReplacing;
  e.numPrograms = 1;
  e.numParams = 1;
  e.numInputs = 2;
  e.numOutputs = 2;
  e.flags = effFlagsHasEditor | effFlagsCanReplacing;
  e.ioRatio = 1.0f;
  e.object = p;
  e.uniqueID = CCONST('X', 'P', 'r', 'b');
  e.version = 1;
  return &e;
}
