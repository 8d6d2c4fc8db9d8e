#include "tools/artwork/ArtCanvas.h"

#include "pix/pix_bitmaprows.h"
#include "pix/pix_blendmode.h"
#include "pix/pix_blit.h"
#include "pix/pix_vector.h"

ArtCanvas::ArtCanvas(int width, int height)
    : m_width(width), m_height(height), m_hi(width * kScale, height * kScale)
{
  PIX_Clear(&m_hi, 0);
}

void ArtCanvas::Disc(float cx, float cy, float r, ArtRGB colour, float alpha)
{
  PIX_FillCircle(&m_hi, S(cx), S(cy), S(r), ArtPixel(colour), alpha, PIX_OP_COPY, true);
}

void ArtCanvas::SoftShadow(float cx, float cy, float r, float spread, float alpha)
{
  // Each disc darkens what lies inside it a little more, so the opacity
  // rises smoothly from the outer edge towards r.
  const int steps = (int)(spread * kScale);
  for (int i = steps; i >= 0; --i) {
    const float t = (float)i / (float)(steps > 0 ? steps : 1);
    PIX_FillCircle(&m_hi, S(cx), S(cy), S(r) + (float)i, PIX_MakeColor(255, 0, 0, 0),
                   alpha / (float)(steps + 1) * (1.5f - t), PIX_OP_COPY, true);
  }
}

void ArtCanvas::Stroke(float x1, float y1, float x2, float y2, float width, ArtRGB colour, float alpha)
{
  const float dx = x2 - x1, dy = y2 - y1;
  const float len = std::sqrt(dx * dx + dy * dy);
  if (len <= 0.0f) return;
  const float nx = -dy / len * width * 0.5f, ny = dx / len * width * 0.5f;
  const int xs[4] = {(int)std::lround(S(x1 + nx)), (int)std::lround(S(x2 + nx)), (int)std::lround(S(x2 - nx)),
                     (int)std::lround(S(x1 - nx))};
  const int ys[4] = {(int)std::lround(S(y1 + ny)), (int)std::lround(S(y2 + ny)), (int)std::lround(S(y2 - ny)),
                     (int)std::lround(S(y1 - ny))};
  // Caps first, body last, each covering pixels the others left: the body
  // polygon alone is drawn once, the caps add only their outer halves.
  Shade(std::fmin(x1, x2) - width, std::fmin(y1, y2) - width, std::fmax(x1, x2) + width,
        std::fmax(y1, y2) + width, [&](float x, float y, ArtRGB* c) {
          *c = colour;
          float t = ((x - x1) * dx + (y - y1) * dy) / (len * len);
          if (t >= 0.0f && t <= 1.0f) return 0.0f;
          t = ArtClamp(t, 0.0f, 1.0f);
          const float px = x1 + dx * t - x, py = y1 + dy * t - y;
          const float edge = (width * 0.5f - std::sqrt(px * px + py * py)) * kScale + 0.5f;
          return ArtClamp(edge, 0.0f, 1.0f) * alpha;
        });
  PIX_FillConvexPolygon(&m_hi, xs, ys, 4, ArtPixel(colour), alpha, PIX_OP_COPY);
}

void ArtCanvas::ArcBand(float cx, float cy, float rIn, float rOut, float a0, float a1, ArtRGB colour,
                        float alpha)
{
  Shade(cx - rOut - 1, cy - rOut - 1, cx + rOut + 1, cy + rOut + 1, [&](float x, float y, ArtRGB* c) {
    *c = colour;
    const float dx = x - cx, dy = y - cy;
    const float d = std::sqrt(dx * dx + dy * dy);
    const float radial =
        ArtClamp((rOut - d) * kScale + 0.5f, 0, 1) * ArtClamp((d - rIn) * kScale + 0.5f, 0, 1);
    if (radial <= 0.0f) return 0.0f;
    const float a = std::atan2(dx, -dy);
    // Soften the two ends over one supersampled pixel along the circle.
    const float along =
        ArtClamp((a - a0) * d * kScale + 0.5f, 0, 1) * ArtClamp((a1 - a) * d * kScale + 0.5f, 0, 1);
    return radial * along * alpha;
  });
}

void ArtCanvas::VerticalGradient(float x, float y, float w, float h, ArtRGB top, ArtRGB bottom)
{
  const float rows = S(h);
  PIX_GradRect(&m_hi, (int)S(x), (int)S(y), (int)S(w), (int)rows, top.r / 255, top.g / 255, top.b / 255, 1.0f,
               0, 0, 0, 0, (bottom.r - top.r) / 255 / rows, (bottom.g - top.g) / 255 / rows,
               (bottom.b - top.b) / 255 / rows, 0, PIX_OP_COPY);
}

void ArtCanvas::Over(int x, int y, ArtRGB colour, float opacity)
{
  const PIX_BitmapRows rows(&m_hi);
  if (x < 0 || y < 0 || x >= rows.width || y >= rows.height) return;
  PIX_pixel* p = rows.at(x, y);
  const float o = ArtClamp(opacity, 0, 1), k = 1.0f - o;
  const ArtRGB c = {colour.r * o + PIX_GetR(*p) * k, colour.g * o + PIX_GetG(*p) * k,
                    colour.b * o + PIX_GetB(*p) * k};
  const int a = (int)(255.0f * o + PIX_GetA(*p) * k + 0.5f);
  *p = (ArtPixel(c) & 0x00FFFFFFu) | ((PIX_pixel)a << 24);
}

void ArtCanvas::Resolve(PIX_IBitmap* dest, int x, int y)
{
  const PIX_BitmapRows hi(&m_hi), out(dest);
  for (int j = 0; j < m_height; ++j)
    for (int i = 0; i < m_width; ++i) {
      const int ox = x + i, oy = y + j;
      if (ox < 0 || oy < 0 || ox >= out.width || oy >= out.height) continue;
      unsigned sr = 0, sg = 0, sb = 0, sa = 0;
      for (int v = 0; v < kScale; ++v) {
        const PIX_pixel* row = hi.at(i * kScale, j * kScale + v);
        for (int u = 0; u < kScale; ++u) {
          sr += PIX_GetR(row[u]);
          sg += PIX_GetG(row[u]);
          sb += PIX_GetB(row[u]);
          sa += PIX_GetA(row[u]);
        }
      }
      PIX_pixel result = 0;
      if (sa) {
        // Premultiplied sums: dividing by the alpha sum restores the colour.
        const unsigned half = sa / 2;
        const unsigned r = (sr * 255 + half) / sa, g = (sg * 255 + half) / sa, b = (sb * 255 + half) / sa;
        const unsigned n = kScale * kScale;
        result = PIX_MakeColor((int)((sa + n / 2) / n), (int)(r > 255 ? 255 : r), (int)(g > 255 ? 255 : g),
                               (int)(b > 255 ? 255 : b));
      }
      *out.at(ox, oy) = result;
    }
}
