// GDI objects: selection into contexts, deletion with reference counts,
// pens, brushes and the stock objects.

#include <cstdint>
#include <mutex>

#include "gdi/gdi-pool.h"
#include "gdi/gdi.h"

namespace {

// Stock objects live in a fixed table and are never freed; their colours
// are made on first use and released at unload.
GDI_ObjectRec s_stock[GDI_STOCK_COUNT];
std::once_flag s_stockOnce;

bool IsStock(const GDI_ObjectRec* o) { return o >= s_stock && o < s_stock + GDI_STOCK_COUNT; }

cairo_pattern_t* RGBAPattern(int colour, float alpha)
{
  return cairo_pattern_create_rgba(GetRValue(colour) / 255.0, GetGValue(colour) / 255.0,
                                   GetBValue(colour) / 255.0, alpha);
}

void InitStock()
{
  struct Def {
    int type, colour;
    float alpha;
  };
  static const Def defs[GDI_STOCK_COUNT] = {
      {GDI_OBJ_BRUSH, RGB(255, 255, 255), 1.f},
      {GDI_OBJ_BRUSH, RGB(192, 192, 192), 1.f},
      {GDI_OBJ_BRUSH, RGB(128, 128, 128), 1.f},
      {GDI_OBJ_BRUSH, RGB(64, 64, 64), 1.f},
      {GDI_OBJ_BRUSH, RGB(0, 0, 0), 1.f},
      {GDI_OBJ_BRUSH, 0, 0.f},
      {GDI_OBJ_PEN, RGB(255, 255, 255), 1.f},
      {GDI_OBJ_PEN, RGB(0, 0, 0), 1.f},
      {GDI_OBJ_PEN, 0, 0.f},
  };
  for (int i = 0; i < GDI_STOCK_COUNT; ++i) {
    s_stock[i].type = defs[i].type;
    s_stock[i].wid = -1;
    s_stock[i].color = RGBAPattern(defs[i].colour, defs[i].alpha);
  }
}

struct StockUnloader {
  ~StockUnloader()
  {
    for (GDI_ObjectRec& o : s_stock) {
      if (o.color) cairo_pattern_destroy(o.color);
      o.color = nullptr;
    }
  }
} s_stockUnloader;

HGDIOBJ* SlotFor(HDC ctx, int type)
{
  switch (type) {
    case GDI_OBJ_PEN:
      return &ctx->curpen;
    case GDI_OBJ_BRUSH:
      return &ctx->curbrush;
    case GDI_OBJ_FONT:
      return &ctx->curfont;
    default:
      return nullptr;
  }
}

HGDIOBJ TypeHandle(int type) { return reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(type)); }

GDI_ObjectRec* MakeColourObject(int type, int width, int colour, float alpha)
{
  GDI_ObjectRec* o = GDI_AllocObjectRec();
  if (!o) return nullptr;
  o->type = type;
  o->wid = width < 0 ? 0 : width;
  o->color = RGBAPattern(colour, alpha);
  return o;
}

}  // namespace

HGDIOBJ SelectObject(HDC ctx, HGDIOBJ obj)
{
  if (!ctx || ctx->released || !obj) return nullptr;
  if (GDI_IsPseudoHandle(obj)) {
    const int type = static_cast<int>(reinterpret_cast<uintptr_t>(obj));
    HGDIOBJ* slot = SlotFor(ctx, type);
    if (!slot) return nullptr;
    HGDIOBJ previous = *slot;
    *slot = nullptr;
    return previous ? previous : obj;
  }
  if (obj->released) return nullptr;
  HGDIOBJ* slot = SlotFor(ctx, obj->type);
  if (!slot) return nullptr;
  HGDIOBJ previous = *slot;
  if (previous == obj) return obj;
  *slot = obj;
  return previous ? previous : TypeHandle(obj->type);
}

void DeleteObject(HGDIOBJ obj)
{
  if (!obj || GDI_IsPseudoHandle(obj) || IsStock(obj) || obj->released) return;
  if (obj->additional_refcnt-- > 0) return;
  obj->additional_refcnt = 0;
  if (obj->type < GDI_OBJ_PEN || obj->type > GDI_OBJ_BITMAP) return;
  if ((obj->type == GDI_OBJ_PEN || obj->type == GDI_OBJ_BRUSH) && obj->wid < 0) return;
  if (obj->color) cairo_pattern_destroy(obj->color);
  if (obj->font) pango_font_description_free(obj->font);
  if (obj->image && obj->type == GDI_OBJ_BITMAP && obj->wid) cairo_surface_destroy(obj->image);
  GDI_FreeObjectRec(obj);
}

HGDIOBJ GDI_CloneGDIObject(HGDIOBJ obj)
{
  if (!obj || GDI_IsPseudoHandle(obj) || obj->released) return nullptr;
  if (!IsStock(obj)) ++obj->additional_refcnt;
  return obj;
}

HPEN CreatePen(int, int width, int colour) { return MakeColourObject(GDI_OBJ_PEN, width, colour, 1.f); }
HPEN CreatePenAlpha(int, int width, int colour, float alpha)
{
  return MakeColourObject(GDI_OBJ_PEN, width, colour, alpha);
}
HBRUSH CreateSolidBrush(int colour) { return MakeColourObject(GDI_OBJ_BRUSH, 0, colour, 1.f); }
HBRUSH CreateSolidBrushAlpha(int colour, float alpha)
{
  return MakeColourObject(GDI_OBJ_BRUSH, 0, colour, alpha);
}

HGDIOBJ GetStockObject(int idx)
{
  if (idx < 0 || idx >= GDI_STOCK_COUNT) return nullptr;
  std::call_once(s_stockOnce, InitStock);
  return &s_stock[idx];
}

int GetSysColor(int idx)
{
  switch (idx) {
    case COLOR_WINDOW:
      return RGB(255, 255, 255);
    case COLOR_WINDOWTEXT:
    case COLOR_BTNTEXT:
    case COLOR_INFOTEXT:
      return RGB(0, 0, 0);
    case COLOR_3DFACE:
      return RGB(212, 208, 200);
    case COLOR_3DSHADOW:
      return RGB(128, 128, 128);
    case COLOR_3DHILIGHT:
      return RGB(255, 255, 255);
    case COLOR_3DDKSHADOW:
      return RGB(64, 64, 64);
    case COLOR_3DLIGHT:
      return RGB(224, 224, 224);
    case COLOR_INFOBK:
      return RGB(255, 255, 224);
    default:
      return RGB(192, 192, 192);
  }
}
