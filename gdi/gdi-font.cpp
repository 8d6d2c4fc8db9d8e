// Fonts: creation with face-name composition, text metrics and the font
// queries.

#include <fontconfig/fontconfig.h>
#include <hb.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <cmath>
#include <cstring>

#include "base/cstring.h"
#include "gdi/gdi-fontname-cache.h"
#include "gdi/gdi-pool.h"
#include "gdi/gdi-text-engine.h"
#include "gdi/gdi.h"

namespace {

enum { kMaxFaceName = 899, kComposedSize = 1024 };

int FontPixelSize(int height, int width)
{
  int size = height != 0 ? std::abs(height) : std::abs(width);
  if (size < 2 || size > 8192) size = 10;
  return size;
}

// Face name cut to its limit, with the style words appended.
void ComposeFaceName(const char* face, int weight, char italic, char* out)
{
  BASE_CopyString(out, face, kMaxFaceName + 1);
  if (weight >= FW_BOLD) std::strcat(out, " Bold");
  if (italic) std::strcat(out, " Italic");
}

// The description of a font on the resolved family, or null when Pango
// cannot load any font for it.
PangoFontDescription* MakeFontDescription(const char* composed, bool emptyFace, int size)
{
  char family[kComposedSize];
  GDI_ResolveFontFamily(composed, family, sizeof(family));
  PangoFontDescription* desc = pango_font_description_from_string(composed);
  if (emptyFace) pango_font_description_unset_fields(desc, PANGO_FONT_MASK_FAMILY);
  else if (family[0]) pango_font_description_set_family(desc, family);
  pango_font_description_set_absolute_size(desc, double(size) * PANGO_SCALE);

  GDI_TextEngineLock lock;
  PangoFont* font = GDI_EngineLoadFont(desc);
  if (font) {
    g_object_unref(font);
    return desc;
  }
  pango_font_description_free(desc);
  return nullptr;
}

}  // namespace

HFONT CreateFont(int height, int width, int, int orientation, int weight, char italic, char, char, char, char,
                 char, char quality, char, const char* faceName)
{
  const int size = FontPixelSize(height, width);
  const char* face = faceName ? faceName : "";
  char composed[kComposedSize];
  ComposeFaceName(face, weight, italic, composed);

  PangoFontDescription* desc = MakeFontDescription(composed, face[0] == 0, size);
  if (!desc) {
    // The default face at the requested size.
    GDI_TextEngineLock lock;
    const PangoFontDescription* fallback = GDI_DefaultFont();
    if (!fallback) return nullptr;
    desc = pango_font_description_copy(fallback);
    pango_font_description_set_absolute_size(desc, double(size) * PANGO_SCALE);
  }
  GDI_ObjectRec* font = GDI_AllocObjectRec();
  if (!font) {
    pango_font_description_free(desc);
    return nullptr;
  }
  font->type = GDI_OBJ_FONT;
  font->rotation = orientation / 10.0f;
  font->font = desc;
  font->fontquality = (quality == 3 || quality == 4) ? quality : 0;
  return font;
}

HFONT CreateFontIndirect(const LOGFONT* lf)
{
  if (!lf) return nullptr;
  char face[sizeof(lf->lfFaceName) + 1];
  std::memcpy(face, lf->lfFaceName, sizeof(lf->lfFaceName));
  face[sizeof(lf->lfFaceName)] = 0;
  return CreateFont(lf->lfHeight, lf->lfWidth, 0, lf->lfOrientation, lf->lfWeight, lf->lfItalic, 0, 0, 0, 0,
                    0, lf->lfQuality, 0, face);
}

bool GetTextMetrics(HDC ctx, TEXTMETRIC* tm)
{
  if (!tm) return false;
  tm->tmHeight = 16;
  tm->tmAscent = 12;
  tm->tmDescent = 4;
  tm->tmInternalLeading = 3;
  tm->tmAveCharWidth = 10;
  if (!GDI_IsUsableContext(ctx)) return false;

  GDI_TextEngineLock lock;
  int quality;
  const PangoFontDescription* desc = GDI_ContextFont(ctx, &quality);
  GDI_FontMetrics m;
  if (!GDI_EngineFontMetrics(desc, &m)) return false;
  tm->tmInternalLeading = int(m.leading);
  tm->tmAscent = int(m.ascent);
  tm->tmDescent = int(m.descent);
  const int sum = tm->tmAscent + tm->tmDescent + tm->tmInternalLeading;
  tm->tmHeight = sum != 0 ? sum + 1 : 0;
  tm->tmAveCharWidth = sum * 2 / 3;
  return true;
}

int GetTextFace(HDC ctx, int bufSize, char* buf)
{
  if (!buf || bufSize <= 0) return 0;
  buf[0] = 0;
  if (!ctx || ctx->released) return 0;
  GDI_TextEngineLock lock;
  int quality;
  const PangoFontDescription* desc = GDI_ContextFont(ctx, &quality);
  const char* family = desc ? pango_font_description_get_family(desc) : nullptr;
  BASE_CopyString(buf, family, size_t(bufSize));
  return int(std::strlen(buf));
}

int GetGlyphIndicesW(HDC ctx, const unsigned short* chars, int count, unsigned short* indices, int flags)
{
  if (!ctx || ctx->released || !chars || !indices || count <= 0) return 0;
  GDI_TextEngineLock lock;
  int quality;
  PangoFont* font = GDI_EngineLoadFont(GDI_ContextFont(ctx, &quality));
  if (!font) return 0;
  hb_font_t* hb = pango_font_get_hb_font(font);
  const unsigned short missing = (flags & GGI_MARK_NONEXISTING_GLYPHS) ? 0xFFFF : 0;
  for (int i = 0; i < count; ++i) {
    hb_codepoint_t glyph = 0;
    indices[i] = (hb && hb_font_get_nominal_glyph(hb, chars[i], &glyph)) ? (unsigned short)glyph : missing;
  }
  g_object_unref(font);
  return count;
}

int AddFontResourceEx(const char* path, int, void*)
{
  if (!path || !FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(path))) return 0;
  GDI_ClearFontNameCache();
  GDI_TextEngineLock lock;
  PangoFontMap* map = GDI_EngineFontMap();
  if (map) pango_fc_font_map_config_changed(PANGO_FC_FONT_MAP(map));
  return 1;
}
