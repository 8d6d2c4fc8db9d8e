// A font that draws UTF-8 text into bitmaps, either natively through the
// platform (the GDI layer drawing into the bitmap's context) or by
// rendering each character once into an 8-bit coverage glyph, caching it
// and compositing cached glyphs with the combine operators.
//
// Threads: no locking; all text drawing happens on the editor thread (the
// glyph scratch bitmaps are process-wide and unguarded).
#pragma once

#include "pix/pix_font.h"
#include "pix/pix_glyphcache.h"

struct PIX_GlyphMask;

class PIX_CachedFont : public PIX_IFont {
public:
  PIX_CachedFont();
  ~PIX_CachedFont() override;

  void SetFromHFont(HFONT font, int flags = 0) override;

  PIX_pixel SetTextColor(PIX_pixel colour) override;
  PIX_pixel SetBkColor(PIX_pixel colour) override;
  PIX_pixel SetEffectColor(PIX_pixel colour) override;
  int SetBkMode(int mode) override;
  void SetCombineMode(int mode, float alpha = 1.0f) override;

  int DrawText(PIX_IBitmap* bm, const char* text, int length, RECT* r, int flags) override;

  PIX_pixel GetTextColor() override { return m_fg; }
  HFONT GetHFont() override { return m_font; }
  int GetLineHeight() override { return m_line_height; }

  // Draws one character with its pen at (x, y) within clip (rendering it
  // first if needed); true when anything was drawn.
  virtual bool DrawGlyph(PIX_IBitmap* bm, unsigned short c, int x, int y, const RECT* clip);

  // Pixels added to the line height at each line break.
  void SetLineSpacingAdjust(int pixels) { m_lsadj = pixels; }
  int GetLineSpacingAdjust() const { return m_lsadj; }
  int GetFlags() const { return m_flags; }

  // The cached entry of a character, or null when it was never rendered
  // (for inspection by tests and tools).
  const charEnt* GetCachedGlyph(unsigned short c);
  const unsigned char* GetGlyphCoverage(const charEnt* e) const { return m_cache.Bitmap(e); }
  int GetGlyphStoreSize() const { return m_cache.StoreSize(); }

private:
  PIX_CachedFont(const PIX_CachedFont&) = delete;
  PIX_CachedFont& operator=(const PIX_CachedFont&) = delete;

  // Where a character was drawn in the glyph scratch bitmap: its measured
  // advance and the area (0, 0, width, height) that holds it with the
  // padding at both sides.
  struct ScratchGlyph {
    int advance, width, height;
  };

  // Caches one character; false when it cannot be (the font is too tall,
  // a pre-rendered font lacks it, or memory is short).
  bool RenderGlyph(unsigned short c);
  // The entry a character renders into: its cached one, or one appended to
  // the extended table (appended is set; the table needs sorting after).
  charEnt* CacheSlot(unsigned short c, bool* appended);
  bool RenderInto(charEnt& e, unsigned short c);
  ScratchGlyph DrawInScratch(PIX_IBitmap* scratch, unsigned short c, int pad);
  // Applies the font flags: turned, thresholded, shadow or outline added.
  void ShapeMask(PIX_GlyphMask& mask) const;
  bool StoreMask(charEnt& e, const PIX_GlyphMask& mask);
  // The entry of a character, rendered on demand; null when it cannot be.
  const charEnt* Glyph(unsigned short c);
  bool UseNativeRendering(int flags) const;
  int DrawTextNative(PIX_IBitmap* bm, const char* text, int length, RECT* r, int flags);
  int DrawTextInContext(HDC dc, const char* text, int length, RECT* r, int flags);
  int DrawTextThroughScratch(PIX_IBitmap* bm, const char* text, int length, RECT* r, int flags);
  // The text and background colours and background mode, for the platform.
  void SetNativeColours(HDC dc) const;
  int DrawTextGlyphs(PIX_IBitmap* bm, const char* text, int length, RECT* r, int flags);
  // The glyph walk with this font's glyphs and line step; visit(c, entry,
  // along, across) as PIX_WalkGlyphs gives it.
  template <class VisitFn>
  void WalkGlyphs(const char* text, int length, int flags, VisitFn visit);
  // Walks the text as DrawText lays it out: the extent along the pen
  // (main) and across lines (cross).
  void MeasureGlyphs(const char* text, int length, int flags, int* mainExtent, int* crossExtent);
  bool DrawGlyphAlpha(PIX_IBitmap* bm, unsigned short c, int x, int y, const RECT& clip, float alpha);
  int Padding() const;

  PIX_pixel m_fg = 0;
  PIX_pixel m_bg = 0xFFFFFFFF;
  PIX_pixel m_effectcol = 0xFFFFFFFF;
  int m_bgmode = 0;
  int m_comb_mode = 0;
  float m_comb_alpha = 1.0f;
  int m_flags = 0;
  int m_line_height = 0;
  int m_lsadj = 0;
  PIX_GlyphCache m_cache;
  HFONT m_font = nullptr;
};
