#pragma once
// Colours of the artwork as float channels (0..255) and the few colour
// operations the drawing needs.
//
// Threads: plain values; no state.

#include "pix/pix_pixel.h"

struct ArtRGB {
  float r, g, b;
};

inline float ArtClamp(float v, float lo, float hi) { return v < lo ? lo : (v > hi ? hi : v); }

inline ArtRGB ArtMix(ArtRGB a, ArtRGB b, float t)
{
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
inline ArtRGB ArtScale(ArtRGB a, float k) { return {a.r * k, a.g * k, a.b * k}; }

// Opaque pixel, channels rounded and clamped.
inline PIX_pixel ArtPixel(ArtRGB c)
{
  return PIX_MakeColor(255, (int)(ArtClamp(c.r, 0, 255) + 0.5f), (int)(ArtClamp(c.g, 0, 255) + 0.5f),
                       (int)(ArtClamp(c.b, 0, 255) + 0.5f));
}

// A colour from 0xRRGGBB.
inline ArtRGB ArtHex(unsigned rgb)
{
  return {(float)((rgb >> 16) & 0xFF), (float)((rgb >> 8) & 0xFF), (float)(rgb & 0xFF)};
}

// Deterministic noise in -1..1 for a pixel and a seed: the same position
// always gives the same value on every machine.
inline float ArtNoise(int x, int y, unsigned seed)
{
  unsigned h = (unsigned)x * 0x8DA6B343u ^ (unsigned)y * 0xD8163841u ^ seed * 0xCB1AB31Fu;
  h ^= h >> 13;
  h *= 0x5BD1E995u;
  h ^= h >> 15;
  return (float)(h & 0xFFFF) / 32767.5f - 1.0f;
}
