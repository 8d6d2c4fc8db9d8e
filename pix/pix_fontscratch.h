// Scratch bitmaps shared by every cached font: s_tempbitmap, where glyphs
// are rendered white on black before their coverage is captured, and
// s_nativerender_tempbitmap, where native text for bitmaps without a drawing
// context is drawn. Both are created on first use and destroyed when the
// last cached font lets go of them.
//
// Threads: unguarded; all text drawing happens on the editor thread.
#pragma once

#include "pix/pix_bitmap.h"

// Each cached font holds one reference from construction to destruction.
void PIX_FontScratchAddRef();
void PIX_FontScratchRelease();
// Current reference count (for tests).
int PIX_FontScratchRefCount();

// s_tempbitmap, at least size x size pixels; whenever it is created or
// resized its context gets white text, background mode 1 and a black
// background. Null when it cannot be made.
PIX_IBitmap* PIX_GlyphScratch(int size);
// s_nativerender_tempbitmap, at least w x h pixels (w and h of at least 1).
PIX_IBitmap* PIX_NativeScratch(int w, int h);
