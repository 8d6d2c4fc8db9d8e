// Before anything that includes Xlib, whose macros clash with their names.
#include "framework/IParam.h"
#include "framework/editor/controls/IControl.h"

#include "framework/linux/IGraphicsLinuxView.h"

#include <cstring>
#include <string>

#include "framework/linux/IGraphicsLinux.h"
#include "framework/linux/LinuxClipboard.h"
#include "framework/linux/LinuxKeys.h"
#include "framework/linux/LinuxPopupMenu.h"
#include "framework/linux/LinuxProcess.h"
#include "framework/linux/LinuxScreenCopy.h"
#include "framework/linux/LinuxTooltip.h"
#include "framework/linux/LinuxXErrorTrap.h"
#include "pix/pix_sysbitmap.h"

namespace {

// Key releases are not selected: they reach the host's window unasked.
const long kViewEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                         KeyPressMask | LeaveWindowMask | StructureNotifyMask;

const unsigned kClickButtonsMask = Button1Mask | Button3Mask;

}  // namespace

IGraphicsLinuxView::IGraphicsLinuxView(IGraphicsLinux* graphics, Window parent, bool allowShm)
    : m_graphics(graphics), m_clock(graphics->FPS())
{
  m_display = XOpenDisplay(nullptr);
  if (!m_display) return;
  bool ok = false;
  {
    LinuxXErrorTrap trap(m_display);
    const unsigned long errorsBefore = LinuxXErrorTrap::ErrorCount();
    const int screen = DefaultScreen(m_display);
    m_parent = parent ? parent : RootWindow(m_display, screen);
    XSetWindowAttributes attr = {};
    attr.background_pixel = 0;  // black, as the draw bitmap starts
    attr.bit_gravity = NorthWestGravity;
    attr.event_mask = kViewEvents;
    const int w = graphics->Width() > 0 ? graphics->Width() : 1;
    const int h = graphics->Height() > 0 ? graphics->Height() : 1;
    m_window = XCreateWindow(m_display, m_parent, 0, 0, w, h, 0, CopyFromParent, InputOutput, CopyFromParent,
                             CWBackPixel | CWBitGravity | CWEventMask, &attr);
    if (m_window) {
      XStoreName(m_display, m_window, "Quarry editor");
      XMapWindow(m_display, m_window);
    }
    // A parent that does not exist (or went away) answers with an error.
    XSync(m_display, False);
    ok = m_window && LinuxXErrorTrap::ErrorCount() == errorsBefore;
    if (ok) m_copy.reset(new LinuxScreenCopy(m_display, m_window, allowShm));
    else if (m_window) XDestroyWindow(m_display, m_window);
    if (!ok) {
      XSync(m_display, False);
      XCloseDisplay(m_display);
    }
  }
  if (!ok) {
    m_display = nullptr;
    m_window = 0;
    return;
  }
  // The window shows every control once it is first exposed.
  m_graphics->SetAllControlsDirty();
}

IGraphicsLinuxView::~IGraphicsLinuxView()
{
  if (!m_display) return;
  LinuxXErrorTrap trap(m_display);
  // Closing: the field goes without a redraw.
  if (m_entry.IsOpen()) {
    m_entry.Unpaint(m_graphics->GetDrawBitmap());
    m_entry.Close();
    GrabKeyboard(false);
  }
  HideTooltip();
  m_tooltip.reset();
  if (m_cursor.IsHidden()) m_cursor.Show(m_display, m_window);
  m_copy.reset();
  if (m_window && !m_lost) XDestroyWindow(m_display, m_window);
  XSync(m_display, False);
  XCloseDisplay(m_display);
}

bool IGraphicsLinuxView::UsesSharedMemory() const { return m_copy && m_copy->UsesShm(); }

// ---- The tick ----

void IGraphicsLinuxView::Idle()
{
  if (!m_display) return;
  LinuxXErrorTrap trap(m_display);
  PumpEvents();
  if (m_lost) return;
  TickIfDue();
  UpdateTooltip();
}

void IGraphicsLinuxView::PumpEvents()
{
  // XPending sends what is queued and reads what has arrived, without waiting.
  while (!m_lost && XPending(m_display) > 0) {
    XEvent event;
    NextEvent(m_display, &event);
    HandleEvent(&event);
  }
}

void IGraphicsLinuxView::NextEvent(Display* display, XEvent* event)
{
  XNextEvent(display, event);
  // Of a run of motions only the last counts: a drag reads its distance
  // from the last position the editor saw.
  while (event->type == MotionNotify && XEventsQueued(display, QueuedAlready) > 0) {
    XEvent next;
    XPeekEvent(display, &next);
    if (next.type != MotionNotify || next.xmotion.window != event->xmotion.window) break;
    XNextEvent(display, event);
  }
}

