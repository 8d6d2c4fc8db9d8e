#include "tools/artwork/ArtPanel.h"

#include <cmath>

#include "tools/artwork/ArtCanvas.h"
#include "tools/artwork/ArtLayout.h"
#include "tools/artwork/ArtText.h"

using namespace ArtLayout;

namespace {

const float kCorner = 13.0f;
const ArtRGB kInk = ArtHex(0x22110A);    // silkscreen on the orange face
const ArtRGB kCream = ArtHex(0xF1E4C8);  // lettering on the dark plate

// Signed distance (negative inside) from the face's rounded outline.
float FaceDistance(float x, float y)
{
  const float hw = kPanelWidth * 0.5f - 1.0f, hh = kPanelHeight * 0.5f - 1.0f;
  const float qx = std::fabs(x - kPanelWidth * 0.5f) - (hw - kCorner);
  const float qy = std::fabs(y - kPanelHeight * 0.5f) - (hh - kCorner);
  const float ox = qx > 0 ? qx : 0, oy = qy > 0 ? qy : 0;
  return std::sqrt(ox * ox + oy * oy) + std::fmin(std::fmax(qx, qy), 0.0f) - kCorner;
}

// How much a point near the outline faces the light (top left), from the
// outline's gradient.
float EdgeLight(float x, float y)
{
  const float e = 0.5f;
  const float gx = FaceDistance(x + e, y) - FaceDistance(x - e, y);
  const float gy = FaceDistance(x, y + e) - FaceDistance(x, y - e);
  return -(gx + gy) * 0.7071f;
}

void DrawFace(ArtCanvas& c)
{
  c.Shade(0, 0, kPanelWidth, kPanelHeight, [&](float x, float y, ArtRGB* col) {
    const float d = FaceDistance(x, y);
    const float cover = ArtClamp(-d * ArtCanvas::kScale + 0.5f, 0, 1);
    if (cover <= 0.0f) return 0.0f;
    const bool plate = y >= kPlateTop;
    const float t = y / kPanelHeight;
    ArtRGB face = plate ? ArtHex(0x1E1A17) : ArtMix(ArtHex(0xD9692A), ArtHex(0xAE4717), t);
    // Powder-coat grain: fine speckle, same for every run.
    const int px = (int)(x * 2.0f), py = (int)(y * 2.0f);
    face = ArtScale(face, 1.0f + 0.035f * ArtNoise(px, py, 7));
    // A rounded edge: lit along the top and left, shaded bottom and right.
    const float bevel = ArtClamp(1.0f + d / 3.0f, 0, 1);
    if (bevel > 0.0f) {
      const float light = EdgeLight(x, y);
      face = ArtMix(face, light > 0 ? ArtHex(0xFFD2A8) : ArtHex(0x2A0E02), bevel * std::fabs(light) * 0.55f);
    }
    *col = face;
    return cover;
  });
  // The plate's upper edge: a shadow line with a highlight under it.
  c.Stroke(4, kPlateTop - 0.5f, kPanelWidth - 4, kPlateTop - 0.5f, 1.0f, ArtHex(0x3A1404), 0.7f);
  c.Stroke(4, kPlateTop + 0.5f, kPanelWidth - 4, kPlateTop + 0.5f, 1.0f, ArtHex(0x5A5048), 0.8f);
}

void DrawKnobSeat(ArtCanvas& c, const KnobPlace& k)
{
  const float cx = k.left + kKnobSize * 0.5f, cy = k.top + kKnobSize * 0.5f;
  c.SoftShadow(cx + 1.5f, cy + 2.5f, kKnobRadius, 5.0f, 0.65f);
  // Scale: eleven ticks over the sweep, the ends and the middle longer.
  for (int i = 0; i <= 10; ++i) {
    const float a = KnobAngle(i / 10.0f);
    const bool major = i == 0 || i == 5 || i == 10;
    const float r0 = kKnobRadius + 3.0f, r1 = kKnobRadius + (major ? 7.5f : 5.5f);
    c.Stroke(cx + r0 * std::sin(a), cy - r0 * std::cos(a), cx + r1 * std::sin(a), cy - r1 * std::cos(a),
             major ? 1.8f : 1.3f, kInk, 0.9f);
  }
}

void DrawLettering(PIX_IBitmap* bg)
{
  ArtFont label("DejaVu Sans", 11, true);
  for (const KnobPlace& k : kKnobs) {
    const bool upper = k.top < 60;  // the knob at the top carries its label beneath, between the others
    const int top = k.top + kKnobSize + (upper ? 1 : 3);
    label.DrawEngraved(bg, k.label, k.left + kKnobSize * 0.5f, top, kInk, 1.2f);
  }
  ArtFont title("DejaVu Sans", 31, true);
  title.DrawEngraved(bg, "QUARRY", kCentreX, 185, kInk, 6.0f);
  ArtFont sub("DejaVu Sans", 9, true);
  sub.DrawEngraved(bg, "TWO-STAGE DISTORTION", kCentreX, 372, kInk, 2.0f);
  ArtFont plate("DejaVu Sans", 10, true);
  plate.DrawCentred(bg, "LUMENFOLD", 62, 414, kCream, 0.9f, 2.5f);
  ArtFont link("DejaVu Sans", 10, false);
  link.DrawRight(bg, "lumenfold.com \xE2\x80\xBA", kPanelWidth - 10, 414, kCream, 0.95f);
}

}  // namespace

void DrawPanel(PIX_IBitmap* bg)
{
  bg->resize(kPanelWidth, kPanelHeight);
  ArtCanvas c(kPanelWidth, kPanelHeight);
  c.Shade(0, 0, kPanelWidth, kPanelHeight, [](float, float, ArtRGB* col) {
    *col = ArtHex(0x111010);
    return 1.0f;
  });
  DrawFace(c);
  for (const KnobPlace& k : kKnobs) DrawKnobSeat(c, k);
  c.Resolve(bg, 0, 0);
  DrawLettering(bg);
}
