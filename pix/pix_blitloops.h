// The per-operator loop families of the blits and fills (internal to the
// rasteriser). Each loop is written once; _PIX_Template_Blit2 and
// _PIX_Template_Blit1 are instantiated per combine operator, _PIX_Template_Blit0
// per word-parallel mix, so the per-pixel work is inlined and the operator
// is chosen once per call by the caller.
//
// Threads: stateless; run on the drawing thread.
#pragma once

#include <cstdint>
#include <type_traits>

#include "pix/pix_bitmaprows.h"
#include "pix/pix_blitarea.h"
#include "pix/pix_combinerow.h"
#include "pix/pix_sampling.h"

// A clipped destination rectangle and the 16.16 source walk over it
// (coordinates relative to the sampling window).
struct PIX_ScaledWalk {
  int dstx, dsty, width, height;
  int64_t x0, y0, xs, ys;
};

// Running 16.16 channel values of a gradient.
struct PIX_GradChannels {
  int64_t r, g, b, a;
  void add(const PIX_GradChannels& d) { r += d.r, g += d.g, b += d.b, a += d.a; }
  void addTimes(const PIX_GradChannels& d, int64_t n)
  {
    r += d.r * n, g += d.g * n, b += d.b * n, a += d.a * n;
  }
};

namespace pix_detail {
// Calls pixFn(dest, sample) for each destination pixel of the walk whose
// sample lies in the window.
template <class Sampler, class PixFn>
inline void WalkScaled(const PIX_BitmapRows& dst, const PIX_ScaledWalk& walk, const Sampler& sampler,
                       PixFn&& pixFn)
{
  // Local copies: the pixel stores could otherwise alias their fields, which
  // would then be reloaded for every pixel.
  const Sampler sample = sampler;
  const PIX_ScaledWalk w = walk;
  int64_t y = w.y0;
  for (int j = 0; j < w.height; ++j, y += w.ys) {
    const typename Sampler::Row rowSample = sample.row(y);
    if (!rowSample.valid) continue;
    PIX_pixel* d = dst.at(w.dstx, w.dsty + j);
    int64_t x = w.x0;
    for (int i = 0; i < w.width; ++i, x += w.xs) {
      PIX_pixel s;
      if (rowSample(x, s)) pixFn(d + i, s);
    }
  }
}

// A gradient channel's integer part, limited to a range the operators'
// products cannot overflow in.
inline int GradChannel(int64_t v)
{
  v >>= 16;
  const int64_t lim = 1 << 23;
  return (int)(v < -lim ? -lim : v > lim ? lim : v);
}
}  // namespace pix_detail

// A row of n samples combined into d through Op: sampleFn(out, k, m) writes
// samples k..k+m-1 to out. The plain store takes them straight into the
// destination; other operators combine them from a scratch row.
template <class Op, class SampleFn>
inline void PIX_CombineSampledRow(PIX_pixel* d, int n, int ia, SampleFn&& sampleFn)
{
  if constexpr (std::is_same<Op, _PIX_CombinePixelsClobberNoClamp>::value) {
    sampleFn(d, 0, n);
  } else {
    const int kChunk = 256;
    PIX_pixel samples[kChunk];
    for (int k = 0; k < n; k += kChunk) {
      const int m = n - k < kChunk ? n - k : kChunk;
      sampleFn(samples, k, m);
      PIX_CombineRow<Op>::run(d + k, samples, m, ia);
    }
  }
}

template <class Op>
struct _PIX_Template_Blit2 {
  // Every pixel of the clipped area combined with its source pixel; a
  // destination overlapping its source in one bitmap is walked backwards.
  static void blit(const PIX_BlitArea& a, int ia)
  {
    if (a.decreasing) {
      PIX_ForEachBlitPixel(a, [ia](PIX_pixel* d, PIX_pixel s) {
        Op::doPix((unsigned char*)d, PIX_GetR(s), PIX_GetG(s), PIX_GetB(s), PIX_GetA(s), ia);
      });
    } else {
      PIX_ForEachBlitRow(a,
                         [&](PIX_pixel* d, const PIX_pixel* s) { PIX_CombineRow<Op>::run(d, s, a.w, ia); });
    }
  }
  // Each destination pixel combined with the nearest or bilinear sample.
  template <class Sampler>
  static void scaleBlit(const PIX_BitmapRows& dst, const PIX_ScaledWalk& walk, const Sampler& sampler, int ia)
  {
    pix_detail::WalkScaled(dst, walk, sampler,
                           [ia](PIX_pixel* d, PIX_pixel s) { PIX_CombineSample<Op>(d, s, ia); });
  }
  // Each destination pixel combined with the mean of a block around its sample.
  static void scaleBlitFilterDown(const PIX_BitmapRows& dst, const PIX_ScaledWalk& walk,
                                  const PIX_FilterDownSampler& sampler, int ia)
  {
    scaleBlit(dst, walk, sampler, ia);
  }
};

template <class Op>
struct _PIX_Template_Blit1 {
  // Gradient fill: channels are the running values' integer parts, advancing
  // by dx per pixel and dy per row. With alphaAsWeight the running alpha is
  // also the weight, otherwise the weight is full.
  static void gradBlit(const PIX_BitmapRows& rows, const PIX_ClippedRect& rc, const PIX_GradChannels& start,
                       const PIX_GradChannels& dx, const PIX_GradChannels& dy, bool alphaAsWeight)
  {
    PIX_GradChannels rowStart = start;
    for (int j = 0; j < rc.h; ++j) {
      PIX_pixel* p = rows.at(rc.x, rc.y + j);
      PIX_GradChannels c = rowStart;
      for (int i = 0; i < rc.w; ++i) {
        const int ca = pix_detail::GradChannel(c.a);
        Op::doPix((unsigned char*)(p + i), pix_detail::GradChannel(c.r), pix_detail::GradChannel(c.g),
                  pix_detail::GradChannel(c.b), ca, alphaAsWeight ? ca : 256);
        c.add(dx);
      }
      rowStart.add(dy);
    }
  }
};

// Word-parallel mixes: Mix::mix(destination, sampled source pixel).
template <class Mix>
struct _PIX_Template_Blit0 {
  static void scaleBlitFAST(const PIX_BitmapRows& dst, const PIX_ScaledWalk& walk,
                            const PIX_NearestSampler& sampler)
  {
    pix_detail::WalkScaled(dst, walk, sampler, [](PIX_pixel* d, PIX_pixel s) { *d = Mix::mix(*d, s); });
  }
};
