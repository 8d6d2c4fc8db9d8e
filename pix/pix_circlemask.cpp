// Fixed coverage masks for the smallest circle outlines, whose computed
// shapes look poor at these sizes.

#include <cstddef>

#include "pix/pix_circledraw.h"
#include "pix/pix_glyph.h"

namespace {

struct CircleMask {
  float radius;
  int size;
  const unsigned char* plain;
  const unsigned char* smooth;
};

const unsigned char kPlain15[] = {0, 255, 255, 0, 255, 0, 0, 255, 255, 0, 0, 255, 0, 255, 255, 0};
const unsigned char kSmooth15[] = {79, 255, 255, 79, 255, 15, 15, 255, 255, 15, 15, 255, 79, 255, 255, 79};
const unsigned char kPlain20[] = {0, 0,   255, 0,   0, 0,   255, 0, 255, 0,   255, 0, 0,
                                  0, 255, 0,   255, 0, 255, 0,   0, 0,   255, 0,   0};
const unsigned char kSmooth20[] = {15, 191, 255, 191, 15, 191, 209, 79, 209, 191, 255, 79, 0,
                                   79, 255, 191, 209, 79, 209, 191, 15, 191, 255, 191, 15};
const unsigned char kPlain25[] = {0,   0, 255, 255, 0, 0,   0, 255, 0, 0, 255, 0, 255, 0, 0,   0,   0, 255,
                                  255, 0, 0,   0,   0, 255, 0, 255, 0, 0, 255, 0, 0,   0, 255, 255, 0, 0};
const unsigned char kSmooth25[] = {15,  191, 255, 255, 191, 15,  191, 209, 79,  79,  209, 191,
                                   255, 79,  0,   0,   79,  255, 255, 79,  0,   0,   79,  255,
                                   191, 209, 79,  79,  209, 191, 15,  191, 255, 255, 191, 15};
const unsigned char kPlain30[] = {0,   0, 255, 255, 255, 0, 0,   0, 255, 0, 0,   0,   255, 0, 255, 0, 0,
                                  0,   0, 0,   255, 255, 0, 0,   0, 0,   0, 255, 255, 0,   0, 0,   0, 0,
                                  255, 0, 255, 0,   0,   0, 255, 0, 0,   0, 255, 255, 255, 0, 0};
const unsigned char kSmooth30[] = {0,   143, 255, 255, 255, 143, 0,   143, 255, 97,  64,  97, 255,
                                   143, 255, 112, 0,   0,   0,   112, 255, 255, 48,  0,   0,  0,
                                   48,  255, 255, 112, 0,   0,   0,   112, 255, 143, 255, 97, 64,
                                   97,  255, 143, 0,   143, 255, 255, 255, 143, 0};
const unsigned char kPlain35[] = {
    0,   0,   255, 255, 255, 255, 0,   0, 0, 255, 255, 0, 0, 255, 255, 0,   255, 255, 0,   0,   0, 0,
    255, 255, 255, 0,   0,   0,   0,   0, 0, 255, 255, 0, 0, 0,   0,   0,   0,   255, 255, 255, 0, 0,
    0,   0,   255, 255, 0,   255, 255, 0, 0, 255, 255, 0, 0, 0,   255, 255, 255, 255, 0,   0};
const unsigned char kSmooth35[] = {
    0,   79,  222, 255, 255, 222, 79,  0,  79, 255, 176, 64, 64, 176, 255, 79,  222, 176, 0,   0,   0, 0,
    176, 222, 255, 64,  0,   0,   0,   0,  64, 255, 255, 64, 0,  0,   0,   0,   64,  255, 222, 176, 0, 0,
    0,   0,   176, 222, 79,  255, 176, 64, 64, 176, 255, 79, 0,  79,  222, 255, 255, 222, 79,  0};
const unsigned char kPlain40[] = {
    0, 0,   255, 255, 255, 255, 255, 0,   0, 0, 255, 255, 0,   0,   0,   255, 255, 0, 255, 255, 0,
    0, 0,   0,   0,   255, 255, 255, 0,   0, 0, 0,   0,   0,   0,   255, 255, 0,   0, 0,   0,   0,
    0, 0,   255, 255, 0,   0,   0,   0,   0, 0, 0,   255, 255, 255, 0,   0,   0,   0, 0,   255, 255,
    0, 255, 255, 0,   0,   0,   255, 255, 0, 0, 0,   255, 255, 255, 255, 255, 0,   0};
const unsigned char kSmooth40[] = {
    0,  31,  176, 255, 255, 255, 176, 31,  0,  31, 240, 209, 79,  64,  79,  209, 240, 31, 176, 209, 15,
    0,  0,   0,   15,  209, 176, 255, 79,  0,  0,  0,   0,   0,   79,  255, 255, 48,  0,  0,   0,   0,
    0,  48,  255, 255, 79,  0,   0,   0,   0,  0,  79,  255, 176, 209, 15,  0,   0,   0,  15,  209, 176,
    31, 240, 209, 79,  64,  79,  209, 240, 31, 0,  31,  176, 255, 255, 255, 176, 31,  0};

const CircleMask kMasks[] = {
    {1.5f, 4, kPlain15, kSmooth15}, {2.0f, 5, kPlain20, kSmooth20}, {2.5f, 6, kPlain25, kSmooth25},
    {3.0f, 7, kPlain30, kSmooth30}, {3.5f, 8, kPlain35, kSmooth35}, {4.0f, 9, kPlain40, kSmooth40},
};

}  // namespace

bool PIX_VecCircleMask(PIX_IBitmap* bm, const PIX_VecTarget& t, double cx, double cy, double r,
                       PIX_pixel colour, float alpha, int mode, bool aa)
{
  for (const CircleMask& m : kMasks) {
    if (r != (double)m.radius) continue;
    const int x = (int)PIX_VecFloor(cx - r);
    const int my = (int)PIX_VecFloor(cy - r);
    // The glyph compositor addresses visual rows; the masks are symmetric, so
    // only the position of the top row needs converting back.
    const int y = t.flipped ? t.height - m.size - my : my;
    PIX_DrawGlyph(bm, x, y, colour, aa ? m.smooth : m.plain, m.size, m.size, alpha, mode);
    return true;
  }
  return false;
}
