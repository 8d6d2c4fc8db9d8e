#pragma once
// Marks the per-sample and per-frame functions that must be inlined into
// the effect's frame loop. The compiler's own heuristics keep some of them
// out of line once the loop grows, which costs about a tenth of the
// processing time.

#define DSP_ALWAYS_INLINE __attribute__((always_inline)) inline
