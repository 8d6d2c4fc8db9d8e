// A host's program chunk: optional version header, then the parameter block.
#include <cstddef>
#include <cstdint>

#include "tests/framework/fuzz/fuzz_plug.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  FuzzPlug plug(true);
  ByteChunk chunk;
  FillChunk(&chunk, data, size);
  int pos = 0;
  GetFrameworkVerFromChunk(&chunk, &pos);
  if (plug.UnserializeState(&chunk, pos) >= 0) plug.ModifyCurrentPreset(nullptr);
  ByteChunk again;
  plug.SerializeState(&again);
  return 0;
}
