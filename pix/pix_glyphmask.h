#pragma once
// A cached font's glyph while it is being made: the coverage captured from
// the platform's white-on-black rendering of one character, then shaped by
// the font flags (turned for vertical text, thresholded for monochrome
// fonts, given shadow or outline pixels) before it goes into the store.
//
// Threads: no shared state; the caller's thread (the editor's).

#include <vector>

#include "pix/pix_bitmap.h"

// width x height coverage bytes, row by row (0 transparent, 255 full).
struct PIX_GlyphMask {
  std::vector<unsigned char> bytes;
  int width = 0, height = 0;
  int leftExtra = 0;  // columns the mask reaches left of the pen (may be negative)
};

// Coverage of the area (0, 0, width, height) of a white-on-black rendering
// whose pen stood at x = pad: the red byte of each pixel, 255 minus it when
// inverted. Blank columns are trimmed at both sides, but the kept columns
// always run from the pen (or earlier) to pen + advance (or later), within
// the area.
PIX_GlyphMask PIX_CaptureGlyphCoverage(PIX_IBitmap* rendering, int width, int height, int pad, int advance,
                                       bool invert);

// Turns the mask a quarter: clockwise (the tops of the letters face right,
// read downwards) or, bottom-up, the other way. Width and height swap.
void PIX_TurnGlyphMask(PIX_GlyphMask& mask, bool bottomUp);

// Coverage above 130 becomes 255, the rest 0.
void PIX_ThresholdGlyphMask(PIX_GlyphMask& mask);

// On a thresholded mask, empty pixels next to glyph pixels (255) become
// effect pixels (128): for a shadow those with a glyph pixel to their left,
// above or above-left; for an outline those with one on any of their four
// sides.
void PIX_AddGlyphEffect(PIX_GlyphMask& mask, bool outline);
