#include <cstdlib>
#include <cstring>

#include "pix/pix_blit.h"
#include "pix/pix_blitarea.h"

namespace {
inline PIX_pixel Half(PIX_pixel p) { return (p >> 1) & 0x7F7F7F7Fu; }
inline PIX_pixel Quarter(PIX_pixel p) { return (p >> 2) & 0x3F3F3F3Fu; }
inline PIX_pixel Eighth(PIX_pixel p) { return (p >> 3) & 0x1F1F1F1Fu; }

// One output row: half the centre plus an eighth of each 4-neighbour; a
// neighbour outside the rectangle gives its share to the opposite one, which
// then counts a quarter. up or down is null on the first or last row; w >= 2.
void BlurRow(PIX_pixel* out, const PIX_pixel* up, const PIX_pixel* cur, const PIX_pixel* down, int w)
{
  for (int x = 0; x < w; ++x) {
    PIX_pixel v = Half(cur[x]);
    if (up && down) v += Eighth(up[x]) + Eighth(down[x]);
    else v += Quarter(up ? up[x] : down[x]);
    if (x == 0) v += Quarter(cur[1]);
    else if (x == w - 1) v += Quarter(cur[w - 2]);
    else v += Eighth(cur[x - 1]) + Eighth(cur[x + 1]);
    out[x] = v;
  }
}

// Blurs in place: each row is saved before it is overwritten, so every row
// reads unblurred neighbours.
void BlurInPlace(const PIX_BlitArea& a)
{
  const int w = a.w;
  PIX_pixel stackRows[2 * 1024];
  PIX_pixel* heapRows = nullptr;
  PIX_pixel* rowsBuf = stackRows;
  if (w > 1024) {
    heapRows = (PIX_pixel*)malloc(sizeof(PIX_pixel) * 2 * (size_t)w);
    if (!heapRows) return;
    rowsBuf = heapRows;
  }
  // Two saved rows: the one above (unblurred) and the current one.
  PIX_pixel* above = rowsBuf + w;
  PIX_pixel* cur = rowsBuf;
  const size_t bytes = sizeof(PIX_pixel) * (size_t)w;
  memcpy(cur, a.d, bytes);
  for (int y = 0; y < a.h; ++y) {
    PIX_pixel* row = a.d + y * a.dstep;
    const PIX_pixel* down = y + 1 < a.h ? row + a.dstep : nullptr;
    BlurRow(row, y > 0 ? above : nullptr, cur, down, w);
    if (down) {
      // The row above is no longer needed: its buffer takes the next row.
      PIX_pixel* next = above;
      memcpy(next, down, bytes);
      above = cur;
      cur = next;
    }
  }
  free(heapRows);
}

void BlurRows(const PIX_BlitArea& a)
{
  for (int y = 0; y < a.h; ++y) {
    const PIX_pixel* cur = a.s + y * a.sstep;
    BlurRow(a.d + y * a.dstep, y > 0 ? cur - a.sstep : nullptr, cur, y + 1 < a.h ? cur + a.sstep : nullptr,
            a.w);
  }
}
}  // namespace

void PIX_Blur(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int srcx, int srcy, int srcw, int srch)
{
  if (!dest || !src) return;
  const PIX_BitmapRows dst(dest), sr(src);
  PIX_BlitArea a;
  if (!PIX_ClipBlitArea(dst, sr, dstx, dsty, srcx, srcy, (int64_t)srcx + srcw, (int64_t)srcy + srch, a))
    return;
  if (a.w < 2 || a.h < 2) return;
  if (a.d == a.s) {
    BlurInPlace(a);
    return;
  }
  if (dst.top != sr.top) {
    BlurRows(a);
    return;
  }
  // Shifted within one bitmap: blur from a copy of the source rectangle.
  PIX_pixel* copy = (PIX_pixel*)malloc(sizeof(PIX_pixel) * (size_t)a.w * (size_t)a.h);
  if (!copy) return;
  for (int y = 0; y < a.h; ++y)
    memcpy(copy + (size_t)y * a.w, a.s + y * a.sstep, sizeof(PIX_pixel) * (size_t)a.w);
  PIX_BlitArea c = a;
  c.s = copy;
  c.sstep = a.w;
  BlurRows(c);
  free(copy);
}

void PIX_HalveBlitAA(PIX_IBitmap* dest, PIX_IBitmap* src)
{
  if (!dest || !src) return;
  const PIX_BitmapRows dst(dest), sr(src);
  if (dst.empty() || sr.empty()) return;
  const int w = dst.width < sr.width / 2 ? dst.width : sr.width / 2;
  const int h = dst.height < sr.height / 2 ? dst.height : sr.height / 2;
  // Increasing order is safe in place: every write lands at or before the
  // pixels still to be read.
  for (int y = 0; y < h; ++y) {
    PIX_pixel* out = dst.row(y);
    const PIX_pixel* s0 = sr.row(2 * y);
    const PIX_pixel* s1 = sr.row(2 * y + 1);
    for (int x = 0; x < w; ++x)
      out[x] = Quarter(s0[2 * x]) + Quarter(s0[2 * x + 1]) + Quarter(s1[2 * x]) + Quarter(s1[2 * x + 1]);
  }
}
