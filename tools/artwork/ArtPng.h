#pragma once
// Writes a bitmap as a PNG file that depends on nothing but its pixels: no
// time stamp, no text chunks, fixed compression settings, so the same
// pixels always give the same bytes.
//
// Threads: called from the artwork tool's one thread; no shared state.

#include "pix/pix_bitmap.h"

// Opaque bitmaps (every alpha 255) are stored as 8-bit RGB, others as 8-bit
// RGBA (colour not premultiplied). False when the file cannot be written.
bool WriteArtPng(const char* path, PIX_IBitmap* bitmap);
