// Test helpers for the vector primitives: a bitmap with guard pixels all
// round (optionally flipped), and small pixel queries.
#pragma once

#include "tests/support/guarded_bitmap.h"

namespace vectest {

using ::GuardedBitmap;

inline int Blue(PIX_pixel p) { return (int)(p & 0xFF); }

}  // namespace vectest
