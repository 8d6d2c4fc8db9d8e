#pragma once
// The walk through a text that cached fonts measure and draw by: UTF-8
// decoded one character at a time, carriage returns skipped, a line feed
// starting a new line (or, in single-line text, read as a space), and the
// pen moved by each glyph's advance. Measuring and drawing both take their
// glyph positions from this one walk.
//
// Threads: a pure function of its arguments; the caller's thread (the
// editor's, for the cached fonts).

#include <cstring>

#include "pix/pix_glyphcache.h"
#include "pix/pix_utf8.h"

// Walks length bytes of text (negative: up to the terminating zero). For
// each character, glyph(c) gives its entry or null (a character that cannot
// be had is skipped and does not move the pen); visit(c, entry, along,
// across) receives each glyph with the pen's distance from the start of its
// line and the line's distance from the first line. A line break adds
// lineStep to across and puts along back to 0.
template <class GlyphFn, class VisitFn>
void PIX_WalkGlyphs(const char* text, int length, bool singleLine, int lineStep, GlyphFn glyph, VisitFn visit)
{
  const int len = length < 0 ? (int)std::strlen(text) : length;
  int along = 0, across = 0;
  for (int pos = 0; pos < len;) {
    unsigned short c;
    pos += utf8char(text + pos, &c, len - pos);
    if (c == '\r') continue;
    if (c == '\n') {
      if (!singleLine) {
        along = 0;
        across += lineStep;
        continue;
      }
      c = ' ';
    }
    const charEnt* e = glyph(c);
    if (!e) continue;
    visit(c, *e, along, across);
    along += e->advance;
  }
}
