#include "pix/pix_cachedfont.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "gdi/gdi-text-align.h"
#include "gdi/gdi.h"
#include "pix/pix_blendmode.h"
#include "pix/pix_blit.h"
#include "pix/pix_fontscratch.h"
#include "pix/pix_glyphmask.h"
#include "pix/pix_glyphrender.h"
#include "pix/pix_glyphwalk.h"
#include "pix/pix_utf8.h"

namespace {

enum { kAlignFlags = DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM };
// Font flags that need the glyph path.
enum { kGlyphOnlyFontFlags = 0x1F7 };
// Glyphs are cached only for fonts whose line height stays below this.
enum { kMaxCachedLineHeight = 1023 };
// Fonts this tall are always drawn natively.
enum { kNativeLineHeight = 256 };

int ToGdiColour(PIX_pixel c) { return RGB(PIX_GetR(c), PIX_GetG(c), PIX_GetB(c)); }

bool Intersect(RECT& a, const RECT& b)
{
  a.left = std::max(a.left, b.left);
  a.top = std::max(a.top, b.top);
  a.right = std::min(a.right, b.right);
  a.bottom = std::min(a.bottom, b.bottom);
  return a.left < a.right && a.top < a.bottom;
}

// Puts a font into a context for the length of a scope.
class SelectedFont {
public:
  SelectedFont(HDC dc, HFONT font) : m_dc(dc), m_old(dc ? SelectObject(dc, font) : nullptr) {}
  ~SelectedFont()
  {
    if (m_old) SelectObject(m_dc, m_old);
  }

private:
  HDC m_dc;
  HGDIOBJ m_old;
};

}  // namespace

PIX_CachedFont::PIX_CachedFont() { PIX_FontScratchAddRef(); }

PIX_CachedFont::~PIX_CachedFont()
{
  if ((m_flags & PIX_FONT_OWNS_HFONT) && m_font) DeleteObject(m_font);
  m_font = nullptr;
  PIX_FontScratchRelease();
}

void PIX_CachedFont::SetFromHFont(HFONT font, int flags)
{
  if ((m_flags & PIX_FONT_OWNS_HFONT) && m_font && m_font != font) DeleteObject(m_font);
  m_flags = flags;
  m_font = font;
  if (font) {
    PIX_IBitmap* scratch = PIX_GlyphScratch(256);
    HDC dc = scratch ? scratch->getDC() : nullptr;
    if (dc) {
      SelectedFont selected(dc, font);
      TEXTMETRIC tm;
      GetTextMetrics(dc, &tm);
      m_line_height = tm.tmHeight;
    }
  }
  m_cache.Clear();
  if (flags & PIX_FONT_PRERENDER_ASCII)
    for (int c = 0; c < 128; ++c) RenderGlyph((unsigned short)c);
}

PIX_pixel PIX_CachedFont::SetTextColor(PIX_pixel colour) { return std::exchange(m_fg, colour); }

PIX_pixel PIX_CachedFont::SetBkColor(PIX_pixel colour) { return std::exchange(m_bg, colour); }

PIX_pixel PIX_CachedFont::SetEffectColor(PIX_pixel colour) { return std::exchange(m_effectcol, colour); }

int PIX_CachedFont::SetBkMode(int mode) { return std::exchange(m_bgmode, mode); }

void PIX_CachedFont::SetCombineMode(int mode, float alpha)
{
  m_comb_mode = mode;
  m_comb_alpha = alpha;
}

int PIX_CachedFont::Padding() const { return m_line_height < 16 ? 2 : m_line_height / 16 + 2; }

bool PIX_CachedFont::RenderGlyph(unsigned short c)
{
  if (m_line_height > kMaxCachedLineHeight) return false;
  bool appended = false;
  charEnt* e = CacheSlot(c, &appended);
  if (!e) return false;
  const bool ok = RenderInto(*e, c);
  if (appended) m_cache.Sort();
  return ok;
}

charEnt* PIX_CachedFont::CacheSlot(unsigned short c, bool* appended)
{
  if (charEnt* e = m_cache.Find(c)) return e;
  if (m_flags & PIX_FONT_PRERENDER_ASCII) return nullptr;
  charEnt* e = m_cache.Append(c);
  *appended = e != nullptr;
  return e;
}

