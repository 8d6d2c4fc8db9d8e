#pragma once
// Handle types, records and constants of the GDI-style drawing interface.
// Handles are opaque pointers: a device context (HDC) is a context record,
// every other object (pen, brush, font, bitmap) an object record. RECT and
// POINT are the rasteriser's own, so text and pixels share one rectangle.
//
// Threads: declarations only.

#include "pix/pix_pixel.h"

struct GDI_ContextRec;
struct GDI_ObjectRec;
struct GDI_ImageListRec;

typedef GDI_ContextRec* HDC;
typedef GDI_ObjectRec* HGDIOBJ;
typedef HGDIOBJ HPEN;
typedef HGDIOBJ HBRUSH;
typedef HGDIOBJ HFONT;
typedef HGDIOBJ HBITMAP;
typedef HGDIOBJ HICON;
typedef GDI_ImageListRec* HIMAGELIST;
typedef void* HWND;

struct TEXTMETRIC {
  int tmHeight;
  int tmAscent;
  int tmDescent;
  int tmInternalLeading;
  int tmAveCharWidth;
};

struct LOGFONT {
  int lfHeight;
  int lfWidth;
  int lfEscapement;
  int lfOrientation;
  int lfWeight;
  char lfItalic;
  char lfUnderline;
  char lfStrikeOut;
  char lfCharSet;
  char lfOutPrecision;
  char lfClipPrecision;
  char lfQuality;
  char lfPitchAndFamily;
  char lfFaceName[32];
};

struct BITMAP {
  int bmWidth;
  int bmHeight;
};

struct ICONINFO {
  bool fIcon;
  int xHotspot;
  int yHotspot;
  HBITMAP hbmMask;
  HBITMAP hbmColor;
};

// Colours: 0x00BBGGRR, red in the low byte.
inline int RGB(int r, int g, int b) { return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16); }
inline int GetRValue(int c) { return c & 0xFF; }
inline int GetGValue(int c) { return (c >> 8) & 0xFF; }
inline int GetBValue(int c) { return (c >> 16) & 0xFF; }

// GDI_DrawText flags.
enum {
  DT_LEFT = 0x0,
  DT_TOP = 0x0,
  DT_CENTER = 0x1,
  DT_RIGHT = 0x2,
  DT_VCENTER = 0x4,
  DT_BOTTOM = 0x8,
  DT_SINGLELINE = 0x20,
  DT_NOCLIP = 0x100,
  DT_CALCRECT = 0x400,
  DT_NOPREFIX = 0x800,
};

// Background modes: with OPAQUE text drawing fills its background first.
enum { TRANSPARENT = 0, OPAQUE = 1 };

// Object types as stored in the object record.
enum { GDI_OBJ_PEN = 1, GDI_OBJ_BRUSH = 2, GDI_OBJ_FONT = 3, GDI_OBJ_BITMAP = 4 };

// Passed to SelectObject these deselect the pen, brush or font.
#define GDI_DESELECT_PEN (reinterpret_cast<HGDIOBJ>(1))
#define GDI_DESELECT_BRUSH (reinterpret_cast<HGDIOBJ>(2))
#define GDI_DESELECT_FONT (reinterpret_cast<HGDIOBJ>(3))

enum { FW_NORMAL = 400, FW_BOLD = 700 };
enum { DEFAULT_QUALITY = 0, NONANTIALIASED_QUALITY = 3, ANTIALIASED_QUALITY = 4 };

// Pen styles.
enum { PS_SOLID = 0 };

// Stock objects.
enum {
  WHITE_BRUSH = 0,
  LTGRAY_BRUSH = 1,
  GRAY_BRUSH = 2,
  DKGRAY_BRUSH = 3,
  BLACK_BRUSH = 4,
  NULL_BRUSH = 5,
  WHITE_PEN = 6,
  BLACK_PEN = 7,
  NULL_PEN = 8,
  GDI_STOCK_COUNT = 9
};

// System colours.
enum {
  COLOR_SCROLLBAR = 0,
  COLOR_BACKGROUND = 1,
  COLOR_WINDOW = 5,
  COLOR_WINDOWTEXT = 8,
  COLOR_3DFACE = 15,
  COLOR_BTNFACE = 15,
  COLOR_3DSHADOW = 16,
  COLOR_BTNTEXT = 18,
  COLOR_3DHILIGHT = 20,
  COLOR_3DDKSHADOW = 21,
  COLOR_3DLIGHT = 22,
  COLOR_INFOTEXT = 23,
  COLOR_INFOBK = 24,
};

// GetGlyphIndicesW: mark characters the font lacks with 0xFFFF.
enum { GGI_MARK_NONEXISTING_GLYPHS = 1 };

// BitBlt / StretchBlt raster operation.
enum { SRCCOPY = 0x00CC0020 };

// AddFontResourceEx: the font is private to this process.
enum { FR_PRIVATE = 0x10 };
