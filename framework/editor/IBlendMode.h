#pragma once
// The rasteriser weight and blend-mode word a drawing operation uses for an
// IChannelBlend. Drawing code only: it includes the rasteriser's constants.
//
// Threads: a pure function.

#include "framework/editor/IChannelBlend.h"
#include "pix/pix_blendmode.h"

struct IBlendMode {
  float mWeight;
  int mMode;
};

// No blend: full weight, copy weighted by source alpha. Method 1 copies
// ignoring source alpha; 2 adds and 3 dodges, both weighted by source
// alpha; any other method blends by source alpha.
inline IBlendMode BlendModeOf(const IChannelBlend* blend)
{
  if (!blend) return {1.0f, PIX_OP_COPY | PIX_USE_SOURCE_ALPHA};
  switch (blend->mMethod) {
    case IChannelBlend::kBlendClobber:
      return {blend->mWeight, PIX_OP_COPY};
    case IChannelBlend::kBlendAdd:
      return {blend->mWeight, PIX_OP_ADD | PIX_USE_SOURCE_ALPHA};
    case IChannelBlend::kBlendColorDodge:
      return {blend->mWeight, PIX_OP_DODGE | PIX_USE_SOURCE_ALPHA};
    default:
      return {blend->mWeight, PIX_USE_SOURCE_ALPHA};
  }
}
