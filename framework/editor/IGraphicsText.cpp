// Text in the editor: fonts made once per process through the font cache,
// text drawn and measured with them (IGraphics.h).

#include <new>

#include "framework/editor/FontStorage.h"
#include "framework/editor/IGraphics.h"
#include "gdi/gdi.h"
#include "pix/pix_cachedfont.h"
#include "pix/pix_sysbitmap.h"

namespace {

int FontQuality(int quality)
{
  switch (quality) {
    case IText::kQualityDefault:
      return DEFAULT_QUALITY;
    case IText::kQualityAntiAliased:
    case IText::kQualityClearType:
      return ANTIALIASED_QUALITY;
    default:
      return NONANTIALIASED_QUALITY;
  }
}

// Gives the cached font a platform font of the text's face at height;
// false when the platform has no such font.
bool SetPlatformFont(PIX_CachedFont* font, const IText* text, int height)
{
  const int escapement = text->mOrientation * 10;
  HFONT platformFont =
      CreateFont(height, 0, escapement, escapement, text->mStyle == IText::kStyleBold ? FW_BOLD : FW_NORMAL,
                 text->mStyle == IText::kStyleItalic, 0, 0, 0, 0, 0,
                 static_cast<char>(FontQuality(text->mQuality)), 0, text->mFont);
  if (!platformFont) return false;
  font->SetFromHFont(platformFont, PIX_FONT_NATIVE | PIX_FONT_OWNS_HFONT);
  return true;
}

// The pixel height that should give a line height of size, from the line
// height a first try at size gave.
int CorrectedHeight(int size, int lineHeight)
{
  const double square = size < 2 ? 4.0 : static_cast<double>(size) * size;
  const int h = ITruncToInt(square / lineHeight + 0.5);
  return h > 2 ? h : 2;
}

// The DT_ flags a text draws with.
int TextFlags(const IText* text, PIX_pixel color)
{
  int flags = DT_NOCLIP;
  if (text->mAlign == IText::kAlignNear) flags |= DT_LEFT;
  else if (text->mAlign == IText::kAlignCenter) flags |= DT_CENTER;
  else flags |= DT_RIGHT;
  if (color < 0xFF000000u) flags |= PIX_DT_USE_FG_ALPHA;
  return flags;
}

// Places a measured extent of w x h in r the way the text aligns.
void AlignMeasured(const IText* text, int w, int h, IRECT* r)
{
  if (text->mAlign == IText::kAlignNear) {
    r->mR = r->mL + w;
  } else if (text->mAlign == IText::kAlignCenter) {
    r->mL = ITruncToInt(r->MW()) - w / 2;
    r->mR = r->mL + w;
  } else {
    r->mL = r->mR - w;
  }
  r->mB = r->mT + h;
}

}  // namespace

PIX_IFont* IGraphics::CacheFont(IText* text)
{
  if (!text) return nullptr;
  PIX_IFont* found = s_fontCache.Find(text);
  if (found) return text->mCached = found;

  PIX_CachedFont* font = new (std::nothrow) PIX_CachedFont;
  if (!font) return nullptr;
  const int height = text->mSize > 2 ? text->mSize : 2;
  bool made = SetPlatformFont(font, text, height);
  // Faces whose line height differs from the pixel height asked for get one
  // more try at the height that should give the asked size; a font whose
  // line height could not be read keeps its first size.
  const int lineHeight = font->GetLineHeight();
  if (made && lineHeight != height && lineHeight > 0)
    made = SetPlatformFont(font, text, CorrectedHeight(text->mSize, lineHeight));
  if (!made) {
    delete font;
    return nullptr;
  }
  // A font the cache could not take stays alive: the text points at it.
  s_fontCache.Add(font, text);
  return text->mCached = font;
}

bool IGraphics::DrawIText(IText* text, const char* str, IRECT* r, bool measure)
{
  if (!str || !str[0]) return true;
  if (!text) return false;
  PIX_IFont* font = text->mCached ? text->mCached : CacheFont(text);
  if (!font) return false;
  if (!r) return true;
  const PIX_pixel color = text->mColor.ToPixel();
  font->SetTextColor(color);
  const int flags = TextFlags(text, color);
  if (!measure) {
    RECT rect = {r->mL, r->mT, r->mR, r->mB};
    font->DrawText(GetDrawBitmap(), str, -1, &rect, flags);
    return true;
  }
  // Measuring needs no pixels, so it makes no draw bitmap.
  RECT extent = {0, 0, 0, 0};
  font->DrawText(nullptr, str, -1, &extent, flags | DT_CALCRECT);
  AlignMeasured(text, extent.right - extent.left, extent.bottom - extent.top, r);
  return true;
}
