#include "framework/ISysEx.h"

char* SysExStr(char* str, int capacity, const unsigned char* data, int size)
{
  if (!str || capacity < 1) return str;
  str[0] = '\0';
  if (!data || size <= 0) return str;
  const int n = size < capacity / 3 ? size : capacity / 3;
  static const char kHex[] = "0123456789ABCDEF";
  char* out = str;
  for (int i = 0; i < n; ++i) {
    *out++ = kHex[data[i] >> 4];
    *out++ = kHex[data[i] & 0x0F];
    *out++ = ' ';
  }
  if (n > 0) out[-1] = '\0';
  return str;
}
