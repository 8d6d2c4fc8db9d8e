// Shared machinery of the vector primitives: the drawing target in memory
// coordinates, and the per-pixel plotters the loops are instantiated with.
//
// A primitive mirrors y for a flipped bitmap once, then addresses memory rows
// directly. Each loop is written once as a generic callable; the plotter is
// chosen once per call from the blend mode and alpha, so the per-pixel work
// is inlined into one instantiation per operator.
//
// Threads: stateless helpers, called on the thread that owns the bitmap.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "pix/pix_bitmap.h"
#include "pix/pix_blendmode.h"
#include "pix/pix_combine.h"
#include "pix/pix_opselect.h"
#include "pix/pix_solidplot.h"

// Coordinates beyond this magnitude cannot describe anything drawable; the
// primitives ignore them instead of overflowing their integer arithmetic.
const double PIX_VEC_COORD_LIMIT = 16777216.0;

inline bool PIX_VecCoordOk(double v) { return v > -PIX_VEC_COORD_LIMIT && v < PIX_VEC_COORD_LIMIT; }

// The bitmap in memory order: row 0 is memory row 0.
struct PIX_VecTarget {
  PIX_pixel* bits;
  int width, height;
  ptrdiff_t span;
  bool flipped;

  explicit PIX_VecTarget(PIX_IBitmap* bm) : bits(nullptr), width(0), height(0), span(0), flipped(false)
  {
    if (!bm) return;
    PIX_pixel* b = bm->getBits();
    const int w = bm->getWidth(), h = bm->getHeight();
    if (!b || w <= 0 || h <= 0) return;
    bits = b;
    width = w;
    height = h;
    span = bm->getRowSpan();
    flipped = bm->isFlipped();
  }
  bool empty() const { return !bits; }
  PIX_pixel* at(int x, int y) const { return bits + (ptrdiff_t)y * span + x; }
  int64_t mirrorY(int64_t y) const { return flipped ? (int64_t)height - 1 - y : y; }
  double mirrorY(double y) const { return flipped ? (double)height - 1.0 - y : y; }
  float mirrorY(float y) const { return flipped ? (float)height - 1.0f - y : y; }
};

// ---- plotters with a weight per pixel: plot(pixel, weight) ----

template <class Op>
struct PIX_WeightPlot {
  int r, g, b, a;
  // A weight of 0 leaves the pixel alone (HSV adjust would otherwise still
  // round the pixel through its conversion).
  void operator()(PIX_pixel* p, int w) const
  {
    if (w) Op::doPix((unsigned char*)p, r, g, b, a, w);
  }
};

// Runs run(plot) with the weighted plotter for anti-aliased loops: the
// blending copy in copy mode (positive integer alpha only), operators 1..5
// otherwise. False (nothing run) for other operators or an integer alpha of 0.
template <class F>
inline bool PIX_RunWeightPlot(int mode, int ia, PIX_pixel colour, F&& run)
{
  if (ia == 0) return false;
  const int r = PIX_GetR(colour), g = PIX_GetG(colour), b = PIX_GetB(colour), a = PIX_GetA(colour);
  if ((mode & PIX_OP_MASK) == PIX_OP_COPY) {
    if (ia < 0) return false;
    run(PIX_WeightPlot<_PIX_CombinePixelsCopyNoClamp>{r, g, b, a});
    return true;
  }
  return PIX_SelectColorOperator(mode, [&](auto tag) {
    using Op = typename decltype(tag)::type;
    run(PIX_WeightPlot<Op>{r, g, b, a});
  });
}

// Scales a coverage weight 0..255 by the integer alpha (unchanged at 256).
inline int PIX_VecScaleWeight(int w, int ia) { return ia == 256 ? w : (w * ia) >> 8; }

// ---- entry points shared between the primitives (coordinates already
// mirrored for a flipped bitmap) ----

void PIX_VecLine(const PIX_VecTarget& t, int64_t x1, int64_t y1, int64_t x2, int64_t y2, PIX_pixel colour,
                 float alpha, int mode, bool aa);
void PIX_VecFLine(const PIX_VecTarget& t, double x1, double y1, double x2, double y2, PIX_pixel colour,
                  float alpha, int mode, bool aa);

// Clips the line to 0..w-1 x 0..h-1 (outcodes, at most 33 moves); false when
// nothing is left.
bool PIX_VecClipLine(int64_t& x1, int64_t& y1, int64_t& x2, int64_t& y2, int64_t w, int64_t h);
bool PIX_VecClipFLine(double& x1, double& y1, double& x2, double& y2, double w, double h);

// Truncation toward zero of a float that PIX_VecCoordOk accepted.
inline int64_t PIX_VecTrunc(double v) { return (int64_t)v; }
// Pixel positions of circles round down, so that a circle keeps its shape
// and place when its centre lies left of or above the bitmap.
inline int64_t PIX_VecFloor(double v) { return (int64_t)std::floor(v); }
