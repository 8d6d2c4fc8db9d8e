// The row functions of PIX_SimdRowOps for one instruction set: each is the
// one row loop (pix/pix_simdrow.h) with its kernel. Included by the one
// translation unit per instruction set that builds the table.
//
// Threads: stateless; any thread.
#pragma once

#include "pix/pix_combine.h"
#include "pix/pix_simdbilinear.h"
#include "pix/pix_simdblend.h"
#include "pix/pix_simdrow.h"
#include "pix/pix_simdrows.h"
#include "pix/pix_wordmix.h"

template <class I>
struct PIX_SimdRowTable {
  static void copy(PIX_pixel* d, const PIX_pixel* s, int n, int ia)
  {
    PIX_SimdRowLoop<I>(d, PIX_SimdRowSource<I>{s}, n, PIX_SimdCopyKernel<I>(ia));
  }
  static void copySolid(PIX_pixel* d, PIX_pixel colour, int n, int ia)
  {
    PIX_SimdRowLoop<I>(d, PIX_SimdSolidSource<I>(colour), n, PIX_SimdCopyKernel<I>(ia));
  }
  static void copySourceAlphaFull(PIX_pixel* d, const PIX_pixel* s, int n)
  {
    PIX_SimdRowLoop<I>(d, PIX_SimdRowSource<I>{s}, n, PIX_SimdCopySourceAlphaFullKernel<I>());
  }
  static void copySourceAlpha(PIX_pixel* d, const PIX_pixel* s, int n, int ia)
  {
    PIX_SimdRowLoop<I>(d, PIX_SimdRowSource<I>{s}, n, PIX_SimdCopySourceAlphaKernel<I>(ia));
  }
  static void halfMix(PIX_pixel* d, const PIX_pixel* s, int n)
  {
    PIX_SimdRowLoop<I>(d, PIX_SimdRowSource<I>{s}, n,
                       PIX_SimdWordMixKernel<I, _PIX_CombinePixelsHalfMixFAST>());
  }
  template <class Mix>
  static void mixSolid(PIX_pixel* d, PIX_pixel kpre, int n)
  {
    PIX_SimdRowLoop<I>(d, PIX_SimdSolidSource<I>(kpre), n, PIX_SimdWordMixKernel<I, Mix>());
  }

  static constexpr PIX_SimdRowOps ops = {
      copy,
      copySolid,
      copySourceAlphaFull,
      copySourceAlpha,
      halfMix,
      mixSolid<_PIX_CombinePixelsHalfMix2FAST>,
      mixSolid<_PIX_CombinePixelsQuarterMix2FAST>,
      mixSolid<_PIX_CombinePixelsThreeQuarterMix2FAST>,
      mixSolid<_PIX_CombinePixelsClobberFAST>,
      PIX_SimdBilinearColumns<I>,
      PIX_SimdBilinearRow<I>,
  };
};
