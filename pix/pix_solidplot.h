// Plotters of one colour at one weight, shared by the fills and the vector
// primitives: plot(pixel) combines one pixel, plot.span(pixel, n) a run of n
// pixels along a row. The plotter is chosen once per drawing call from the
// blend mode and the alpha, so the per-pixel work is inlined into one
// instantiation per plotter; spans of the copy forms run the vector rows
// (pix/pix_simdrows.h), which give exactly the same bytes.
//
// Threads: stateless helpers, called on the thread that owns the bitmap.
#pragma once

#include "pix/pix_blendmode.h"
#include "pix/pix_combine.h"
#include "pix/pix_opselect.h"
#include "pix/pix_simdrows.h"
#include "pix/pix_wordmix.h"

struct PIX_StorePlot {
  PIX_pixel c;
  void operator()(PIX_pixel* p) const { *p = c; }
  void span(PIX_pixel* p, int n) const { PIX_SimdRows().fillSolid(p, c, n); }
};

// The vector row of each word-parallel mix with a pre-shifted colour.
template <class Mix>
void PIX_MixSolidRow(PIX_pixel* d, PIX_pixel kpre, int n);
template <>
inline void PIX_MixSolidRow<_PIX_CombinePixelsHalfMix2FAST>(PIX_pixel* d, PIX_pixel kpre, int n)
{
  PIX_SimdRows().halfMixSolid(d, kpre, n);
}
template <>
inline void PIX_MixSolidRow<_PIX_CombinePixelsQuarterMix2FAST>(PIX_pixel* d, PIX_pixel kpre, int n)
{
  PIX_SimdRows().quarterMixSolid(d, kpre, n);
}
template <>
inline void PIX_MixSolidRow<_PIX_CombinePixelsThreeQuarterMix2FAST>(PIX_pixel* d, PIX_pixel kpre, int n)
{
  PIX_SimdRows().threeQuarterMixSolid(d, kpre, n);
}

template <class Mix>
struct PIX_MixPlot {
  PIX_pixel k;  // pre-shifted colour
  void operator()(PIX_pixel* p) const { *p = Mix::mix(*p, k); }
  void span(PIX_pixel* p, int n) const { PIX_MixSolidRow<Mix>(p, k, n); }
};

template <class Op>
struct PIX_OpPlot {
  int r, g, b, a, ia;
  void operator()(PIX_pixel* p) const { Op::doPix((unsigned char*)p, r, g, b, a, ia); }
  void span(PIX_pixel* p, int n) const { eachPixel(p, n); }
  void eachPixel(PIX_pixel* p, int n) const
  {
    for (int i = 0; i < n; ++i) (*this)(p + i);
  }
};

// The blending copy has a vector row for 1 <= ia <= 255.
template <>
inline void PIX_OpPlot<_PIX_CombinePixelsCopyNoClamp>::span(PIX_pixel* p, int n) const
{
  if (ia > 0 && ia < 256) PIX_SimdRows().copySolid(p, PIX_MakeColor(a, r, g, b), n, ia);
  else eachPixel(p, n);
}

// Exact fractions with word-parallel forms in copy mode.
enum PIX_VecFastMix {
  PIX_VEC_FAST_NONE,
  PIX_VEC_FAST_STORE,
  PIX_VEC_FAST_HALF,
  PIX_VEC_FAST_QUARTER,
  PIX_VEC_FAST_THREEQUARTER
};

// Lines choose the word-parallel forms by the exact float alpha.
inline PIX_VecFastMix PIX_VecFastFromAlpha(float alpha)
{
  if (alpha == 1.0f) return PIX_VEC_FAST_STORE;
  if (alpha == 0.5f) return PIX_VEC_FAST_HALF;
  if (alpha == 0.25f) return PIX_VEC_FAST_QUARTER;
  if (alpha == 0.75f) return PIX_VEC_FAST_THREEQUARTER;
  return PIX_VEC_FAST_NONE;
}

// Fills choose them by the integer alpha.
inline PIX_VecFastMix PIX_VecFastFromIntAlpha(int ia)
{
  switch (ia) {
    case 256:
      return PIX_VEC_FAST_STORE;
    case 128:
      return PIX_VEC_FAST_HALF;
    case 64:
      return PIX_VEC_FAST_QUARTER;
    case 192:
      return PIX_VEC_FAST_THREEQUARTER;
    default:
      return PIX_VEC_FAST_NONE;
  }
}

// Runs run(plot) with the fixed-weight plotter of a solid colour. Copy mode:
// the store at integer alpha 256, the per-channel half mix at 128, the
// blending copy for other positive values. Operators 1..5: their operator.
// False (nothing run) otherwise.
template <class F>
inline bool PIX_RunSolidPlot(int mode, int ia, PIX_pixel colour, F&& run)
{
  const int r = PIX_GetR(colour), g = PIX_GetG(colour), b = PIX_GetB(colour), a = PIX_GetA(colour);
  if ((mode & PIX_OP_MASK) == PIX_OP_COPY) {
    if (ia == 256) run(PIX_StorePlot{colour});
    else if (ia == 128) run(PIX_OpPlot<_PIX_CombinePixelsHalfMixNoClamp>{r, g, b, a, ia});
    else if (ia > 0) run(PIX_OpPlot<_PIX_CombinePixelsCopyNoClamp>{r, g, b, a, ia});
    else return false;
    return true;
  }
  if (ia == 0) return false;
  return PIX_SelectColorOperator(mode, [&](auto tag) {
    using Op = typename decltype(tag)::type;
    run(PIX_OpPlot<Op>{r, g, b, a, ia});
  });
}

// As PIX_RunSolidPlot, but in copy mode the word-parallel form named by fast
// takes precedence.
template <class F>
inline bool PIX_RunSolidPlotFast(int mode, int ia, PIX_pixel colour, PIX_VecFastMix fast, F&& run)
{
  if ((mode & PIX_OP_MASK) == PIX_OP_COPY) {
    switch (fast) {
      case PIX_VEC_FAST_STORE:
        run(PIX_StorePlot{colour});
        return true;
      case PIX_VEC_FAST_HALF:
        run(PIX_MixPlot<_PIX_CombinePixelsHalfMix2FAST>{PIX_PreShiftHalf(colour)});
        return true;
      case PIX_VEC_FAST_QUARTER:
        run(PIX_MixPlot<_PIX_CombinePixelsQuarterMix2FAST>{PIX_PreShiftQuarter(colour)});
        return true;
      case PIX_VEC_FAST_THREEQUARTER:
        run(PIX_MixPlot<_PIX_CombinePixelsThreeQuarterMix2FAST>{PIX_PreShiftThreeQuarter(colour)});
        return true;
      case PIX_VEC_FAST_NONE:
        break;
    }
  }
  return PIX_RunSolidPlot(mode, ia, colour, run);
}
