#pragma once
// The knob artwork: a black knob with a ribbed skirt, a domed cap lit from
// the top left and a cream pointer line, drawn at each of the strip's
// values. Only the pointer and the ribs turn; the lighting stays put.
//
// Threads: used by the artwork tool's one thread.

#include "pix/pix_bitmap.h"

// Resizes strip to kKnobSize x (kKnobSize x kKnobFrames) and draws every frame.
void DrawKnobStrip(PIX_IBitmap* strip);
