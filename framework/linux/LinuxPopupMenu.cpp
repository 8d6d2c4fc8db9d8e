#include "framework/linux/LinuxPopupMenu.h"

#include <poll.h>
#include <time.h>

#include <X11/keysym.h>

#include "framework/editor/IPopupMenu.h"
#include "framework/editor/IText.h"
#include "framework/linux/IGraphicsLinuxView.h"
#include "framework/linux/LinuxCanvas.h"
#include "framework/linux/LinuxKeys.h"
#include "framework/linux/LinuxMouse.h"
#include "framework/linux/LinuxScreenCopy.h"
#include "pix/pix_sysbitmap.h"

namespace {

const IColor kBackground(255, 244, 244, 244);
const IColor kFrame(255, 128, 128, 128);
const IColor kHighlight(255, 52, 101, 164);
const IColor kText(255, 0, 0, 0);
const IColor kHighlightedText(255, 255, 255, 255);
const IColor kDisabledText(255, 150, 150, 150);
const IColor kSeparator(255, 200, 200, 200);

const long kLevelEvents =
    ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask;
const unsigned kGrabEvents = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
const int kGrabTries = 20;
const int kLongestWaitMs = 50;

IText MenuText() { return IText(13, &kText, "Sans", IText::kStyleNormal, IText::kAlignNear); }

void SleepMs(int ms)
{
  timespec ts = {0, ms * 1000000L};
  nanosleep(&ts, nullptr);
}

}  // namespace

struct LinuxPopupMenu::Level {
  IPopupMenu* menu = nullptr;
  LinuxMenuLayout layout;
  int lineHeight = 0;
  Window window = 0;
  int x = 0, y = 0;
  int highlighted = -1;
  int openRow = -1;  // the row whose submenu is the next level
  std::unique_ptr<LinuxCanvas> canvas;
  std::unique_ptr<LinuxScreenCopy> copy;
};

LinuxPopupMenu::LinuxPopupMenu(IGraphicsLinuxView* view) : m_view(view), m_display(view->GetDisplay()) {}

LinuxPopupMenu::~LinuxPopupMenu()
{
  CloseLevelsFrom(0);
  Ungrab();
  XFlush(m_display);
}

IPopupMenu* LinuxPopupMenu::Run(IPopupMenu* menu, const IRECT& r)
{
  if (!menu || !m_display || menu->GetNItems() == 0) return nullptr;
  const Window root = DefaultRootWindow(m_display);
  int x = 0, y = 0;
  Window child;
  XTranslateCoordinates(m_display, m_view->GetXWindow(), root, r.mL, r.mB, &x, &y, &child);
  const int top = y - r.H();
  m_heldButtons = m_view->ButtonsDown();

  const int screen = DefaultScreen(m_display);
  int placedX = 0, placedY = 0;
  Level* first = OpenLevel(menu);
  if (!first) return nullptr;
  LinuxMenuLayout::PlaceBelow(first->layout.Width(), first->layout.Height(), x, y, top,
                              DisplayWidth(m_display, screen), DisplayHeight(m_display, screen), &placedX,
                              &placedY);
  ShowLevel(first, placedX, placedY);
  // The window must be viewable before it can take the grabs.
  XSync(m_display, False);
  Grab();

  const int fd = ConnectionNumber(m_display);
  while (!m_done && !m_view->Lost()) {
    while (!m_done && XPending(m_display) > 0) {
      XEvent event;
      IGraphicsLinuxView::NextEvent(m_display, &event);
      Handle(&event);
    }
    if (m_done || m_view->Lost()) break;
    // Waits for the server or the editor's next timer step, whichever
    // comes first: the editor keeps drawing while the menu is up.
    int waitMs = static_cast<int>(m_view->UntilNextTick() / 1000000) + 1;
    if (waitMs > kLongestWaitMs) waitMs = kLongestWaitMs;
    pollfd p = {fd, POLLIN, 0};
    poll(&p, 1, waitMs);
    m_view->TickIfDue();
  }

  CloseLevelsFrom(0);
  Ungrab();
  // The editor saw the press that opened the menu; it gets its release
  // too, so the gesture it began ends.
  if (m_haveOpeningRelease) XPutBackEvent(m_display, &m_openingRelease);
  XFlush(m_display);
  return m_chosen;
}

