#pragma once
// How a drawing operation combines with the editor's bitmap: a method and a
// weight 0.0-1.0. The mapping to the rasteriser's blend-mode words is in
// IBlendMode.h (the editor's drawing code only).
//
// Threads: a plain value.

struct IChannelBlend {
  // Stored as int: a method outside 0-3 draws as kBlendNone.
  enum EBlendMethod : int {
    kBlendNone = 0,        // blend by source alpha
    kBlendClobber = 1,     // opaque overwrite, source alpha ignored
    kBlendAdd = 2,         // additive
    kBlendColorDodge = 3,  // colour dodge
  };

  EBlendMethod mMethod = kBlendNone;
  float mWeight = 1.0f;

  IChannelBlend() {}
  explicit IChannelBlend(EBlendMethod method, float weight = 1.0f) : mMethod(method), mWeight(weight) {}
};
