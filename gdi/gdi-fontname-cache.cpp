// Font-name cache over fontconfig.

#include "gdi/gdi-fontname-cache.h"

#include <fontconfig/fontconfig.h>
#include <pango/pango.h>

#include <cstdlib>
#include <cstring>

#include "base/assocarray.h"
#include "base/cstring.h"
#include "base/mutex.h"

namespace {

void FreeName(char* name) { std::free(name); }

BASE_Mutex s_fontnamecache_mutex;
BASE_StringKeyedArray<char*> s_fontnamecache(FreeName);

// Asks fontconfig which installed family serves the name. The name is read
// as Pango reads font strings, so trailing style words (" Bold",
// " Italic") select weight and slant rather than being part of the family.
char* ResolveWithFontconfig(const char* composedName)
{
  PangoFontDescription* desc = pango_font_description_from_string(composedName);
  const char* family = pango_font_description_get_family(desc);
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) {
    pango_font_description_free(desc);
    return nullptr;
  }
  if (family && *family) FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  if (pango_font_description_get_set_fields(desc) & PANGO_FONT_MASK_WEIGHT)
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(pango_font_description_get_weight(desc)));
  if (pango_font_description_get_style(desc) != PANGO_STYLE_NORMAL)
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ITALIC);
  pango_font_description_free(desc);

  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  char* resolved = nullptr;
  FcChar8* matchedFamily = nullptr;
  if (match && FcPatternGetString(match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch)
    resolved = strdup(reinterpret_cast<const char*>(matchedFamily));
  if (match) FcPatternDestroy(match);
  return resolved;
}

}  // namespace

void GDI_ResolveFontFamily(const char* composedName, char* family, int size)
{
  if (!family || size <= 0) return;
  BASE_MutexLock lock(s_fontnamecache_mutex);
  const char* cached = s_fontnamecache.Get(composedName);
  if (!cached) {
    char* resolved = ResolveWithFontconfig(composedName);
    if (resolved && !s_fontnamecache.Insert(composedName, resolved)) {
      BASE_CopyString(family, resolved, size_t(size));
      std::free(resolved);
      return;
    }
    cached = resolved;
  }
  BASE_CopyString(family, cached, size_t(size));
}

int GDI_FontNameCacheSize()
{
  BASE_MutexLock lock(s_fontnamecache_mutex);
  return s_fontnamecache.GetSize();
}

void GDI_ClearFontNameCache()
{
  BASE_MutexLock lock(s_fontnamecache_mutex);
  s_fontnamecache.DeleteAll();
}