// ---- Levels ----

LinuxPopupMenu::Level* LinuxPopupMenu::OpenLevel(IPopupMenu* menu)
{
  if (!menu || m_levels.size() >= kMaxLevels) return nullptr;
  std::unique_ptr<Level> level(new Level);
  level->menu = menu;
  IText face = MenuText();
  LinuxCanvas measure(1, 1);
  IRECT line;
  level->lineHeight = measure.MeasureIText(&face, "Ag", &line) && line.H() > 0 ? line.H() : face.mSize;
  level->layout.Build(menu, level->lineHeight, [&](const char* title) {
    IRECT extent;
    return *title && measure.MeasureIText(&face, title, &extent) ? extent.W() : 0;
  });
  level->canvas.reset(new LinuxCanvas(level->layout.Width(), level->layout.Height()));
  if (!level->canvas->Pixels()) return nullptr;
  m_levels.push_back(std::move(level));
  return m_levels.back().get();
}

void LinuxPopupMenu::ShowLevel(Level* level, int x, int y)
{
  const int screen = DefaultScreen(m_display);
  XSetWindowAttributes attr = {};
  attr.override_redirect = True;
  attr.save_under = True;
  attr.event_mask = kLevelEvents;
  level->x = x;
  level->y = y;
  level->window = XCreateWindow(m_display, RootWindow(m_display, screen), x, y, level->layout.Width(),
                                level->layout.Height(), 0, CopyFromParent, InputOutput, CopyFromParent,
                                CWOverrideRedirect | CWSaveUnder | CWEventMask, &attr);
  XMapRaised(m_display, level->window);
  // Small and short-lived: no shared memory for it.
  level->copy.reset(new LinuxScreenCopy(m_display, level->window, false));
  Paint(level);
}

void LinuxPopupMenu::OpenSubmenu(int index, int row, bool highlightFirst)
{
  Level& parent = *m_levels[index];
  const LinuxMenuRow* r = parent.layout.Row(row);
  if (!r || !r->submenu || !parent.layout.Selectable(row)) return;
  if (parent.openRow != row || (int)m_levels.size() <= index + 1) {
    CloseLevelsFrom(index + 1);
    Level* level = OpenLevel(r->submenu);
    if (!level) return;
    const int screen = DefaultScreen(m_display);
    int x = 0, y = 0;
    LinuxMenuLayout::PlaceBeside(level->layout.Width(), level->layout.Height(), parent.x,
                                 parent.layout.Width(), parent.y + r->top, DisplayWidth(m_display, screen),
                                 DisplayHeight(m_display, screen), &x, &y);
    ShowLevel(level, x, y);
    parent.openRow = row;
  }
  if (highlightFirst) {
    Level& sub = *m_levels[index + 1];
    Highlight(index + 1, sub.layout.Next(-1, +1));
  }
}

void LinuxPopupMenu::CloseLevelsFrom(int index)
{
  while ((int)m_levels.size() > index && !m_levels.empty()) {
    Level& level = *m_levels.back();
    level.copy.reset();
    if (level.window) XDestroyWindow(m_display, level.window);
    m_levels.pop_back();
  }
  if (index > 0 && (int)m_levels.size() == index) m_levels[index - 1]->openRow = -1;
}

