#pragma once
// GDI-style device contexts, fonts and text on Cairo and Pango. The
// rasteriser owns memory contexts for its system bitmaps and draws text with
// platform fonts through these calls.
//
// Threads: any thread may create and delete contexts and objects at the same
// time; the record pools take the pool mutex, the font-name cache its own
// mutex, and every Pango call the text-engine mutex (all inside the layer).
// A context or object itself is used by one thread at a time (the editor
// thread); the layer does not lock it. Every call tolerates null and
// released handles by doing nothing and returning 0 or null.

#include <cstddef>

#include "gdi/gdi-types.h"

// ---- Memory contexts, colours, clipping (caller's thread, takes the pool
// mutex when a record is taken or returned) ----

// A context over the layer's own zero-filled, 64-byte aligned buffer of
// width x height pixels (4 bytes each, memory order blue, green, red,
// unused; row 0 at the top; width x 4 bytes per row). The reference context
// is ignored. Null when the size is not positive or memory is short.
HDC GDI_CreateMemContext(HDC reference, int width, int height);
// The aligned pixel buffer of a memory context; null for others.
void* GDI_GetCtxFrameBuffer(HDC ctx);
// Releases the platform context and the buffer and pools the record.
void GDI_DeleteGfxContext(HDC ctx);

int SetTextColor(HDC ctx, int colour);  // returns the previous colour
int GetTextColor(HDC ctx);              // -1 for a null or released context
int SetBkColor(HDC ctx, int colour);    // returns the previous colour
int SetBkMode(HDC ctx, int mode);       // returns the previous mode

// Clip-region stack: push saves the graphics state, set intersects the clip
// with the rectangle, pop restores the saved state.
void GDI_PushClipRegion(HDC ctx);
void GDI_SetClipRegion(HDC ctx, const RECT* r);
void GDI_PopClipRegion(HDC ctx);

// ---- Fonts and text (caller's thread; CreateFont takes the font-name
// cache mutex, text calls the text-engine mutex) ----

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, char italic,
                 char underline, char strikeOut, char charSet, char outPrecision, char clipPrecision,
                 char quality, char pitchAndFamily, const char* faceName);
HFONT CreateFontIndirect(const LOGFONT* lf);

// Fills metrics (defaults first in any case); returns true when they came
// from a font, false (with the defaults 16, 12, 4, 3, 10) otherwise.
bool GetTextMetrics(HDC ctx, TEXTMETRIC* metrics);

// Draws or measures UTF-8 text (length in bytes, negative for NUL
// terminated) with the DT_ flags; returns the text height, 0 on failure.
int GDI_DrawText(HDC ctx, const char* text, int length, RECT* r, int flags);

// Copies the family of the context's font into buf; returns its length.
int GetTextFace(HDC ctx, int bufSize, char* buf);
// Glyph indices of UTF-16 characters in the context's font; returns count.
int GetGlyphIndicesW(HDC ctx, const unsigned short* chars, int count, unsigned short* indices, int flags);
// Registers a font file with fontconfig for this process; 1 on success.
int AddFontResourceEx(const char* path, int flags, void* reserved);

// ---- Objects (caller's thread; takes the pool mutex) ----

// Selects a font, pen or brush, or deselects with GDI_DESELECT_*; returns
// the previous object of that kind (or its type number when there was none).
HGDIOBJ SelectObject(HDC ctx, HGDIOBJ obj);
// Frees the object unless it is a stock object or still has clones.
void DeleteObject(HGDIOBJ obj);
// Raises the object's reference count; one more DeleteObject is needed.
HGDIOBJ GDI_CloneGDIObject(HGDIOBJ obj);

HPEN CreatePen(int style, int width, int colour);
HPEN CreatePenAlpha(int style, int width, int colour, float alpha);
HBRUSH CreateSolidBrush(int colour);
HBRUSH CreateSolidBrushAlpha(int colour, float alpha);
HGDIOBJ GetStockObject(int idx);
int GetSysColor(int idx);

// ---- Shapes with the selected pen and brush (caller's thread) ----

void GDI_FillRect(HDC ctx, const RECT* r, HBRUSH brush);
void Rectangle(HDC ctx, int l, int t, int r, int b);
void RoundRect(HDC ctx, int l, int t, int r, int b, int cornerW, int cornerH);
void Ellipse(HDC ctx, int l, int t, int r, int b);
void GDI_Polygon(HDC ctx, const POINT* pts, int count);
void MoveToEx(HDC ctx, int x, int y, POINT* previous);
void GDI_LineTo(HDC ctx, int x, int y);
void PolyPolyline(HDC ctx, const POINT* pts, const int* counts, int nPolylines);
void PolyBezierTo(HDC ctx, const POINT* pts, int count);
void GDI_SetPixel(HDC ctx, int x, int y, int colour);
void GDI_FillDialogBackground(HDC ctx, const RECT* r, int level);

// ---- Window contexts (the editor draws into its own bitmap, so window
// contexts only wrap a Cairo context the caller already has) ----

HDC GetDC(HWND wnd);
HDC GetWindowDC(HWND wnd);
void ReleaseDC(HWND wnd, HDC ctx);
// Wraps a caller's cairo_t (referenced for the context's lifetime).
HDC GDI_CreateGfxContext(void* cairoContext);
// The context's cairo_t.
void* GDI_GetCtxGC(HDC ctx);
bool GDI_IsRetinaDC(HDC ctx);
bool GDI_IsRetinaHWND(HWND wnd);

// ---- Copies and images (caller's thread) ----

void BitBlt(HDC dest, int x, int y, int w, int h, HDC src, int srcX, int srcY, int rop);
void StretchBlt(HDC dest, int x, int y, int w, int h, HDC src, int srcX, int srcY, int srcW, int srcH,
                int rop);
// A bitmap of 32-bit pixels (0xAARRGGBB); bits may be null (cleared).
HBITMAP CreateBitmap(int width, int height, int planes, int bitsPerPixel, const void* bits);
// Loads a PNG file into a bitmap object.
HBITMAP LoadNamedImage(const char* path, bool alphaFromMask);
void DrawImageInRect(HDC ctx, HBITMAP img, const RECT* r);
// Fills a BITMAP record for a bitmap object; returns bytes written.
int GetObject(HGDIOBJ obj, int bufSize, void* buf);
HICON CreateIconIndirect(const ICONINFO* info);

HIMAGELIST ImageList_CreateEx();
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
int ImageList_ReplaceIcon(HIMAGELIST list, int idx, HICON icon);
bool ImageList_Remove(HIMAGELIST list, int idx);
void ImageList_Destroy(HIMAGELIST list);
