#pragma once
// The records behind HDC and HGDIOBJ handles. Internal to the layer.

#include <cairo.h>
#include <pango/pango.h>

#include "gdi/gdi-types.h"

struct GDI_ContextRec {
  cairo_t* ctx;           // platform graphics context
  unsigned char* buffer;  // owned pixel buffer (memory contexts only)
  HGDIOBJ curpen;
  HGDIOBJ curbrush;
  HGDIOBJ curfont;
  int curtextcol;  // 0x00BBGGRR
  int curbkcol;
  int curbkmode;                  // OPAQUE fills behind text
  char released;                  // set while the record sits in the free pool
  GDI_ContextRec* next;           // free-pool link
  cairo_pattern_t* curtextcolor;  // the text colour as a Cairo source
};

struct GDI_ObjectRec {
  int type;                // GDI_OBJ_*
  int additional_refcnt;   // raised by cloning
  cairo_pattern_t* color;  // pens and brushes
  int wid;                 // pen width; negative: never deleted; bitmaps: owns image
  cairo_surface_t* image;  // bitmaps
  float rotation;          // fonts: orientation in degrees
  char released;
  GDI_ObjectRec* next;
  PangoFontDescription* font;  // fonts
  char fontquality;            // 3 aliased, 4 anti-aliased, 0 default
};

// True for the pseudo-handles (values below 5) that are not records.
inline bool GDI_IsPseudoHandle(const void* h) { return reinterpret_cast<unsigned long>(h) < 5; }

// A context that can be drawn on: not null, not pooled, with a Cairo context.
inline bool GDI_IsUsableContext(const GDI_ContextRec* c) { return c && !c->released && c->ctx; }

// An object handle naming a live record (not a pseudo-handle, not pooled).
inline bool GDI_IsLiveObject(const GDI_ObjectRec* o) { return !GDI_IsPseudoHandle(o) && !o->released; }
