// The plug-in's state as bytes: the parameter block (one native double per
// parameter) and the bank block (every preset's name, flag and state).

#include <cmath>
#include <cstring>

#include "framework/IEffectBase.h"
#include "framework/IStateSnapshot.h"
#include "framework/Log.h"

bool IEffectBase::SerializeState(ByteChunk* pChunk) { return SerializeParams(pChunk); }

int IEffectBase::UnserializeState(ByteChunk* pChunk, int startPos)
{
  return UnserializeParams(pChunk, startPos);
}

bool IEffectBase::SerializeParams(ByteChunk* pChunk)
{
  if (!pChunk) return false;
  BASE_MutexLock lock(mMutex);
  bool ok = true;
  const int n = NParams();
  for (int i = 0; i < n && ok; ++i) {
    IParam* param = GetParam(i);
    const double v = param->Value();
    const int before = pChunk->Size();
    // A failed append leaves the size where it was.
    ok = pChunk->AppendValue(v) > before;
    TRACE("SerializeParams", "%d %s %f", i, param->GetNameForHost(), v);
  }
  return ok;
}

int IEffectBase::UnserializeParams(ByteChunk* pChunk, int startPos)
{
  if (!pChunk) return -1;
  BASE_MutexLock lock(mMutex);
  int pos = startPos;
  const int n = NParams();
  for (int i = 0; i < n && pos >= 0; ++i) {
    IParam* param = GetParam(i);
    double v = 0.0;
    pos = pChunk->ReadValue(&v, pos);
    // A value that is not a number cannot be clamped into any range: it is
    // read like one the data cut off.
    if (pos >= 0 && std::isnan(v)) pos = -1;
    if (pos < 0) v = 0.0;
    const double lo = param->GetMin(), hi = param->GetMax();
    param->Set(v < lo ? lo : (hi < v ? hi : v));
    TRACE("UnserializeParams", "%d %s %f", i, param->GetNameForHost(), param->Value());
  }
  OnParamReset();
  return pos;
}

bool IEffectBase::CompareState(const unsigned char* incomingState, int startPos)
{
  const int n = NParams();
  if (n == 0) return true;
  if (!incomingState || startPos < 0) return false;
  for (int i = 0; i < n; ++i) {
    double incoming;
    memcpy(&incoming, incomingState + (static_cast<size_t>(startPos) + i) * sizeof(double), sizeof(double));
    const float diff = std::fabs(static_cast<float>(GetParam(i)->Value()) - static_cast<float>(incoming));
    if (!(static_cast<double>(diff) < 1e-5)) return false;
  }
  return true;
}

bool IEffectBase::SerializePresets(ByteChunk* pChunk)
{
  if (!pChunk) return false;
  bool ok = true;
  const int n = NPresets();
  for (int i = 0; i < n && ok; ++i) {
    IPreset* preset = mPresets.Get(i);
    pChunk->AppendString(preset->mName);
    pChunk->AppendValue(preset->mInitialized);
    if (preset->mInitialized) ok = pChunk->AppendChunk(&preset->mChunk) > 0;
    TRACE("SerializePresets", "%d %s", i, preset->mName);
  }
  return ok;
}

int IEffectBase::UnserializePresets(ByteChunk* pChunk, int startPos)
{
  if (!pChunk) return -1;
  int pos = startPos;
  BASE_String name("");
  const int n = NPresets();
  for (int i = 0; i < n && pos >= 0; ++i) {
    IPreset* preset = mPresets.Get(i);
    pos = pChunk->ReadString(&name, pos);
    preset->SetName(name.Get());
    TRACE("UnserializePresets", "%d %s", i, preset->mName);
    // Read as a byte: any non-zero value means the preset holds a state.
    unsigned char flag = 0;
    pos = pChunk->ReadValue(&flag, pos);
    if (pos >= 0) preset->mInitialized = flag != 0;
    if (preset->mInitialized) {
      pos = UnserializeState(pChunk, pos);
      if (pos > 0) {
        preset->mChunk.Clear();
        SerializeState(&preset->mChunk);
      }
    }
  }
  RestorePreset(mCurrentPresetIdx);
  return pos;
}

bool IEffectBase::LoadState(ByteChunk* pChunk, int startPos)
{
  return ApplyWhole([&] { return UnserializeState(pChunk, startPos) >= 0; });
}

bool IEffectBase::LoadPresets(ByteChunk* pChunk, int startPos)
{
  return ApplyWhole([&] { return UnserializePresets(pChunk, startPos) >= 0; });
}
