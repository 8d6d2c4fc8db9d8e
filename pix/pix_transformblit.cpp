#include <cmath>
#include <cstdint>

#include "pix/pix_blit.h"
#include "pix/pix_deltablit.h"

namespace {
// One grid vertex: source position and (for the alpha form) alpha.
struct Vertex {
  double s, t, a;
};

// Grid vertices read from float pairs, double pairs or double triples.
template <class T, int Stride>
Vertex VertexAt(const T* pts, int idx)
{
  const T* p = pts + (size_t)idx * Stride;
  return {(double)p[0], (double)p[1], Stride > 2 ? (double)p[Stride > 2 ? 2 : 0] : 1.0};
}

int GridPos(int start, int size, int k, int divisions)
{
  const double v = start + (double)k * size / divisions + 0.5;
  return v >= INT32_MAX ? INT32_MAX : v <= INT32_MIN ? INT32_MIN : (int)v;
}

// Draws each grid cell with the delta blit, derivatives from its corners.
template <class T, int Stride>
void TransformCells(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw, int dsth, const T* pts,
                    int cols, int rows, float alpha, int mode, bool withAlpha)
{
  if (!dest || !src || !pts || cols < 2 || rows < 2 || dstw <= 0 || dsth <= 0) return;
  PIX_DeltaWalk w;
  PIX_SetDeltaWindow(src, false, 0, 0, 0, 0, w);
  for (int j = 0; j + 1 < rows; ++j) {
    const int y0 = GridPos(dsty, dsth, j, rows - 1), y1 = GridPos(dsty, dsth, j + 1, rows - 1);
    const int ch = y1 - y0;
    if (ch <= 0) continue;
    for (int i = 0; i + 1 < cols; ++i) {
      const int x0 = GridPos(dstx, dstw, i, cols - 1), x1 = GridPos(dstx, dstw, i + 1, cols - 1);
      const int cw = x1 - x0;
      if (cw <= 0) continue;
      const Vertex tl = VertexAt<T, Stride>(pts, j * cols + i),
                   tr = VertexAt<T, Stride>(pts, j * cols + i + 1);
      const Vertex bl = VertexAt<T, Stride>(pts, (j + 1) * cols + i);
      const Vertex br = VertexAt<T, Stride>(pts, (j + 1) * cols + i + 1);
      w.dstx = x0, w.dsty = y0, w.dstw = cw, w.dsth = ch;
      w.srcx = tl.s, w.srcy = tl.t;
      w.dsdx = (tr.s - tl.s) / cw;
      w.dtdx = (tr.t - tl.t) / cw;
      w.dsdy = (bl.s - tl.s) / ch;
      w.dtdy = (bl.t - tl.t) / ch;
      w.dsdxdy = ((br.s - bl.s) / cw - (tr.s - tl.s) / cw) / ch;
      w.dtdxdy = ((br.t - bl.t) / cw - (tr.t - tl.t) / cw) / ch;
      if (!withAlpha) {
        PIX_DeltaBlitWalk(dest, src, w, alpha, mode);
      } else {
        const double dadx = (tr.a - tl.a) / cw, dady = (bl.a - tl.a) / ch;
        const double dadxdy = ((br.a - bl.a) / cw - (tr.a - tl.a) / cw) / ch;
        PIX_DeltaBlitWalkAlpha(dest, src, w, tl.a, dadx, dady, dadxdy, mode);
      }
    }
  }
}
}  // namespace

void PIX_TransformBlit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw, int dsth,
                       const float* srcpoints, int div_w, int div_h, float alpha, int mode)
{
  TransformCells<float, 2>(dest, src, dstx, dsty, dstw, dsth, srcpoints, div_w, div_h, alpha, mode, false);
}

void PIX_TransformBlit2(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw, int dsth,
                        const double* srcpoints, int div_w, int div_h, float alpha, int mode)
{
  TransformCells<double, 2>(dest, src, dstx, dsty, dstw, dsth, srcpoints, div_w, div_h, alpha, mode, false);
}

void PIX_TransformBlit2Alpha(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw, int dsth,
                             const double* srcpoints, int div_w, int div_h, int mode)
{
  TransformCells<double, 3>(dest, src, dstx, dsty, dstw, dsth, srcpoints, div_w, div_h, 1.0f, mode, true);
}
