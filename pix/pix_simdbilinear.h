// Vector bilinear sampling along a row of a scaled blit, giving exactly the
// bytes of the scalar sampler (pix/pix_sampling.h).
//
// With weights w11 = (fx x fy) >> 16, w01 = fx - w11, w10 = fy - w11 and
// w00 = 65536 - fx - fy + w11, a channel is (sum of w x p) >> 16, which
// regroups exactly as
//   32768 (p00 + p11) + (fx - 32768) dt + (fy - 32768) dv + (w11 - 32768) dxy
// with dt = p01 - p00, dv = p10 - p00, dxy = p11 - p10 - p01 + p00: every
// weight then fits a signed 16-bit lane, so two multiply-add pairs give a
// channel's sum. The differences depend only on the source column and the
// pair of source rows, not on the fractions: they are computed once per
// column and row pair into PIX_BilinearColumn records, and each destination
// pixel reads the record of its column.
//
// The scalar sampler uses only the vertical pair in the window's last
// column and only the horizontal pair in its last row; a record built with
// the missing neighbour equal to the pixel itself gives exactly that.
//
// Everything here is a template on the instruction set (see
// pix/pix_simdrow.h).
//
// Threads: stateless; any thread.
#pragma once

#include <cstdint>
#include <type_traits>

#include "pix/pix_pixel.h"
#include "pix/pix_simdrow.h"

// One source column of a row pair: (dt, dv) and (dxy, -(p00 + p11)) for
// blue, green, red and alpha.
struct PIX_BilinearColumn {
  int16_t a[8];
  int16_t b[8];
};

namespace pix_simd {
// Vector k of a group: the first (or second) pairs of pixel k's record and,
// with eight pixels per vector, of pixel k + 4's in the high half.
template <class I, int k, bool second>
PIX_SIMD_INLINE typename I::V LoadRecordPairs(const PIX_BilinearColumn* rec, const int32_t* col)
{
  auto pairs = [&](int i) -> const int16_t* { return second ? rec[col[i]].b : rec[col[i]].a; };
  if constexpr (I::N == 8) return I::loadBlocks(pairs(k), pairs(k + 4));
  else return I::loadBlock(pairs(k));
}

template <class I>
PIX_SIMD_INLINE void StoreRecords(PIX_BilinearColumn* rec, int k, int count, typename I::V a, typename I::V b)
{
  if constexpr (I::N == 8) {
    if (k + 4 < count) {
      I::storeBlocks(rec[k].a, rec[k + 4].a, a);
      I::storeBlocks(rec[k].b, rec[k + 4].b, b);
      return;
    }
    // Only the low half is wanted: store it through a scratch record.
    PIX_BilinearColumn spare;
    if (k < count) {
      I::storeBlocks(rec[k].a, spare.a, a);
      I::storeBlocks(rec[k].b, spare.b, b);
    }
  } else {
    if (k < count) {
      I::storeBlock(rec[k].a, a);
      I::storeBlock(rec[k].b, b);
    }
  }
}

// Records of the N columns whose pixels are a0, b0 (rows 0 and 1) and whose
// right neighbours are a1, b1; only the first count are stored.
template <class I>
PIX_SIMD_INLINE void ColumnGroup(PIX_BilinearColumn* rec, typename I::V a0, typename I::V a1,
                                 typename I::V b0, typename I::V b1, int count)
{
  typedef typename I::V V;
  const V z = I::zero();
  // The low halves hold columns 0 and 1 (and 4, 5), the high halves 2 and 3 (and 6, 7).
  for (int half = 0; half < 2; ++half) {
    auto widen = [&](V v) { return half ? I::unpackHi8(v, z) : I::unpackLo8(v, z); };
    const V p00 = widen(a0), p01 = widen(a1), p10 = widen(b0), p11 = widen(b1);
    const V dt = I::sub16(p01, p00);
    const V dv = I::sub16(p10, p00);
    const V dxy = I::sub16(I::sub16(p11, p10), dt);
    const V negSum = I::sub16(z, I::add16(p00, p11));
    StoreRecords<I>(rec, 2 * half, count, I::unpackLo16(dt, dv), I::unpackLo16(dxy, negSum));
    StoreRecords<I>(rec, 2 * half + 1, count, I::unpackHi16(dt, dv), I::unpackHi16(dxy, negSum));
  }
}
}  // namespace pix_simd

