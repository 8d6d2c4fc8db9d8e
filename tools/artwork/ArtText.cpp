#include "tools/artwork/ArtText.h"

#include <cmath>

#include "gdi/gdi.h"
#include "pix/pix_utf8.h"

ArtFont::ArtFont(const char* face, int px, bool bold)
{
  HFONT font =
      CreateFont(px, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, 0, 0, 0, ANTIALIASED_QUALITY, 0, face);
  m_font.SetFromHFont(font, PIX_FONT_OWNS_HFONT);
}

int ArtFont::Measure(const char* text, float tracking)
{
  const float end = Walk(nullptr, text, 0.0f, 0, tracking);
  return (int)std::lround(end > 0.0f ? end - tracking : 0.0f);
}

float ArtFont::Walk(PIX_IBitmap* bm, const char* text, float x, int top, float tracking)
{
  // Letter by letter, so that tracking can open a word up; measuring and
  // drawing take the same path and so agree on every width.
  float pen = x;
  for (const char* p = text; *p;) {
    unsigned short c = 0;
    const int n = utf8char(p, &c);
    if (bm) {
      RECT box = {(int)std::lround(pen), top, bm->getWidth(), top + m_font.GetLineHeight()};
      m_font.DrawText(bm, p, n, &box, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    }
    RECT size = {0, 0, 0, 0};
    m_font.DrawText(nullptr, p, n, &size, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    pen += (float)size.right + tracking;
    p += n;
  }
  return pen;
}

void ArtFont::DrawAt(PIX_IBitmap* bm, const char* text, float x, int top, ArtRGB colour, float alpha,
                     float tracking)
{
  m_font.SetTextColor(ArtPixel(colour));
  m_font.SetCombineMode(0, alpha);
  Walk(bm, text, x, top, tracking);
}

void ArtFont::DrawCentred(PIX_IBitmap* bm, const char* text, float cx, int top, ArtRGB colour, float alpha,
                          float tracking)
{
  DrawAt(bm, text, std::floor(cx - Measure(text, tracking) * 0.5f + 0.5f), top, colour, alpha, tracking);
}

void ArtFont::DrawRight(PIX_IBitmap* bm, const char* text, int right, int top, ArtRGB colour, float alpha)
{
  DrawAt(bm, text, (float)(right - Measure(text)), top, colour, alpha, 0.0f);
}

void ArtFont::DrawEngraved(PIX_IBitmap* bm, const char* text, float cx, int top, ArtRGB colour,
                           float tracking)
{
  DrawCentred(bm, text, cx, top + 1, ArtHex(0xFFE2C8), 0.30f, tracking);
  DrawCentred(bm, text, cx, top - 1, ArtHex(0x000000), 0.18f, tracking);
  DrawCentred(bm, text, cx, top, colour, 1.0f, tracking);
}
