// Bilinear sampling of a scaled blit a row at a time through the vector row
// functions (pix/pix_simdbilinear.h), with exactly the samples of
// PIX_BilinearSampler.
//
// Every destination row of a scaled walk samples the same source columns
// with the same horizontal fractions, so those are worked out once per
// call; each pair of source rows gets its column records once, however many
// destination rows sample between them.
//
// Threads: one sampler per drawing call, on the thread that owns the bitmaps.
#pragma once

#include <cstdint>

#include "pix/pix_blitloops.h"
#include "pix/pix_sampling.h"
#include "pix/pix_simdrows.h"

class PIX_BilinearRowSampler {
public:
  PIX_BilinearRowSampler() = default;
  ~PIX_BilinearRowSampler();
  PIX_BilinearRowSampler(const PIX_BilinearRowSampler&) = delete;
  PIX_BilinearRowSampler& operator=(const PIX_BilinearRowSampler&) = delete;

  // Plans the walk over the window. False when the memory for the plan
  // cannot be had (the caller then samples pixel by pixel).
  bool init(const PIX_ScaledWalk& walk, const PIX_SampleWindow& win);
  // Destination pixels of each row before the first sample, and samples per
  // row (0: the walk samples nothing).
  int first() const { return m_first; }
  int count() const { return m_count; }
  // Prepares the row at source position y (16.16); false when it lies
  // outside the window (that destination row stays).
  bool row(int64_t y);
  // n samples of the prepared row, starting at its k-th, into out.
  void sample(PIX_pixel* out, int k, int n) const
  {
    m_ops->bilinearRow(out, n, m_records, m_col + k, m_fx + k, m_fy);
  }

private:
  const PIX_SimdRowOps* m_ops = nullptr;
  PIX_SampleWindow m_win = {};
  void* m_memory = nullptr;
  int32_t* m_col = nullptr;  // record of each sample
  uint32_t* m_fx = nullptr;  // horizontal fraction of each sample
  PIX_BilinearColumn* m_records = nullptr;
  int m_first = 0, m_count = 0;
  int m_column0 = 0, m_columns = 0;  // the window columns the samples read
  bool m_lastIsEdge = false;
  int64_t m_recordRow = -1;  // source row whose records are made
  int m_fy = 0;
};

// Each destination row of the walk combined with its bilinear samples
// through Op; false (nothing drawn) when the plan's memory cannot be had.
template <class Op>
bool PIX_BilinearScaleRows(const PIX_BitmapRows& dst, const PIX_ScaledWalk& walk, const PIX_SampleWindow& win,
                           int ia)
{
  PIX_BilinearRowSampler sampler;
  if (!sampler.init(walk, win)) return false;
  const int n = sampler.count();
  int64_t y = walk.y0;
  for (int j = 0; j < walk.height; ++j, y += walk.ys) {
    if (n == 0 || !sampler.row(y)) continue;
    PIX_pixel* d = dst.at(walk.dstx + sampler.first(), walk.dsty + j);
    PIX_CombineSampledRow<Op>(d, n, ia, [&](PIX_pixel* out, int k, int m) { sampler.sample(out, k, m); });
  }
  return true;
}
