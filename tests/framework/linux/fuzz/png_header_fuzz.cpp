// Reading an image's size from untrusted PNG header bytes (a user's
// override file): never reads past the buffer, and whatever it accepts is
// a positive size within the format's limit.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "framework/linux/LinuxResources.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  int w = -1, h = -1;
  if (LinuxPngHeaderSize(data, size, &w, &h) && (w <= 0 || h <= 0 || size < 24)) std::abort();
  return 0;
}
