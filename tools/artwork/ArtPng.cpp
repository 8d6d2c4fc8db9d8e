#include "tools/artwork/ArtPng.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <png.h>

#include "pix/pix_bitmaprows.h"

namespace {

bool IsOpaque(const PIX_BitmapRows& rows)
{
  for (int y = 0; y < rows.height; ++y)
    for (int x = 0; x < rows.width; ++x)
      if (PIX_GetA(*rows.at(x, y)) != 255) return false;
  return true;
}

// One row of samples in PNG order (red, green, blue[, alpha]).
void PackRow(const PIX_pixel* src, int width, bool alpha, std::vector<png_byte>& out)
{
  out.clear();
  for (int x = 0; x < width; ++x) {
    out.push_back((png_byte)PIX_GetR(src[x]));
    out.push_back((png_byte)PIX_GetG(src[x]));
    out.push_back((png_byte)PIX_GetB(src[x]));
    if (alpha) out.push_back((png_byte)PIX_GetA(src[x]));
  }
}

struct PngFile {
  FILE* file = nullptr;
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~PngFile()
  {
    if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
    if (file) std::fclose(file);
  }
};

bool WriteRows(PngFile& f, const PIX_BitmapRows& rows, bool alpha)
{
  if (setjmp(png_jmpbuf(f.png))) return false;
  png_init_io(f.png, f.file);
  png_set_IHDR(f.png, f.info, rows.width, rows.height, 8,
               alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(f.png, 9);
  png_set_filter(f.png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
  png_write_info(f.png, f.info);
  std::vector<png_byte> row;
  for (int y = 0; y < rows.height; ++y) {
    PackRow(rows.row(y), rows.width, alpha, row);
    png_write_row(f.png, row.data());
  }
  png_write_end(f.png, nullptr);
  return true;
}

}  // namespace

bool WriteArtPng(const char* path, PIX_IBitmap* bitmap)
{
  const PIX_BitmapRows rows(bitmap);
  if (rows.empty()) return false;
  PngFile f;
  f.file = std::fopen(path, "wb");
  if (!f.file) return false;
  f.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!f.png) return false;
  f.info = png_create_info_struct(f.png);
  if (!f.info) return false;
  if (!WriteRows(f, rows, !IsOpaque(rows))) return false;
  const bool flushed = std::fflush(f.file) == 0 && !std::ferror(f.file);
  const bool closed = std::fclose(f.file) == 0;
  f.file = nullptr;
  return flushed && closed;
}
