#include "pix/pix_bitmaprows.h"
#include "pix/pix_blit.h"

namespace {
// Truncation of v x 256, saturated so the channel products stay in range.
int64_t Scaled256(float v)
{
  const double f = (double)v * 256.0;
  if (!(f > -1e12)) return f != f ? 0 : (int64_t)-1e12;
  if (f > 1e12) return (int64_t)1e12;
  return (int64_t)f;
}

unsigned char MultiplyAdd(int c, int64_t scale, int64_t add)
{
  const int64_t x = scale * c + add;
  if (x >= 65536) return 255;
  if (x < 0) return 0;
  return (unsigned char)(x >> 8);
}
}  // namespace

void PIX_MultiplyAddRect(PIX_IBitmap* dest, int x, int y, int w, int h, float rscale, float gscale,
                         float bscale, float ascale, float radd, float gadd, float badd, float aadd)
{
  const PIX_BitmapRows rows(dest);
  PIX_ClippedRect rc;
  if (!PIX_ClipRect(rows, x, y, w, h, rc)) return;
  // Byte order of a pixel in memory: blue, green, red, alpha.
  const int64_t scale[4] = {Scaled256(bscale), Scaled256(gscale), Scaled256(rscale), Scaled256(ascale)};
  const int64_t add[4] = {Scaled256(badd), Scaled256(gadd), Scaled256(radd), Scaled256(aadd)};
  PIX_ForEachRectPixel(rows, rc, [&](PIX_pixel* p) {
    unsigned char* d = (unsigned char*)p;
    for (int k = 0; k < 4; ++k) d[k] = MultiplyAdd(d[k], scale[k], add[k]);
  });
}
