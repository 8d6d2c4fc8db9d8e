// GDI_DrawText: measures and draws text with the context's font.

#include <glib.h>
#include <pango/pangocairo.h>

#include <cmath>

#include "gdi/gdi-text-align.h"
#include "gdi/gdi-text-engine.h"
#include "gdi/gdi.h"

namespace {

enum { kWorkBufferSize = 4096 };

// Copies the text into the work buffer as it will be typeset: carriage
// returns dropped, prefix ampersands resolved, line feeds made spaces for
// single-line text. Returns the byte count.
int PrepareText(const char* text, int length, int flags, char* out)
{
  const bool prefix = !(flags & DT_NOPREFIX);
  const bool singleLine = (flags & DT_SINGLELINE) != 0;
  int n = 0;
  bool cut = false;
  for (int i = 0; length < 0 ? text[i] != 0 : i < length; ++i) {
    char c = text[i];
    if (c == '\r') continue;
    if (prefix && c == '&') {
      ++i;
      if (length < 0 ? text[i] == 0 : i >= length) break;
      c = text[i];
    }
    if (c == '\n' && singleLine) c = ' ';
    if (n >= kWorkBufferSize - 1) {
      cut = true;
      break;
    }
    out[n++] = c;
  }
  // A cut through a multi-byte character would leave the whole text
  // invalid; end it at the last whole character instead.
  if (cut) {
    const char* end = nullptr;
    if (!g_utf8_validate(out, n, &end) && end && n - int(end - out) < 4) n = int(end - out);
  }
  out[n] = 0;
  return n;
}

struct LineMetrics {
  double width, ascent, descent;
};

LineMetrics MeasureLine(PangoLayoutLine* line)
{
  PangoRectangle logical;
  pango_layout_line_get_extents(line, nullptr, &logical);
  return {logical.width / double(PANGO_SCALE), -logical.y / double(PANGO_SCALE),
          (logical.height + logical.y) / double(PANGO_SCALE)};
}

int LineWidth(const LineMetrics& m) { return int(std::floor(m.width + 0.5)); }
int LineHeight(const LineMetrics& m, double leading)
{
  return int(std::floor(m.ascent + m.descent + leading + 1.5));
}

void FillBox(cairo_t* cr, int x, int y, int w, int h)
{
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
}

}  // namespace

int GDI_DrawText(HDC ctx, const char* text, int length, RECT* r, int flags)
{
  if (!ctx || ctx->released || !text || !r) return 0;
  char buf[kWorkBufferSize];
  const int n = PrepareText(text, length, flags, buf);
  if (n == 0 || !g_utf8_validate(buf, n, nullptr)) return 0;

  GDI_TextEngineLock lock;
  int quality;
  const PangoFontDescription* desc = GDI_ContextFont(ctx, &quality);
  PangoLayout* layout = desc ? GDI_EngineLayout(quality) : nullptr;
  if (!layout) return 0;
  GDI_FontMetrics fm;
  const double leading = GDI_EngineFontMetrics(desc, &fm) ? fm.leading : 0.0;
  pango_layout_set_font_description(layout, desc);
  pango_layout_set_text(layout, buf, n);

  int width = 0, height = 0;
  for (GSList* l = pango_layout_get_lines_readonly(layout); l; l = l->next) {
    const LineMetrics m = MeasureLine(static_cast<PangoLayoutLine*>(l->data));
    if (LineWidth(m) > width) width = LineWidth(m);
    height += LineHeight(m, leading);
  }
  if (height != 0) ++height;

  if (flags & DT_CALCRECT) {
    r->right = r->left + width;
    r->bottom = r->top + height;
    return height;
  }
  cairo_t* cr = ctx->ctx;
  if (!cr) return height;

  const POINT at = GDI_AlignText(*r, width, height, flags, GDI_CENTRE_HALVES);
  const int x = at.x, y = at.y;

  cairo_save(cr);
  if (!(flags & DT_NOCLIP)) {
    cairo_rectangle(cr, r->left, r->top, double(r->right) - r->left, double(r->bottom) - r->top);
    cairo_clip(cr);
  }
  const bool singleLine = (flags & DT_SINGLELINE) != 0;
  if (ctx->curbkmode == OPAQUE) {
    const int bk = ctx->curbkcol;
    cairo_set_source_rgb(cr, GetRValue(bk) / 255.0, GetGValue(bk) / 255.0, GetBValue(bk) / 255.0);
    if (singleLine) {
      FillBox(cr, x, y, width, height);
    } else {
      int ly = y;
      for (GSList* l = pango_layout_get_lines_readonly(layout); l; l = l->next) {
        const LineMetrics m = MeasureLine(static_cast<PangoLayoutLine*>(l->data));
        FillBox(cr, x, ly, LineWidth(m), LineHeight(m, leading));
        ly += LineHeight(m, leading) - 1;
      }
    }
  }
  if (ctx->curtextcolor) cairo_set_source(cr, ctx->curtextcolor);
  else cairo_set_source_rgb(cr, 0, 0, 0);

  double lineY = y;
  for (GSList* l = pango_layout_get_lines_readonly(layout); l; l = l->next) {
    PangoLayoutLine* line = static_cast<PangoLayoutLine*>(l->data);
    const LineMetrics m = MeasureLine(line);
    cairo_move_to(cr, x, lineY + m.ascent);
    pango_cairo_show_layout_line(cr, line);
    lineY += std::floor(m.ascent + m.descent + leading + 0.5);
  }
  cairo_restore(cr);
  return height;
}
