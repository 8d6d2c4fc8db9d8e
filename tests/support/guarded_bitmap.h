// A bitmap inside a larger buffer for tests that draw into bitmaps: guard
// pixels of a known value all round and a row span wider than the width,
// optionally flipped. Anything written outside the bitmap shows in the
// guard. get and set take visual coordinates (row 0 on top, also when
// flipped).
#pragma once

#include <cstddef>
#include <set>
#include <utility>
#include <vector>

#include "pix/pix_bitmap.h"

class GuardedBitmap : public PIX_IBitmap {
public:
  static constexpr PIX_pixel kGuard = 0xDEADBEEFu;
  GuardedBitmap(int w, int h, bool flipped = false, int guard = 4)
      : m_w(w), m_h(h), m_g(guard), m_span(w + 2 * guard + 3), m_flipped(flipped),
        m_buf((size_t)m_span * (h + 2 * guard), kGuard)
  {
    clear(0);
  }
  // Memory row 0 of the bitmap; when flipped that is the visual bottom row.
  PIX_pixel* getBits() override { return &m_buf[(size_t)m_g * m_span + m_g]; }
  int getWidth() override { return m_w; }
  int getHeight() override { return m_h; }
  int getRowSpan() override { return m_span; }
  bool isFlipped() override { return m_flipped; }
  bool resize(int, int) override { return false; }
  int w() const { return m_w; }
  int h() const { return m_h; }

  PIX_pixel& at(int x, int y)
  {
    const int my = m_flipped ? m_h - 1 - y : y;
    return m_buf[(size_t)(my + m_g) * m_span + x + m_g];
  }
  PIX_pixel get(int x, int y) { return at(x, y); }
  void set(int x, int y, PIX_pixel p) { at(x, y) = p; }
  void clear(PIX_pixel p)
  {
    for (int y = 0; y < m_h; ++y)
      for (int x = 0; x < m_w; ++x) set(x, y, p);
  }
  bool guardIntact() const
  {
    for (int y = 0; y < m_h + 2 * m_g; ++y)
      for (int x = 0; x < m_span; ++x) {
        const bool inside = y >= m_g && y < m_g + m_h && x >= m_g && x < m_g + m_w;
        if (!inside && m_buf[(size_t)y * m_span + x] != kGuard) return false;
      }
    return true;
  }
  std::vector<PIX_pixel> pixels()
  {
    std::vector<PIX_pixel> v;
    for (int y = 0; y < m_h; ++y)
      for (int x = 0; x < m_w; ++x) v.push_back(get(x, y));
    return v;
  }
  // Coordinates of every pixel that differs from the background.
  std::set<std::pair<int, int>> drawn(PIX_pixel background = 0)
  {
    std::set<std::pair<int, int>> s;
    for (int y = 0; y < m_h; ++y)
      for (int x = 0; x < m_w; ++x)
        if (get(x, y) != background) s.insert({x, y});
    return s;
  }

private:
  int m_w, m_h, m_g, m_span;
  bool m_flipped;
  std::vector<PIX_pixel> m_buf;
};
