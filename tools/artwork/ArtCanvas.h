#pragma once
// A supersampled drawing surface for the artwork: shapes are drawn with the
// rasteriser at four times the final size (premultiplied colour over a
// transparent start, which the rasteriser's copy blend gives for opaque
// colours), then box-filtered down, so every edge is smooth whatever
// primitive drew it. Coordinates given to the helpers are final pixels.
//
// Threads: used by the artwork tool's one thread.

#include <cmath>

#include "pix/pix_membitmap.h"
#include "tools/artwork/ArtColour.h"

class ArtCanvas {
public:
  enum { kScale = 4 };

  // A transparent canvas of width x height final pixels.
  ArtCanvas(int width, int height);

  PIX_IBitmap* Hi() { return &m_hi; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  // A final-pixel coordinate in supersampled pixels.
  static float S(float v) { return v * kScale; }

  // Anti-aliased disc through the rasteriser.
  void Disc(float cx, float cy, float r, ArtRGB colour, float alpha = 1.0f);
  // A soft round shadow: discs of falling opacity from r + spread down to r.
  void SoftShadow(float cx, float cy, float r, float spread, float alpha);
  // A straight stroke with round ends, as a filled polygon and two discs.
  void Stroke(float x1, float y1, float x2, float y2, float width, ArtRGB colour, float alpha = 1.0f);
  // A band of the circle between two angles (0 up, clockwise), drawn as
  // anti-aliased arcs one supersampled pixel apart.
  void ArcBand(float cx, float cy, float rIn, float rOut, float a0, float a1, ArtRGB colour,
               float alpha = 1.0f);
  // Vertical gradient of a rectangle, through the rasteriser's gradient fill.
  void VerticalGradient(float x, float y, float w, float h, ArtRGB top, ArtRGB bottom);

  // Composites shader(x, y, &colour) -> coverage over every supersampled
  // pixel of the box; x and y are in final pixels (pixel centres).
  template <class Shader>
  void Shade(float x0, float y0, float x1, float y1, Shader&& shader);

  // Shaded disc: shader(dx, dy, &colour) -> opacity, with dx, dy relative to
  // the centre in units of r; the edge is covered analytically.
  template <class Shader>
  void ShadeDisc(float cx, float cy, float r, Shader&& shader);

  // Box-filters the canvas down into dest at (x, y), colour no longer
  // premultiplied.
  void Resolve(PIX_IBitmap* dest, int x, int y);

private:
  void Over(int x, int y, ArtRGB colour, float opacity);

  int m_width, m_height;
  PIX_MemBitmap m_hi;
};

template <class Shader>
void ArtCanvas::Shade(float x0, float y0, float x1, float y1, Shader&& shader)
{
  const int hx0 = (int)std::floor(S(x0)), hy0 = (int)std::floor(S(y0));
  const int hx1 = (int)std::ceil(S(x1)), hy1 = (int)std::ceil(S(y1));
  for (int y = hy0; y < hy1; ++y)
    for (int x = hx0; x < hx1; ++x) {
      ArtRGB c{0, 0, 0};
      const float cover = shader((x + 0.5f) / kScale, (y + 0.5f) / kScale, &c);
      if (cover > 0.0f) Over(x, y, c, cover);
    }
}

template <class Shader>
void ArtCanvas::ShadeDisc(float cx, float cy, float r, Shader&& shader)
{
  Shade(cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1, [&](float x, float y, ArtRGB* c) {
    const float dx = x - cx, dy = y - cy;
    const float edge = (r - std::sqrt(dx * dx + dy * dy)) * kScale + 0.5f;
    if (edge <= 0.0f) return 0.0f;
    const float cover = edge < 1.0f ? edge : 1.0f;
    return cover * shader(dx / r, dy / r, c);
  });
}
