#include "pix/pix_bilinearrows.h"

#include <cstdlib>

#include "pix/pix_simdbilinear.h"

PIX_BilinearRowSampler::~PIX_BilinearRowSampler() { free(m_memory); }

bool PIX_BilinearRowSampler::init(const PIX_ScaledWalk& walk, const PIX_SampleWindow& win)
{
  m_ops = &PIX_SimdRows();
  m_win = win;
  auto column = [&](int i) { return (walk.x0 + i * walk.xs) >> 16; };
  auto inside = [&](int i) { return (uint64_t)column(i) < (uint64_t)win.w; };
  // The columns move monotonically, so the samples inside the window are
  // one run.
  int first = 0, end = walk.width;
  while (first < end && !inside(first)) ++first;
  while (end > first && !inside(end - 1)) --end;
  m_first = first;
  m_count = end - first;
  if (m_count == 0) return true;

  const int64_t a = column(first), b = column(end - 1);
  m_column0 = (int)(a < b ? a : b);
  m_columns = (int)(a < b ? b - a : a - b) + 1;
  m_lastIsEdge = m_column0 + m_columns == win.w;
  const size_t perSample = sizeof(int32_t) + sizeof(uint32_t);
  m_memory = malloc((size_t)m_count * perSample + (size_t)m_columns * sizeof(PIX_BilinearColumn));
  if (!m_memory) return false;
  m_records = (PIX_BilinearColumn*)m_memory;
  m_col = (int32_t*)(m_records + m_columns);
  m_fx = (uint32_t*)(m_col + m_count);
  int64_t x = walk.x0 + first * walk.xs;
  for (int i = 0; i < m_count; ++i, x += walk.xs) {
    m_col[i] = (int32_t)((x >> 16) - m_column0);
    m_fx[i] = (uint32_t)(x & 0xFFFF);
  }
  return true;
}

bool PIX_BilinearRowSampler::row(int64_t y)
{
  const int64_t iy = y >> 16;
  if ((uint64_t)iy >= (uint64_t)m_win.h) return false;
  m_fy = (int)(y & 0xFFFF);
  if (iy != m_recordRow) {
    // In the window's last row the row below is the row itself, which
    // leaves only the horizontal pair.
    const PIX_pixel* r0 = m_win.row(iy) + m_column0;
    const PIX_pixel* r1 = iy == m_win.h - 1 ? r0 : m_win.row(iy + 1) + m_column0;
    m_ops->bilinearColumns(m_records, r0, r1, m_columns, m_lastIsEdge);
    m_recordRow = iy;
  }
  return true;
}
