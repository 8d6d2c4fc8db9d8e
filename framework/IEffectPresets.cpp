// The preset bank: filling presets from the current parameters, from
// values, from chunks and from base64 blobs; restoring, renaming and
// pruning them.

#include <cstdarg>
#include <cstring>

#include "base/base64.h"
#include "framework/IEffectBase.h"
#include "framework/IStateSnapshot.h"
#include "framework/Log.h"

namespace {
// Marks a parameter that no named pair set.
constexpr double kUnsetParamMarker = 9.999e-08;

// Claims the next empty slot with the given name; null when the bank is
// full. The slot's state starts empty whatever it held before.
IPreset* ClaimNextPreset(BASE_PtrList<IPreset>* pPresets, const char* name)
{
  IPreset* preset = GetNextUninitializedPreset(pPresets);
  if (!preset) return nullptr;
  preset->mInitialized = true;
  preset->SetName(name);
  preset->mChunk.Clear();
  return preset;
}

bool TakesIntArgument(const IParam* param)
{
  const IParam::EParamType type = param->Type();
  return type == IParam::kTypeBool || type == IParam::kTypeInt || type == IParam::kTypeEnum;
}

double NextValueArg(const IParam* param, va_list* args)
{
  if (TakesIntArgument(param)) return static_cast<double>(va_arg(*args, int));
  return va_arg(*args, double);
}
}  // namespace

void IEffectBase::MakeDefaultPreset(const char* name, int nPresets)
{
  for (int i = 0; i < nPresets; ++i) {
    IPreset* preset = ClaimNextPreset(&mPresets, name ? name : "Empty");
    if (!preset) return;
    SerializeState(&preset->mChunk);
  }
}

void IEffectBase::EnsureDefaultPreset() { MakeDefaultPreset("Empty", NPresets()); }

void IEffectBase::MakePreset(const char* name, ...)
{
  IPreset* preset = ClaimNextPreset(&mPresets, name);
  if (!preset) return;
  va_list args;
  va_start(args, name);
  const int n = NParams();
  for (int i = 0; i < n; ++i) {
    const double v = NextValueArg(GetParam(i), &args);
    preset->mChunk.AppendValue(v);
  }
  va_end(args);
}

void IEffectBase::MakePresetFromNamedParams(const char* name, int nParamsNamed, ...)
{
  IPreset* preset = ClaimNextPreset(&mPresets, name);
  if (!preset) return;
  const int n = NParams();
  BASE_TypedBuf<double> values;
  double* vals = values.Resize(n);
  if (n > 0 && !vals) return;
  for (int i = 0; i < n; ++i) vals[i] = kUnsetParamMarker;

  va_list args;
  va_start(args, nParamsNamed);
  for (int p = 0; p < nParamsNamed; ++p) {
    const int idx = va_arg(args, int);
    const IParam* param = GetParam(idx);
    // The value's type follows the parameter, so behind an unknown index
    // no further argument can be located: the remaining pairs are skipped.
    if (!param) break;
    vals[idx] = NextValueArg(param, &args);
  }
  va_end(args);

  for (int i = 0; i < n; ++i) {
    const double v = vals[i] == kUnsetParamMarker ? GetParam(i)->Value() : vals[i];
    preset->mChunk.AppendValue(v);
  }
}

void IEffectBase::MakePresetFromChunk(const char* name, ByteChunk* pChunk)
{
  IPreset* preset = ClaimNextPreset(&mPresets, name);
  if (!preset) return;
  preset->mChunk.AppendChunk(pChunk);
}

void IEffectBase::MakePresetFromBlob(const char* name, const char* blob, int sizeOfChunk)
{
  IPreset* preset = ClaimNextPreset(&mPresets, name);
  if (!preset || sizeOfChunk <= 0) return;
  // Resize zero-fills, so a short blob leaves zeros at the end.
  if (preset->mChunk.Resize(sizeOfChunk) != sizeOfChunk) return;
  BASE_Base64Decode(blob, preset->mChunk.Data(), sizeOfChunk);
}

void IEffectBase::PruneUninitializedPresets()
{
  IPreset* current = mPresets.Get(mCurrentPresetIdx);
  for (int i = NPresets() - 1; i >= 0; --i) {
    if (!mPresets.Get(i)->mInitialized) mPresets.Delete(i, true);
  }
  // The current index keeps naming the same preset when it survives.
  const int idx = current ? mPresets.Find(current) : -1;
  if (idx >= 0) mCurrentPresetIdx = idx;
  else if (mCurrentPresetIdx >= NPresets()) mCurrentPresetIdx = NPresets() > 0 ? NPresets() - 1 : 0;
}

bool IEffectBase::RestorePreset(int idx)
{
  IPreset* preset = mPresets.Get(idx);
  if (!preset) return false;
  return ApplyWhole([&] {
    if (!preset->mInitialized) {
      // An empty slot captures the current sound as a new user preset.
      preset->mInitialized = true;
      char name[32];
      MakeDefaultUserPresetName(&mPresets, name);
      preset->SetName(name);
      preset->mChunk.Clear();
      if (!SerializeState(&preset->mChunk)) return false;
    } else if (UnserializeState(&preset->mChunk, 0) <= 0) {
      return false;
    }
    mCurrentPresetIdx = idx;
    PresetsChangedByHost();
    RedrawParamControls();
    return true;
  });
}

bool IEffectBase::RestorePreset(const char* name)
{
  if (!name || !name[0]) return false;
  const int n = NPresets();
  for (int i = 0; i < n; ++i) {
    if (strcmp(mPresets.Get(i)->mName, name) == 0) return RestorePreset(i);
  }
  return false;
}

const char* IEffectBase::GetPresetName(int idx) const
{
  const IPreset* preset = mPresets.Get(idx);
  return preset ? preset->mName : "";
}

void IEffectBase::ModifyCurrentPreset(const char* name)
{
  IPreset* preset = mPresets.Get(mCurrentPresetIdx);
  if (!preset) return;
  preset->mChunk.Clear();
  TRACE("ModifyCurrentPreset", "%d %s", mCurrentPresetIdx, preset->mName);
  SerializeState(&preset->mChunk);
  if (name && name[0]) preset->SetName(name);
}
