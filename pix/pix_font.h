// The font interface of the rasteriser: draws UTF-8 text into a bitmap.
//
// Threads: fonts have no locking; all text drawing happens on the editor
// thread.
#pragma once

#include "gdi/gdi-types.h"
#include "pix/pix_bitmap.h"

class PIX_IFont {
public:
  virtual ~PIX_IFont() {}

  // Takes a platform font (the GDI layer's HFONT) with the font flags
  // (PIX_FONT_*); resets every cached glyph.
  virtual void SetFromHFont(HFONT font, int flags = 0) = 0;

  // Colours are 0xAARRGGBB; each setter returns the previous value.
  virtual PIX_pixel SetTextColor(PIX_pixel colour) = 0;
  virtual PIX_pixel SetBkColor(PIX_pixel colour) = 0;
  virtual PIX_pixel SetEffectColor(PIX_pixel colour) = 0;
  // Mode 1 paints the background colour behind the text.
  virtual int SetBkMode(int mode) = 0;
  // Blend-mode word and alpha used to composite glyphs.
  virtual void SetCombineMode(int mode, float alpha = 1.0f) = 0;

  // Draws (or with DT_CALCRECT measures) text of length bytes (-1: NUL
  // terminated) in the rectangle with DT_ flags, plus
  // PIX_DT_USE_FG_ALPHA. Returns the text height (width for vertical fonts).
  virtual int DrawText(PIX_IBitmap* bm, const char* text, int length, RECT* r, int flags) = 0;

  virtual PIX_pixel GetTextColor() = 0;
  virtual HFONT GetHFont() = 0;
  virtual int GetLineHeight() = 0;
};

// Font flags of SetFromHFont.
enum {
  PIX_FONT_VERTICAL = 0x1,         // glyphs turned a quarter, the pen advances down
  PIX_FONT_BOTTOMUP = 0x2,         // with VERTICAL: turned the other way, the pen advances up
  PIX_FONT_PRERENDER_ASCII = 0x4,  // render 0..127 when the font is set; never cache 128 and up
  PIX_FONT_BLUR = 0x10,
  PIX_FONT_INVERT = 0x20,
  PIX_FONT_MONO = 0x40,  // coverage above 130 is full, the rest empty
  PIX_FONT_SHADOW = 0x80,
  PIX_FONT_OUTLINE = 0x100,
  PIX_FONT_OWNS_HFONT = 0x200,  // delete the platform font when replaced or destroyed
  PIX_FONT_NATIVE = 0x400,      // let the platform draw when nothing needs glyphs
};

// DrawText flag: multiply the combine alpha by the text colour's alpha / 255.
enum { PIX_DT_USE_FG_ALPHA = 0x40000000 };