void LinuxPopupMenu::Paint(Level* level)
{
  LinuxCanvas& c = *level->canvas;
  const LinuxMenuLayout& layout = level->layout;
  const int w = layout.Width(), h = layout.Height();
  const int b = LinuxMenuLayout::kBorder;
  IRECT all(0, 0, w, h), inner(b, b, w - b, h - b);
  c.FillIRect(&kFrame, &all);
  c.FillIRect(&kBackground, &inner);
  IText face = MenuText();
  for (int i = 0; i < layout.NRows(); ++i) {
    const LinuxMenuRow& row = *layout.Row(i);
    const int middle = row.top + row.height / 2;
    if (row.separator) {
      IRECT line(b + 4, middle, w - b - 4, middle + 1);
      c.FillIRect(&kSeparator, &line);
      continue;
    }
    const bool lit = i == level->highlighted;
    if (lit) {
      IRECT band(b, row.top, w - b, row.top + row.height);
      c.FillIRect(&kHighlight, &band);
    }
    const IColor& color = !row.enabled ? kDisabledText : (lit ? kHighlightedText : kText);
    face.mColor = color;
    const int tx = b + LinuxMenuLayout::kCheckColumn + (row.indented ? LinuxMenuLayout::kIndent : 0);
    const int ty = row.top + (row.height - level->lineHeight) / 2;
    IRECT textRect(tx, ty, w - b - LinuxMenuLayout::kArrowColumn, ty + level->lineHeight);
    c.DrawIText(&face, row.title.c_str(), &textRect);
    if (row.checked) {
      const float cx = static_cast<float>(b + 5), cy = static_cast<float>(middle);
      c.DrawLine(&color, cx, cy, cx + 3.0f, cy + 4.0f, nullptr, true);
      c.DrawLine(&color, cx + 3.0f, cy + 4.0f, cx + 10.0f, cy - 4.0f, nullptr, true);
    }
    if (row.submenu) {
      const int ax = w - b - 12;
      c.FillTriangle(&color, ax, middle - 4, ax, middle + 4, ax + 5, middle);
    }
  }
  PIX_SysBitmap* pixels = c.Pixels();
  level->copy->Put(pixels->getBits(), w, h, pixels->getRowSpan() * 4, 0, 0, w, h);
  XFlush(m_display);
}

void LinuxPopupMenu::Highlight(int index, int row)
{
  Level& level = *m_levels[index];
  if (level.highlighted == row) return;
  level.highlighted = row;
  Paint(&level);
}

int LinuxPopupMenu::LevelAt(int rootX, int rootY, int* row) const
{
  for (int i = (int)m_levels.size() - 1; i >= 0; --i) {
    const Level& level = *m_levels[i];
    const int x = rootX - level.x, y = rootY - level.y;
    if (x >= 0 && y >= 0 && x < level.layout.Width() && y < level.layout.Height()) {
      *row = level.layout.RowAt(x, y);
      return i;
    }
  }
  *row = -1;
  return -1;
}

