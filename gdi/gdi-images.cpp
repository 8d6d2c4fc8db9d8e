// Bitmaps, icons, image lists and copies between contexts.

#include <cstdint>
#include <cstring>

#include "base/ptrlist.h"
#include "gdi/gdi-pool.h"
#include "gdi/gdi.h"

struct GDI_ImageListRec {
  BASE_PtrList<GDI_ObjectRec> images;
};

namespace {

HBITMAP WrapImage(cairo_surface_t* image)
{
  if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(image);
    return nullptr;
  }
  GDI_ObjectRec* o = GDI_AllocObjectRec();
  if (!o) {
    cairo_surface_destroy(image);
    return nullptr;
  }
  o->type = GDI_OBJ_BITMAP;
  o->image = image;
  o->wid = 1;  // owns the image
  return o;
}

cairo_surface_t* LiveImage(HGDIOBJ o)
{
  if (!o || !GDI_IsLiveObject(o) || o->type != GDI_OBJ_BITMAP) return nullptr;
  return o->image;
}

// Cairo wants premultiplied pixels; bitmaps come straight.
uint32_t Premultiply(uint32_t p)
{
  const uint32_t a = p >> 24;
  if (a == 255) return p;
  const uint32_t r = ((p >> 16) & 0xFF) * a / 255, g = ((p >> 8) & 0xFF) * a / 255, b = (p & 0xFF) * a / 255;
  return (a << 24) | (r << 16) | (g << 8) | b;
}

}  // namespace

void StretchBlt(HDC dest, int x, int y, int w, int h, HDC src, int srcX, int srcY, int srcW, int srcH, int)
{
  if (!GDI_IsUsableContext(dest) || !GDI_IsUsableContext(src) || w <= 0 || h <= 0 || srcW <= 0 || srcH <= 0)
    return;
  cairo_t* cr = dest->ctx;
  cairo_surface_t* source = cairo_get_target(src->ctx);
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, double(w) / srcW, double(h) / srcH);
  cairo_set_source_surface(cr, source, -srcX, -srcY);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr);
  cairo_restore(cr);
}

void BitBlt(HDC dest, int x, int y, int w, int h, HDC src, int srcX, int srcY, int rop)
{
  StretchBlt(dest, x, y, w, h, src, srcX, srcY, w, h, rop);
}

HBITMAP CreateBitmap(int width, int height, int, int, const void* bits)
{
  if (width <= 0 || height <= 0) return nullptr;
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS && bits) {
    cairo_surface_flush(image);
    unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    const uint32_t* in = static_cast<const uint32_t*>(bits);
    for (int row = 0; row < height; ++row) {
      uint32_t* out = reinterpret_cast<uint32_t*>(data + size_t(row) * stride);
      for (int col = 0; col < width; ++col) out[col] = Premultiply(in[size_t(row) * width + col]);
    }
    cairo_surface_mark_dirty(image);
  }
  return WrapImage(image);
}

HBITMAP LoadNamedImage(const char* path, bool)
{
  if (!path) return nullptr;
  return WrapImage(cairo_image_surface_create_from_png(path));
}

void DrawImageInRect(HDC ctx, HBITMAP img, const RECT* r)
{
  cairo_surface_t* image = LiveImage(img);
  if (!GDI_IsUsableContext(ctx) || !image || !r) return;
  const int iw = cairo_image_surface_get_width(image), ih = cairo_image_surface_get_height(image);
  const int w = r->right - r->left, h = r->bottom - r->top;
  if (iw <= 0 || ih <= 0 || w <= 0 || h <= 0) return;
  cairo_t* cr = ctx->ctx;
  cairo_save(cr);
  cairo_rectangle(cr, r->left, r->top, w, h);
  cairo_clip(cr);
  cairo_translate(cr, r->left, r->top);
  cairo_scale(cr, double(w) / iw, double(h) / ih);
  cairo_set_source_surface(cr, image, 0, 0);
  cairo_paint(cr);
  cairo_restore(cr);
}

int GetObject(HGDIOBJ obj, int bufSize, void* buf)
{
  cairo_surface_t* image = LiveImage(obj);
  if (!image || !buf || bufSize < int(sizeof(BITMAP))) return 0;
  BITMAP bm;
  bm.bmWidth = cairo_image_surface_get_width(image);
  bm.bmHeight = cairo_image_surface_get_height(image);
  std::memcpy(buf, &bm, sizeof(bm));
  return int(sizeof(bm));
}

HICON CreateIconIndirect(const ICONINFO* info)
{
  cairo_surface_t* image = info ? LiveImage(info->hbmColor) : nullptr;
  if (!image) return nullptr;
  return WrapImage(cairo_surface_reference(image));
}

HIMAGELIST ImageList_CreateEx() { return new GDI_ImageListRec; }

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP)
{
  cairo_surface_t* surface = LiveImage(image);
  if (!list || !surface) return -1;
  HBITMAP copy = WrapImage(cairo_surface_reference(surface));
  if (!copy) return -1;
  if (!list->images.Add(copy)) {
    DeleteObject(copy);
    return -1;
  }
  return list->images.GetSize() - 1;
}

int ImageList_ReplaceIcon(HIMAGELIST list, int idx, HICON icon)
{
  cairo_surface_t* surface = LiveImage(icon);
  if (!list || !surface) return -1;
  if (idx < 0 || idx >= list->images.GetSize()) return ImageList_Add(list, icon, nullptr);
  HBITMAP copy = WrapImage(cairo_surface_reference(surface));
  if (!copy) return -1;
  DeleteObject(list->images.Get(idx));
  list->images.GetList()[idx] = copy;
  return idx;
}

bool ImageList_Remove(HIMAGELIST list, int idx)
{
  if (!list) return false;
  if (idx < 0) {
    while (list->images.GetSize() > 0) ImageList_Remove(list, list->images.GetSize() - 1);
    return true;
  }
  HBITMAP image = list->images.Get(idx);
  if (!image) return false;
  list->images.Delete(idx);
  DeleteObject(image);
  return true;
}

void ImageList_Destroy(HIMAGELIST list)
{
  if (!list) return;
  ImageList_Remove(list, -1);
  delete list;
}
