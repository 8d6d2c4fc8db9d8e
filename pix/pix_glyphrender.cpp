#include "pix/pix_glyphrender.h"

#include <algorithm>

#include "pix/pix_bitmaprows.h"
#include "pix/pix_blendmode.h"
#include "pix/pix_opselect.h"

namespace {

struct Shade {
  int r, g, b, weight;
};

// The per-pixel loop, once per operator and shading.
template <class Op, class ShadeFn>
void GlyphLoop(const PIX_BitmapRows& rows, int x, int y, const unsigned char* coverage, int w,
               const RECT& box, ShadeFn shade)
{
  for (int py = box.top; py < box.bottom; ++py) {
    const unsigned char* src = coverage + (size_t)(py - y) * w + (box.left - x);
    unsigned char* out = reinterpret_cast<unsigned char*>(rows.at(box.left, py));
    for (int px = box.left; px < box.right; ++px, ++src, out += 4) {
      const int k = *src;
      if (!k) continue;
      const Shade s = shade(k);
      Op::doPix(out, s.r, s.g, s.b, 255, s.weight);
    }
  }
}

// Chooses the operator once: copy (the store or the blending copy) or one
// of the colour operators by the operator field.
template <class ShadeFn>
void RunGlyph(const PIX_BitmapRows& rows, int x, int y, const unsigned char* coverage, int w, const RECT& box,
              int mode, bool store, ShadeFn shade)
{
  auto loop = [&](auto tag) {
    using Op = typename decltype(tag)::type;
    GlyphLoop<Op>(rows, x, y, coverage, w, box, shade);
  };
  if ((mode & PIX_OP_MASK) != PIX_OP_COPY) PIX_SelectColorOperator(mode, loop);
  else if (store) loop(PIX_OpTag<_PIX_CombinePixelsClobberNoClamp>());
  else loop(PIX_OpTag<_PIX_CombinePixelsCopyNoClamp>());
}

}  // namespace

void PIX_RenderGlyphCoverage(PIX_IBitmap* dest, int x, int y, const unsigned char* coverage, int w, int h,
                             const RECT& clip, PIX_pixel textColour, PIX_pixel effectColour, float alpha,
                             int mode, PIX_GlyphKind kind)
{
  PIX_BitmapRows rows(dest);
  if (rows.empty() || !coverage || w <= 0 || h <= 0) return;
  RECT box = {std::max(x, clip.left), std::max(y, clip.top), std::min(x + w, clip.right),
              std::min(y + h, clip.bottom)};
  box.left = std::max(box.left, 0);
  box.top = std::max(box.top, 0);
  box.right = std::min(box.right, rows.width);
  box.bottom = std::min(box.bottom, rows.height);
  if (box.left >= box.right || box.top >= box.bottom) return;

  int ia = PIX_IntAlpha(alpha);
  if (ia > 256) ia = 256;
  if (ia == 0 || ((mode & PIX_OP_MASK) == PIX_OP_COPY && ia < 0)) return;
  const bool copy = (mode & PIX_OP_MASK) == PIX_OP_COPY;
  const int r = PIX_GetR(textColour), g = PIX_GetG(textColour), b = PIX_GetB(textColour);

  switch (kind) {
    case PIX_GLYPH_NORMAL:
      if (copy && ia == 256) {
        // The coverage itself is the weight, with 255 - k as the complement.
        RunGlyph(rows, x, y, coverage, w, box, mode, false, [&](int k) { return Shade{r, g, b, k + 1}; });
      } else {
        RunGlyph(rows, x, y, coverage, w, box, mode, false, [&](int k) {
          return Shade{r, g, b, std::min(ia * k / 256, 256)};
        });
      }
      break;
    case PIX_GLYPH_MONO:
      RunGlyph(rows, x, y, coverage, w, box, mode, copy && alpha == 1.0f, [&](int) {
        return Shade{r, g, b, ia};
      });
      break;
    case PIX_GLYPH_EFFECT: {
      const int er = PIX_GetR(effectColour), eg = PIX_GetG(effectColour), eb = PIX_GetB(effectColour);
      RunGlyph(rows, x, y, coverage, w, box, mode, copy && alpha == 1.0f, [&](int k) {
        return k == 255 ? Shade{r, g, b, ia} : Shade{er, eg, eb, ia};
      });
      break;
    }
  }
}
