// Circle drawing shared by circles, discs and arcs (coordinates already
// mirrored for a flipped bitmap).
//
// Threads: called on the thread that owns the bitmap.
#pragma once

#include "pix/pix_vectordraw.h"

// Outline (fill false) or disc (fill true), plain or anti-aliased, with the
// integer alpha ia. Plain circles round the centre and radius to pixels;
// anti-aliased ones round the centre and keep the radius. With clip, every
// point is tested against it (it must lie inside the bitmap); without, points
// are tested against the bitmap only when the circle comes within 2 pixels of
// an edge. Every pixel of a disc is combined exactly once.
void PIX_VecCircle(const PIX_VecTarget& t, double cx, double cy, double r, PIX_pixel colour, int ia, int mode,
                   bool aa, bool fill, const RECT* clip);

// The fixed coverage masks for outlines of radius 1.5, 2, 2.5, 3, 3.5 and 4:
// false (nothing drawn) for any other radius. cy is mirrored already.
bool PIX_VecCircleMask(PIX_IBitmap* bm, const PIX_VecTarget& t, double cx, double cy, double r,
                       PIX_pixel colour, float alpha, int mode, bool aa);
