// Shapes drawn with the context's pen and brush.

#include <cmath>

#include "gdi/gdi-records.h"
#include "gdi/gdi.h"

namespace {

cairo_pattern_t* LiveColour(HGDIOBJ o, int type)
{
  if (!o || !GDI_IsLiveObject(o) || o->type != type) return nullptr;
  return o->color;
}

// Fills the current path with the brush and strokes it with the pen (pixel
// centres at half coordinates, as a one-pixel pen covers whole pixels).
void FillAndStroke(HDC ctx)
{
  cairo_t* cr = ctx->ctx;
  if (cairo_pattern_t* brush = LiveColour(ctx->curbrush, GDI_OBJ_BRUSH)) {
    cairo_set_source(cr, brush);
    cairo_fill_preserve(cr);
  }
  if (cairo_pattern_t* pen = LiveColour(ctx->curpen, GDI_OBJ_PEN)) {
    cairo_set_source(cr, pen);
    cairo_set_line_width(cr, ctx->curpen->wid > 0 ? ctx->curpen->wid : 1);
    cairo_stroke_preserve(cr);
  }
  cairo_new_path(cr);
}

void Stroke(HDC ctx)
{
  cairo_t* cr = ctx->ctx;
  if (cairo_pattern_t* pen = LiveColour(ctx->curpen, GDI_OBJ_PEN)) {
    cairo_set_source(cr, pen);
    cairo_set_line_width(cr, ctx->curpen->wid > 0 ? ctx->curpen->wid : 1);
    cairo_stroke_preserve(cr);
  }
}

void EllipsePath(cairo_t* cr, double cx, double cy, double rx, double ry)
{
  if (rx <= 0 || ry <= 0) return;
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
}

}  // namespace

void GDI_FillRect(HDC ctx, const RECT* r, HBRUSH brush)
{
  if (!GDI_IsUsableContext(ctx) || !r) return;
  cairo_pattern_t* colour = LiveColour(brush, GDI_OBJ_BRUSH);
  if (!colour) return;
  cairo_set_source(ctx->ctx, colour);
  cairo_rectangle(ctx->ctx, r->left, r->top, double(r->right) - r->left, double(r->bottom) - r->top);
  cairo_fill(ctx->ctx);
}

void Rectangle(HDC ctx, int l, int t, int r, int b)
{
  if (!GDI_IsUsableContext(ctx)) return;
  cairo_rectangle(ctx->ctx, l + 0.5, t + 0.5, double(r) - l - 1, double(b) - t - 1);
  FillAndStroke(ctx);
}

