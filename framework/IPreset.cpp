#include "framework/IPreset.h"

#include <cstdio>
#include <cstring>

#include "base/cstring.h"

IPreset::IPreset() { SetName("empty"); }

void IPreset::SetName(const char* name) { BASE_CopyString(mName, name, sizeof(mName)); }

IPreset* GetNextUninitializedPreset(BASE_PtrList<IPreset>* pPresets)
{
  const int n = pPresets->GetSize();
  for (int i = 0; i < n; ++i) {
    IPreset* preset = pPresets->Get(i);
    if (preset && !preset->mInitialized) return preset;
  }
  return nullptr;
}

void MakeDefaultUserPresetName(BASE_PtrList<IPreset>* pPresets, char* out)
{
  static const char kUserPreset[] = "user preset";
  int count = 0;
  const int n = pPresets->GetSize();
  for (int i = 0; i < n; ++i) {
    IPreset* preset = pPresets->Get(i);
    if (preset && strstr(preset->mName, kUserPreset)) ++count;
  }
  snprintf(out, 32, "%s %d", kUserPreset, count + 1);
}
