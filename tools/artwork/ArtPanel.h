#pragma once
// The panel artwork: a burnt-orange powder-coated face with rounded corners,
// the knobs' shadows and scales, the lettering and the product plate along
// the bottom edge that carries the link.
//
// Threads: used by the artwork tool's one thread.

#include "pix/pix_bitmap.h"

// Resizes bg to kPanelWidth x kPanelHeight and draws the panel.
void DrawPanel(PIX_IBitmap* bg);
