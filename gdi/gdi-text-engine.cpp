// The shared Pango engine behind text measuring and drawing.

#include "gdi/gdi-text-engine.h"

#include <pango/pangocairo.h>

namespace {

struct Engine {
  PangoFontMap* fontmap = nullptr;
  PangoContext* context = nullptr;
  PangoLayout* layout = nullptr;
  PangoFontDescription* defaultFont = nullptr;
  cairo_font_options_t* options = nullptr;
  int quality = -1;
  bool unloaded = false;

  ~Engine() { Release(); }

  void Release()
  {
    BASE_MutexLock lock(GDI_TextEngineMutex());
    if (layout) g_object_unref(layout);
    if (context) g_object_unref(context);
    if (fontmap) g_object_unref(fontmap);
    if (defaultFont) pango_font_description_free(defaultFont);
    if (options) cairo_font_options_destroy(options);
    layout = nullptr;
    context = nullptr;
    fontmap = nullptr;
    defaultFont = nullptr;
    options = nullptr;
    unloaded = true;
  }

  // Creates the font map, context and layout on first use. Glyphs are
  // neither hinted nor placed on whole pixels, so that widths are the
  // font's typographic widths wherever the text is drawn.
  bool Ensure()
  {
    if (layout) return true;
    if (unloaded) return false;
    fontmap = pango_cairo_font_map_new();
    if (!fontmap) return false;
    context = pango_font_map_create_context(fontmap);
    options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(context, options);
    pango_context_set_round_glyph_positions(context, FALSE);
    layout = pango_layout_new(context);
    pango_layout_set_width(layout, -1);
    pango_layout_set_alignment(layout, PANGO_ALIGN_LEFT);
    quality = 0;
    return true;
  }

  void SetQuality(int q)
  {
    if (q != 3 && q != 4) q = 0;
    if (q == quality) return;
    quality = q;
    cairo_font_options_set_antialias(options, q == 3 ? CAIRO_ANTIALIAS_NONE : CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(context, options);
    pango_layout_context_changed(layout);
  }
};

// Made on first use and released at exit; text calls after that find no
// engine and draw nothing. Fonts and contexts freed late (by caches torn
// down at exit) need no engine.
Engine& TheEngine()
{
  static Engine engine;
  return engine;
}

}  // namespace

BASE_Mutex& GDI_TextEngineMutex()
{
  static BASE_Mutex mutex;
  return mutex;
}

PangoLayout* GDI_EngineLayout(int quality)
{
  Engine& e = TheEngine();
  if (!e.Ensure()) return nullptr;
  e.SetQuality(quality);
  return e.layout;
}

PangoFontMap* GDI_EngineFontMap()
{
  Engine& e = TheEngine();
  return e.Ensure() ? e.fontmap : nullptr;
}

PangoFont* GDI_EngineLoadFont(const PangoFontDescription* desc)
{
  Engine& e = TheEngine();
  if (!desc || !e.Ensure()) return nullptr;
  return pango_font_map_load_font(e.fontmap, e.context, desc);
}

bool GDI_EngineFontMetrics(const PangoFontDescription* desc, GDI_FontMetrics* out)
{
  PangoFont* font = GDI_EngineLoadFont(desc);
  if (!font) return false;
  PangoFontMetrics* m = pango_font_get_metrics(font, nullptr);
  g_object_unref(font);
  if (!m) return false;
  const int ascent = pango_font_metrics_get_ascent(m);
  const int descent = pango_font_metrics_get_descent(m);
  const int height = pango_font_metrics_get_height(m);
  pango_font_metrics_unref(m);
  out->ascent = ascent / double(PANGO_SCALE);
  out->descent = descent / double(PANGO_SCALE);
  const int gap = height - ascent - descent;
  out->leading = gap > 0 ? gap / double(PANGO_SCALE) : 0.0;
  return true;
}

const PangoFontDescription* GDI_DefaultFont()
{
  Engine& e = TheEngine();
  if (e.unloaded) return nullptr;
  if (!e.defaultFont) {
    e.defaultFont = pango_font_description_from_string("Sans");
    pango_font_description_set_absolute_size(e.defaultFont, 10 * PANGO_SCALE);
  }
  return e.defaultFont;
}

const PangoFontDescription* GDI_ContextFont(const GDI_ContextRec* ctx, int* quality)
{
  *quality = 0;
  const GDI_ObjectRec* f = ctx ? ctx->curfont : nullptr;
  if (f && GDI_IsLiveObject(f) && f->type == GDI_OBJ_FONT && f->font) {
    *quality = f->fontquality;
    return f->font;
  }
  return GDI_DefaultFont();
}