void RoundRect(HDC ctx, int l, int t, int r, int b, int cornerW, int cornerH)
{
  if (!GDI_IsUsableContext(ctx)) return;
  cairo_t* cr = ctx->ctx;
  const double x0 = l + 0.5, y0 = t + 0.5, x1 = r - 0.5, y1 = b - 0.5;
  const double rad = std::fmin(std::fmin(cornerW, cornerH) / 2.0, std::fmin(x1 - x0, y1 - y0) / 2.0);
  if (rad <= 0) return Rectangle(ctx, l, t, r, b);
  cairo_new_sub_path(cr);
  cairo_arc(cr, x1 - rad, y0 + rad, rad, -M_PI / 2, 0);
  cairo_arc(cr, x1 - rad, y1 - rad, rad, 0, M_PI / 2);
  cairo_arc(cr, x0 + rad, y1 - rad, rad, M_PI / 2, M_PI);
  cairo_arc(cr, x0 + rad, y0 + rad, rad, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
  FillAndStroke(ctx);
}

void Ellipse(HDC ctx, int l, int t, int r, int b)
{
  if (!GDI_IsUsableContext(ctx)) return;
  EllipsePath(ctx->ctx, (l + r) / 2.0, (t + b) / 2.0, (r - l - 1) / 2.0, (b - t - 1) / 2.0);
  FillAndStroke(ctx);
}

void GDI_Polygon(HDC ctx, const POINT* pts, int count)
{
  if (!GDI_IsUsableContext(ctx) || !pts || count < 2) return;
  cairo_move_to(ctx->ctx, pts[0].x + 0.5, pts[0].y + 0.5);
  for (int i = 1; i < count; ++i) cairo_line_to(ctx->ctx, pts[i].x + 0.5, pts[i].y + 0.5);
  cairo_close_path(ctx->ctx);
  FillAndStroke(ctx);
}

void MoveToEx(HDC ctx, int x, int y, POINT* previous)
{
  if (!GDI_IsUsableContext(ctx)) return;
  if (previous) {
    double px = 0, py = 0;
    if (cairo_has_current_point(ctx->ctx)) cairo_get_current_point(ctx->ctx, &px, &py);
    previous->x = int(std::floor(px));
    previous->y = int(std::floor(py));
  }
  cairo_new_path(ctx->ctx);
  cairo_move_to(ctx->ctx, x + 0.5, y + 0.5);
}

void GDI_LineTo(HDC ctx, int x, int y)
{
  if (!GDI_IsUsableContext(ctx)) return;
  cairo_t* cr = ctx->ctx;
  if (!cairo_has_current_point(cr)) cairo_move_to(cr, x + 0.5, y + 0.5);
  cairo_line_to(cr, x + 0.5, y + 0.5);
  Stroke(ctx);
  // The pen stays at the end point for the next segment.
  cairo_new_path(cr);
  cairo_move_to(cr, x + 0.5, y + 0.5);
}

void PolyPolyline(HDC ctx, const POINT* pts, const int* counts, int nPolylines)
{
  if (!GDI_IsUsableContext(ctx) || !pts || !counts) return;
  cairo_t* cr = ctx->ctx;
  cairo_new_path(cr);
  for (int p = 0; p < nPolylines; ++p) {
    for (int i = 0; i < counts[p]; ++i) {
      if (i == 0) cairo_move_to(cr, pts->x + 0.5, pts->y + 0.5);
      else cairo_line_to(cr, pts->x + 0.5, pts->y + 0.5);
      ++pts;
    }
  }
  Stroke(ctx);
  cairo_new_path(cr);
}

void PolyBezierTo(HDC ctx, const POINT* pts, int count)
{
  if (!GDI_IsUsableContext(ctx) || !pts || count < 3) return;
  cairo_t* cr = ctx->ctx;
  if (!cairo_has_current_point(cr)) return;
  for (int i = 0; i + 2 < count; i += 3)
    cairo_curve_to(cr, pts[i].x + 0.5, pts[i].y + 0.5, pts[i + 1].x + 0.5, pts[i + 1].y + 0.5,
                   pts[i + 2].x + 0.5, pts[i + 2].y + 0.5);
  double x, y;
  cairo_get_current_point(cr, &x, &y);
  Stroke(ctx);
  cairo_new_path(cr);
  cairo_move_to(cr, x, y);
}

void GDI_SetPixel(HDC ctx, int x, int y, int colour)
{
  if (!GDI_IsUsableContext(ctx)) return;
  cairo_t* cr = ctx->ctx;
  cairo_save(cr);
  cairo_set_source_rgb(cr, GetRValue(colour) / 255.0, GetGValue(colour) / 255.0, GetBValue(colour) / 255.0);
  cairo_rectangle(cr, x, y, 1, 1);
  cairo_fill(cr);
  cairo_restore(cr);
}

void GDI_FillDialogBackground(HDC ctx, const RECT* r, int)
{
  if (!GDI_IsUsableContext(ctx) || !r) return;
  const int c = GetSysColor(COLOR_3DFACE);
  cairo_t* cr = ctx->ctx;
  cairo_save(cr);
  cairo_set_source_rgb(cr, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0);
  cairo_rectangle(cr, r->left, r->top, double(r->right) - r->left, double(r->bottom) - r->top);
  cairo_fill(cr);
  cairo_restore(cr);
}
