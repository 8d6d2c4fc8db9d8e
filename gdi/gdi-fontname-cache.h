#pragma once
// Font-name cache: composed face name ("DejaVu Sans Bold") to the family
// fontconfig resolves for it, so that each name is resolved once per
// process. Keys are copied; values are released with the cache at unload.
//
// Threads: any thread; each call holds s_fontnamecache_mutex.

// Copies the resolved family for the composed name into family (at most
// size bytes, NUL terminated).
void GDI_ResolveFontFamily(const char* composedName, char* family, int size);

// Entries held (for tests).
int GDI_FontNameCacheSize();

// Forgets every resolved name (after new fonts were registered).
void GDI_ClearFontNameCache();
