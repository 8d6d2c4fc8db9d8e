// Developer dumps: presets printed as calls to the make operations, ready
// to be pasted into an effect's constructor.

#include <cstdio>

#include "base/base64.h"
#include "base/heapbuf.h"
#include "framework/IEffectBase.h"

namespace {
// Room of the usual encoding buffer: the encoding of up to 1533 bytes.
constexpr int kBlobTextSize = 2048;

// Writes the base64 text of a preset's state and closes the call. Larger
// states get a buffer of their own, so the state is never cut.
bool WriteBlobTail(FILE* fp, const IPreset* preset)
{
  const int size = preset->mChunk.Size();
  const int needed = BASE_Base64EncodedLength(size) + 1;
  if (needed <= 0) return false;
  char local[kBlobTextSize];
  BASE_HeapBuf grown;
  char* text = local;
  if (needed > kBlobTextSize) {
    text = static_cast<char*>(grown.Resize(needed));
    if (!text) return false;
  }
  if (BASE_Base64Encode(preset->mChunk.Data(), size, text, needed) < 0) return false;
  return fprintf(fp, "%s\", %i);\n", text, size) > 0;
}
}  // namespace

bool IEffectBase::DumpPresetSrcCode(const char* filename, const char* paramEnumNames[])
{
  if (!filename) return false;
  FILE* fp = fopen(filename, "w");
  if (!fp) return false;
  const int n = NParams();
  fprintf(fp, "  MakePresetFromNamedParams(\"name\", %d", n);
  for (int i = 0; i < n; ++i) {
    const IParam* param = GetParam(i);
    char value[64];
    switch (param->Type()) {
      case IParam::kTypeBool:
        snprintf(value, sizeof(value), "%s", param->Value() >= 0.5 ? "true" : "false");
        break;
      case IParam::kTypeInt:
      case IParam::kTypeEnum:
        snprintf(value, sizeof(value), "%d", param->Int());
        break;
      default:
        snprintf(value, sizeof(value), "%.6f", param->Value());
        break;
    }
    const char* id = paramEnumNames && paramEnumNames[i] ? paramEnumNames[i] : "";
    fprintf(fp, ",\n    %s, %s", id, value);
  }
  fprintf(fp, ");\n");
  return fclose(fp) == 0;
}

bool IEffectBase::DumpPresetBlob(const char* filename)
{
  const IPreset* preset = mPresets.Get(mCurrentPresetIdx);
  if (!filename || !preset) return false;
  FILE* fp = fopen(filename, "w");
  if (!fp) return false;
  fprintf(fp, "MakePresetFromBlob(\"name\", \"");
  const bool ok = WriteBlobTail(fp, preset);
  return fclose(fp) == 0 && ok;
}

bool IEffectBase::DumpBankBlob(const char* filename)
{
  if (!filename) return false;
  FILE* fp = fopen(filename, "w");
  if (!fp) return false;
  bool ok = true;
  const int n = NPresets();
  for (int i = 0; i < n; ++i) {
    const IPreset* preset = mPresets.Get(i);
    fprintf(fp, "MakePresetFromBlob(\"%s\", \"", preset->mName);
    ok = WriteBlobTail(fp, preset) && ok;
  }
  return fclose(fp) == 0 && ok;
}
