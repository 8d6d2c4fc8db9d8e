// A host's bank chunk: version header, then every preset's name, flag and state.
#include <cstddef>
#include <cstdint>

#include "tests/framework/fuzz/fuzz_plug.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  ByteChunk chunk;
  FillChunk(&chunk, data, size);
  int pos = 0;
  GetFrameworkVerFromChunk(&chunk, &pos);
  FuzzPlug raw(true);
  raw.UnserializePresets(&chunk, pos);
  CheckLoad(raw, true, {});

  FuzzPlug plug(true);
  const std::vector<unsigned char> before = Observe(plug);
  CheckLoad(plug, plug.LoadPresets(&chunk, pos), before);
  ByteChunk again;
  plug.SerializePresets(&again);
  for (int i = 0; i < plug.NPresets(); ++i) plug.RestorePreset(i);
  CheckLoad(plug, true, {});
  return 0;
}
