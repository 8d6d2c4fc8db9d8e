#include "pix/pix_cachedfont.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "gdi/gdi.h"
#include "pix/pix_bitmaprows.h"
#include "pix/pix_blendmode.h"
#include "pix/pix_blit.h"
#include "pix/pix_fontscratch.h"
#include "pix/pix_glyphrender.h"
#include "pix/pix_utf8.h"

namespace {

enum { kAlignFlags = DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM };
// Font flags that need the glyph path.
enum { kGlyphOnlyFontFlags = 0x1F7 };
// Glyphs are cached only for fonts whose line height stays below this.
enum { kMaxCachedLineHeight = 1023 };
// Fonts this tall are always drawn natively.
enum { kNativeLineHeight = 256 };

int TextLength(const char* text, int length) { return length < 0 ? (int)std::strlen(text) : length; }

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

// Turns a w x h coverage bitmap a quarter: clockwise (the tops of the
// letters face right, read downwards) or, bottom-up, the other way.
std::vector<unsigned char> Transpose(const std::vector<unsigned char>& g, int w, int h, bool bottomUp)
{
  std::vector<unsigned char> t(g.size());
  for (int i = 0; i < w; ++i)    // rows of the turned bitmap
    for (int j = 0; j < h; ++j)  // its columns
      t[(size_t)i * h + j] = bottomUp ? g[(size_t)j * w + (w - 1 - i)] : g[(size_t)(h - 1 - j) * w + i];
  return t;
}

void Threshold(std::vector<unsigned char>& g)
{
  for (unsigned char& k : g) k = k > 130 ? 255 : 0;
}

// Empty pixels next to glyph pixels become effect pixels (128): for a
// shadow those below and right of the glyph, for an outline all around.
void AddEffect(std::vector<unsigned char>& g, int w, int h, bool outline)
{
  auto full = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && g[(size_t)y * w + x] == 255; };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      unsigned char& k = g[(size_t)y * w + x];
      if (k) continue;
      const bool touches = outline ? full(x - 1, y) || full(x + 1, y) || full(x, y - 1) || full(x, y + 1)
                                   : full(x - 1, y) || full(x, y - 1) || full(x - 1, y - 1);
      if (touches) k = 128;
    }
}

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
  charEnt* e = m_cache.Find(c);
  bool appended = false;
  if (!e) {
    if (m_flags & PIX_FONT_PRERENDER_ASCII) return false;
    e = m_cache.Append(c);
    if (!e) return false;
    appended = true;
  }
  PIX_IBitmap* scratch = PIX_GlyphScratch(std::max(m_line_height, 1) * 2 + 8);
  HDC dc = scratch ? scratch->getDC() : nullptr;
  bool ok = false;
  if (dc) {
    char utf[4];
    const int n = PIX_EncodeUTF8(c, utf);
    const int p = Padding();
    int measuredW = 0, totalW = 0, h = 0;
    {
      SelectedFont selected(dc, m_font);
      RECT mr = {0, 0, 0, 0};
      GDI_DrawText(dc, utf, n, &mr, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
      measuredW = mr.right;
      totalW = std::min(measuredW + 2 * p, scratch->getWidth());
      h = std::min(mr.bottom, scratch->getHeight());
      if (measuredW > 0 && h > 0) {
        PIX_FillRect(scratch, 0, 0, totalW, h, 0, 1.0f, PIX_OP_COPY);
        RECT dr = {p, 0, p + measuredW, h};
        GDI_DrawText(dc, utf, n, &dr, DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
      }
    }
    e->advance = measuredW;
    if (measuredW <= 0 || h <= 0) {
      e->base_offset = -1;
      e->width = e->height = e->left_extra = 0;
      ok = true;
    } else {
      if (m_flags & PIX_FONT_BLUR) PIX_Blur(scratch, scratch, 0, 0, 0, 0, totalW, h);
      // Coverage is the red byte of the white-on-black rendering.
      PIX_BitmapRows rows(scratch);
      const bool invert = (m_flags & PIX_FONT_INVERT) != 0;
      auto coverage = [&](int x, int y) {
        const int v = (int)((*rows.at(x, y) >> 16) & 0xFF);
        return invert ? 255 - v : v;
      };
      int first = totalW, last = -1;
      for (int x = 0; x < totalW; ++x)
        for (int y = 0; y < h; ++y)
          if (coverage(x, y)) {
            first = std::min(first, x);
            last = x;
            break;
          }
      const int keep0 = std::min(first, p);
      const int keep1 = std::min(std::max(last + 1, p + measuredW), totalW);
      int w = std::max(keep1 - keep0, 0);
      std::vector<unsigned char> g((size_t)w * h);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) g[(size_t)y * w + x] = (unsigned char)coverage(keep0 + x, y);
      e->left_extra = p - keep0;

      int gw = w, gh = h;
      if (m_flags & PIX_FONT_VERTICAL) {
        g = Transpose(g, w, h, (m_flags & PIX_FONT_BOTTOMUP) != 0);
        gw = h;
        gh = w;
      }
      if (m_flags & (PIX_FONT_MONO | PIX_FONT_SHADOW | PIX_FONT_OUTLINE)) Threshold(g);
      if (m_flags & (PIX_FONT_SHADOW | PIX_FONT_OUTLINE))
        AddEffect(g, gw, gh, (m_flags & PIX_FONT_OUTLINE) != 0);

      e->width = gw;
      e->height = gh;
      if (g.empty()) {
        e->base_offset = -1;
        ok = true;
      } else if (unsigned char* store = m_cache.AddBitmap(e, (int)g.size())) {
        std::memcpy(store, g.data(), g.size());
        ok = true;
      }
    }
  }
  if (appended) m_cache.Sort();
  return ok;
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

void PIX_CachedFont::MeasureGlyphs(const char* text, int length, int flags, int* mainExtent, int* crossExtent)
{
  const bool vertical = (m_flags & PIX_FONT_VERTICAL) != 0;
  const int len = TextLength(text, length);
  int pen = 0, line = 0, mainExt = 0, crossExt = 0;
  for (int pos = 0; pos < len;) {
    unsigned short c;
    pos += utf8char(text + pos, &c, len - pos);
    if (c == '\r') continue;
    if (c == '\n') {
      if (!(flags & DT_SINGLELINE)) {
        pen = 0;
        line += m_line_height + m_lsadj;
        continue;
      }
      c = ' ';
    }
    const charEnt* e = Glyph(c);
    if (!e) continue;
    const int along = vertical ? e->height : e->width, across = vertical ? e->width : e->height;
    if (e->base_offset > 0) mainExt = std::max(mainExt, pen + along - e->left_extra);
    crossExt = std::max(crossExt, line + across);
    pen += e->advance;
    mainExt = std::max(mainExt, pen);
  }
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
    if (flags & DT_RIGHT) x = r->right - tw;
    else if (flags & DT_CENTER) x = r->left + (r->right - r->left - tw) / 2;
    if (flags & DT_BOTTOM) y = r->bottom - th;
    else if (flags & DT_VCENTER) y = r->top + (r->bottom - r->top - th) / 2;
    if (bottomUp) y += th;
  }

  RECT clip = {0, 0, bm->getWidth(), bm->getHeight()};
  if (!(flags & DT_NOCLIP) && !Intersect(clip, *r)) return 0;
  if (clip.left >= clip.right || clip.top >= clip.bottom) return 0;

  const int len = TextLength(text, length);
  const int penStart = vertical ? y : x, lineStart = vertical ? x : y;
  int pen = penStart, line = lineStart, crossExt = 0;
  for (int pos = 0; pos < len;) {
    unsigned short c;
    pos += utf8char(text + pos, &c, len - pos);
    if (c == '\r') continue;
    if (c == '\n') {
      if (!(flags & DT_SINGLELINE)) {
        pen = penStart;
        line += m_line_height + m_lsadj;
        continue;
      }
      c = ' ';
    }
    const charEnt* e = Glyph(c);
    if (!e) continue;
    if (e->base_offset > 0) {
      if (vertical) DrawGlyphAlpha(bm, c, line, pen, clip, alpha);
      else DrawGlyphAlpha(bm, c, pen, line, clip, alpha);
    }
    crossExt = std::max(crossExt, line - lineStart + (vertical ? e->width : e->height));
    pen += bottomUp ? -e->advance : e->advance;
  }
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
  if (dc) {
    SelectedFont selected(dc, m_font);
    ::SetTextColor(dc, ToGdiColour(m_fg));
    ::SetBkMode(dc, m_bgmode);
    if (m_bgmode == 1) ::SetBkColor(dc, ToGdiColour(m_bg));
    RECT rr = *r;
    const int height = GDI_DrawText(dc, text, length, &rr, flags | DT_NOPREFIX);
    if (flags & DT_CALCRECT) *r = rr;
    return height;
  }

  // A bitmap without a drawing context: measure in the scratch bitmap, draw
  // the text there over a copy of the target's pixels and copy them back.
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

  int x = r->left, y = r->top;
  if (flags & DT_RIGHT) x = r->right - tw;
  else if (flags & DT_CENTER) x = r->left + (r->right - r->left) / 2 - tw / 2;
  if (flags & DT_BOTTOM) y = r->bottom - th;
  else if (flags & DT_VCENTER) y = r->top + (r->bottom - r->top) / 2 - th / 2;

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
    ::SetTextColor(sdc, ToGdiColour(m_fg));
    ::SetBkMode(sdc, m_bgmode);
    if (m_bgmode == 1) ::SetBkColor(sdc, ToGdiColour(m_bg));
    RECT tr = {x - box.left, y - box.top, x - box.left + tw, y - box.top + th};
    GDI_DrawText(sdc, text, length, &tr, (flags & ~(kAlignFlags | DT_CALCRECT)) | DT_NOCLIP | DT_NOPREFIX);
  }
  // The drawing context ignores the alpha byte: keep the target's own.
  PIX_Blit(scratch, bm, 0, 0, box.left, box.top, bw, bh, 1.0f, PIX_OP_CHANCOPY | 3 | (3 << 2));
  PIX_Blit(bm, scratch, box.left, box.top, 0, 0, bw, bh, m_comb_alpha, PIX_OP_COPY);
  return height;
}
