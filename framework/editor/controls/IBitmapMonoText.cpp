#include "framework/editor/controls/IBitmapMonoText.h"

#include <cstring>

#include "framework/editor/IGraphics.h"

namespace {

// The frame of a character's glyph: frame 1 is the space (code 32) and the
// rest follow in code order. Codes the font has no glyph for show the space.
int GlyphFrame(char c, int frames)
{
  const int frame = static_cast<unsigned char>(c) - 31;
  return frame >= 1 && frame <= frames ? frame : 1;
}

// Where a line of the given width starts in r.
long long LineStart(const IRECT* r, const IText* text, long long width)
{
  const int align = text ? text->mAlign : IText::kAlignCenter;
  if (align == IText::kAlignNear) return r->mL;
  if (align == IText::kAlignCenter) return r->mL + (r->W() - width) / 2;
  return r->mR - width;
}

}  // namespace

bool DrawBitmapedText(IGraphics* graphics, IBitmap* font, IRECT* r, IText* text, IChannelBlend* blend,
                      const char* str, bool vCentre, bool multiline, int glyphW, int glyphH, int gap)
{
  if (!graphics || !font || !r || !str || !str[0] || glyphW <= 0) return true;
  const long long length = static_cast<long long>(std::strlen(str));
  const long long stringW = length * glyphW;
  const int room = r->W();
  const long long perLine = multiline && stringW <= room ? length : room / glyphW;
  if (perLine <= 0) return true;
  // Aligned by the widest line drawn: a text cut or wrapped to the
  // rectangle stays inside it.
  const long long x = LineStart(r, text, (perLine < length ? perLine : length) * glyphW);
  const long long y = vCentre ? r->mT + (r->H() - glyphH) / 2 : r->mT;
  // Without wrapping only the first line is drawn; wrapped, as many lines
  // as the text fills.
  const long long lines = multiline ? (length + perLine - 1) / perLine : 1;
  const int frames = font->Frames();
  long long i = 0;
  for (long long line = 0; line < lines && i < length; ++line) {
    const long long top = y + line * glyphH;
    for (long long column = 0; column < perLine && i < length; ++column, ++i) {
      const long long left = x + column * (static_cast<long long>(glyphW) + gap);
      IRECT glyph(static_cast<int>(left), static_cast<int>(top), static_cast<int>(left + glyphW),
                  static_cast<int>(top + glyphH));
      graphics->DrawBitmap(font, &glyph, GlyphFrame(str[i], frames), blend);
    }
  }
  return true;
}

IBitmapTextControl::IBitmapTextControl(IEffectBase* plug, IRECT rect, IBitmap* font, const char* str,
                                       IText* text, int charWidth, int charHeight, int charOffset,
                                       bool multiLine, bool vCentre)
    : IControl(plug, rect), mStr(str), mCharWidth(charWidth), mCharHeight(charHeight),
      mCharOffset(charOffset), mTextBitmap(BitmapOrEmpty(font)), mMultiLine(multiLine), mVCentre(vCentre)
{
  if (text) mText = *text;
}

bool IBitmapTextControl::Draw(IGraphics* graphics)
{
  if (mStr.GetLength() == 0) return true;
  return DrawBitmapedText(graphics, &mTextBitmap, &mRECT, &mText, &mBlend, mStr.Get(), mVCentre, mMultiLine,
                          mCharWidth, mCharHeight, mCharOffset);
}

void IBitmapTextControl::SetTextFromPlug(const char* str) { UpdateText(&mStr, str); }
