// The blend-mode word every drawing call takes, and the integer alpha.
//
// Low 8 bits: the combine operator. 0x100: bilinear sampling for scaled,
// rotated and transform blits. 0x10000: weight each pixel by its source
// alpha as well. Operators 6..0xEF select nothing (the call draws nothing);
// 0xF0..0xFF is the channel copy of the plain blit.
//
// Threads: constants and pure inline helpers; no state.
#pragma once

enum {
  PIX_OP_MASK = 0xFF,
  PIX_OP_COPY = 0,
  PIX_OP_ADD = 1,
  PIX_OP_DODGE = 2,
  PIX_OP_MUL = 3,
  PIX_OP_OVERLAY = 4,
  PIX_OP_HSVADJ = 5,
  // Blits only: copy one byte channel. Source byte = mode & 3, destination
  // byte = (mode >> 2) & 3.
  PIX_OP_CHANCOPY = 0xF0,

  PIX_FILTER_BILINEAR = 0x100,
  PIX_USE_SOURCE_ALPHA = 0x10000,

  // What the dispatchers switch on: operator plus the source-alpha flag.
  PIX_OP_SELECTOR_MASK = 0x100FF,
};

// Integer alpha of a drawing call: 0 invisible, 256 full. Blits truncate
// alpha x 256 in double precision, the single-pixel calls in single
// precision. Alphas beyond +-16 saturate at +-PIX_IALPHA_LIMIT so that the
// operators' integer products cannot overflow; NaN counts as 0.
enum { PIX_IALPHA_LIMIT = 4096 };
inline int PIX_IntAlpha(double alpha)
{
  const double v = alpha * 256.0;
  if (!(v > -PIX_IALPHA_LIMIT)) return v != v ? 0 : -PIX_IALPHA_LIMIT;
  if (v > PIX_IALPHA_LIMIT) return PIX_IALPHA_LIMIT;
  return (int)v;
}
inline int PIX_IntAlphaF(float alpha)
{
  const float v = alpha * 256.0f;
  if (!(v > -PIX_IALPHA_LIMIT)) return v != v ? 0 : -PIX_IALPHA_LIMIT;
  if (v > PIX_IALPHA_LIMIT) return PIX_IALPHA_LIMIT;
  return (int)v;
}
