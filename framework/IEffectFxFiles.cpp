// Program (FXP) and bank (FXB) files of the plug-in: which state goes into
// them and how a file the codec has read is applied. The layouts, their
// limit and their reading are the codec's (FxFile.h).

#include <cmath>
#include <cstdio>

#include "framework/FileReplace.h"
#include "framework/FxFile.h"
#include "framework/IEffectBase.h"
#include "framework/IStateSnapshot.h"

namespace {

// Reads the file's bytes into out; false for an unreadable file or one
// beyond the format's limit (refused before it is read).
bool ReadWholeFile(const BASE_String* path, ByteChunk* out)
{
  if (!path || path->GetLength() == 0) return false;
  FILE* fp = fopen(path->Get(), "rb");
  if (!fp) return false;
  bool ok = fseek(fp, 0, SEEK_END) == 0;
  const long size = ok ? ftell(fp) : -1;
  ok = ok && size >= 0 && size <= kFxMaxFileSize && fseek(fp, 0, SEEK_SET) == 0;
  if (ok) ok = out->Resize(static_cast<int>(size)) == static_cast<int>(size);
  if (ok && size > 0) ok = fread(out->Data(), 1, static_cast<size_t>(size), fp) == static_cast<size_t>(size);
  fclose(fp);
  return ok;
}

// A failed save leaves the file that was there as it was.
bool WriteWholeFile(const BASE_String* path, const ByteChunk& data)
{
  if (!path || path->GetLength() == 0) return false;
  return ReplaceFileWhole(path->Get(), data.Data(), static_cast<size_t>(data.Size()));
}

// ---- What goes into a file ----

// The plug-in's ID and decimal version, which every file and every program
// in a bank carries.
template <class Record>
void StampIdentity(IEffectBase* plug, Record* record)
{
  record->mPluginID = plug->GetUniqueID();
  record->mPluginVersion = plug->GetEffectVersion(true);
}

// A program of this plug-in with the given name (cut to the name field).
void StampProgram(IEffectBase* plug, const char* name, IFxProgram* program)
{
  StampIdentity(plug, program);
  program->SetName(name);
  program->mNumParams = plug->NParams();
}

// One normalised value per parameter, normalizedValue(index) giving each;
// false without memory.
template <class NormalizedValue>
bool FillValues(IEffectBase* plug, NormalizedValue normalizedValue, IFxProgram* program)
{
  const int n = plug->NParams();
  float* values = program->mValues.Resize(n);
  if (n > 0 && !values) return false;
  for (int i = 0; i < n; ++i) values[i] = static_cast<float>(normalizedValue(i));
  return true;
}

// ---- How a file is applied ----

// A file is read on when it is sound, cut short (what is there is used), or
// a bank whose program count is below zero (it has no programs); every other
// fault the codec finds refuses it.
bool ReadsOn(EFxFileError error) { return error == kFxOK || error == kFxTruncated || error == kFxBadCount; }

// A file for this plug-in: its opening words through the plug-in ID are all
// there, and the ID is the plug-in's own.
bool IsOwnFile(EFxFileError error, int size, int pluginID, const IEffectBase& plug)
{
  return ReadsOn(error) && size >= kFxIdentitySize && pluginID == plug.GetUniqueID();
}

// Where the state or bank block starts: behind the version header, when the
// chunk has one (the version itself is not needed).
int BlockStart(const ByteChunk& chunk)
{
  int pos = 0;
  GetFrameworkVerFromChunk(&chunk, &pos);
  return pos;
}

// Applies one normalised value per parameter, in index order; a value the
// file ends before counts as 0.0. False at the first value that is not a
// number (the caller undoes what was applied).
bool ApplyNormalizedValues(IEffectBase* plug, const IFxProgram& program)
{
  const int have = program.mValues.GetSize();
  const float* values = program.mValues.Get();
  const int n = plug->NParams();
  for (int i = 0; i < n; ++i) {
    const float v = i < have ? values[i] : 0.0f;
    if (std::isnan(v)) return false;
    plug->GetParam(i)->SetNormalized(v);
  }
  return true;
}

// A parameter-list bank is applied only when it holds every program its
// count announces, each with the plug-in's own number of parameters.
bool HoldsEveryProgram(const IFxBank& bank, int nParams)
{
  if (bank.mNumPrograms <= 0) return true;
  if (bank.NPrograms() != bank.mNumPrograms) return false;
  for (int i = 0; i < bank.NPrograms(); ++i)
    if (bank.GetProgram(i)->mNumParams != nParams) return false;
  return true;
}

// An image a caller may hand over: no size below zero, and bytes to go
// with any size above it.
bool IsImage(const unsigned char* data, int size) { return size >= 0 && (size == 0 || data); }

}  // namespace

// ---- Saving ----

