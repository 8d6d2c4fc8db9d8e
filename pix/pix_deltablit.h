// The general delta blit shared by the rotated, delta and transform blits
// (internal to the rasteriser).
//
// Threads: drawing thread; no state.
#pragma once

#include "pix/pix_bitmap.h"

// A destination rectangle (positive size, possibly hanging over the bitmap)
// walked through the source: (s, t) starts at (srcx, srcy) in source pixels,
// moves by (dsdx, dtdx) per pixel and (dsdy, dtdy) per row, and (dsdxdy,
// dtdxdy) are added to (dsdx, dtdx) after every row. Only the source window
// [winL, winR) x [winT, winB) is sampled.
struct PIX_DeltaWalk {
  int dstx, dsty, dstw, dsth;
  double srcx, srcy;
  double dsdx, dtdx, dsdy, dtdy, dsdxdy, dtdxdy;
  int winL, winT, winR, winB;
};

// Constant alpha.
void PIX_DeltaBlitWalk(PIX_IBitmap* dest, PIX_IBitmap* src, const PIX_DeltaWalk& walk, float alpha, int mode);
// Alpha starting at alpha and moving by dadx per pixel and dady per row,
// dadx itself moving by dadxdy per row.
void PIX_DeltaBlitWalkAlpha(PIX_IBitmap* dest, PIX_IBitmap* src, const PIX_DeltaWalk& walk, double alpha,
                            double dadx, double dady, double dadxdy, int mode);

// Sets the walk's window: the whole source, or with clip the source
// rectangle within the source bitmap.
void PIX_SetDeltaWindow(PIX_IBitmap* src, bool clip, double srcx, double srcy, double srcw, double srch,
                        PIX_DeltaWalk& w);
