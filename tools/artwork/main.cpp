// quarry-artwork: draws the effect editor's five images into a folder.
//
//   quarry-artwork OUTDIR [--preview FILE]
//
// Writes bg.png, by.png, TON.png, SUS.png and OUT.png; the same program
// always writes the same bytes. --preview also writes the whole panel with
// every control at its default value.

#include <cstdio>
#include <cstring>
#include <string>

#include "pix/pix_blendmode.h"
#include "pix/pix_blit.h"
#include "pix/pix_membitmap.h"
#include "tools/artwork/ArtKnob.h"
#include "tools/artwork/ArtLayout.h"
#include "tools/artwork/ArtPanel.h"
#include "tools/artwork/ArtPng.h"
#include "tools/artwork/ArtSwitch.h"

using namespace ArtLayout;

namespace {

struct Artwork {
  PIX_MemBitmap bg, by, knobs[3];
};

void DrawArtwork(Artwork& art)
{
  DrawPanel(&art.bg);
  DrawSwitchStrip(&art.by);
  for (PIX_MemBitmap& k : art.knobs) DrawKnobStrip(&k);
}

// Frame (from 1) a control shows for a normalized value.
int FrameOf(double value, int frames) { return (int)((frames - 1) * value + 0.5) + 1; }

// Blits one frame of a vertical strip over the panel the way the editor
// draws its controls (blend by source alpha).
void Place(PIX_IBitmap* panel, PIX_IBitmap* strip, int frames, int frame, int left, int top)
{
  const int h = strip->getHeight() / frames;
  PIX_Blit(panel, strip, left, top, 0, (frame - 1) * h, strip->getWidth(), h, 1.0f, PIX_USE_SOURCE_ALPHA);
}

bool WritePreview(Artwork& art, const char* path)
{
  PIX_MemBitmap panel;
  PIX_Copy(&panel, &art.bg);
  Place(&panel, &art.by, 2, 1, kSwitchLeft, kSwitchTop);
  // Defaults: TON (GainM) 0.7, SUS (GainL) 0.3, OUT -30 dB of -40..0.
  const double values[3] = {0.7, 0.3, 0.25};
  for (int i = 0; i < 3; ++i)
    Place(&panel, &art.knobs[i], kKnobFrames, FrameOf(values[i], kKnobFrames), kKnobs[i].left, kKnobs[i].top);
  return WriteArtPng(path, &panel);
}

bool WriteAll(Artwork& art, const std::string& dir)
{
  bool ok =
      WriteArtPng((dir + "/bg.png").c_str(), &art.bg) && WriteArtPng((dir + "/by.png").c_str(), &art.by);
  for (int i = 0; i < 3 && ok; ++i) ok = WriteArtPng((dir + "/" + kKnobs[i].file).c_str(), &art.knobs[i]);
  return ok;
}

}  // namespace

int main(int argc, char** argv)
{
  const char* outDir = nullptr;
  const char* preview = nullptr;
  bool usage = false;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--preview") && i + 1 < argc) preview = argv[++i];
    else if (!outDir && argv[i][0] != '-') outDir = argv[i];
    else usage = true;
  }
  if (!outDir || usage) {
    std::fprintf(stderr, "usage: quarry-artwork OUTDIR [--preview FILE]\n");
    return 2;
  }
  Artwork art;
  DrawArtwork(art);
  if (!WriteAll(art, outDir)) {
    std::fprintf(stderr, "quarry-artwork: cannot write the images into %s\n", outDir);
    return 1;
  }
  if (preview && !WritePreview(art, preview)) {
    std::fprintf(stderr, "quarry-artwork: cannot write %s\n", preview);
    return 1;
  }
  return 0;
}
