#include "base/base64.h"

#include <climits>

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Six-bit value of an alphabet character, -1 for anything else.
int SextetOf(char c)
{
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

int BASE_Base64EncodedLength(int size)
{
  if (size < 0) return -1;
  const long long chars = (static_cast<long long>(size) + 2) / 3 * 4;
  return chars > INT_MAX ? -1 : static_cast<int>(chars);
}

int BASE_Base64Encode(const void* data, int size, char* text, int textSize)
{
  if (!text || textSize < 1) return -1;
  text[0] = '\0';
  const int chars = BASE_Base64EncodedLength(size);
  if (chars < 0 || (size > 0 && !data) || chars > textSize - 1) return -1;

  const unsigned char* in = static_cast<const unsigned char*>(data);
  char* out = text;
  for (int i = 0; i < size; i += 3) {
    const int left = size - i;
    const unsigned int group = (static_cast<unsigned int>(in[i]) << 16) |
                               (left > 1 ? static_cast<unsigned int>(in[i + 1]) << 8 : 0u) |
                               (left > 2 ? static_cast<unsigned int>(in[i + 2]) : 0u);
    *out++ = kAlphabet[(group >> 18) & 0x3F];
    *out++ = kAlphabet[(group >> 12) & 0x3F];
    *out++ = left > 1 ? kAlphabet[(group >> 6) & 0x3F] : '=';
    *out++ = left > 2 ? kAlphabet[group & 0x3F] : '=';
  }
  *out = '\0';
  return chars;
}

int BASE_Base64Decode(const char* text, void* dest, int destSize, int textLength)
{
  if (!text || !dest || destSize <= 0) return 0;
  unsigned char* out = static_cast<unsigned char*>(dest);
  unsigned int pending = 0;  // only the low bits count; at most 13 are in use
  int pendingBits = 0;
  int written = 0;
  for (int i = 0; written < destSize && (textLength < 0 || i < textLength); ++i) {
    const int sextet = SextetOf(text[i]);
    if (sextet < 0) break;
    pending = ((pending << 6) | static_cast<unsigned int>(sextet)) & 0x3FFFu;
    pendingBits += 6;
    if (pendingBits >= 8) {
      pendingBits -= 8;
      out[written++] = static_cast<unsigned char>(pending >> pendingBits);
    }
  }
  return written;
}
