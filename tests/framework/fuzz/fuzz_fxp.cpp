// A program file image, offered to plug-ins with and without state chunks.
#include <cstddef>
#include <cstdint>

#include "tests/framework/fuzz/fuzz_plug.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size > (1u << 24)) return 0;
  for (bool chunks : {false, true}) {
    FuzzPlug plug(chunks);
    const std::vector<unsigned char> before = Observe(plug);
    const bool loaded = plug.LoadProgramFromMemory(data, static_cast<int>(size));
    CheckLoad(plug, loaded, before);
    if (loaded)
      CheckRewrite<IFxProgram>(plug, chunks, ParseFxProgram, &IEffectBase::MakeProgramFile,
                               &IEffectBase::LoadProgramFromMemory);
  }
  return 0;
}
