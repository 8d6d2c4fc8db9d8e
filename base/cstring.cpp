#include "base/cstring.h"

#include <cstring>

void BASE_CopyString(char* dest, const char* src, size_t destSize)
{
  if (!dest || destSize == 0) return;
  size_t n = 0;
  if (src) {
    while (n + 1 < destSize && src[n]) ++n;
    std::memcpy(dest, src, n);
  }
  dest[n] = '\0';
}
