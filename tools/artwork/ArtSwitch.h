#pragma once
// The bypass switch artwork: a chrome footswitch on its hex nut and a red
// status LED above it. Frame 1 (effect on) lights the LED with a glow over
// the panel; frame 2 (bypassed) shows it dark. Everything else in the frame
// is transparent, so the panel shows through.
//
// Threads: used by the artwork tool's one thread.

#include "pix/pix_bitmap.h"

// Resizes strip to kSwitchWidth x (2 x kSwitchHeight) and draws both frames.
void DrawSwitchStrip(PIX_IBitmap* strip);
