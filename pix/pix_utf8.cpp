#include "pix/pix_utf8.h"

namespace {

bool IsContinuation(const unsigned char* p, int count, int avail)
{
  if (count >= avail) return false;
  for (int i = 1; i <= count; ++i)
    if ((p[i] & 0xC0) != 0x80) return false;
  return true;
}

}  // namespace

int utf8char(const char* text, unsigned short* out, int avail)
{
  if (avail < 1) return 0;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  const unsigned char c = p[0];
  if (c >= 0xC2 && c <= 0xDF && IsContinuation(p, 1, avail)) {
    *out = (unsigned short)(((c & 0x1F) << 6) | (p[1] & 0x3F));
    return 2;
  }
  if (c >= 0xE0 && c <= 0xEF && IsContinuation(p, 2, avail)) {
    *out = (unsigned short)(((c & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F));
    return 3;
  }
  if (c >= 0xF0 && c <= 0xF4 && IsContinuation(p, 3, avail)) {
    // Beyond 16 bits: kept in its place as a space.
    *out = ' ';
    return 4;
  }
  *out = c;
  return 1;
}

int PIX_EncodeUTF8(unsigned short c, char* out)
{
  if (c < 0x80) {
    out[0] = (char)c;
    return 1;
  }
  if (c < 0x800) {
    out[0] = (char)(0xC0 | (c >> 6));
    out[1] = (char)(0x80 | (c & 0x3F));
    return 2;
  }
  out[0] = (char)(0xE0 | (c >> 12));
  out[1] = (char)(0x80 | ((c >> 6) & 0x3F));
  out[2] = (char)(0x80 | (c & 0x3F));
  return 3;
}
