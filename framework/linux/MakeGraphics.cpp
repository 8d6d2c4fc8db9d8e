#include <new>

#include "framework/linux/IGraphicsLinux.h"

namespace {
// The resource set the effect's images are built into.
const char* const kBundleID = "com.Lumenfold.vst.Quarry";
}  // namespace

IGraphicsLinux* MakeGraphics(IEffectBase* plug, int w, int h, int fps)
{
  IGraphicsLinux* graphics = new (std::nothrow) IGraphicsLinux(plug, w, h, fps);
  if (graphics) graphics->SetBundleID(kBundleID);
  return graphics;
}
