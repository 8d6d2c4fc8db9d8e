#include "pix/pix_bitmaprows.h"
#include "pix/pix_blit.h"

namespace {
// Fills the run through (x, y) along its row while pixels match the seed.
void FillRun(PIX_pixel* row, int x, int width, PIX_pixel seed, PIX_pixel newcolor, PIX_pixel comparemask,
             PIX_pixel keepmask)
{
  row[x] = newcolor | (row[x] & keepmask);
  for (int i = x + 1; i < width && (row[i] & comparemask) == seed; ++i)
    row[i] = newcolor | (row[i] & keepmask);
  for (int i = x - 1; i >= 0 && (row[i] & comparemask) == seed; --i) row[i] = newcolor | (row[i] & keepmask);
}
}  // namespace

void PIX_SimpleFill(PIX_IBitmap* dest, int x, int y, PIX_pixel newcolor, PIX_pixel comparemask,
                    PIX_pixel keepmask)
{
  const PIX_BitmapRows rows(dest);
  if (rows.empty() || x < 0 || y < 0 || x >= rows.width || y >= rows.height) return;
  const PIX_pixel seed = *rows.at(x, y) & comparemask;
  for (int j = y; j < rows.height; ++j) {
    PIX_pixel* row = rows.row(j);
    if ((row[x] & comparemask) != seed) break;
    FillRun(row, x, rows.width, seed, newcolor, comparemask, keepmask);
  }
  for (int j = y - 1; j >= 0; --j) {
    PIX_pixel* row = rows.row(j);
    if ((row[x] & comparemask) != seed) break;
    FillRun(row, x, rows.width, seed, newcolor, comparemask, keepmask);
  }
}
