// Coverage-mask compositing (GlyphDrawImpl): one loop per operator.

#include "pix/pix_glyph.h"

#include <cstddef>

#include "pix/pix_bitmaprows.h"
#include "pix/pix_blendmode.h"
#include "pix/pix_opselect.h"

namespace {

// Runs the coverage loop with the operator of the mode's operator field:
// copy (the blending copy: glyph edges always blend), add, dodge, multiply,
// overlay, HSV adjust. The weight functor turns a coverage byte into the
// operator's weight.
template <class Weight>
void DrawCoverage(PIX_IBitmap* dest, int x, int y, PIX_pixel colour, const unsigned char* coverage, int width,
                  int rowspan, int height, float alpha, int mode, Weight weight)
{
  PIX_BitmapRows rows(dest);
  if (rows.empty() || !coverage || width <= 0 || height <= 0) return;
  const int ia = PIX_IntAlpha(alpha);
  if (ia == 0) return;
  if ((mode & PIX_OP_MASK) == PIX_OP_COPY && ia < 0) return;

  // Rows stored from the last one: start at the visual top row's bytes.
  const unsigned char* top = coverage;
  if (rowspan < 0) top = coverage + (ptrdiff_t)(height - 1) * -(ptrdiff_t)rowspan;

  int x0 = 0, y0 = 0, x1 = width, y1 = height;
  if (x < 0) x0 = -x;
  if (y < 0) y0 = -y;
  if (x + x1 > rows.width) x1 = rows.width - x;
  if (y + y1 > rows.height) y1 = rows.height - y;
  if (x0 >= x1 || y0 >= y1) return;

  const int r = PIX_GetR(colour), g = PIX_GetG(colour), b = PIX_GetB(colour), a = PIX_GetA(colour);
  auto loop = [&](auto tag) {
    using Op = typename decltype(tag)::type;
    for (int gy = y0; gy < y1; ++gy) {
      const unsigned char* src = top + (ptrdiff_t)gy * rowspan;
      unsigned char* out = reinterpret_cast<unsigned char*>(rows.at(x + x0, y + gy));
      for (int gx = x0; gx < x1; ++gx, out += 4) {
        const int k = src[gx];
        if (k) Op::doPix(out, r, g, b, a, weight(ia, k));
      }
    }
  };
  if ((mode & PIX_OP_MASK) == PIX_OP_COPY) loop(PIX_OpTag<_PIX_CombinePixelsCopyNoClamp>());
  else PIX_SelectColorOperator(mode, loop);
}

}  // namespace

void PIX_DrawGlyphEx(PIX_IBitmap* dest, int x, int y, PIX_pixel colour, const unsigned char* coverage,
                     int width, int rowspan, int height, float alpha, int mode)
{
  DrawCoverage(dest, x, y, colour, coverage, width, rowspan, height, alpha, mode,
               [](int ia, int k) { return ia * k / 256; });
}

void PIX_DrawGlyph(PIX_IBitmap* dest, int x, int y, PIX_pixel colour, const unsigned char* coverage,
                   int width, int height, float alpha, int mode)
{
  PIX_DrawGlyphEx(dest, x, y, colour, coverage, width, width, height, alpha, mode);
}

void PIX_DrawMonoGlyph(PIX_IBitmap* dest, int x, int y, PIX_pixel colour, const unsigned char* coverage,
                       int width, int height, float alpha, int mode)
{
  DrawCoverage(dest, x, y, colour, coverage, width, width, height, alpha, mode,
               [](int ia, int) { return ia; });
}
