// Host chunks are untrusted: whatever bytes a host hands to effSetChunk (as
// a program or as a bank), the plug-in must neither crash nor read outside
// them, and must still answer every later request. A chunk it refuses
// changes nothing, and no chunk leaves a parameter that is not a number.
// The first byte chooses program or bank; the rest is the chunk.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tests/framework/vst/probe_effect.h"

namespace {

std::vector<uint8_t> Chunk(AEffect* e, int index)
{
  void* out = nullptr;
  const VstIntPtr size = e->dispatcher(e, effGetChunk, index, 0, &out, 0.0f);
  if (size <= 0 || !out) return {};
  return std::vector<uint8_t>(static_cast<uint8_t*>(out), static_cast<uint8_t*>(out) + size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size < 1) return 0;
  static ProbeEffect* plug = new ProbeEffect(IEffectInstanceInfo());
  AEffect* e = plug->GetAEffect();
  const int index = data[0] & 1;
  // An exact-size copy, so any read past the end is caught.
  std::vector<uint8_t> chunk(data + 1, data + size);
  const std::vector<uint8_t> bankBefore = Chunk(e, 0);
  const std::vector<uint8_t> liveBefore = Chunk(e, 1);
  const VstIntPtr taken = e->dispatcher(e, effSetChunk, index, static_cast<VstIntPtr>(chunk.size()),
                                        chunk.empty() ? nullptr : chunk.data(), 0.0f);
  const std::vector<uint8_t> bankAfter = Chunk(e, 0);
  const std::vector<uint8_t> liveAfter = Chunk(e, 1);
  if (!taken && (bankAfter != bankBefore || liveAfter != liveBefore)) __builtin_trap();
  for (int i = 0; i < e->numParams; ++i)
    if (std::isnan(e->getParameter(e, i))) __builtin_trap();
  char text[64];
  for (int i = 0; i < e->numParams; ++i) e->dispatcher(e, effGetParamDisplay, i, 0, text, 0.0f);
  for (int i = 0; i < e->numPrograms; ++i) e->dispatcher(e, effGetProgramNameIndexed, i, 0, text, 0.0f);
  return 0;
}
