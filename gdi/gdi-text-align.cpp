// Placing aligned text: the corner a block of text starts at in a rectangle.

#include "gdi/gdi-text-align.h"

namespace {

int AlignAxis(int start, int end, int size, bool toEnd, bool centre, GDI_Centring centring)
{
  if (toEnd) return end - size;
  if (!centre) return start;
  if (centring == GDI_CENTRE_HALVES) return start + (end - start) / 2 - size / 2;
  return start + (end - start - size) / 2;
}

}  // namespace

POINT GDI_AlignText(const RECT& r, int width, int height, int flags, GDI_Centring centring)
{
  return {AlignAxis(r.left, r.right, width, (flags & DT_RIGHT) != 0, (flags & DT_CENTER) != 0, centring),
          AlignAxis(r.top, r.bottom, height, (flags & DT_BOTTOM) != 0, (flags & DT_VCENTER) != 0, centring)};
}
