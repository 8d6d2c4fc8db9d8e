#pragma once
// State shared by both distortion stages: room for a sixth-order filter's
// coefficients and histories. Each stage uses as much of it as its order
// needs; the rest stays zero.

#include <algorithm>

struct CragRecord {
  double in = 0.0;          // value last fed to the filter
  double out = 0.0;         // filter's last output
  double pastIn[6] = {};    // filter inputs, most recent first
  double pastOut[6] = {};   // filter outputs, most recent first
  double a[7] = {};         // denominator coefficients a0, a1, ...
  double b[7] = {};         // numerator coefficients b0, b1, ...

  // Forgets the past signal so the next sample starts from silence; the
  // coefficients stay.
  void ClearHistories()
  {
    out = 0.0;
    std::fill(pastIn, pastIn + 6, 0.0);
    std::fill(pastOut, pastOut + 6, 0.0);
  }
};
