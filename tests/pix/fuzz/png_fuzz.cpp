// Feeds arbitrary bytes to the memory loader, with and without a target
// bitmap: it must never crash, leak or read outside the buffer, and a failed
// load must leave the target as it was.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "pix/pix_membitmap.h"
#include "pix/pix_png.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size > 1 << 24) return 0;
  // An exact-size copy so that any read past the end is caught.
  std::vector<uint8_t> bytes(data, data + size);
  const int len = static_cast<int>(size);

  PIX_IBitmap* loaded = PIX_LoadPNGFromMemory(bytes.data(), len, nullptr);
  if (loaded) {
    const int w = loaded->getWidth(), h = loaded->getHeight();
    if (w <= 0 || h <= 0 || !loaded->getBits()) std::abort();
    // Touch the last pixel so that a short bitmap shows up.
    volatile PIX_pixel last = loaded->getBits()[static_cast<size_t>(h - 1) * loaded->getRowSpan() + w - 1];
    (void)last;
  }

  PIX_MemBitmap target(3, 2, 4);
  for (int i = 0; i < 2 * target.getRowSpan(); ++i) target.getBits()[i] = 0x5A5A5A5Au + i;
  PIX_IBitmap* into = PIX_LoadPNGFromMemory(bytes.data(), len, &target);
  if ((into != nullptr) != (loaded != nullptr)) std::abort();
  if (into) {
    if (into != &target || target.getWidth() != loaded->getWidth() ||
        target.getHeight() != loaded->getHeight())
      std::abort();
    for (int y = 0; y < target.getHeight(); ++y) {
      if (std::memcmp(target.getBits() + static_cast<size_t>(y) * target.getRowSpan(),
                      loaded->getBits() + static_cast<size_t>(y) * loaded->getRowSpan(),
                      sizeof(PIX_pixel) * target.getWidth()) != 0) {
        std::abort();
      }
    }
  } else {
    if (target.getWidth() != 3 || target.getHeight() != 2) std::abort();
    for (int i = 0; i < 2 * target.getRowSpan(); ++i) {
      if (target.getBits()[i] != 0x5A5A5A5Au + i) std::abort();
    }
  }
  delete loaded;
  return 0;
}
