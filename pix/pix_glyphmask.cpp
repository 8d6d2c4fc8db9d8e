// Making a glyph's coverage mask: capture, quarter turns, threshold, effect pixels.

#include "pix/pix_glyphmask.h"

#include <algorithm>
#include <cstddef>

#include "pix/pix_bitmaprows.h"

PIX_GlyphMask PIX_CaptureGlyphCoverage(PIX_IBitmap* rendering, int width, int height, int pad, int advance,
                                       bool invert)
{
  PIX_GlyphMask mask;
  const PIX_BitmapRows rows(rendering);
  width = std::min(width, rows.width);
  height = std::min(height, rows.height);
  if (width <= 0 || height <= 0) return mask;
  auto coverage = [&](int x, int y) {
    const int v = (int)((*rows.at(x, y) >> 16) & 0xFF);
    return invert ? 255 - v : v;
  };
  int first = width, last = -1;
  for (int x = 0; x < width; ++x)
    for (int y = 0; y < height; ++y)
      if (coverage(x, y)) {
        first = std::min(first, x);
        last = x;
        break;
      }
  const int keep0 = std::min(first, pad);
  const int keep1 = std::min(std::max(last + 1, pad + advance), width);
  mask.width = std::max(keep1 - keep0, 0);
  mask.height = height;
  mask.leftExtra = pad - keep0;
  mask.bytes.resize((size_t)mask.width * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < mask.width; ++x)
      mask.bytes[(size_t)y * mask.width + x] = (unsigned char)coverage(keep0 + x, y);
  return mask;
}

void PIX_TurnGlyphMask(PIX_GlyphMask& mask, bool bottomUp)
{
  const int w = mask.width, h = mask.height;
  const std::vector<unsigned char>& g = mask.bytes;
  std::vector<unsigned char> t(g.size());
  for (int i = 0; i < w; ++i)    // rows of the turned mask
    for (int j = 0; j < h; ++j)  // its columns
      t[(size_t)i * h + j] = bottomUp ? g[(size_t)j * w + (w - 1 - i)] : g[(size_t)(h - 1 - j) * w + i];
  mask.bytes.swap(t);
  mask.width = h;
  mask.height = w;
}

void PIX_ThresholdGlyphMask(PIX_GlyphMask& mask)
{
  for (unsigned char& k : mask.bytes) k = k > 130 ? 255 : 0;
}

void PIX_AddGlyphEffect(PIX_GlyphMask& mask, bool outline)
{
  const int w = mask.width, h = mask.height;
  std::vector<unsigned char>& g = mask.bytes;
  auto full = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && g[(size_t)y * w + x] == 255; };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      unsigned char& k = g[(size_t)y * w + x];
      if (k) continue;
      const bool touches = outline ? full(x - 1, y) || full(x + 1, y) || full(x, y - 1) || full(x, y + 1)
                                   : full(x - 1, y) || full(x, y - 1) || full(x - 1, y - 1);
      if (touches) k = 128;
    }
}
