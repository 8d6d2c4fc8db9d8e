// Images in the editor: loading through the process-wide cache, handing
// bitmaps to it and taking them back, and scaled and cropped copies
// (IGraphics.h).

#include <new>

#include "framework/editor/BitmapStorage.h"
#include "framework/editor/IGraphics.h"
#include "pix/pix_blendmode.h"
#include "pix/pix_blit.h"
#include "pix/pix_membitmap.h"

namespace {

// Hands a new bitmap to the cache and describes it. A bitmap without
// pixels (a size of 0, or memory short) is dropped for an empty image.
IBitmap Registered(PIX_MemBitmap* bitmap, int frames)
{
  if (!bitmap || !bitmap->getBits()) {
    delete bitmap;
    return IBitmap(nullptr, 0, 0, frames, false);
  }
  // A bitmap the cache could not take stays alive: the caller points at it.
  s_bitmapCache.Add(bitmap, -1);
  return IBitmap(bitmap, bitmap->getWidth(), bitmap->getHeight(), frames, false);
}

}  // namespace

IBitmap IGraphics::LoadIBitmap(int id, const char* name, int frames, bool framesAreHorizontal)
{
  PIX_IBitmap* data = s_bitmapCache.Find(id);
  if (!data) {
    data = OSLoadBitmap(id, name);
    // A bitmap the cache could not take stays alive: controls point at it.
    if (data) s_bitmapCache.Add(data, id);
  }
  if (!data) return IBitmap(nullptr, 0, 0, frames, framesAreHorizontal);
  return IBitmap(data, data->getWidth(), data->getHeight(), frames, framesAreHorizontal);
}

void IGraphics::RetainBitmap(IBitmap* bitmap)
{
  if (bitmap && bitmap->mData) s_bitmapCache.Add(bitmap->mData, -1);
}

void IGraphics::ReleaseBitmap(IBitmap* bitmap)
{
  if (!bitmap || !bitmap->mData) return;
  s_bitmapCache.Remove(bitmap->mData);
  // The caller's description no longer points at freed pixels.
  *bitmap = IBitmap(nullptr, 0, 0, bitmap->mN, bitmap->mFramesAreHorizontal);
}

IBitmap IGraphics::ScaleBitmap(IBitmap* bitmap, int w, int h)
{
  if (!bitmap || !bitmap->mData) return IBitmap();
  PIX_MemBitmap* scaled = new (std::nothrow) PIX_MemBitmap(w, h, 4);
  if (!scaled) return IBitmap();
  PIX_ScaledBlit(scaled, bitmap->mData, 0, 0, w, h, 0.0f, 0.0f, static_cast<float>(bitmap->mW),
                 static_cast<float>(bitmap->mH), 1.0f, PIX_FILTER_BILINEAR);
  return Registered(scaled, bitmap->mN);
}

IBitmap IGraphics::CropBitmap(IBitmap* bitmap, IRECT* r)
{
  if (!bitmap || !bitmap->mData || !r) return IBitmap();
  PIX_MemBitmap* cropped = new (std::nothrow) PIX_MemBitmap(r->W(), r->H(), 4);
  if (!cropped) return IBitmap();
  // The part of r outside the source stays transparent rather than
  // keeping whatever the new memory held.
  PIX_Clear(cropped, 0);
  PIX_Blit(cropped, bitmap->mData, 0, 0, r->mL, r->mT, r->W(), r->H(), 1.0f, PIX_OP_COPY);
  return Registered(cropped, bitmap->mN);
}
