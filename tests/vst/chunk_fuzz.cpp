// Host chunks are untrusted: whatever bytes a host hands to effSetChunk (as
// a program or as a bank), the plug-in must neither crash nor read outside
// them, and must still answer every later request. The first byte chooses
// program or bank; the rest is the chunk.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "tests/vst/ProbeEffect.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size < 1) return 0;
  static ProbeEffect* plug = new ProbeEffect(IEffectInstanceInfo());
  AEffect* e = plug->GetAEffect();
  const int index = data[0] & 1;
  // An exact-size copy, so any read past the end is caught.
  std::vector<uint8_t> chunk(data + 1, data + size);
  e->dispatcher(e, effSetChunk, index, static_cast<VstIntPtr>(chunk.size()),
                chunk.empty() ? nullptr : chunk.data(), 0.0f);
  void* out = nullptr;
  e->dispatcher(e, effGetChunk, 0, 0, &out, 0.0f);
  e->dispatcher(e, effGetChunk, 1, 0, &out, 0.0f);
  char text[64];
  for (int i = 0; i < e->numParams; ++i) e->dispatcher(e, effGetParamDisplay, i, 0, text, 0.0f);
  for (int i = 0; i < e->numPrograms; ++i) e->dispatcher(e, effGetProgramNameIndexed, i, 0, text, 0.0f);
  return 0;
}
