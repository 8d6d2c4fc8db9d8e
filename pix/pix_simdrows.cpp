#include "pix/pix_simdrows.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "pix/pix_simdrowtable.h"
#include "pix/pix_simdsse2.h"

namespace {
std::atomic<const PIX_SimdRowOps*> g_active{nullptr};

// The processor's features may be asked for before the runtime has read
// them (from a static initialiser): reading them again is harmless.
bool HasAvx2()
{
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
}

PIX_SimdLevel LevelOf(const PIX_SimdRowOps* ops)
{
  return ops == &PIX_SimdRowsAvx2() ? PIX_SIMD_AVX2 : PIX_SIMD_SSE2;
}

// The set a first use picks: AVX2 when available and not refused by the
// environment.
const PIX_SimdRowOps* Initial()
{
  const char* forced = getenv("QUARRY_PIX_SIMD");
  if (forced && strcmp(forced, "sse2") == 0) return &PIX_SimdRowsSse2();
  return HasAvx2() ? &PIX_SimdRowsAvx2() : &PIX_SimdRowsSse2();
}
}  // namespace

const PIX_SimdRowOps& PIX_SimdRowsSse2() { return PIX_SimdRowTable<PIX_SimdSse2>::ops; }

const PIX_SimdRowOps* PIX_SimdRowsFor(PIX_SimdLevel level)
{
  if (level == PIX_SIMD_AVX2) return HasAvx2() ? &PIX_SimdRowsAvx2() : nullptr;
  return &PIX_SimdRowsSse2();
}

const PIX_SimdRowOps& PIX_SimdRows()
{
  const PIX_SimdRowOps* ops = g_active.load(std::memory_order_acquire);
  if (!ops) {
    const PIX_SimdRowOps* expected = nullptr;
    ops = Initial();
    // Another thread may have chosen first; its choice stands.
    if (!g_active.compare_exchange_strong(expected, ops, std::memory_order_acq_rel)) ops = expected;
  }
  return *ops;
}

PIX_SimdLevel PIX_GetSimdLevel() { return LevelOf(&PIX_SimdRows()); }

bool PIX_SetSimdLevel(PIX_SimdLevel level)
{
  const PIX_SimdRowOps* ops = PIX_SimdRowsFor(level);
  if (!ops) return false;
  g_active.store(ops, std::memory_order_release);
  return true;
}
