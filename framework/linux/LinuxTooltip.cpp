#include "framework/linux/LinuxTooltip.h"

#include "framework/editor/IText.h"
#include "framework/linux/LinuxCanvas.h"
#include "framework/linux/LinuxMenuLayout.h"
#include "framework/linux/LinuxScreenCopy.h"
#include "pix/pix_sysbitmap.h"

namespace {

const int kPadding = 4;
const IColor kBackground(255, 255, 255, 225);
const IColor kBorder(255, 118, 118, 118);
const IColor kTextColor(255, 0, 0, 0);

IText TooltipText() { return IText(12, &kTextColor, "Sans", IText::kStyleNormal, IText::kAlignNear); }

}  // namespace

LinuxTooltip::LinuxTooltip(Display* display) : m_display(display) {}

LinuxTooltip::~LinuxTooltip() { Hide(); }

bool LinuxTooltip::Show(const char* text, int rootX, int rootY)
{
  Hide();
  if (!m_display || !text || !*text) return false;
  IText face = TooltipText();
  LinuxCanvas measure(1, 1);
  IRECT extent;
  if (!measure.MeasureIText(&face, text, &extent)) return false;
  const int w = extent.W() + 2 * kPadding, h = extent.H() + 2 * kPadding;

  const int screen = DefaultScreen(m_display);
  int x = 0, y = 0;
  LinuxMenuLayout::PlaceBelow(w, h, rootX, rootY + kOffsetY, rootY - 2, DisplayWidth(m_display, screen),
                              DisplayHeight(m_display, screen), &x, &y);
  XSetWindowAttributes attr = {};
  attr.override_redirect = True;
  attr.save_under = True;
  attr.event_mask = ExposureMask;
  m_window =
      XCreateWindow(m_display, RootWindow(m_display, screen), x, y, w, h, 0, CopyFromParent, InputOutput,
                    CopyFromParent, CWOverrideRedirect | CWSaveUnder | CWEventMask, &attr);
  if (!m_window) return false;
  m_text = text;
  XMapRaised(m_display, m_window);

  m_canvas.reset(new LinuxCanvas(w, h));
  IRECT all(0, 0, w, h), inner(1, 1, w - 1, h - 1);
  m_canvas->FillIRect(&kBorder, &all);
  m_canvas->FillIRect(&kBackground, &inner);
  IRECT textRect(kPadding, kPadding, w - kPadding, h - kPadding);
  m_canvas->DrawIText(&face, text, &textRect);
  // Small and short-lived: no shared memory for it.
  m_copy.reset(new LinuxScreenCopy(m_display, m_window, false));
  Repaint();
  return true;
}

void LinuxTooltip::Repaint()
{
  PIX_SysBitmap* pixels = m_canvas ? m_canvas->Pixels() : nullptr;
  if (!m_window || !pixels) return;
  const int w = pixels->getWidth(), h = pixels->getHeight();
  m_copy->Put(pixels->getBits(), w, h, pixels->getRowSpan() * 4, 0, 0, w, h);
  XFlush(m_display);
}

void LinuxTooltip::Hide()
{
  if (!m_window) return;
  m_copy.reset();
  m_canvas.reset();
  XDestroyWindow(m_display, m_window);
  XFlush(m_display);
  m_window = 0;
  m_text.clear();
}
