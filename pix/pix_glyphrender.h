// Compositing a cached font's glyph (GlyphRenderer): coverage bytes of the
// glyph store drawn in the text colour (and, for shadow and outline fonts,
// the effect colour) through the combine operator.
//
// Threads: no locking; the editor thread.
#pragma once

#include "pix/pix_bitmap.h"

enum PIX_GlyphKind {
  PIX_GLYPH_NORMAL,  // weight from the coverage
  PIX_GLYPH_MONO,    // any coverage is full
  PIX_GLYPH_EFFECT,  // 255 the text colour, other coverage the effect colour
};

// Draws the w x h coverage bitmap with its top-left at (x, y), limited to
// clip (already within the bitmap). The colours' source alpha is 255. In
// copy mode at full alpha normal glyphs use the coverage itself as weight
// and the other kinds store their colour.
void PIX_RenderGlyphCoverage(PIX_IBitmap* dest, int x, int y, const unsigned char* coverage, int w, int h,
                             const RECT& clip, PIX_pixel textColour, PIX_pixel effectColour, float alpha,
                             int mode, PIX_GlyphKind kind);
