// Rounded rectangle outlines: four lines and four quarter arcs.

#include <algorithm>
#include <cmath>

#include "pix/pix_vector.h"
#include "pix/pix_vectordraw.h"

void PIX_RoundRect(PIX_IBitmap* bm, float x, float y, float w, float h, int radius, PIX_pixel colour,
                   float alpha, int mode, bool aa)
{
  if (!PIX_VecCoordOk(x) || !PIX_VecCoordOk(y) || !PIX_VecCoordOk(w) || !PIX_VecCoordOk(h)) return;
  const double r = std::floor(std::min({(double)radius, (double)w / 2, (double)h / 2}));
  auto I = [](double v) { return (int)PIX_VecTrunc(v); };
  if (r < 2) {
    PIX_DrawRect(bm, I(x), I(y), I(w), I(h), colour, alpha, mode);
    return;
  }
  const double pi = 3.14159265358979323846;
  PIX_Line(bm, I(x + r), I(y), I(x + w - r), I(y), colour, alpha, mode, aa);
  PIX_Line(bm, I(x + r - 1), I(y + h), I(x + w - r), I(y + h), colour, alpha, mode, aa);
  PIX_Line(bm, I(x + w), I(y + r), I(x + w), I(y + h - r), colour, alpha, mode, aa);
  PIX_Line(bm, I(x), I(y + r - 1), I(x), I(y + h - r), colour, alpha, mode, aa);
  const float fr = (float)r;
  PIX_Arc(bm, (float)(x + r), (float)(y + r), fr, (float)(-pi / 2), 0.0f, colour, alpha, mode, aa);
  PIX_Arc(bm, (float)(x + w - r), (float)(y + r), fr, 0.0f, (float)(pi / 2), colour, alpha, mode, aa);
  PIX_Arc(bm, (float)(x + w - r), (float)(y + h - r), fr, (float)(pi / 2), (float)pi, colour, alpha, mode,
          aa);
  PIX_Arc(bm, (float)(x + r), (float)(y + h - r), fr, (float)pi, (float)(3 * pi / 2), colour, alpha, mode,
          aa);
}
