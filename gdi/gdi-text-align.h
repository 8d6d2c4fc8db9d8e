#pragma once
// Where a block of text starts inside a rectangle under the DT_ alignment
// flags. The text layer and the rasteriser's cached fonts place text with
// this one helper.
//
// Threads: a pure function; any thread.

#include "gdi/gdi-types.h"

// Two roundings of a centre are in use. Text drawn by the text layer (and
// native text of the cached fonts) halves the rectangle and the text
// separately, left + (right - left) / 2 - width / 2; cached glyphs halve the
// difference, left + (right - left - width) / 2. They can put the same text
// one pixel apart (an even rectangle and an odd text, for one).
enum GDI_Centring {
  GDI_CENTRE_HALVES,
  GDI_CENTRE_DIFFERENCE,
};

// The top-left corner of a width x height block in r: left and top unless
// DT_RIGHT or DT_CENTER (DT_RIGHT wins), DT_BOTTOM or DT_VCENTER (DT_BOTTOM
// wins) move it. Halves are integer divisions (toward zero), so text larger
// than the rectangle starts before it.
POINT GDI_AlignText(const RECT& r, int width, int height, int flags, GDI_Centring centring);