// Records of columns 0..count-1 of the source rows r0 and r1 (r1 may be r0).
// Each column's right neighbour is read from the next column, except that
// with lastIsEdge the last column is its own neighbour and nothing beyond
// it is read.
template <class I>
void PIX_SimdBilinearColumns(PIX_BilinearColumn* rec, const PIX_pixel* r0, const PIX_pixel* r1, int count,
                             bool lastIsEdge)
{
  const int readable = lastIsEdge ? count - 1 : count;  // columns whose neighbour lies in the rows
  int c = 0;
  for (; c + I::N <= readable; c += I::N)
    pix_simd::ColumnGroup<I>(rec + c, I::load(r0 + c), I::load(r0 + c + 1), I::load(r1 + c),
                             I::load(r1 + c + 1), I::N);
  // The rest (at most N columns) through a copy, with the edge column
  // repeated as its own neighbour.
  if (c < count) {
    const int m = count - c;
    PIX_pixel t0[I::N + 1] = {}, t1[I::N + 1] = {};
    const int known = lastIsEdge ? m : m + 1;
    for (int i = 0; i < known; ++i) t0[i] = r0[c + i], t1[i] = r1[c + i];
    if (known == m) t0[m] = t0[m - 1], t1[m] = t1[m - 1];
    pix_simd::ColumnGroup<I>(rec + c, I::load(t0), I::load(t0 + 1), I::load(t1), I::load(t1 + 1), m);
  }
}

namespace pix_simd {
// N samples: pixel i reads record col[i] with horizontal fraction fx[i].
template <class I>
PIX_SIMD_INLINE typename I::V BilinearGroup(const PIX_BilinearColumn* rec, const int32_t* col,
                                            const uint32_t* fx, typename I::V fy, typename I::V fyHigh)
{
  typedef typename I::V V;
  const V fxv = I::load(fx);
  const V w11 = I::mulhiU16(fxv, fy);
  // Per pixel: (fx - 32768, fy - 32768) and (w11 - 32768, -32768) as 16-bit pairs.
  const V wa = I::or_(I::xor_(fxv, I::splat32(0x8000)), fyHigh);
  const V wb = I::xor_(w11, I::splat32(0x80008000u));
  auto channels = [&](auto kTag) {
    constexpr int k = decltype(kTag)::value;
    const V sa = I::madd16(LoadRecordPairs<I, k, false>(rec, col), I::template spreadForPixel<k>(wa));
    const V sb = I::madd16(LoadRecordPairs<I, k, true>(rec, col), I::template spreadForPixel<k>(wb));
    return I::template srai32<16>(I::add32(sa, sb));
  };
  const V r0 = channels(std::integral_constant<int, 0>()), r1 = channels(std::integral_constant<int, 1>());
  const V r2 = channels(std::integral_constant<int, 2>()), r3 = channels(std::integral_constant<int, 3>());
  return I::packus16(I::packs32(r0, r1), I::packs32(r2, r3));
}
}  // namespace pix_simd

// out[0..n) sampled with the row fraction fy (0..65535): pixel i from record
// col[i] at horizontal fraction fx[i] (0..65535).
template <class I>
void PIX_SimdBilinearRow(PIX_pixel* out, int n, const PIX_BilinearColumn* rec, const int32_t* col,
                         const uint32_t* fx, int fy)
{
  const typename I::V fyv = I::splat32((uint32_t)fy);
  const typename I::V fyHigh = I::splat32((uint32_t)(fy ^ 0x8000) << 16);
  int i = 0;
  for (; i + I::N <= n; i += I::N)
    I::store(out + i, pix_simd::BilinearGroup<I>(rec, col + i, fx + i, fyv, fyHigh));
  if (i < n) {
    // The last pixels again through full-width arrays, padded with the last one.
    int32_t c[I::N];
    uint32_t f[I::N];
    for (int k = 0; k < I::N; ++k) {
      const int j = i + k < n ? i + k : n - 1;
      c[k] = col[j];
      f[k] = fx[j];
    }
    I::storePartial(out + i, pix_simd::BilinearGroup<I>(rec, c, f, fyv, fyHigh), n - i);
  }
}
