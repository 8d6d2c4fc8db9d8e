// The AVX2 row functions. Everything this file compiles for AVX2 is a
// template instantiated with PIX_SimdAvx2 (or on its vectors), so no
// function shared with the rest of the library is ever built with AVX2
// instructions: the headers with ordinary functions are included first,
// without the AVX2 target, and only the headers of templates after it (the
// row kernels, and the word-parallel mixes of pix/pix_wordmix.h, which must
// not be included before the switch).
#include <cstdint>
#include <type_traits>

#include "pix/pix_combine.h"
#include "pix/pix_pixel.h"
#include "pix/pix_simdrows.h"
#include "pix/pix_simdsse2.h"

#ifdef PIX_WORDMIX_H
#error "pix/pix_wordmix.h must be included after the switch to AVX2"
#endif
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

#include "pix/pix_simdavx2.h"
#include "pix/pix_simdrowtable.h"

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

const PIX_SimdRowOps& PIX_SimdRowsAvx2() { return PIX_SimdRowTable<PIX_SimdAvx2>::ops; }
