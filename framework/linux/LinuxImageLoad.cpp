// Decoding of the images LinuxFindImage locates; kept apart so that a
// module needing only the lookups does not link the decoder.

#include "framework/linux/LinuxResources.h"
#include "pix/pix_png.h"

PIX_IBitmap* LinuxLoadImage(const char* bundleId, const char* name, const char* overrideFolder)
{
  LinuxImageSource source;
  if (!LinuxFindImage(bundleId, name, &source, overrideFolder)) return nullptr;
  return LinuxDecodeImage(source);
}

PIX_IBitmap* LinuxDecodeImage(const LinuxImageSource& source)
{
  if (source.path.GetLength()) return PIX_LoadPNG(source.path.Get(), nullptr);
  if (!source.builtIn || source.builtIn->size > 0x7FFFFFFF) return nullptr;
  return PIX_LoadPNGFromMemory(source.builtIn->data, (int)source.builtIn->size, nullptr);
}
