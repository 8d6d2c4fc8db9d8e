// Device contexts: memory contexts over the layer's own pixel buffer, text
// and background colours, the clip-region stack and window-context wrappers.

#include "gdi/gdi.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "gdi/gdi-pool.h"

namespace {

unsigned char* AlignedBuffer(unsigned char* buffer)
{
  const uintptr_t p = reinterpret_cast<uintptr_t>(buffer);
  return reinterpret_cast<unsigned char*>((p + 63) & ~uintptr_t(63));
}

cairo_pattern_t* ColourPattern(int colour)
{
  return cairo_pattern_create_rgb(GetRValue(colour) / 255.0, GetGValue(colour) / 255.0,
                                  GetBValue(colour) / 255.0);
}

// Releases what a context owns and pools its record.
void DestroyContext(GDI_ContextRec* c)
{
  if (c->ctx) cairo_destroy(c->ctx);
  std::free(c->buffer);
  if (c->curtextcolor) cairo_pattern_destroy(c->curtextcolor);
  GDI_FreeContextRec(c);
}

}  // namespace

HDC GDI_CreateMemContext(HDC, int width, int height)
{
  if (width <= 0 || height <= 0) return nullptr;
  const size_t bytes = size_t(width) * size_t(height) * 4;
  if (width > INT_MAX / 4) return nullptr;  // the row stride must fit an int
  unsigned char* buffer = static_cast<unsigned char*>(std::calloc(bytes + 63, 1));
  if (!buffer) return nullptr;

  cairo_surface_t* surface = cairo_image_surface_create_for_data(AlignedBuffer(buffer), CAIRO_FORMAT_RGB24,
                                                                 width, height, width * 4);
  cairo_t* cr = cairo_create(surface);
  cairo_surface_destroy(surface);  // the context keeps its own reference
  GDI_ContextRec* c = cairo_status(cr) == CAIRO_STATUS_SUCCESS ? GDI_AllocContextRec() : nullptr;
  if (!c) {
    cairo_destroy(cr);
    std::free(buffer);
    return nullptr;
  }
  c->ctx = cr;
  c->buffer = buffer;
  c->curtextcol = 0;
  c->curtextcolor = ColourPattern(0);
  return c;
}

void* GDI_GetCtxFrameBuffer(HDC ctx)
{
  if (!ctx || ctx->released || !ctx->buffer) return nullptr;
  return AlignedBuffer(ctx->buffer);
}

void GDI_DeleteGfxContext(HDC ctx)
{
  if (!ctx || ctx->released) return;
  DestroyContext(ctx);
}

int SetTextColor(HDC ctx, int colour)
{
  if (!ctx || ctx->released) return 0;
  const int previous = ctx->curtextcol;
  ctx->curtextcol = colour;
  if (ctx->curtextcolor) cairo_pattern_destroy(ctx->curtextcolor);
  ctx->curtextcolor = ColourPattern(colour);
  return previous;
}

int GetTextColor(HDC ctx)
{
  if (!ctx || ctx->released) return -1;
  return ctx->curtextcol;
}

int SetBkColor(HDC ctx, int colour)
{
  if (!ctx || ctx->released) return 0;
  const int previous = ctx->curbkcol;
  ctx->curbkcol = colour;
  return previous;
}

int SetBkMode(HDC ctx, int mode)
{
  if (!ctx || ctx->released) return 0;
  const int previous = ctx->curbkmode;
  ctx->curbkmode = mode;
  return previous;
}

void GDI_PushClipRegion(HDC ctx)
{
  if (GDI_IsUsableContext(ctx)) cairo_save(ctx->ctx);
}

void GDI_SetClipRegion(HDC ctx, const RECT* r)
{
  if (!GDI_IsUsableContext(ctx) || !r) return;
  cairo_rectangle(ctx->ctx, r->left, r->top, double(r->right) - r->left, double(r->bottom) - r->top);
  cairo_clip(ctx->ctx);
}

void GDI_PopClipRegion(HDC ctx)
{
  if (GDI_IsUsableContext(ctx)) cairo_restore(ctx->ctx);
}

HDC GDI_CreateGfxContext(void* cairoContext)
{
  if (!cairoContext) return nullptr;
  GDI_ContextRec* c = GDI_AllocContextRec();
  if (!c) return nullptr;
  c->ctx = cairo_reference(static_cast<cairo_t*>(cairoContext));
  c->curtextcolor = ColourPattern(0);
  return c;
}

void* GDI_GetCtxGC(HDC ctx)
{
  if (!ctx || ctx->released) return nullptr;
  return ctx->ctx;
}

// The editor copies its own bitmap to the window, so windows have no
// drawing context of their own here.
HDC GetDC(HWND) { return nullptr; }
HDC GetWindowDC(HWND) { return nullptr; }
void ReleaseDC(HWND, HDC ctx) { GDI_DeleteGfxContext(ctx); }

bool GDI_IsRetinaDC(HDC) { return false; }
bool GDI_IsRetinaHWND(HWND) { return false; }
