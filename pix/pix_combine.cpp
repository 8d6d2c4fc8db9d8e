#include "pix/pix_combine.h"

#include "pix/pix_opselect.h"

namespace {
struct ReciprocalTable {
  int t[256];
  constexpr ReciprocalTable() : t()
  {
    t[0] = 0;
    for (int x = 1; x < 256; ++x) t[x] = 65536 / x - 1;
  }
};
constexpr ReciprocalTable kReciprocal;
}  // namespace

const int PIX_HSVReciprocal[256] = {
#define R4(i) kReciprocal.t[i], kReciprocal.t[i + 1], kReciprocal.t[i + 2], kReciprocal.t[i + 3]
#define R16(i) R4(i), R4(i + 4), R4(i + 8), R4(i + 12)
#define R64(i) R16(i), R16(i + 16), R16(i + 32), R16(i + 48)
    R64(0), R64(64), R64(128), R64(192)
#undef R64
#undef R16
#undef R4
};

void PIX_CombinePixels2(PIX_pixel* p, int r, int g, int b, int a, int ia, int mode)
{
  unsigned char* d = (unsigned char*)p;
  PIX_SelectBlitOperator(mode, ia, [&](auto tag) {
    typedef typename decltype(tag)::type Op;
    Op::doPix(d, r, g, b, a, ia);
  });
}

PIX_pixel PIX_CombinePixels(PIX_pixel dest, PIX_pixel src, float alpha, int mode)
{
  PIX_CombinePixels2(&dest, PIX_GetR(src), PIX_GetG(src), PIX_GetB(src), PIX_GetA(src), PIX_IntAlphaF(alpha),
                     mode);
  return dest;
}

void PIX_CombinePixels2Clamp(PIX_pixel* p, int r, int g, int b, int a, int ia, int mode)
{
  unsigned char* d = (unsigned char*)p;
  if (ia == 0) return;
  switch (mode & PIX_OP_SELECTOR_MASK) {
    case PIX_OP_COPY:
      if (ia == 256) _PIX_CombinePixelsClobberClamp::doPix(d, r, g, b, a, ia);
      else if (ia > 0) _PIX_CombinePixelsCopyClamp::doPix(d, r, g, b, a, ia);
      return;
    case PIX_OP_MUL:
      _PIX_CombinePixelsMulClamp::doPix(d, r, g, b, a, ia);
      return;
    default:
      PIX_CombinePixels2(p, r, g, b, a, ia, mode);
      return;
  }
}
