// PNG images decoded into 32-bit bitmaps (0xAARRGGBB, colour not
// premultiplied), through libpng.
//
// Threads: every operation may be called from any thread (in practice the
// editor's main thread, when the bitmap cache loads an image). Loads share no
// state and take no lock; a given bitmap must not be used by another thread
// during the load.
#pragma once

#include <cstddef>

class PIX_IBitmap;

// Largest image accepted, checked before any pixel storage is allocated:
// each side at most PIX_PNG_MAX_SIDE pixels and at most PIX_PNG_MAX_PIXELS
// pixels in all (64 MiB of bitmap).
enum {
  PIX_PNG_MAX_SIDE = 32768,
  PIX_PNG_MAX_PIXELS = 1 << 24,
};

// Decodes the PNG file at filename. With bmp null a new PIX_MemBitmap (rows
// aligned to 4 pixels) is returned and the caller owns it; otherwise bmp is
// resized to the image, filled and returned. Any failure (missing or
// unreadable file, not a PNG, corrupt or truncated data, an image over the
// size limits, no memory) returns null and leaves bmp as it was, except
// when bmp itself cannot be resized, which leaves it empty.
PIX_IBitmap* PIX_LoadPNG(const char* filename, PIX_IBitmap* bmp = nullptr);

// The same from a memory buffer of len bytes. Data missing at the end of a
// truncated buffer reads as zero bytes, which the decoder then rejects.
PIX_IBitmap* PIX_LoadPNGFromMemory(const void* data, int len, PIX_IBitmap* bmp = nullptr);

// Loads name (a relative path such as "img/bg.png") from the resource folder:
// the "resources" folder beside the shared object or program this code is
// linked into. Names longer than 400 characters, or a folder path longer than
// 1536 bytes, give null.
PIX_IBitmap* PIX_LoadPNGFromNamedResource(const char* name, PIX_IBitmap* bmp = nullptr);

// Compiled-in resources of a module are not supported here: always null.
PIX_IBitmap* PIX_LoadPNGFromResource(void* module, const char* resourceName, PIX_IBitmap* bmp = nullptr);

// Registry of image loaders by file type. Records are linked in during
// static initialisation and never change afterwards, so reading the list
// needs no lock.
struct PIX_ImageLoader {
  // Loads filename into bmp (or a new bitmap when bmp is null). With
  // checkFileName set, names without the loader's extension give null.
  PIX_IBitmap* (*loadfunc)(const char* filename, int checkFileName, PIX_IBitmap* bmp);
  // File types as NUL-terminated description and pattern pairs, closed by
  // an empty string.
  const char* (*get_extlist)();
  PIX_ImageLoader* _next;
};

extern PIX_ImageLoader* PIX_ImageLoader_list;
extern PIX_ImageLoader PIX_pngldr;

class PIX_PNGLoader {
public:
  // With checkFileName set, the name must end in ".png" (any letter case).
  static PIX_IBitmap* loadfunc(const char* filename, int checkFileName, PIX_IBitmap* bmp);
  // "PNG files (*.PNG)", "*.PNG", "".
  static const char* get_extlist();
};