void IGraphicsLinuxView::TickIfDue()
{
  if (!m_display || m_lost || !m_clock.Due(LinuxTickClock::NowNs())) return;
  LinuxReapPrograms();
  // The pass draws the editor's own picture; the field goes over it again
  // when the pass copies to the screen, or right after when nothing was
  // drawn (the screen shows it unchanged then).
  const bool entry = m_entry.IsOpen();
  if (entry) m_entry.Unpaint(m_graphics->GetDrawBitmap());
  m_graphics->TimerStep();
  if (entry && m_entry.IsOpen() && !m_entry.Painted()) m_entry.Paint(m_graphics->GetDrawBitmap());
}

bool IGraphicsLinuxView::CopyToScreen(const IRECT& r)
{
  if (!m_copy || m_lost) return false;
  // Drawing passes a caller starts outside the editor's own calls land
  // here too.
  LinuxXErrorTrap trap(m_display);
  PIX_SysBitmap* bitmap = m_graphics->GetDrawBitmap();
  if (!bitmap || !bitmap->getBits()) return false;
  const int w = bitmap->getWidth(), h = bitmap->getHeight();
  const bool whole = !m_shownOnce;
  const IRECT area = whole ? IRECT(0, 0, w, h) : r;
  if (m_entry.IsOpen() && !m_entry.Painted()) m_entry.Paint(bitmap);
  const bool ok =
      m_copy->Put(bitmap->getBits(), w, h, bitmap->getRowSpan() * 4, area.mL, area.mT, area.W(), area.H());
  if (ok && whole) m_shownOnce = true;
  return ok;
}

void IGraphicsLinuxView::CopyExposed()
{
  if (m_exposed.Empty()) return;
  IRECT area = m_exposed;
  m_exposed.Clear();
  // The first exposure draws the whole editor.
  if (!m_shownOnce) {
    area = IRECT(0, 0, m_graphics->Width(), m_graphics->Height());
    m_graphics->SetAllControlsDirty();
  }
  Redraw(area);
}

void IGraphicsLinuxView::Redraw(IRECT area)
{
  // The controls in the area are drawn again (with what is dirty anyway),
  // as a paint callback does: outside the rectangle of its last pass the
  // bitmap may hold shapes a pass painted beyond it.
  IRECT dirty;
  if (m_graphics->IsDirty(&dirty)) area = area.Union(&dirty);
  if (m_graphics->NControls() == 0) {
    CopyToScreen(area);
    return;
  }
  if (m_entry.IsOpen()) m_entry.Unpaint(m_graphics->GetDrawBitmap());
  m_graphics->Draw(&area);
}

void IGraphicsLinuxView::SetSize(int w, int h)
{
  if (!m_display || m_lost) return;
  LinuxXErrorTrap trap(m_display);
  XResizeWindow(m_display, m_window, w > 0 ? w : 1, h > 0 ? h : 1);
  XFlush(m_display);
  m_shownOnce = false;
}

// ---- Events ----

void IGraphicsLinuxView::HandleEvent(XEvent* event)
{
  if (event->type == MappingNotify) {
    XRefreshKeyboardMapping(&event->xmapping);
    return;
  }
  if (m_tooltip && event->xany.window == m_tooltip->GetXWindow() && event->type == Expose) {
    if (event->xexpose.count == 0) m_tooltip->Repaint();
    return;
  }
  if (event->xany.window != m_window) return;
  switch (event->type) {
    case Expose: {
      const XExposeEvent& e = event->xexpose;
      const IRECT r(e.x, e.y, e.x + e.width, e.y + e.height);
      m_exposed = m_exposed.Union(&r);
      if (e.count == 0) CopyExposed();
      break;
    }
    case ButtonPress:
      OnButtonPress(&event->xbutton);
      break;
    case ButtonRelease:
      OnButtonRelease(&event->xbutton);
      break;
    case MotionNotify:
      OnMotion(&event->xmotion);
      break;
    case KeyPress:
      OnKeyPress(&event->xkey);
      break;
    case LeaveNotify: {
      const XCrossingEvent& e = event->xcrossing;
      if (e.mode != NotifyNormal || e.detail == NotifyInferior || (e.state & kClickButtonsMask)) break;
      HideTooltip();
      m_restSince = 0;
      m_graphics->OnMouseOut();
      break;
    }
    case DestroyNotify:
      if (event->xdestroywindow.window == m_window) m_lost = true;
      break;
    default:
      break;
  }
}

