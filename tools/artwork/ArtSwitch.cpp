#include "tools/artwork/ArtSwitch.h"

#include <cmath>

#include "pix/pix_blendmode.h"
#include "pix/pix_vector.h"
#include "tools/artwork/ArtCanvas.h"
#include "tools/artwork/ArtLayout.h"

using namespace ArtLayout;

namespace {

// Brushed chrome: bright towards the light, a dark band across the middle
// as polished metal reflects the room.
ArtRGB Chrome(float dx, float dy)
{
  const float t = ArtClamp(0.5f + 0.5f * (dx * 0.35f + dy * 0.94f), 0, 1);
  const float band = std::exp(-(t - 0.55f) * (t - 0.55f) * 40.0f);
  ArtRGB c = ArtMix(ArtHex(0xF2F3F5), ArtHex(0x8C9096), t);
  return ArtMix(c, ArtHex(0x5A5E64), band * 0.6f);
}

void DrawNut(ArtCanvas& c, float cx, float cy, float r)
{
  // A hexagon with flat top and bottom, each face lit by where it points.
  int xs[6], ys[6];
  for (int i = 0; i < 6; ++i) {
    const float a = kPi / 6.0f + i * kPi / 3.0f;
    xs[i] = (int)std::lround(ArtCanvas::S(cx + r * std::sin(a)));
    ys[i] = (int)std::lround(ArtCanvas::S(cy - r * std::cos(a)));
  }
  PIX_FillConvexPolygon(c.Hi(), xs, ys, 6, ArtPixel(ArtHex(0x7C8086)), 1.0f, PIX_OP_COPY);
  for (int i = 0; i < 6; ++i) {
    const int j = (i + 1) % 6;
    const float mid = kPi / 3.0f + i * kPi / 3.0f;  // outward direction of the face
    const float light = -(std::sin(mid) - std::cos(mid)) * 0.7071f;
    const int tx[3] = {xs[i], xs[j], (int)std::lround(ArtCanvas::S(cx))};
    const int ty[3] = {ys[i], ys[j], (int)std::lround(ArtCanvas::S(cy))};
    const ArtRGB face = light > 0 ? ArtHex(0xE4E6EA) : ArtHex(0x3A3D42);
    PIX_FillConvexPolygon(c.Hi(), tx, ty, 3, ArtPixel(face), 0.55f * std::fabs(light), PIX_OP_COPY);
  }
}

void DrawFootswitch(ArtCanvas& c, float cx, float cy)
{
  c.SoftShadow(cx + 2.0f, cy + 3.0f, 27.0f, 5.0f, 0.55f);
  DrawNut(c, cx, cy, 30.0f);
  // Threaded collar, then the plunger's cap.
  c.ShadeDisc(cx, cy, 21.0f, [&](float dx, float dy, ArtRGB* col) {
    const float d = std::sqrt(dx * dx + dy * dy);
    *col = ArtMix(Chrome(-dx, -dy), ArtHex(0x2A2C30), 0.35f + 0.25f * std::cos(d * 60.0f));
    return 1.0f;
  });
  c.SoftShadow(cx + 1.0f, cy + 1.5f, 15.0f, 2.0f, 0.5f);
  c.ShadeDisc(cx, cy, 15.5f, [&](float dx, float dy, ArtRGB* col) {
    const float hx = dx + 0.35f, hy = dy + 0.45f;
    *col = ArtMix(Chrome(dx, dy), ArtHex(0xFFFFFF), 0.6f * std::exp(-(hx * hx + hy * hy) * 5.0f));
    return 1.0f;
  });
  PIX_Circle(c.Hi(), ArtCanvas::S(cx), ArtCanvas::S(cy), ArtCanvas::S(15.3f), ArtPixel(ArtHex(0x3C3F44)),
             0.6f, PIX_OP_COPY, true);
}

void DrawLed(ArtCanvas& c, float cx, float cy, bool lit)
{
  if (lit) {
    // Glow spilling onto the panel.
    c.ShadeDisc(cx, cy, 30.0f, [&](float dx, float dy, ArtRGB* col) {
      const float d2 = dx * dx + dy * dy;
      *col = ArtMix(ArtHex(0xFF7A40), ArtHex(0xFFF2D0), std::exp(-d2 * 5.0f));
      return 0.9f * std::exp(-d2 * 4.5f);
    });
  }
  // Chrome bezel.
  c.ShadeDisc(cx, cy, 9.0f, [&](float dx, float dy, ArtRGB* col) {
    *col = Chrome(dx, dy);
    return 1.0f;
  });
  c.Disc(cx, cy, 6.9f, ArtHex(0x1A0604));
  c.ShadeDisc(cx, cy, 6.2f, [&](float dx, float dy, ArtRGB* col) {
    const float d2 = dx * dx + dy * dy;
    if (lit) *col = ArtMix(ArtHex(0xFF1A08), ArtHex(0xFFF0E0), std::exp(-d2 * 4.0f));
    else *col = ArtMix(ArtHex(0x3A0A06), ArtHex(0x6A1E16), ArtClamp(-(dx + dy) * 0.5f, 0, 1));
    return 1.0f;
  });
  // Specular dot on the lens.
  c.Disc(cx - 2.0f, cy - 2.2f, 1.6f, ArtHex(0xFFFFFF), lit ? 0.85f : 0.45f);
}

void DrawSwitchFrame(ArtCanvas& c, bool effectOn)
{
  DrawLed(c, kLedX - kSwitchLeft, kLedY - kSwitchTop, effectOn);
  DrawFootswitch(c, kFootswitchX - kSwitchLeft, kFootswitchY - kSwitchTop);
}

}  // namespace

void DrawSwitchStrip(PIX_IBitmap* strip)
{
  strip->resize(kSwitchWidth, 2 * kSwitchHeight);
  for (int frame = 0; frame < 2; ++frame) {
    ArtCanvas canvas(kSwitchWidth, kSwitchHeight);
    DrawSwitchFrame(canvas, frame == 0);
    canvas.Resolve(strip, 0, frame * kSwitchHeight);
  }
}
