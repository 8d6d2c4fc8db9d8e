// Any image through both parsers, read by header and by layout. What
// parses whole must rebuild into an image that parses to the same record,
// by header and, since its data ends where the image does, by layout; what
// fails must leave a record the builders can still be handed without harm.
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

bool SameRecord(const IFxProgram& a, const IFxProgram& b) { return SameProgram(a, b); }

bool SameRecord(const IFxBank& a, const IFxBank& b)
{
  if (a.mForm != b.mForm || a.NPrograms() != b.NPrograms() || !SameChunk(a.mChunk, b.mChunk)) return false;
  for (int i = 0; i < a.NPrograms(); ++i)
    if (!SameProgram(*a.GetProgram(i), *b.GetProgram(i))) return false;
  return true;
}

EFxFileError Parse(const uint8_t* data, size_t size, IFxProgram* record, EFxReading reading)
{
  return ParseFxProgram(data, size, record, reading);
}
EFxFileError Parse(const uint8_t* data, size_t size, IFxBank* record, EFxReading reading)
{
  return ParseFxBank(data, size, record, reading);
}
EFxFileError Build(const IFxProgram& record, ByteChunk* image) { return BuildFxProgram(record, image); }
EFxFileError Build(const IFxBank& record, ByteChunk* image) { return BuildFxBank(record, image); }

template <class Record>
void Check(const uint8_t* data, size_t size)
{
  Record loose;
  Parse(data, size, &loose, kFxByLayout);
  ByteChunk image;
  Build(loose, &image);

  Record record;
  const EFxFileError error = Parse(data, size, &record, kFxByHeader);
  const EFxFileError built = Build(record, &image);
  if (error != kFxOK) return;
  if (built != kFxOK) std::abort();
  const size_t imageSize = static_cast<size_t>(image.Size());
  Record again;
  if (Parse(image.Data(), imageSize, &again, kFxByHeader) != kFxOK) std::abort();
  if (!SameRecord(record, again)) std::abort();
  if (Parse(image.Data(), imageSize, &loose, kFxByLayout) != kFxOK) std::abort();
  if (!SameRecord(again, loose)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  Check<IFxProgram>(data, size);
  Check<IFxBank>(data, size);
  return 0;
}
