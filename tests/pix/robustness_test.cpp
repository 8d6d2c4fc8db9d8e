// Every blit with random and extreme arguments: nothing is ever written
// outside the destination (guard pixels), nothing read outside the source
// (the sanitizer build), and no arithmetic overflows.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <random>

#include "pix/pix_blendmode.h"
#include "pix/pix_blit.h"
#include "pix/pix_membitmap.h"
#include "tests/pix/pix_testsupport.h"

using namespace pixtest;

namespace {
struct Args {
  std::mt19937 rng{2024};
  int Int()
  {
    static const int edge[] = {0,  1,  -1, 2,       3,       5,           7,           9,
                               -3, -8, 16, INT_MAX, INT_MIN, INT_MAX - 1, INT_MIN + 1, 100000};
    return rng() % 3 ? (int)(rng() % 25) - 8 : edge[rng() % 16];
  }
  float Float()
  {
    static const float edge[] = {0.0f,  0.5f,  -0.5f,  1.0f,    2.49f, 1e9f,
                                 -1e9f, 1e30f, -1e30f, FLT_MAX, NAN,   INFINITY};
    return rng() % 3 ? ((int)(rng() % 4000) - 1000) / 100.0f : edge[rng() % 12];
  }
  float Alpha()
  {
    static const float edge[] = {0.0f, 1.0f, 0.5f, 0.25f, 0.75f, -1.0f, 2.0f, 1e20f, -1e20f, NAN};
    return rng() % 2 ? (rng() % 300) / 256.0f : edge[rng() % 10];
  }
  int Mode()
  {
    static const int ops[] = {0, 1, 2, 3, 4, 5, 6, 0xF3, 0xFF, 0x7F};
    return ops[rng() % 10] | (rng() % 2 ? PIX_FILTER_BILINEAR : 0) | (rng() % 2 ? PIX_USE_SOURCE_ALPHA : 0);
  }
};
}  // namespace

TEST(Robustness, RandomAndExtremeArgumentsStayInBounds)
{
  Args g;
  for (int iter = 0; iter < 3000; ++iter) {
    GuardedBitmap dst(7, 6, iter % 2), src(5, 4, iter % 3 == 0);
    FillRandom(src, iter);
    FillRandom(dst, iter + 1);
    const RECT r = {g.Int(), g.Int(), g.Int(), g.Int()};
    PIX_Blit(&dst, &src, g.Int(), g.Int(), &r, g.Alpha(), g.Mode());
    PIX_Blit(&dst, &dst, g.Int(), g.Int(), g.Int(), g.Int(), g.Int(), g.Int(), g.Alpha(), g.Mode());
    PIX_ScaledBlit(&dst, &src, g.Int(), g.Int(), g.Int(), g.Int(), g.Float(), g.Float(), g.Float(), g.Float(),
                   g.Alpha(), g.Mode());
    PIX_RotatedBlit(&dst, &src, g.Int(), g.Int(), g.Int(), g.Int(), g.Float(), g.Float(), g.Float(),
                    g.Float(), g.Float(), g.rng() % 2, g.Alpha(), g.Mode(), g.Float(), g.Float());
    PIX_DeltaBlit(&dst, &src, g.Int(), g.Int(), g.Int(), g.Int(), g.Float(), g.Float(), g.Float(), g.Float(),
                  g.Float(), g.Float(), g.Float(), g.Float(), g.Float() / 100, g.Float() / 100, g.rng() % 2,
                  g.Alpha(), g.Mode());
    PIX_DeltaBlitAlpha(&dst, &src, g.Int(), g.Int(), g.Int(), g.Int(), g.Float(), g.Float(), g.Float(),
                       g.Float(), g.Float(), g.Float(), g.Float(), g.Float(), 0, 0, g.rng() % 2, g.Alpha(),
                       g.Mode(), g.Float(), g.Float(), g.Float());
    double grid[3 * 3 * 3];
    for (double& v : grid) v = g.Float();
    PIX_TransformBlit2Alpha(&dst, &src, g.Int(), g.Int(), g.Int(), g.Int(), grid, 3, 3, g.Mode());
    PIX_FillRect(&dst, g.Int(), g.Int(), g.Int(), g.Int(), g.rng(), g.Alpha(), g.Mode());
    PIX_GradRect(&dst, g.Int(), g.Int(), g.Int(), g.Int(), g.Float(), g.Float(), g.Float(), g.Float(),
                 g.Float(), g.Float(), g.Float(), g.Float(), g.Float(), g.Float(), g.Float(), g.Float(),
                 g.Mode());
    PIX_MultiplyAddRect(&dst, g.Int(), g.Int(), g.Int(), g.Int(), g.Float(), g.Float(), g.Float(), g.Float(),
                        g.Float(), g.Float(), g.Float(), g.Float());
    PIX_ClearRect(&dst, g.Int(), g.Int(), g.Int(), g.Int(), g.rng(), g.rng());
    PIX_Blur(&dst, iter % 2 ? &dst : &src, g.Int(), g.Int(), g.Int(), g.Int(), g.Int(), g.Int());
    PIX_PutPixel(&dst, g.Int(), g.Int(), g.rng(), g.Alpha(), g.Mode());
    PIX_SimpleFill(&dst, g.Int(), g.Int(), g.rng(), g.rng() | 1, g.rng());
    PIX_HalveBlitAA(&dst, iter % 2 ? &dst : &src);
    ASSERT_TRUE(dst.guardIntact()) << "iteration " << iter;
    ASSERT_TRUE(src.guardIntact()) << "iteration " << iter;
  }
}
