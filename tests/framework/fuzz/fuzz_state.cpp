// A host's program chunk: optional version header, then the parameter block.
#include <cstddef>
#include <cstdint>

#include "tests/framework/fuzz/fuzz_plug.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  ByteChunk chunk;
  FillChunk(&chunk, data, size);
  int pos = 0;
  GetFrameworkVerFromChunk(&chunk, &pos);
  // The reader on its own stops where the data does ...
  FuzzPlug raw(true);
  if (raw.UnserializeState(&chunk, pos) >= 0) raw.ModifyCurrentPreset(nullptr);
  CheckLoad(raw, true, {});
  // ... and the whole load applies all of it or nothing.
  FuzzPlug plug(true);
  const std::vector<unsigned char> before = Observe(plug);
  const bool loaded = plug.LoadState(&chunk, pos);
  CheckLoad(plug, loaded, before);
  ByteChunk again;
  plug.SerializeState(&again);
  return 0;
}
