#pragma once
// Lettering of the artwork: DejaVu faces through the text layer, drawn with
// cached glyphs so the same text always gives the same pixels.
//
// Threads: used by the artwork tool's one thread.

#include <memory>

#include "pix/pix_cachedfont.h"
#include "tools/artwork/ArtColour.h"

class ArtFont {
public:
  // face: a DejaVu family ("DejaVu Sans", "DejaVu Serif"); px: pixel height.
  ArtFont(const char* face, int px, bool bold);

  // Width of text in pixels with tracking extra pixels between letters.
  int Measure(const char* text, float tracking = 0.0f);
  int LineHeight() { return m_font.GetLineHeight(); }
  // Draws text centred on cx with its line box starting at top.
  void DrawCentred(PIX_IBitmap* bm, const char* text, float cx, int top, ArtRGB colour, float alpha = 1.0f,
                   float tracking = 0.0f);
  // Draws text with its line box ending at right.
  void DrawRight(PIX_IBitmap* bm, const char* text, int right, int top, ArtRGB colour, float alpha = 1.0f);
  // Centred text cut into the panel: a light lower edge, a dark upper
  // edge, then the letters.
  void DrawEngraved(PIX_IBitmap* bm, const char* text, float cx, int top, ArtRGB colour,
                    float tracking = 0.0f);

private:
  // Draws (bm non-null) or only walks the text; returns the pen position
  // after the last letter and its tracking.
  float Walk(PIX_IBitmap* bm, const char* text, float x, int top, float tracking);
  void DrawAt(PIX_IBitmap* bm, const char* text, float x, int top, ArtRGB colour, float alpha,
              float tracking);

  PIX_CachedFont m_font;
};
