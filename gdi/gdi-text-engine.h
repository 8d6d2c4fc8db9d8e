#pragma once
// The layer's one Pango engine: a font map, a context and a layout shared by
// every device context. Pango font maps are not safe across threads, so
// every use happens under the engine mutex; the layout is measured and
// drawn within one locked step. Freed at unload.
//
// Threads: any thread, while holding a GDI_TextEngineLock.

#include <pango/pango.h>

#include "base/mutex.h"
#include "gdi/gdi-records.h"

BASE_Mutex& GDI_TextEngineMutex();

class GDI_TextEngineLock {
public:
  GDI_TextEngineLock() : m_lock(GDI_TextEngineMutex()) {}

private:
  BASE_MutexLock m_lock;
};

// Font metrics in pixels.
struct GDI_FontMetrics {
  double ascent;
  double descent;
  double leading;
};

// The shared layout (no wrapping, left aligned), with anti-aliasing set by
// the quality byte (3 off, 4 on, 0 the default grey anti-aliasing). Null
// when Pango is unavailable or the layer has been unloaded.
PangoLayout* GDI_EngineLayout(int quality);
// The engine's font map (null as above).
PangoFontMap* GDI_EngineFontMap();
// Loads the font a description names; null when none can be had. The font
// is owned by the caller (g_object_unref).
PangoFont* GDI_EngineLoadFont(const PangoFontDescription* desc);
// Metrics of the font a description names; false when it cannot be loaded.
bool GDI_EngineFontMetrics(const PangoFontDescription* desc, GDI_FontMetrics* out);

// The font text calls use when a context has none: the desktop's sans face
// at 10 pixels, created once.
const PangoFontDescription* GDI_DefaultFont();
// The selected font of the context when it is usable, else the default.
const PangoFontDescription* GDI_ContextFont(const GDI_ContextRec* ctx, int* quality);