bool IEffectBase::MakeProgramFile(ByteChunk* pFile)
{
  if (!pFile) return false;
  BASE_MutexLock lock(mMutex);
  pFile->Clear();
  const IPreset* current = mPresets.Get(mCurrentPresetIdx);
  IFxProgram program;
  StampProgram(this, current ? current->mName : nullptr, &program);
  if (mStateChunks) {
    program.mForm = kFxProgramChunkForm;
    InitChunkWithFrameworkVer(&program.mChunk);
    if (!SerializeState(&program.mChunk)) return false;
  } else if (!FillValues(
                 this, [this](int i) { return GetParam(i)->GetNormalized(); }, &program)) {
    return false;
  }
  return BuildFxProgram(program, pFile) == kFxOK;
}

bool IEffectBase::MakeBankFile(ByteChunk* pFile)
{
  if (!pFile) return false;
  BASE_MutexLock lock(mMutex);
  pFile->Clear();
  IFxBank bank;
  StampIdentity(this, &bank);
  bank.mNumPrograms = NPresets();
  bank.mCurrentProgram = mCurrentPresetIdx;
  if (mStateChunks) {
    bank.mForm = kFxBankChunkForm;
    InitChunkWithFrameworkVer(&bank.mChunk);
    if (!SerializePresets(&bank.mChunk)) return false;
    return BuildFxBank(bank, pFile) == kFxOK;
  }
  for (int p = 0; p < NPresets(); ++p) {
    // Each preset's stored state read as a parameter block; values it does
    // not hold count as 0.0.
    const IPreset* preset = mPresets.Get(p);
    auto stored = [this, preset](int i) {
      double v = 0.0;
      if (preset->mChunk.ReadValue(&v, i * 8) < 0) v = 0.0;
      return GetParam(i)->GetNormalized(v);
    };
    IFxProgram* program = bank.AddProgram();
    if (!program) return false;
    StampProgram(this, preset->mName, program);
    if (!FillValues(this, stored, program)) return false;
  }
  return BuildFxBank(bank, pFile) == kFxOK;
}

bool IEffectBase::SaveProgramAsFXP(BASE_String* pFileName)
{
  if (!pFileName || pFileName->GetLength() == 0) return false;
  ByteChunk file;
  return MakeProgramFile(&file) && WriteWholeFile(pFileName, file);
}

bool IEffectBase::SaveBankAsFXB(BASE_String* pFileName)
{
  if (!pFileName || pFileName->GetLength() == 0) return false;
  ByteChunk file;
  return MakeBankFile(&file) && WriteWholeFile(pFileName, file);
}

// ---- Loading ----

bool IEffectBase::LoadProgramFromFXP(BASE_String* pFileName)
{
  ByteChunk file;
  if (!ReadWholeFile(pFileName, &file)) return false;
  return LoadProgramFromMemory(file.Data(), file.Size());
}

bool IEffectBase::LoadBankFromFXB(BASE_String* pFileName)
{
  ByteChunk file;
  if (!ReadWholeFile(pFileName, &file)) return false;
  return LoadBankFromMemory(file.Data(), file.Size());
}

bool IEffectBase::LoadProgramFromMemory(const unsigned char* data, int size)
{
  if (!IsImage(data, size)) return false;
  IFxProgram program;
  const EFxFileError error = ParseFxProgram(data, static_cast<size_t>(size), &program, kFxByLayout);
  if (!IsOwnFile(error, size, program.mPluginID, *this)) return false;
  // A state chunk is taken only by a plug-in that declared chunks, and only
  // when its size field is there.
  if (program.IsChunkForm() && (!mStateChunks || error != kFxOK)) return false;

  return ApplyWhole([&] {
    if (program.IsChunkForm()) {
      if (UnserializeState(&program.mChunk, BlockStart(program.mChunk)) < 0) return false;
    } else if (!ApplyNormalizedValues(this, program)) {
      return false;
    }
    ModifyCurrentPreset(program.mName);
    RestorePreset(mCurrentPresetIdx);
    InformHostOfProgramChange();
    return true;
  });
}

bool IEffectBase::LoadBankFromMemory(const unsigned char* data, int size)
{
  if (!IsImage(data, size)) return false;
  IFxBank bank;
  const EFxFileError error = ParseFxBank(data, static_cast<size_t>(size), &bank, kFxByLayout);
  if (!IsOwnFile(error, size, bank.mPluginID, *this)) return false;

  if (bank.IsChunkForm()) {
    if (!mStateChunks || error != kFxOK) return false;
    return ApplyWhole([&] {
      if (UnserializePresets(&bank.mChunk, BlockStart(bank.mChunk)) < 0) return false;
      InformHostOfProgramChange();
      return true;
    });
  }
  // The list form needs the program count and current program.
  if (size < kFxBankCountsSize || !HoldsEveryProgram(bank, NParams())) return false;

  return ApplyWhole([&] {
    for (int p = 0; p < bank.NPrograms(); ++p) {
      const IFxProgram& program = *bank.GetProgram(p);
      // Programs beyond the plug-in's bank land in the last preset restored.
      RestorePreset(p);
      if (!ApplyNormalizedValues(this, program)) return false;
      ModifyCurrentPreset(program.mName);
    }
    RestorePreset(bank.mCurrentProgram);
    InformHostOfProgramChange();
    return true;
  });
}
