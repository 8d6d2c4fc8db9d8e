// Any image through both parsers. What parses whole must rebuild into an
// image that parses to the same record; what fails must leave a record the
// builders can still be handed without harm.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "framework/FxFile.h"

namespace {

bool SameValues(const IFxProgram& a, const IFxProgram& b)
{
  const int n = a.mValues.GetSize();
  return n == b.mValues.GetSize() &&
         (n == 0 || std::memcmp(a.mValues.Get(), b.mValues.Get(), sizeof(float) * n) == 0);
}

bool SameChunk(const ByteChunk& a, const ByteChunk& b)
{
  return a.Size() == b.Size() && (a.Size() == 0 || std::memcmp(a.Data(), b.Data(), a.Size()) == 0);
}

bool SameProgram(const IFxProgram& a, const IFxProgram& b)
{
  return a.mForm == b.mForm && a.mPluginID == b.mPluginID && a.mPluginVersion == b.mPluginVersion &&
         a.mNumParams == b.mNumParams && std::strncmp(a.mName, b.mName, kFxNameSize - 1) == 0 &&
         SameValues(a, b) && SameChunk(a.mChunk, b.mChunk);
}

void CheckProgram(const uint8_t* data, size_t size)
{
  IFxProgram program;
  const EFxFileError error = ParseFxProgram(data, size, &program);
  ByteChunk image;
  const EFxFileError built = BuildFxProgram(program, &image);
  if (error != kFxOK) return;
  if (built != kFxOK) std::abort();
  IFxProgram again;
  if (ParseFxProgram(image.Data(), static_cast<size_t>(image.Size()), &again) != kFxOK) std::abort();
  if (!SameProgram(program, again)) std::abort();
}

void CheckBank(const uint8_t* data, size_t size)
{
  IFxBank bank;
  const EFxFileError error = ParseFxBank(data, size, &bank);
  ByteChunk image;
  const EFxFileError built = BuildFxBank(bank, &image);
  if (error != kFxOK) return;
  if (built != kFxOK) std::abort();
  IFxBank again;
  if (ParseFxBank(image.Data(), static_cast<size_t>(image.Size()), &again) != kFxOK) std::abort();
  if (again.mForm != bank.mForm || again.NPrograms() != bank.NPrograms() ||
      !SameChunk(again.mChunk, bank.mChunk))
    std::abort();
  for (int i = 0; i < bank.NPrograms(); ++i)
    if (!SameProgram(*bank.GetProgram(i), *again.GetProgram(i))) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  CheckProgram(data, size);
  CheckBank(data, size);
  return 0;
}
