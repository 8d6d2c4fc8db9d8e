// Outcode line clipping for integer and float lines.

#include <cmath>
#include <cstdint>

#include "pix/pix_vector.h"
#include "pix/pix_vectordraw.h"

namespace {

enum { kLeft = 1, kRight = 2, kTop = 4, kBottom = 8 };
const int kMaxClipMoves = 33;

template <class T>
int OutCode(T x, T y, T w, T h)
{
  return (x < 0 ? kLeft : 0) | (x >= w ? kRight : 0) | (y < 0 ? kTop : 0) | (y >= h ? kBottom : 0);
}

// The shared outcode loop. Integer lines keep the historical intersection
// terms (height - y1, width - x1) and truncate; float lines place the moved
// end exactly on the last row or column.
template <class T, class Place>
bool ClipLoop(T& x1, T& y1, T& x2, T& y2, T w, T h, Place place)
{
  for (int i = 0; i < kMaxClipMoves; ++i) {
    const int c1 = OutCode(x1, y1, w, h), c2 = OutCode(x2, y2, w, h);
    if (!(c1 | c2)) return true;
    if (c1 & c2) return false;
    const int c = c1 ? c1 : c2;
    T nx, ny;
    if (!place(c, x1, y1, x2, y2, nx, ny)) return false;
    if (c1) x1 = nx, y1 = ny;
    else x2 = nx, y2 = ny;
  }
  return false;
}

}  // namespace

bool PIX_VecClipLine(int64_t& x1, int64_t& y1, int64_t& x2, int64_t& y2, int64_t w, int64_t h)
{
  if (w <= 0 || h <= 0) return false;
  auto place = [w, h](int c, int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t& nx, int64_t& ny) {
    const double dx = (double)(x2 - x1), dy = (double)(y2 - y1);
    if (c & kBottom) {
      if (dy == 0) return false;
      ny = h - 1;
      nx = x1 + (int64_t)((double)(h - y1) * dx / dy);
    } else if (c & kTop) {
      if (dy == 0) return false;
      ny = 0;
      nx = x1 + (int64_t)((double)(-y1) * dx / dy);
    } else if (c & kRight) {
      if (dx == 0) return false;
      nx = w - 1;
      ny = y1 + (int64_t)(dy * (double)(w - x1) / dx);
    } else {
      if (dx == 0) return false;
      nx = 0;
      ny = y1 + (int64_t)(dy * (double)(-x1) / dx);
    }
    return true;
  };
  return ClipLoop<int64_t>(x1, y1, x2, y2, w, h, place);
}

bool PIX_VecClipFLine(double& x1, double& y1, double& x2, double& y2, double w, double h)
{
  if (!(w > 0) || !(h > 0)) return false;
  if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return false;
  auto place = [w, h](int c, double x1, double y1, double x2, double y2, double& nx, double& ny) {
    const double dx = x2 - x1, dy = y2 - y1;
    if (c & kBottom) {
      if (dy == 0) return false;
      ny = h - 1;
      nx = x1 + (ny - y1) * dx / dy;
    } else if (c & kTop) {
      if (dy == 0) return false;
      ny = 0;
      nx = x1 + (-y1) * dx / dy;
    } else if (c & kRight) {
      if (dx == 0) return false;
      nx = w - 1;
      ny = y1 + dy * (nx - x1) / dx;
    } else {
      if (dx == 0) return false;
      nx = 0;
      ny = y1 + dy * (-x1) / dx;
    }
    return true;
  };
  return ClipLoop<double>(x1, y1, x2, y2, w, h, place);
}

bool PIX_ClipLine(int* x1, int* y1, int* x2, int* y2, int xlo, int ylo, int xhi, int yhi)
{
  if (!x1 || !y1 || !x2 || !y2) return false;
  int64_t ax = (int64_t)*x1 - xlo, ay = (int64_t)*y1 - ylo, bx = (int64_t)*x2 - xlo, by = (int64_t)*y2 - ylo;
  if (!PIX_VecClipLine(ax, ay, bx, by, (int64_t)xhi - xlo, (int64_t)yhi - ylo)) return false;
  *x1 = (int)(ax + xlo);
  *y1 = (int)(ay + ylo);
  *x2 = (int)(bx + xlo);
  *y2 = (int)(by + ylo);
  return true;
}

bool PIX_ClipFLine(float* x1, float* y1, float* x2, float* y2, float xlo, float ylo, float xhi, float yhi)
{
  if (!x1 || !y1 || !x2 || !y2) return false;
  double ax = (double)*x1 - xlo, ay = (double)*y1 - ylo, bx = (double)*x2 - xlo, by = (double)*y2 - ylo;
  if (!PIX_VecClipFLine(ax, ay, bx, by, (double)xhi - xlo, (double)yhi - ylo)) return false;
  *x1 = (float)(ax + xlo);
  *y1 = (float)(ay + ylo);
  *x2 = (float)(bx + xlo);
  *y2 = (float)(by + ylo);
  return true;
}
