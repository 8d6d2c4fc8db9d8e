// The bitmap interface every drawing operation works on.
//
// Drawing code fetches bits, width, height, row span and the flipped state
// through this interface for every call, never assumes the row span equals
// the width, and does nothing when the bits are null.
//
// Threads: bitmaps have no locking; one thread (the editor's) uses a bitmap
// at a time.
#pragma once

#include <cstdint>

#include "pix/pix_pixel.h"

// Drawing-context handle of the GDI layer (the same declaration as its own).
struct GDI_ContextRec;
typedef GDI_ContextRec* HDC;

class PIX_IBitmap {
public:
  virtual ~PIX_IBitmap() {}

  // Top-left pixel of the top row (of the bottom row when flipped); may be null.
  virtual PIX_pixel* getBits() = 0;
  virtual int getWidth() = 0;
  virtual int getHeight() = 0;
  // Distance between rows in pixels (not bytes).
  virtual int getRowSpan() = 0;
  // True when row 0 in memory is the bottom row; drawing then walks rows
  // with a negative step so that row 0 is always the visual top.
  virtual bool isFlipped() { return false; }
  // False if the size was unchanged; see the concrete bitmaps for the rest.
  virtual bool resize(int w, int h) = 0;
  // Platform drawing context (the GDI layer's HDC) for native text, or null.
  virtual HDC getDC() { return nullptr; }
  // Extension hook; no extension is defined.
  virtual intptr_t Extended(int id, void* data)
  {
    (void)id;
    (void)data;
    return 0;
  }
};