void LinuxPopupMenu::Grab()
{
  const Window window = m_levels[0]->window;
  // Another client may hold a grab for a moment (a host that has just
  // released a button); try a little while.
  for (int i = 0; i < kGrabTries && !(m_pointerGrabbed && m_keyboardGrabbed); ++i) {
    if (!m_pointerGrabbed)
      m_pointerGrabbed = XGrabPointer(m_display, window, True, kGrabEvents, GrabModeAsync, GrabModeAsync,
                                      None, None, CurrentTime) == GrabSuccess;
    if (!m_keyboardGrabbed)
      m_keyboardGrabbed =
          XGrabKeyboard(m_display, window, True, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess;
    if (!(m_pointerGrabbed && m_keyboardGrabbed)) SleepMs(5);
  }
}

void LinuxPopupMenu::Ungrab()
{
  if (m_pointerGrabbed) XUngrabPointer(m_display, CurrentTime);
  if (m_keyboardGrabbed) XUngrabKeyboard(m_display, CurrentTime);
  m_pointerGrabbed = m_keyboardGrabbed = false;
}

// ---- Events ----

void LinuxPopupMenu::Handle(XEvent* event)
{
  const Window editor = m_view->GetXWindow();
  switch (event->type) {
    case Expose:
      if (event->xany.window == editor) {
        m_view->HandleEvent(event);
      } else if (event->xexpose.count == 0) {
        for (auto& level : m_levels)
          if (level->window == event->xany.window) Paint(level.get());
      }
      break;
    case MotionNotify:
      OnMotion(event->xmotion.x_root, event->xmotion.y_root);
      break;
    case ButtonPress: {
      if (!LinuxButtonMask(event->xbutton.button)) break;  // the wheel neither chooses nor dismisses
      int row;
      if (LevelAt(event->xbutton.x_root, event->xbutton.y_root, &row) < 0) m_done = true;
      break;
    }
    case ButtonRelease:
      OnRelease(&event->xbutton);
      break;
    case KeyPress:
      OnKey(&event->xkey);
      break;
    case DestroyNotify:
    case MappingNotify:
      m_view->HandleEvent(event);
      break;
    default:
      break;
  }
}

void LinuxPopupMenu::OnMotion(int rootX, int rootY)
{
  int row;
  const int index = LevelAt(rootX, rootY, &row);
  if (index < 0) return;
  Level& level = *m_levels[index];
  if (level.layout.Selectable(row)) {
    Highlight(index, row);
    if (level.openRow != row) CloseLevelsFrom(index + 1);
    OpenSubmenu(index, row, false);
  } else if (level.openRow < 0) {
    // Over a separator, a disabled item or the frame; an open submenu
    // keeps its row lit while the pointer travels towards it.
    Highlight(index, -1);
  }
}

void LinuxPopupMenu::OnRelease(XButtonEvent* e)
{
  const unsigned mask = LinuxButtonMask(e->button);
  if (mask & m_heldButtons) {
    m_heldButtons &= ~mask;
    // Given back to the editor after the menu, where the press was: the
    // capture is gone, so the release finds the control under it, and it
    // is the one whose gesture the press began.
    m_openingRelease.xbutton = *e;
    m_openingRelease.xbutton.window = m_view->GetXWindow();
    m_openingRelease.xbutton.subwindow = None;
    m_openingRelease.xbutton.x = m_view->LastPressX();
    m_openingRelease.xbutton.y = m_view->LastPressY();
    m_haveOpeningRelease = true;
  }
  if (!mask) return;
  int row;
  const int index = LevelAt(e->x_root, e->y_root, &row);
  if (index < 0 || !m_levels[index]->layout.Selectable(row)) return;
  const LinuxMenuRow* r = m_levels[index]->layout.Row(row);
  if (r->submenu) OpenSubmenu(index, row, false);
  else Choose(index, row);
}

void LinuxPopupMenu::OnKey(XKeyEvent* e)
{
  const int index = (int)m_levels.size() - 1;
  Level& level = *m_levels[index];
  switch (LinuxEventKeySym(e)) {
    case XK_Up:
    case XK_KP_Up:
      Highlight(index, level.layout.Next(level.highlighted, -1));
      break;
    case XK_Down:
    case XK_KP_Down:
      Highlight(index, level.layout.Next(level.highlighted, +1));
      break;
    case XK_Right:
    case XK_KP_Right:
      if (level.highlighted >= 0) OpenSubmenu(index, level.highlighted, true);
      break;
    case XK_Left:
    case XK_KP_Left:
      if (index > 0) CloseLevelsFrom(index);
      break;
    case XK_Return:
    case XK_KP_Enter:
    case XK_space:
    case XK_KP_Space:
      if (level.layout.Selectable(level.highlighted)) Activate(index, level.highlighted);
      break;
    case XK_Escape:
      m_done = true;
      break;
    default:
      break;
  }
}

void LinuxPopupMenu::Activate(int index, int row)
{
  if (m_levels[index]->layout.Row(row)->submenu) OpenSubmenu(index, row, true);
  else Choose(index, row);
}

void LinuxPopupMenu::Choose(int index, int row)
{
  m_chosen = m_levels[index]->menu;
  m_chosen->SetChosenItemIdx(row);
  m_done = true;
}