void IGraphicsLinuxView::OnButtonPress(XButtonEvent* e)
{
  HideTooltip();
  m_restSince = 0;
  const int step = LinuxWheelStep(e->button);
  if (step) {
    EndUserInput();
    IMouseMod mod = LinuxButtonMod(e->state, e->button);
    m_graphics->OnMouseWheel(e->x, e->y, &mod, step);
    return;
  }
  if (!LinuxIsClickButton(e->button)) return;
  if (m_entry.IsOpen()) {
    // A click in the field moves its caret and is the field's alone; one
    // outside commits it and then acts as usual.
    if (m_entry.Rect().Contains(e->x, e->y)) {
      ResetDoubleClick();
      if (e->button == Button1) {
        m_entry.PlaceCaret(e->x);
        ShowTextEntry();
      }
      return;
    }
    CommitUserInput();
  }
  m_buttonsDown |= LinuxButtonMask(e->button) & kClickButtonsMask;
  m_pressX = e->x;
  m_pressY = e->y;
  IMouseMod mod = LinuxButtonMod(e->state, e->button);
  if (m_doubleClick.Press(e->time, e->x, e->y, e->button)) m_graphics->OnMouseDblClick(e->x, e->y, &mod);
  else m_graphics->OnMouseDown(e->x, e->y, &mod);
}

void IGraphicsLinuxView::OnButtonRelease(XButtonEvent* e)
{
  // Only releases of presses the editor saw: a click the text field took
  // must not end a gesture that never began.
  const unsigned mask = LinuxButtonMask(e->button) & kClickButtonsMask;
  if (!mask || !(m_buttonsDown & mask)) return;
  m_buttonsDown &= ~mask;
  IMouseMod mod = LinuxButtonMod(e->state, e->button);
  m_graphics->OnMouseUp(e->x, e->y, &mod);
}

void IGraphicsLinuxView::OnMotion(XMotionEvent* e)
{
  m_pointerX = e->x;
  m_pointerY = e->y;
  IMouseMod mod = LinuxMotionMod(e->state);
  if (e->state & kClickButtonsMask) {
    if (!m_entry.IsOpen() && (m_buttonsDown & kClickButtonsMask)) m_graphics->OnMouseDrag(e->x, e->y, &mod);
    return;
  }
  const int before = m_graphics->GetMouseOver();
  m_graphics->OnMouseOver(e->x, e->y, &mod);
  if (m_graphics->GetMouseOver() != before) HideTooltip();
  m_restSince = LinuxTickClock::NowNs();
}

void IGraphicsLinuxView::OnKeyPress(XKeyEvent* e)
{
  HideTooltip();
  if (m_entry.IsOpen()) {
    OnTextEntryKey(e);
    return;
  }
  const int code = LinuxEditorKeyCode(LinuxEventKeySym(e));
  if (code != kLinuxKeyNotTaken && m_graphics->OnKeyDown(e->x, e->y, code)) return;
  PassKeyToHost(e);
}

void IGraphicsLinuxView::PassKeyToHost(XKeyEvent* e)
{
  if (m_parent == DefaultRootWindow(m_display)) return;
  // The view sits at the parent's origin, so the coordinates hold there
  // too. Sent with propagation: it reaches whichever ancestor the host
  // listens on.
  XEvent forward;
  std::memset(&forward, 0, sizeof forward);
  forward.xkey = *e;
  forward.xkey.window = m_parent;
  forward.xkey.subwindow = m_window;
  XSendEvent(m_display, m_parent, True, KeyPressMask, &forward);
  XFlush(m_display);
}

// ---- Text field ----

void IGraphicsLinuxView::CreateTextEntry(IControl* control, IText* text, const IRECT& r, const char* str,
                                         IParam* param)
{
  if (!control || m_entry.IsOpen() || !m_display || m_lost) return;
  LinuxXErrorTrap trap(m_display);
  HideTooltip();
  const LinuxTextFormatter formatter =
      param ? LinuxTextFormatter::ForParamType(param->Type(), control->GetTextEntryLength())
            : LinuxTextFormatter();
  if (!m_entry.Open(control, param, text, r, str, formatter, m_graphics->Width(), m_graphics->Height()))
    return;
  GrabKeyboard(true);
  ShowTextEntry();
}

void IGraphicsLinuxView::ShowTextEntry()
{
  PIX_SysBitmap* bitmap = m_graphics->GetDrawBitmap();
  if (!bitmap) return;
  m_entry.Paint(bitmap);
  CopyToScreen(m_entry.Rect());
}

void IGraphicsLinuxView::HideTextEntry()
{
  const IRECT r = m_entry.Rect();
  m_entry.Unpaint(m_graphics->GetDrawBitmap());
  m_entry.Close();
  GrabKeyboard(false);
  Redraw(r);
}

void IGraphicsLinuxView::EndUserInput()
{
  if (!m_entry.IsOpen() || !m_display) return;
  LinuxXErrorTrap trap(m_display);
  HideTextEntry();
}

