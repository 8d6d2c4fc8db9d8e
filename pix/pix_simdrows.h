// Vector row functions of the rasteriser's hot loops, chosen once for the
// processor: SSE2 (every x86_64 processor) or AVX2 (when the processor and
// the operating system support it). Both give exactly the bytes of the
// per-pixel operators; they differ only in speed.
//
// Choosing the set: the first use picks AVX2 when available, unless the
// environment variable QUARRY_PIX_SIMD is "sse2", which keeps the SSE2
// baseline (for comparing the two paths on one machine). Tests may switch
// with PIX_SetSimdLevel, or call one set's functions through
// PIX_SimdRowsFor.
//
// Threads: the row functions are stateless and run on the thread that owns
// the bitmaps. The active set is one atomic pointer: PIX_SimdRows and
// PIX_SetSimdLevel may be called from any thread without a lock. A drawing
// call running while the level changes may do some rows with each set,
// which gives the same bytes.
#pragma once

#include <cstdint>

#include "pix/pix_pixel.h"

struct PIX_BilinearColumn;

struct PIX_SimdRowOps {
  // d[0..n) = copy of s at 1 <= ia <= 255: s + (d - s) x (256 - ia) / 256 per channel.
  void (*copy)(PIX_pixel* d, const PIX_pixel* s, int n, int ia);
  // The same with one colour for every pixel.
  void (*copySolid)(PIX_pixel* d, PIX_pixel colour, int n, int ia);
  // Copy with source alpha at ia 256.
  void (*copySourceAlphaFull)(PIX_pixel* d, const PIX_pixel* s, int n);
  // Copy with source alpha at 1 <= ia <= 255.
  void (*copySourceAlpha)(PIX_pixel* d, const PIX_pixel* s, int n, int ia);
  // Word-parallel half mix of two pixel rows.
  void (*halfMix)(PIX_pixel* d, const PIX_pixel* s, int n);
  // Word-parallel mixes with a pre-shifted colour (pix/pix_combine.h).
  void (*halfMixSolid)(PIX_pixel* d, PIX_pixel kpre, int n);
  void (*quarterMixSolid)(PIX_pixel* d, PIX_pixel kpre, int n);
  void (*threeQuarterMixSolid)(PIX_pixel* d, PIX_pixel kpre, int n);
  // Every pixel becomes colour.
  void (*fillSolid)(PIX_pixel* d, PIX_pixel colour, int n);
  // Bilinear sampling (pix/pix_simdbilinear.h): the records of count
  // columns of a row pair, and a row of samples from them.
  void (*bilinearColumns)(PIX_BilinearColumn* rec, const PIX_pixel* r0, const PIX_pixel* r1, int count,
                          bool lastIsEdge);
  void (*bilinearRow)(PIX_pixel* out, int n, const PIX_BilinearColumn* rec, const int32_t* col,
                      const uint32_t* fx, int fy);
};

enum PIX_SimdLevel { PIX_SIMD_SSE2, PIX_SIMD_AVX2 };

// The active set (chosen on first use).
const PIX_SimdRowOps& PIX_SimdRows();
PIX_SimdLevel PIX_GetSimdLevel();
// Makes level the active set; false (and no change) when this processor
// lacks it.
bool PIX_SetSimdLevel(PIX_SimdLevel level);
// One level's set, or null when this processor lacks it.
const PIX_SimdRowOps* PIX_SimdRowsFor(PIX_SimdLevel level);

// Each instruction set's functions (the AVX2 ones must only be called when
// the processor has AVX2).
const PIX_SimdRowOps& PIX_SimdRowsSse2();
const PIX_SimdRowOps& PIX_SimdRowsAvx2();
