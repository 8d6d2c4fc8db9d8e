// Vector primitives: lines, rectangles, arcs, circles and discs, rounded
// rectangles, trapezoids, convex polygons, triangles and Bezier curves.
//
// Every primitive clips to the bitmap, mirrors y for a flipped bitmap (y
// becomes height - 1 - y, arc angles pi - angle), draws nothing for a null
// bitmap, null bits or an integer alpha (truncation of alpha x 256) of 0, and
// uses only the operator field of the mode (the source-alpha flag is
// ignored). Copy mode stores the colour at integer alpha 256, half-mixes per
// channel at 128 and blends at other positive values; operators 1..5 combine
// the colour's four channels; other operators draw nothing. Coordinates of
// magnitude 2^24 or more (and NaN) draw nothing.
//
// Angles are in radians, 0 pointing up from the centre and growing
// clockwise: the point at angle a lies at (cx + r sin a, cy - r cos a).
//
// Threads: bitmaps have no locking; these run on the thread that owns the
// bitmap (the editor's) and take no lock.
#pragma once

#include "pix/pix_bitmap.h"

// Integer line, both ends inclusive. Straight lines in copy mode at alpha
// exactly 1.0, 0.5, 0.25 and 0.75 use the word-parallel store and mixes.
// Other lines are drawn symmetrically from both ends; with aa the pixels
// beside the line share the coverage.
void PIX_Line(PIX_IBitmap* bm, int x1, int y1, int x2, int y2, PIX_pixel colour, float alpha, int mode,
              bool aa);
// Float line. Without aa: PIX_Line of the truncated coordinates. With aa:
// clipped in floating point and walked one column (or row) per step along
// the major axis.
void PIX_FLine(PIX_IBitmap* bm, float x1, float y1, float x2, float y2, PIX_pixel colour, float alpha,
               int mode, bool aa);
// Horizontal or vertical line of pixelsOn drawn, pixelsOff skipped, from the
// smaller coordinate; any other line draws nothing.
void PIX_DashedLine(PIX_IBitmap* bm, int x1, int y1, int x2, int y2, int pixelsOn, int pixelsOff,
                    PIX_pixel colour, float alpha, int mode, bool aa);
// Clip a line to xlo..xhi-1 by ylo..yhi-1 in place; false when nothing is left.
bool PIX_ClipLine(int* x1, int* y1, int* x2, int* y2, int xlo, int ylo, int xhi, int yhi);
bool PIX_ClipFLine(float* x1, float* y1, float* x2, float* y2, float xlo, float ylo, float xhi, float yhi);

// Outline of w + 1 by h + 1 pixels as four lines; each corner is drawn twice.
void PIX_DrawRect(PIX_IBitmap* bm, int x, int y, int w, int h, PIX_pixel colour, float alpha, int mode);
// Fills (x + 1, y + 1, w - 1, h - 1) with fillColour, then the outline.
void PIX_BorderedRect(PIX_IBitmap* bm, int x, int y, int w, int h, PIX_pixel fillColour,
                      PIX_pixel borderColour, float alpha, int mode);

// Circle outline. Radii of exactly 1.5, 2, 2.5, 3, 3.5 and 4 draw fixed
// coverage masks; others the midpoint circle (centre and radius rounded) or,
// with aa, the anti-aliased circle.
void PIX_Circle(PIX_IBitmap* bm, float cx, float cy, float r, PIX_pixel colour, float alpha, int mode,
                bool aa);
// Filled disc; every pixel of the disc is combined exactly once.
void PIX_FillCircle(PIX_IBitmap* bm, float cx, float cy, float r, PIX_pixel colour, float alpha, int mode,
                    bool aa);
// The part of the circle outline between the two angles (either order); a
// difference of 2 pi or more draws the whole circle.
void PIX_Arc(PIX_IBitmap* bm, float cx, float cy, float r, float startAngle, float endAngle, PIX_pixel colour,
             float alpha, int mode, bool aa);
// Rectangle outline with quarter-circle corners of radius
// floor(min(radius, w / 2, h / 2)); below 2 a plain PIX_DrawRect.
void PIX_RoundRect(PIX_IBitmap* bm, float x, float y, float w, float h, int radius, PIX_pixel colour,
                   float alpha, int mode, bool aa);

// Rows y1..y2: the top edge spans x1a..x1b, the bottom edge x2a..x2b, ends
// inclusive, edges interpolated in 16.16. Copy mode at integer alpha 256,
// 128, 64 and 192 uses the word-parallel store and mixes.
void PIX_FillTrapezoid(PIX_IBitmap* bm, int x1a, int x1b, int y1, int x2a, int x2b, int y2, PIX_pixel colour,
                       float alpha, int mode);
// Fills the convex hull of npoints points (at least 3) as trapezoids
// between successive vertex rows; every covered row is combined once.
void PIX_FillConvexPolygon(PIX_IBitmap* bm, const int* x, const int* y, int npoints, PIX_pixel colour,
                           float alpha, int mode);
void PIX_FillTriangle(PIX_IBitmap* bm, int x1, int y1, int x2, int y2, int x3, int y3, PIX_pixel colour,
                      float alpha, int mode);

// Bezier curves drawn as consecutive PIX_FLine segments: (control polygon
// length) x (parameter range) / tolerance of them, at least 1 and at most
// 65536; a tolerance that is not positive counts as 1. The curve is first
// cut to the parameters where it lies within the bitmap's columns.
void PIX_DrawQBezier(PIX_IBitmap* bm, float x1, float y1, float x2, float y2, float x3, float y3,
                     PIX_pixel colour, float alpha, int mode, bool aa, float tolerance);
void PIX_DrawCBezier(PIX_IBitmap* bm, float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                     float y4, PIX_pixel colour, float alpha, int mode, bool aa, float tolerance);
// Fills between the cubic curve and the horizontal line y = baseline
// (PIX_FillCBezierX: the vertical line x = baseline), one trapezoid per
// segment, column by column (row by row); each column (row) is combined by
// one segment only. The curve is first cut to the bitmap's columns (rows).
void PIX_FillCBezier(PIX_IBitmap* bm, float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                     float y4, float baseline, PIX_pixel colour, float alpha, int mode, float tolerance);
void PIX_FillCBezierX(PIX_IBitmap* bm, float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                      float y4, float baseline, PIX_pixel colour, float alpha, int mode, float tolerance);
