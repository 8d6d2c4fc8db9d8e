// A host's bank chunk: version header, then every preset's name, flag and state.
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
  plug.UnserializePresets(&chunk, pos);
  ByteChunk again;
  plug.SerializePresets(&again);
  for (int i = 0; i < plug.NPresets(); ++i) plug.RestorePreset(i);
  return 0;
}
