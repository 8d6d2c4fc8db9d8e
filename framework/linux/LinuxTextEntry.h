#pragma once
// The in-place text field: the text being typed with its caret, edited by
// keys through the formatter's rules, and painted into the editor's draw
// bitmap over the field's rectangle with the control's face at 0.9 of its
// size in its text-entry colours. The pixels it covers are kept aside and
// put back when it closes, so the editor's picture is whole again.
//
// The field does not commit or close itself: key handling answers what a
// key asked for (commit, cancel, paste) and the view acts on it.
//
// Threads: the editor's thread only.

#include <X11/Xlib.h>

#include <string>

#include "framework/editor/IRECT.h"
#include "framework/editor/IText.h"
#include "framework/linux/LinuxTextFormatter.h"
#include "pix/pix_membitmap.h"

class IControl;
class IParam;
class LinuxCanvas;
class PIX_IBitmap;

class LinuxTextEntry {
public:
  LinuxTextEntry() {}
  ~LinuxTextEntry();
  LinuxTextEntry(const LinuxTextEntry&) = delete;
  LinuxTextEntry& operator=(const LinuxTextEntry&) = delete;

  // Opens over rect clipped to the editor's width x height, with the caret
  // after str. False (nothing opened) for a missing control, an open field
  // or a rectangle outside the editor.
  bool Open(IControl* control, IParam* param, const IText* text, const IRECT& rect, const char* str,
            const LinuxTextFormatter& formatter, int editorW, int editorH);
  // Forgets the field (its pixels must have been put back first).
  void Close();
  bool IsOpen() const { return m_control != nullptr; }

  IControl* Control() const { return m_control; }
  IParam* Param() const { return m_param; }
  const IRECT& Rect() const { return m_rect; }
  const std::string& Text() const { return m_value; }
  // Byte offset of the caret in the text, always on a character boundary.
  size_t Caret() const { return m_caret; }

  // ---- Editing ----
  // Inserts UTF-8 text at the caret when the whole result passes the
  // formatter; false (nothing changed) otherwise.
  bool Insert(const char* text);
  bool Backspace();
  bool Delete();
  bool Left();
  bool Right();
  bool Home();
  bool End();
  // Puts the caret at the character boundary nearest to the field's x.
  void PlaceCaret(int x);

  enum EKeyAction {
    kKeyIgnored,  // nothing to do
    kKeyEdited,   // text or caret changed: repaint
    kKeyCommit,   // Return or Enter
    kKeyCancel,   // Escape
    kKeyPaste,    // Control+V or Shift+Insert: insert the clipboard's text
  };
  // One key press: sym with the modifier state, typed the UTF-8 character
  // it types ("" for none).
  EKeyAction Key(KeySym sym, const char* typed, unsigned state);

  // ---- Pixels ----
  // Paints the field over the bitmap. When it does not show yet, the
  // pixels under it (the editor's own picture) are kept first; when it
  // does, it is painted again over them (after an edit).
  void Paint(PIX_IBitmap* editorBitmap);
  // Puts the kept pixels back; the field no longer shows in the bitmap.
  void Unpaint(PIX_IBitmap* editorBitmap);
  bool Painted() const { return m_painted; }

private:
  int TextWidth(const std::string& s);
  void Draw(PIX_IBitmap* editorBitmap);

  IControl* m_control = nullptr;
  IParam* m_param = nullptr;
  IText m_text;
  IRECT m_rect;
  LinuxTextFormatter m_formatter;
  std::string m_value;
  size_t m_caret = 0;
  int m_scroll = 0;  // pixels of text scrolled out to the left
  LinuxCanvas* m_canvas = nullptr;
  PIX_MemBitmap m_under;
  bool m_painted = false;
};
