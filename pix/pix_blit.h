// Blits: moving pixels from one bitmap into another, and filling and
// transforming rectangles of one bitmap, through the combine operators.
//
// Every operation takes the destination first, clips against both bitmaps,
// does nothing for a null bitmap, null bits or an empty clipped area, and
// never reports errors. alpha is a float whose integer alpha is the
// truncation of alpha x 256 (double precision unless noted); mode is the
// blend-mode word (pix/pix_blendmode.h).
//
// Threads: bitmaps have no locking; these run on the thread that owns the
// bitmaps (the editor's) and take no lock.
#pragma once

#include "pix/pix_bitmap.h"

// Source rectangle (null: the whole source) at (dstx, dsty). A negative left
// or top of the rectangle shifts the destination instead of stretching. Copy
// at alpha exactly 1.0 moves rows overlap-safely (same bitmap allowed), copy
// at exactly 0.5 is the word-parallel half mix, operator 0xF0..0xFF copies
// byte (mode & 3) of the source into byte ((mode >> 2) & 3) of the destination.
void PIX_Blit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, const RECT* srcrect = nullptr,
              float alpha = 1.0f, int mode = 0);
// The same with the rectangle (srcx, srcy, srcx + srcw, srcy + srch).
void PIX_Blit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int srcx, int srcy, int srcw, int srch,
              float alpha = 1.0f, int mode = 0);

// Maps the source rectangle onto the destination rectangle in 16.16 fixed
// point; nearest or (PIX_FILTER_BILINEAR) bilinear sampling, a box filter
// when shrinking by 1.7 or more with bilinear sampling. Negative dstw or dsth
// mirror.
void PIX_ScaledBlit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw, int dsth, float srcx,
                    float srcy, float srcw, float srch, float alpha = 1.0f, int mode = 0);

// Draws the source rectangle into the destination rectangle turned by angle
// (radians) about the rectangle's centre plus (rotxcent, rotycent). With
// cliptosourcerect only the source rectangle is sampled, else the whole source.
void PIX_RotatedBlit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw, int dsth, float srcx,
                     float srcy, float srcw, float srch, double angle, bool cliptosourcerect, float alpha,
                     int mode, float rotxcent = 0.0f, float rotycent = 0.0f);

// General affine-plus-bilinear mapping: source coordinate (s, t) starts at
// (srcx, srcy) for the top-left destination pixel, moves by (dsdx, dtdx) per
// pixel and (dsdy, dtdy) per row; (dsdxdy, dtdxdy) are added to (dsdx, dtdx)
// after every row.
void PIX_DeltaBlit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw, int dsth, double srcx,
                   double srcy, double srcw, double srch, double dsdx, double dtdx, double dsdy, double dtdy,
                   double dsdxdy, double dtdxdy, bool cliptosourcerect, float alpha, int mode);
// As PIX_DeltaBlit with an alpha that starts at alpha and moves by dadx per
// pixel and dady per row, dadx itself moving by dadxdy per row. Pixels whose
// running integer alpha is 0 or below are left alone.
void PIX_DeltaBlitAlpha(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw, int dsth,
                        double srcx, double srcy, double srcw, double srch, double dsdx, double dtdx,
                        double dsdy, double dtdy, double dsdxdy, double dtdxdy, bool cliptosourcerect,
                        float alpha, int mode, double dadx, double dady, double dadxdy);

// The destination rectangle cut into (div_w - 1) x (div_h - 1) cells; the grid
// gives, row by row, the source point (x, y) of each of div_w x div_h
// vertices (x, y, alpha for the last form).
void PIX_TransformBlit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw, int dsth,
                       const float* srcpoints, int div_w, int div_h, float alpha, int mode);
void PIX_TransformBlit2(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw, int dsth,
                        const double* srcpoints, int div_w, int div_h, float alpha, int mode);
void PIX_TransformBlit2Alpha(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw, int dsth,
                             const double* srcpoints, int div_w, int div_h, int mode);