bool PIX_CachedFont::RenderInto(charEnt& e, unsigned short c)
{
  PIX_IBitmap* scratch = PIX_GlyphScratch(std::max(m_line_height, 1) * 2 + 8);
  if (!scratch || !scratch->getDC()) return false;
  const int pad = Padding();
  const ScratchGlyph drawn = DrawInScratch(scratch, c, pad);
  e.advance = drawn.advance;
  if (drawn.advance <= 0 || drawn.height <= 0) {
    e.base_offset = -1;
    e.width = e.height = e.left_extra = 0;
    return true;
  }
  if (m_flags & PIX_FONT_BLUR) PIX_Blur(scratch, scratch, 0, 0, 0, 0, drawn.width, drawn.height);
  PIX_GlyphMask mask = PIX_CaptureGlyphCoverage(scratch, drawn.width, drawn.height, pad, drawn.advance,
                                                (m_flags & PIX_FONT_INVERT) != 0);
  ShapeMask(mask);
  return StoreMask(e, mask);
}

PIX_CachedFont::ScratchGlyph PIX_CachedFont::DrawInScratch(PIX_IBitmap* scratch, unsigned short c, int pad)
{
  char utf[4];
  const int n = PIX_EncodeUTF8(c, utf);
  HDC dc = scratch->getDC();
  SelectedFont selected(dc, m_font);
  RECT measured = {0, 0, 0, 0};
  GDI_DrawText(dc, utf, n, &measured, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
  const ScratchGlyph drawn = {measured.right, std::min(measured.right + 2 * pad, scratch->getWidth()),
                              std::min(measured.bottom, scratch->getHeight())};
  if (drawn.advance > 0 && drawn.height > 0) {
    PIX_FillRect(scratch, 0, 0, drawn.width, drawn.height, 0, 1.0f, PIX_OP_COPY);
    RECT at = {pad, 0, pad + drawn.advance, drawn.height};
    GDI_DrawText(dc, utf, n, &at, DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
  }
  return drawn;
}

void PIX_CachedFont::ShapeMask(PIX_GlyphMask& mask) const
{
  if (m_flags & PIX_FONT_VERTICAL) PIX_TurnGlyphMask(mask, (m_flags & PIX_FONT_BOTTOMUP) != 0);
  if (m_flags & (PIX_FONT_MONO | PIX_FONT_SHADOW | PIX_FONT_OUTLINE)) PIX_ThresholdGlyphMask(mask);
  if (m_flags & (PIX_FONT_SHADOW | PIX_FONT_OUTLINE))
    PIX_AddGlyphEffect(mask, (m_flags & PIX_FONT_OUTLINE) != 0);
}

bool PIX_CachedFont::StoreMask(charEnt& e, const PIX_GlyphMask& mask)
{
  e.left_extra = mask.leftExtra;
  e.width = mask.width;
  e.height = mask.height;
  if (mask.bytes.empty()) {
    e.base_offset = -1;
    return true;
  }
  unsigned char* store = m_cache.AddBitmap(&e, (int)mask.bytes.size());
  if (!store) return false;
  std::memcpy(store, mask.bytes.data(), mask.bytes.size());
  return true;
}

const charEnt* PIX_CachedFont::Glyph(unsigned short c)
{
  const charEnt* e = m_cache.Find(c);
  if (!e || e->base_offset == 0) {
    if (!RenderGlyph(c)) return nullptr;
    e = m_cache.Find(c);
  }
  return e && e->base_offset != 0 ? e : nullptr;
}

const charEnt* PIX_CachedFont::GetCachedGlyph(unsigned short c)
{
  const charEnt* e = m_cache.Find(c);
  return e && e->base_offset != 0 ? e : nullptr;
}

bool PIX_CachedFont::UseNativeRendering(int flags) const
{
  if (m_line_height >= kNativeLineHeight) return true;
  return (m_flags & PIX_FONT_NATIVE) && !(m_flags & kGlyphOnlyFontFlags) && !(flags & (int)0xC0000000) &&
         m_font && (m_lsadj == 0 || (flags & DT_SINGLELINE));
}

int PIX_CachedFont::DrawText(PIX_IBitmap* bm, const char* text, int length, RECT* r, int flags)
{
  if (!text || !r) return 0;
  if (UseNativeRendering(flags)) return DrawTextNative(bm, text, length, r, flags);
  return DrawTextGlyphs(bm, text, length, r, flags);
}

template <class VisitFn>
void PIX_CachedFont::WalkGlyphs(const char* text, int length, int flags, VisitFn visit)
{
  PIX_WalkGlyphs(
      text, length, (flags & DT_SINGLELINE) != 0, m_line_height + m_lsadj,
      [this](unsigned short c) { return Glyph(c); }, visit);
}

void PIX_CachedFont::MeasureGlyphs(const char* text, int length, int flags, int* mainExtent, int* crossExtent)
{
  const bool vertical = (m_flags & PIX_FONT_VERTICAL) != 0;
  int mainExt = 0, crossExt = 0;
  WalkGlyphs(text, length, flags, [&](unsigned short, const charEnt& e, int along, int across) {
    const int alongSize = vertical ? e.height : e.width, acrossSize = vertical ? e.width : e.height;
    if (e.base_offset > 0) mainExt = std::max(mainExt, along + alongSize - e.left_extra);
    crossExt = std::max(crossExt, across + acrossSize);
    mainExt = std::max(mainExt, along + e.advance);
  });
  *mainExtent = mainExt;
  *crossExtent = crossExt;
}

int PIX_CachedFont::DrawTextGlyphs(PIX_IBitmap* bm, const char* text, int length, RECT* r, int flags)
{
  const bool vertical = (m_flags & PIX_FONT_VERTICAL) != 0;
  const bool bottomUp = vertical && (m_flags & PIX_FONT_BOTTOMUP);
  if (flags & DT_CALCRECT) {
    int along, across;
    MeasureGlyphs(text, length, flags, &along, &across);
    r->right = r->left + (vertical ? across : along);
    r->bottom = r->top + (vertical ? along : across);
    return across;
  }
  float alpha = m_comb_alpha;
  if (flags & PIX_DT_USE_FG_ALPHA) alpha *= PIX_GetA(m_fg) / 255.0f;
  if (alpha == 0.0f || !bm || !bm->getBits()) return 0;

  int x = r->left, y = r->top;
  if ((flags & kAlignFlags) || bottomUp) {
    int along, across;
    MeasureGlyphs(text, length, flags, &along, &across);
    const int tw = vertical ? across : along, th = vertical ? along : across;
    const POINT at = GDI_AlignText(*r, tw, th, flags, GDI_CENTRE_DIFFERENCE);
    x = at.x;
    y = bottomUp ? at.y + th : at.y;
  }

  RECT clip = {0, 0, bm->getWidth(), bm->getHeight()};
  if (!(flags & DT_NOCLIP) && !Intersect(clip, *r)) return 0;
  if (clip.left >= clip.right || clip.top >= clip.bottom) return 0;

  const int penStart = vertical ? y : x, lineStart = vertical ? x : y;
  int crossExt = 0;
  WalkGlyphs(text, length, flags, [&](unsigned short c, const charEnt& e, int along, int across) {
    const int pen = bottomUp ? penStart - along : penStart + along, line = lineStart + across;
    if (e.base_offset > 0) {
      if (vertical) DrawGlyphAlpha(bm, c, line, pen, clip, alpha);
      else DrawGlyphAlpha(bm, c, pen, line, clip, alpha);
    }
    crossExt = std::max(crossExt, across + (vertical ? e.width : e.height));
  });
  return crossExt;
}

bool PIX_CachedFont::DrawGlyph(PIX_IBitmap* bm, unsigned short c, int x, int y, const RECT* clip)
{
  if (!bm) return false;
  RECT area = {0, 0, bm->getWidth(), bm->getHeight()};
  if (clip && !Intersect(area, *clip)) return false;
  if (!Glyph(c)) return false;
  return DrawGlyphAlpha(bm, c, x, y, area, m_comb_alpha);
}

bool PIX_CachedFont::DrawGlyphAlpha(PIX_IBitmap* bm, unsigned short c, int x, int y, const RECT& clip,
                                    float alpha)
{
  const charEnt* e = m_cache.Find(c);
  const unsigned char* coverage = m_cache.Bitmap(e);
  if (!coverage) return false;
  if (!(m_flags & PIX_FONT_VERTICAL)) x -= e->left_extra;
  else if (m_flags & PIX_FONT_BOTTOMUP) y -= e->height - e->left_extra;
  else y -= e->left_extra;

  RECT box = {x, y, x + e->width, y + e->height};
  if (!Intersect(box, clip)) return false;
  // The background follows the combine alpha only: a translucent text
  // colour makes the letters translucent, not the box behind them.
  if (m_bgmode == 1)
    PIX_FillRect(bm, box.left, box.top, box.right - box.left, box.bottom - box.top, m_bg, m_comb_alpha,
                 m_comb_mode & ~PIX_USE_SOURCE_ALPHA);
  PIX_GlyphKind kind = PIX_GLYPH_NORMAL;
  if (m_flags & (PIX_FONT_SHADOW | PIX_FONT_OUTLINE)) kind = PIX_GLYPH_EFFECT;
  else if (m_flags & PIX_FONT_MONO) kind = PIX_GLYPH_MONO;
  PIX_RenderGlyphCoverage(bm, x, y, coverage, e->width, e->height, box, m_fg, m_effectcol, alpha, m_comb_mode,
                          kind);
  return true;
}

int PIX_CachedFont::DrawTextNative(PIX_IBitmap* bm, const char* text, int length, RECT* r, int flags)
{
  HDC dc = bm ? bm->getDC() : nullptr;
  if (dc) return DrawTextInContext(dc, text, length, r, flags);
  return DrawTextThroughScratch(bm, text, length, r, flags);
}

void PIX_CachedFont::SetNativeColours(HDC dc) const
{
  ::SetTextColor(dc, ToGdiColour(m_fg));
  ::SetBkMode(dc, m_bgmode);
  if (m_bgmode == 1) ::SetBkColor(dc, ToGdiColour(m_bg));
}

int PIX_CachedFont::DrawTextInContext(HDC dc, const char* text, int length, RECT* r, int flags)
{
  SelectedFont selected(dc, m_font);
  SetNativeColours(dc);
  RECT rr = *r;
  const int height = GDI_DrawText(dc, text, length, &rr, flags | DT_NOPREFIX);
  if (flags & DT_CALCRECT) *r = rr;
  return height;
}

// A bitmap without a drawing context: measure in the scratch bitmap, draw the
// text there over a copy of the target's pixels and copy them back.
int PIX_CachedFont::DrawTextThroughScratch(PIX_IBitmap* bm, const char* text, int length, RECT* r, int flags)
{
  PIX_IBitmap* scratch = PIX_NativeScratch(1, 1);
  if (!scratch || !scratch->getDC()) return 0;
  RECT mr = {0, 0, 0, 0};
  int height;
  {
    SelectedFont selected(scratch->getDC(), m_font);
    height =
        GDI_DrawText(scratch->getDC(), text, length, &mr, (flags & ~kAlignFlags) | DT_CALCRECT | DT_NOPREFIX);
  }
  const int tw = mr.right, th = mr.bottom;
  if (flags & DT_CALCRECT) {
    r->right = r->left + tw;
    r->bottom = r->top + th;
    return height;
  }
  if (!bm || !bm->getBits() || height == 0) return height;

  const POINT at = GDI_AlignText(*r, tw, th, flags, GDI_CENTRE_HALVES);
  const int x = at.x, y = at.y;

  RECT box = {x - Padding(), y, x + tw, y + th};
  if (!(flags & DT_NOCLIP) && !Intersect(box, *r)) return height;
  const RECT whole = {0, 0, bm->getWidth(), bm->getHeight()};
  if (!Intersect(box, whole)) return height;
  const int bw = box.right - box.left, bh = box.bottom - box.top;
  scratch = PIX_NativeScratch(bw, bh);
  HDC sdc = scratch ? scratch->getDC() : nullptr;
  if (!sdc) return height;

  PIX_Blit(scratch, bm, 0, 0, box.left, box.top, bw, bh, 1.0f, PIX_OP_COPY);
  {
    SelectedFont selected(sdc, m_font);
    SetNativeColours(sdc);
    RECT tr = {x - box.left, y - box.top, x - box.left + tw, y - box.top + th};
    GDI_DrawText(sdc, text, length, &tr, (flags & ~(kAlignFlags | DT_CALCRECT)) | DT_NOCLIP | DT_NOPREFIX);
  }
  // The drawing context ignores the alpha byte: keep the target's own.
  PIX_Blit(scratch, bm, 0, 0, box.left, box.top, bw, bh, 1.0f, PIX_OP_CHANCOPY | 3 | (3 << 2));
  PIX_Blit(bm, scratch, box.left, box.top, 0, 0, bw, bh, m_comb_alpha, PIX_OP_COPY);
  return height;
}
