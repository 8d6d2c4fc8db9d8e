#pragma once
// Text drawn from a bitmap font: a strip with one fixed-size frame per
// character, frame 1 being the space (character code 32).
//
// Threads: the editor's thread, inside a drawing pass.

#include "base/string.h"
#include "framework/editor/IBitmap.h"
#include "framework/editor/controls/IControl.h"

// Draws str in r, aligned by the IText's alignment (centred without an
// IText), optionally centred vertically and wrapped onto as many lines as
// the text needs; character i of a line lands at column x + i (glyphW +
// gap). A line holds as many glyphs as r is wide; the alignment places the
// widest line drawn, so a text cut or wrapped to r stays inside it.
// Characters the font has no glyph for show the space. True; nothing
// drawn for a null or empty string, a glyph width below 1 or a rectangle
// too narrow for one character.
bool DrawBitmapedText(IGraphics* graphics, IBitmap* font, IRECT* r, IText* text, IChannelBlend* blend,
                      const char* str, bool vCentre = true, bool multiline = false, int glyphW = 6,
                      int glyphH = 12, int gap = 0);

class IBitmapTextControl : public IControl {
public:
  // Unbound.
  IBitmapTextControl(IEffectBase* plug, IRECT rect, IBitmap* font, const char* str = "",
                     IText* text = nullptr, int charWidth = 6, int charHeight = 12, int charOffset = 0,
                     bool multiLine = false, bool vCentre = true);

  bool Draw(IGraphics* graphics) override;

  // As ITextControl::SetTextFromPlug.
  void SetTextFromPlug(const char* str);
  void ClearTextFromPlug() { SetTextFromPlug(""); }

protected:
  BASE_String mStr;
  int mCharWidth, mCharHeight, mCharOffset;
  IBitmap mTextBitmap;
  bool mMultiLine;
  bool mVCentre;
};
