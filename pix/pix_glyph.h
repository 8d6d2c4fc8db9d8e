// Compositing 8-bit coverage masks (glyphs and small fixed shapes) into a
// bitmap with one colour through the combine operators.
//
// Threads: no locking; the thread that owns the bitmap (the editor's).
#pragma once

#include "pix/pix_bitmap.h"

// Composites a width x height coverage mask at (x, y), clipped to the
// bitmap. Rows are rowspan bytes apart; a negative rowspan means the rows
// are stored from the last one (coverage still points at the first stored
// byte, so the visual top row is the last one in memory). Each pixel moves all four channels toward
// the colour's by weight = integer alpha x coverage / 256, through the
// operator of (mode & 0xFF): copy, add, dodge, multiply, overlay or HSV
// adjust (others draw nothing).
void PIX_DrawGlyphEx(PIX_IBitmap* dest, int x, int y, PIX_pixel colour, const unsigned char* coverage,
                     int width, int rowspan, int height, float alpha, int mode);

// PIX_DrawGlyphEx with rows width bytes apart.
void PIX_DrawGlyph(PIX_IBitmap* dest, int x, int y, PIX_pixel colour, const unsigned char* coverage,
                   int width, int height, float alpha, int mode);

// Every non-zero coverage byte counts as full: weight = integer alpha.
void PIX_DrawMonoGlyph(PIX_IBitmap* dest, int x, int y, PIX_pixel colour, const unsigned char* coverage,
                       int width, int height, float alpha, int mode);
