#include "tools/artwork/ArtKnob.h"

#include <cmath>

#include "pix/pix_blendmode.h"
#include "pix/pix_vector.h"
#include "tools/artwork/ArtCanvas.h"
#include "tools/artwork/ArtLayout.h"

using namespace ArtLayout;

namespace {

const int kRibs = 28;

// Light falls from the top left: brightness of a surface facing (dx, dy).
float Lit(float dx, float dy) { return ArtClamp(-(dx + dy) * 0.7071f, -1.0f, 1.0f); }

void DrawKnob(ArtCanvas& c, float value)
{
  const float cx = kKnobSize * 0.5f, cy = kKnobSize * 0.5f;
  const float angle = KnobAngle(value);
  const float turn = angle;
  const float sa = std::sin(angle), ca = -std::cos(angle);

  // Skirt with ribs that turn with the knob.
  c.ShadeDisc(cx, cy, kKnobRadius, [&](float dx, float dy, ArtRGB* col) {
    const float d = std::sqrt(dx * dx + dy * dy);
    const float a = std::atan2(dx, -dy) - turn;
    const float light = Lit(dx / (d > 0 ? d : 1), dy / (d > 0 ? d : 1));
    const float ridge = 0.5f + 0.5f * std::cos(a * kRibs);
    ArtRGB s = ArtScale(ArtHex(0x1C1C1F), 1.0f + 0.6f * light * d);
    s = ArtMix(s, ArtHex(0x55555C), ridge * (0.20f + 0.30f * ArtClamp(light, 0, 1)));
    *col = s;
    return 1.0f;
  });
  // Bevel between skirt and cap.
  c.Disc(cx, cy, 19.5f, ArtHex(0x0C0C0D));
  // Domed cap: dark, with a soft highlight towards the light.
  c.ShadeDisc(cx, cy, 18.5f, [&](float dx, float dy, ArtRGB* col) {
    const float hx = dx + 0.42f, hy = dy + 0.48f;
    const float sheen = std::exp(-(hx * hx + hy * hy) * 3.2f);
    const float rim = std::sqrt(dx * dx + dy * dy);
    ArtRGB s = ArtScale(ArtHex(0x26262A), 1.0f + 0.35f * Lit(dx, dy) * rim);
    s = ArtMix(s, ArtHex(0x8A8A92), sheen * 0.55f);
    *col = s;
    return 1.0f;
  });
  // Rim highlight on the lit side, shade on the other.
  PIX_Arc(c.Hi(), ArtCanvas::S(cx), ArtCanvas::S(cy), ArtCanvas::S(kKnobRadius - 0.6f), -2.0f, 0.4f,
          ArtPixel(ArtHex(0x9A9AA2)), 0.55f, PIX_OP_COPY, true);
  PIX_Arc(c.Hi(), ArtCanvas::S(cx), ArtCanvas::S(cy), ArtCanvas::S(18.2f), -2.2f, 0.6f,
          ArtPixel(ArtHex(0xB8B8C0)), 0.45f, PIX_OP_COPY, true);

  // Pointer: a cream line from near the centre across the skirt.
  const ArtRGB cream = ArtHex(0xF4EBD6);
  c.Stroke(cx + sa * 5.0f, cy + ca * 5.0f, cx + sa * 23.0f, cy + ca * 23.0f, 4.2f, ArtHex(0x050505), 0.6f);
  c.Stroke(cx + sa * 5.5f, cy + ca * 5.5f, cx + sa * 22.5f, cy + ca * 22.5f, 3.0f, cream);
}

}  // namespace

void DrawKnobStrip(PIX_IBitmap* strip)
{
  strip->resize(kKnobSize, kKnobSize * kKnobFrames);
  for (int i = 0; i < kKnobFrames; ++i) {
    ArtCanvas frame(kKnobSize, kKnobSize);
    DrawKnob(frame, (float)i / (float)(kKnobFrames - 1));
    frame.Resolve(strip, 0, i * kKnobSize);
  }
}
