// Choosing the combine operator once per drawing call.
//
// A drawing loop is written once as a generic callable taking a tag; the
// selector calls it with the tag of the operator the blend-mode word and the
// integer alpha select, so the loop is instantiated per operator and the
// per-pixel work is inlined:
//
//   PIX_SelectBlitOperator(mode, ia, [&](auto tag) {
//     using Op = typename decltype(tag)::type;
//     ... Op::doPix(dest, r, g, b, a, ia) ...
//   });
//
// Threads: stateless; any thread.
#pragma once

#include "pix/pix_blendmode.h"
#include "pix/pix_combine.h"

template <class Op>
struct PIX_OpTag {
  typedef Op type;
};

// Blits and the single-pixel dispatchers: selector = mode & 0x100FF.
// Copy: plain store at ia 256, blending copy for other positive ia, nothing
// for ia <= 0. Copy + source alpha: the ignore-alpha operator at 256, the
// source-alpha copy otherwise. Add, dodge, multiply, overlay and HSV adjust:
// their operator, or its source-alpha variant. Returns false (and runs
// nothing) for ia 0 and for selectors without an operator.
template <class F>
inline bool PIX_SelectBlitOperator(int mode, int ia, F&& run)
{
  if (ia == 0) return false;
  switch (mode & PIX_OP_SELECTOR_MASK) {
    case PIX_OP_COPY:
      if (ia == 256) run(PIX_OpTag<_PIX_CombinePixelsClobberNoClamp>());
      else if (ia > 0) run(PIX_OpTag<_PIX_CombinePixelsCopyNoClamp>());
      else return false;
      return true;
    case PIX_OP_ADD:
      run(PIX_OpTag<_PIX_CombinePixelsAdd>());
      return true;
    case PIX_OP_DODGE:
      run(PIX_OpTag<_PIX_CombinePixelsColorDodge>());
      return true;
    case PIX_OP_MUL:
      run(PIX_OpTag<_PIX_CombinePixelsMulNoClamp>());
      return true;
    case PIX_OP_OVERLAY:
      run(PIX_OpTag<_PIX_CombinePixelsOverlay>());
      return true;
    case PIX_OP_HSVADJ:
      run(PIX_OpTag<_PIX_CombinePixelsHSVAdjust>());
      return true;
    case PIX_USE_SOURCE_ALPHA | PIX_OP_COPY:
      if (ia == 256) run(PIX_OpTag<_PIX_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp>());
      else run(PIX_OpTag<_PIX_CombinePixelsCopySourceAlphaNoClamp>());
      return true;
    case PIX_USE_SOURCE_ALPHA | PIX_OP_ADD:
      run(PIX_OpTag<_PIX_CombinePixelsAddSourceAlpha>());
      return true;
    case PIX_USE_SOURCE_ALPHA | PIX_OP_DODGE:
      run(PIX_OpTag<_PIX_CombinePixelsColorDodgeSourceAlpha>());
      return true;
    case PIX_USE_SOURCE_ALPHA | PIX_OP_MUL:
      run(PIX_OpTag<_PIX_CombinePixelsMulSourceAlphaNoClamp>());
      return true;
    case PIX_USE_SOURCE_ALPHA | PIX_OP_OVERLAY:
      run(PIX_OpTag<_PIX_CombinePixelsOverlaySourceAlpha>());
      return true;
    case PIX_USE_SOURCE_ALPHA | PIX_OP_HSVADJ:
      run(PIX_OpTag<_PIX_CombinePixelsHSVAdjustSourceAlpha>());
      return true;
    default:
      return false;
  }
}

// Loops that mix a solid colour and ignore the source-alpha flag (fills,
// lines, circles, glyphs): operators 1..5 by the operator field alone.
// Copy is not handled here: its word-parallel and store forms depend on the
// loop. Returns false for other operators.
template <class F>
inline bool PIX_SelectColorOperator(int mode, F&& run)
{
  switch (mode & PIX_OP_MASK) {
    case PIX_OP_ADD:
      run(PIX_OpTag<_PIX_CombinePixelsAdd>());
      return true;
    case PIX_OP_DODGE:
      run(PIX_OpTag<_PIX_CombinePixelsColorDodge>());
      return true;
    case PIX_OP_MUL:
      run(PIX_OpTag<_PIX_CombinePixelsMulNoClamp>());
      return true;
    case PIX_OP_OVERLAY:
      run(PIX_OpTag<_PIX_CombinePixelsOverlay>());
      return true;
    case PIX_OP_HSVADJ:
      run(PIX_OpTag<_PIX_CombinePixelsHSVAdjust>());
      return true;
    default:
      return false;
  }
}