// Resizes dest to src's size and copies src into it exactly.
void PIX_Copy(PIX_IBitmap* dest, PIX_IBitmap* src);

// Every pixel becomes color.
void PIX_Clear(PIX_IBitmap* dest, PIX_pixel color);
// Every pixel of the rectangle becomes (pixel & keepmask) | setbits.
void PIX_ClearRect(PIX_IBitmap* dest, int x, int y, int w, int h, PIX_pixel keepmask, PIX_pixel setbits);
// Fills the rectangle with color. Copy at integer alpha 64, 128, 192 and 256
// uses the word-parallel mixes and the store; with PIX_USE_SOURCE_ALPHA the
// alpha is first scaled by the colour's alpha / 255.
void PIX_FillRect(PIX_IBitmap* dest, int x, int y, int w, int h, PIX_pixel color, float alpha = 1.0f,
                  int mode = 0);
// Linear gradient: r, g, b in 0..1 (times 255), a in 0..1 (times 256), and
// their per-pixel derivatives along x and y.
void PIX_GradRect(PIX_IBitmap* dest, int x, int y, int w, int h, float r, float g, float b, float a,
                  float drdx, float dgdx, float dbdx, float dadx, float drdy, float dgdy, float dbdy,
                  float dady, int mode);
// Each channel c becomes clamp((trunc(scale x 256) x c + trunc(add x 256)) >> 8);
// add values are in channel units (0..255).
void PIX_MultiplyAddRect(PIX_IBitmap* dest, int x, int y, int w, int h, float rscale, float gscale,
                         float bscale, float ascale, float radd, float gadd, float badd, float aadd);
// Calls procFunc for each pixel of the clipped rectangle, row by row.
void PIX_ProcessRect(PIX_IBitmap* dest, int x, int y, int w, int h,
                     void (*procFunc)(PIX_pixel* p, void* parm), void* parm);

// Blurs the source rectangle (at least 2 x 2 after clipping) into dest at
// (dstx, dsty): half the centre plus an eighth of each 4-neighbour. src may
// be dest.
void PIX_Blur(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int srcx, int srcy, int srcw,
              int srch);
// dest (x, y) becomes the word-parallel mean of the 2 x 2 source block at (2x, 2y).
void PIX_HalveBlitAA(PIX_IBitmap* dest, PIX_IBitmap* src);
// Pixels whose low 24 bits equal color get alpha 0, all others alpha 255.
void PIX_SetAlphaFromColorMask(PIX_IBitmap* dest, PIX_pixel color);
// Flood fill of the runs connected to the seed column at (x, y) whose
// (pixel & comparemask) equals the seed's: they become newcolor | (pixel & keepmask).
void PIX_SimpleFill(PIX_IBitmap* dest, int x, int y, PIX_pixel newcolor, PIX_pixel comparemask = 0xFFFFFFFF,
                    PIX_pixel keepmask = 0);

// The pixel, or 0 outside the bitmap or without bits.
PIX_pixel PIX_GetPixel(PIX_IBitmap* bm, int x, int y);
// Combines color into one pixel (integer alpha in single precision; the
// source-alpha flag is ignored).
void PIX_PutPixel(PIX_IBitmap* dest, int x, int y, PIX_pixel color, float alpha = 1.0f, int mode = 0);

// Compares two bitmaps under mask. Null bitmaps: both 0, only a -1, only b 1;
// different sizes: b's width minus a's, else b's height minus a's. With
// diffbox (four ints) it receives x, y, width and height of the bounding box
// of the differing pixels and the result is 1, or it is zeroed and the
// result 0. Without, the all-bits mask gives the byte comparison of the
// first differing row, other masks 1 at the first difference; 0 when equal.
int PIX_BitmapCmpEx(PIX_IBitmap* a, PIX_IBitmap* b, PIX_pixel mask, int* diffbox = nullptr);
int PIX_BitmapCmp(PIX_IBitmap* a, PIX_IBitmap* b, int* diffbox = nullptr);
