#include "framework/linux/LinuxTextEntry.h"

#include <X11/keysym.h>

#include <new>

#include "framework/linux/LinuxCanvas.h"
#include "pix/pix_blit.h"
#include "pix/pix_sysbitmap.h"

namespace {

const int kPadding = 2;  // pixels between the field's edges and its text

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

size_t PreviousBoundary(const std::string& s, size_t i)
{
  if (i == 0) return 0;
  do --i;
  while (i > 0 && IsContinuationByte(s[i]));
  return i;
}

size_t NextBoundary(const std::string& s, size_t i)
{
  if (i >= s.size()) return s.size();
  do ++i;
  while (i < s.size() && IsContinuationByte(s[i]));
  return i;
}

int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace

LinuxTextEntry::~LinuxTextEntry() { Close(); }

bool LinuxTextEntry::Open(IControl* control, IParam* param, const IText* text, const IRECT& rect,
                          const char* str, const LinuxTextFormatter& formatter, int editorW, int editorH)
{
  if (!control || IsOpen()) return false;
  const IRECT r(Clamp(rect.mL, 0, editorW), Clamp(rect.mT, 0, editorH), Clamp(rect.mR, 0, editorW),
                Clamp(rect.mB, 0, editorH));
  if (r.W() <= 0 || r.H() <= 0) return false;
  m_canvas = new (std::nothrow) LinuxCanvas(r.W(), r.H());
  if (!m_canvas || !m_canvas->Pixels()) {
    delete m_canvas;
    m_canvas = nullptr;
    return false;
  }
  m_under.resize(r.W(), r.H());
  m_text = text ? *text : IText();
  // The field's face is a little smaller than the control's, in the
  // text-entry colour; its font is its own, not the control's.
  const int size = ITruncToInt(m_text.mSize * 0.9);
  m_text.mSize = size > 1 ? size : 1;
  m_text.mColor = m_text.mTextEntryFGColor;
  m_text.mOrientation = 0;
  m_text.mCached = nullptr;
  m_control = control;
  m_param = param;
  m_rect = r;
  m_formatter = formatter;
  m_value = str ? str : "";
  m_caret = m_value.size();
  m_scroll = 0;
  m_painted = false;
  return true;
}

void LinuxTextEntry::Close()
{
  delete m_canvas;
  m_canvas = nullptr;
  m_control = nullptr;
  m_param = nullptr;
  m_value.clear();
  m_caret = 0;
  m_painted = false;
}

// ---- Editing ----

bool LinuxTextEntry::Insert(const char* text)
{
  if (!IsOpen() || !text || !*text) return false;
  std::string edited = m_value;
  edited.insert(m_caret, text);
  if (!m_formatter.IsPartialStringValid(edited.c_str())) return false;
  m_value.swap(edited);
  m_caret += std::char_traits<char>::length(text);
  return true;
}

bool LinuxTextEntry::Backspace()
{
  if (m_caret == 0) return false;
  const size_t from = PreviousBoundary(m_value, m_caret);
  m_value.erase(from, m_caret - from);
  m_caret = from;
  return true;
}

bool LinuxTextEntry::Delete()
{
  if (m_caret >= m_value.size()) return false;
  m_value.erase(m_caret, NextBoundary(m_value, m_caret) - m_caret);
  return true;
}

bool LinuxTextEntry::Left()
{
  if (m_caret == 0) return false;
  m_caret = PreviousBoundary(m_value, m_caret);
  return true;
}

bool LinuxTextEntry::Right()
{
  if (m_caret >= m_value.size()) return false;
  m_caret = NextBoundary(m_value, m_caret);
  return true;
}

bool LinuxTextEntry::Home()
{
  if (m_caret == 0) return false;
  m_caret = 0;
  return true;
}

bool LinuxTextEntry::End()
{
  if (m_caret == m_value.size()) return false;
  m_caret = m_value.size();
  return true;
}

LinuxTextEntry::EKeyAction LinuxTextEntry::Key(KeySym sym, const char* typed, unsigned state)
{
  if (!IsOpen()) return kKeyIgnored;
  const bool control = (state & ControlMask) != 0;
  const auto edited = [](bool changed) { return changed ? kKeyEdited : kKeyIgnored; };
  switch (sym) {
    case XK_Return:
    case XK_KP_Enter:
      return kKeyCommit;
    case XK_Escape:
      return kKeyCancel;
    case XK_BackSpace:
      return edited(Backspace());
    case XK_Delete:
    case XK_KP_Delete:
      return edited(Delete());
    case XK_Left:
    case XK_KP_Left:
      return edited(Left());
    case XK_Right:
    case XK_KP_Right:
      return edited(Right());
    case XK_Home:
    case XK_KP_Home:
      return edited(Home());
    case XK_End:
    case XK_KP_End:
      return edited(End());
    case XK_Insert:
    case XK_KP_Insert:
      return (state & ShiftMask) ? kKeyPaste : kKeyIgnored;
    case XK_v:
    case XK_V:
      if (control) return kKeyPaste;
      break;
    default:
      break;
  }
  if (control || (state & Mod1Mask) || !typed || !*typed) return kKeyIgnored;
  return edited(Insert(typed));
}

// ---- Pixels ----

int LinuxTextEntry::TextWidth(const std::string& s)
{
  if (s.empty()) return 0;
  IRECT r;
  IText near = m_text;
  near.mAlign = IText::kAlignNear;
  return m_canvas->MeasureIText(&near, s.c_str(), &r) ? r.W() : 0;
}

void LinuxTextEntry::PlaceCaret(int x)
{
  if (!IsOpen()) return;
  const int w = m_rect.W();
  const int textW = TextWidth(m_value);
  const int left = textW <= w - 2 * kPadding ? kPadding : kPadding - m_scroll;
  const int target = x - m_rect.mL;
  size_t best = 0;
  int bestDistance = -1;
  for (size_t i = 0;; i = NextBoundary(m_value, i)) {
    const int cx = left + TextWidth(m_value.substr(0, i));
    const int distance = cx > target ? cx - target : target - cx;
    if (bestDistance < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
    if (i >= m_value.size()) break;
  }
  m_caret = best;
}

void LinuxTextEntry::Draw(PIX_IBitmap* editorBitmap)
{
  LinuxCanvas& c = *m_canvas;
  const int w = m_rect.W(), h = m_rect.H();
  IRECT all(0, 0, w, h);
  c.FillIRect(&m_text.mTextEntryBGColor, &all);

  IRECT line;
  IText near = m_text;
  near.mAlign = IText::kAlignNear;
  const int lineH = c.MeasureIText(&near, "Ag", &line) && line.H() > 0 ? line.H() : m_text.mSize;
  const int textW = TextWidth(m_value);
  const int caretX = TextWidth(m_value.substr(0, m_caret));
  const int room = w - 2 * kPadding;
  int x0;
  if (textW <= room) {
    // Text that fits sits as the control aligns it.
    m_scroll = 0;
    if (m_text.mAlign == IText::kAlignNear) x0 = kPadding;
    else if (m_text.mAlign == IText::kAlignCenter) x0 = (w - textW) / 2;
    else x0 = w - kPadding - textW;
  } else {
    // Longer text scrolls so that the caret stays in view.
    if (caretX - m_scroll > room) m_scroll = caretX - room;
    if (caretX < m_scroll) m_scroll = caretX;
    m_scroll = Clamp(m_scroll, 0, textW - room);
    x0 = kPadding - m_scroll;
  }
  const int y0 = (h - lineH) / 2;
  IRECT textRect(x0, y0, x0 + textW, y0 + lineH);
  c.DrawIText(&near, m_value.c_str(), &textRect);
  const int cx = Clamp(x0 + caretX, 0, w - 1);
  IRECT caret(cx, Clamp(y0, 0, h), cx + 1, Clamp(y0 + lineH, 0, h));
  c.FillIRect(&m_text.mTextEntryFGColor, &caret);
  PIX_Blit(editorBitmap, c.Pixels(), m_rect.mL, m_rect.mT);
}

void LinuxTextEntry::Paint(PIX_IBitmap* editorBitmap)
{
  if (!IsOpen() || !editorBitmap) return;
  if (!m_painted) PIX_Blit(&m_under, editorBitmap, 0, 0, m_rect.mL, m_rect.mT, m_rect.W(), m_rect.H());
  Draw(editorBitmap);
  m_painted = true;
}

void LinuxTextEntry::Unpaint(PIX_IBitmap* editorBitmap)
{
  if (!IsOpen() || !m_painted || !editorBitmap) return;
  PIX_Blit(editorBitmap, &m_under, m_rect.mL, m_rect.mT);
  m_painted = false;
}