void IGraphicsLinuxView::CommitUserInput()
{
  if (!m_entry.IsOpen()) return;
  IControl* control = m_entry.Control();
  IParam* param = m_entry.Param();
  const std::string text = m_entry.Text();
  EndUserInput();
  if (param) m_graphics->SetFromStringAfterPrompt(control, param, text.c_str());
  else control->TextFromTextEntry(text.c_str());
}

void IGraphicsLinuxView::OnTextEntryKey(XKeyEvent* e)
{
  char typed[8];
  const KeySym sym = LinuxEventText(e, typed);
  switch (m_entry.Key(sym, typed, e->state)) {
    case LinuxTextEntry::kKeyEdited:
      ShowTextEntry();
      break;
    case LinuxTextEntry::kKeyCommit:
      CommitUserInput();
      break;
    case LinuxTextEntry::kKeyCancel:
      EndUserInput();
      break;
    case LinuxTextEntry::kKeyPaste: {
      BASE_String clip;
      if (!ReadClipboard(&clip)) break;
      // One line of it: a field holds no line breaks.
      const std::string line(clip.Get(), std::strcspn(clip.Get(), "\r\n"));
      if (m_entry.Insert(line.c_str())) ShowTextEntry();
      break;
    }
    case LinuxTextEntry::kKeyIgnored:
      break;
  }
}

void IGraphicsLinuxView::GrabKeyboard(bool grab)
{
  if (grab && !m_keyboardGrabbed) {
    // Hosts keep the keyboard focus; while the field is open every key
    // comes here instead.
    m_keyboardGrabbed =
        XGrabKeyboard(m_display, m_window, True, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess;
  } else if (!grab && m_keyboardGrabbed) {
    XUngrabKeyboard(m_display, CurrentTime);
    m_keyboardGrabbed = false;
  }
  XFlush(m_display);
}

// ---- Menus ----

IPopupMenu* IGraphicsLinuxView::CreatePopupMenu(IPopupMenu* menu, const IRECT& r)
{
  if (!menu || !m_display || m_lost) return nullptr;
  LinuxXErrorTrap trap(m_display);
  EndUserInput();
  HideTooltip();
  LinuxPopupMenu popup(this);
  IPopupMenu* chosen = popup.Run(menu, r);
  ResetDoubleClick();
  return chosen;
}

// ---- Tooltips ----

void IGraphicsLinuxView::RemoveAllToolTips()
{
  m_tooltipAreas.clear();
  HideTooltip();
}

void IGraphicsLinuxView::RegisterToolTip(const IRECT& r) { m_tooltipAreas.push_back(r); }

Window IGraphicsLinuxView::TooltipWindow() const { return m_tooltip ? m_tooltip->GetXWindow() : 0; }

void IGraphicsLinuxView::HideTooltip()
{
  if (m_tooltip) m_tooltip->Hide();
}

void IGraphicsLinuxView::UpdateTooltip()
{
  if (!m_restSince || (m_tooltip && m_tooltip->Shown())) return;
  if (LinuxTickClock::NowNs() - m_restSince < kTooltipDelayMs * 1000000LL) return;
  m_restSince = 0;  // one tooltip per rest
  // Tooltips follow the editor's mouse-over tracking.
  if (!m_graphics->TooltipsEnabled() || !m_graphics->CanHandleMouseOver()) return;
  bool inArea = false;
  for (const IRECT& r : m_tooltipAreas) inArea = inArea || r.Contains(m_pointerX, m_pointerY);
  IControl* control = m_graphics->GetControl(m_graphics->GetMouseOver());
  if (!inArea || !control || !control->GetTooltip()[0]) return;
  int rootX = 0, rootY = 0;
  Window child;
  XTranslateCoordinates(m_display, m_window, DefaultRootWindow(m_display), m_pointerX, m_pointerY, &rootX,
                        &rootY, &child);
  if (!m_tooltip) m_tooltip.reset(new LinuxTooltip(m_display));
  m_tooltip->Show(control->GetTooltip(), rootX, rootY);
}

// ---- Cursor and clipboard ----

void IGraphicsLinuxView::HideCursor()
{
  if (!m_display || m_lost) return;
  LinuxXErrorTrap trap(m_display);
  m_cursor.Hide(m_display, m_window);
}

void IGraphicsLinuxView::ShowCursor()
{
  if (!m_display || m_lost) return;
  LinuxXErrorTrap trap(m_display);
  m_cursor.Show(m_display, m_window);
}

bool IGraphicsLinuxView::ReadClipboard(BASE_String* text)
{
  if (!m_display || m_lost) {
    text->Set("");
    return false;
  }
  LinuxXErrorTrap trap(m_display);
  return LinuxReadClipboard(m_display, m_window, text, kClipboardWaitMs);
}
