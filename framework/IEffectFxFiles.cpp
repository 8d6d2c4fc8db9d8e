// Program (FXP) and bank (FXB) files in the VST 2.4 layouts: big-endian
// headers around either normalised float parameter lists or the plug-in's
// own state and bank chunks (which stay in native byte order inside).

#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/cstring.h"
#include "framework/IEffectBase.h"
#include "framework/IStateSnapshot.h"

namespace {
constexpr int FourCC(char a, char b, char c, char d)
{
  return static_cast<int>((static_cast<unsigned>(static_cast<unsigned char>(a)) << 24) |
                          (static_cast<unsigned>(static_cast<unsigned char>(b)) << 16) |
                          (static_cast<unsigned>(static_cast<unsigned char>(c)) << 8) |
                          static_cast<unsigned>(static_cast<unsigned char>(d)));
}

constexpr int kChunkMagic = FourCC('C', 'c', 'n', 'K');
constexpr int kProgramChunkForm = FourCC('F', 'P', 'C', 'h');
constexpr int kProgramParamsForm = FourCC('F', 'x', 'C', 'k');
constexpr int kBankChunkForm = FourCC('F', 'B', 'C', 'h');
constexpr int kBankProgramsForm = FourCC('F', 'x', 'B', 'k');
constexpr int kProgramFormatVersion = 1;
constexpr int kBankFormatVersion = 2;
constexpr int kNameFieldSize = 28;
constexpr int kProgramHeaderSize = 56;
constexpr int kBankHeaderSize = 156;
constexpr int kBankReservedSize = 124;
// Files beyond this size are refused before they are read: no program or
// bank of a plug-in comes near it.
constexpr long kMaxFxFileSize = 64L * 1024 * 1024;

void AppendBEInt(ByteChunk* out, int value)
{
  const unsigned v = static_cast<unsigned>(value);
  const unsigned char bytes[4] = {static_cast<unsigned char>(v >> 24), static_cast<unsigned char>(v >> 16),
                                  static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v)};
  out->AppendBytes(bytes, 4);
}

void AppendBEFloat(ByteChunk* out, float value)
{
  int bits;
  memcpy(&bits, &value, sizeof(bits));
  AppendBEInt(out, bits);
}

// Writes the name into the 28-byte field, cut so that a NUL always ends it.
void AppendName(ByteChunk* out, const char* name)
{
  char field[kNameFieldSize] = {};
  BASE_CopyString(field, name, kNameFieldSize);
  out->AppendBytes(field, kNameFieldSize);
}

// Chained big-endian reads: -1 in, -1 out.
int ReadBEInt(const ByteChunk& in, int* value, int pos)
{
  if (!in.Holds(pos, 4)) return -1;
  const unsigned char* p = in.Data() + pos;
  *value = static_cast<int>((static_cast<unsigned>(p[0]) << 24) | (static_cast<unsigned>(p[1]) << 16) |
                            (static_cast<unsigned>(p[2]) << 8) | static_cast<unsigned>(p[3]));
  return pos + 4;
}

int ReadBEFloat(const ByteChunk& in, float* value, int pos)
{
  int bits = 0;
  pos = ReadBEInt(in, &bits, pos);
  if (pos >= 0) memcpy(value, &bits, sizeof(bits));
  return pos;
}

// Reads the 28-byte name field into name (29 bytes); a name filling the
// whole field keeps all 28 characters.
int ReadName(const ByteChunk& in, char* name, int pos)
{
  name[0] = '\0';
  if (!in.Holds(pos, kNameFieldSize)) return -1;
  memcpy(name, in.Data() + pos, kNameFieldSize);
  name[kNameFieldSize] = '\0';
  return pos + kNameFieldSize;
}

// Skips the chunk size and, when present, the version header in front of
// a state or bank chunk.
int SkipChunkPrefix(const ByteChunk& in, int pos)
{
  int chunkSize = 0;
  pos = ReadBEInt(in, &chunkSize, pos);
  GetFrameworkVerFromChunk(&in, &pos);
  return pos;
}

// Reads the file's bytes into out; false for an unreadable or oversized file.
bool ReadWholeFile(const BASE_String* path, ByteChunk* out)
{
  if (!path || path->GetLength() == 0) return false;
  FILE* fp = fopen(path->Get(), "rb");
  if (!fp) return false;
  bool ok = fseek(fp, 0, SEEK_END) == 0;
  const long size = ok ? ftell(fp) : -1;
  ok = ok && size >= 0 && size <= kMaxFxFileSize && fseek(fp, 0, SEEK_SET) == 0;
  if (ok) ok = out->Resize(static_cast<int>(size)) == static_cast<int>(size);
  if (ok && size > 0) ok = fread(out->Data(), 1, static_cast<size_t>(size), fp) == static_cast<size_t>(size);
  fclose(fp);
  return ok;
}

bool WriteWholeFile(const BASE_String* path, const ByteChunk& data)
{
  if (!path || path->GetLength() == 0) return false;
  FILE* fp = fopen(path->Get(), "wb");
  if (!fp) return false;
  const size_t size = static_cast<size_t>(data.Size());
  bool ok = size == 0 || fwrite(data.Data(), 1, size, fp) == size;
  ok = fclose(fp) == 0 && ok;
  return ok;
}

bool CopyImage(const unsigned char* data, int size, ByteChunk* out)
{
  if (size < 0 || size > kMaxFxFileSize || (size > 0 && !data)) return false;
  return out->AppendBytes(data, size) == size;
}
// The five big-endian words that open both program and bank files.
struct FileHeader {
  int magic = 0, byteSize = 0, form = 0, version = 0, id = 0;
};

// Returns the position after the header, or -1 when the file is too short.
int ReadFileHeader(const ByteChunk& file, FileHeader* h)
{
  int pos = ReadBEInt(file, &h->magic, 0);
  pos = ReadBEInt(file, &h->byteSize, pos);
  pos = ReadBEInt(file, &h->form, pos);
  pos = ReadBEInt(file, &h->version, pos);
  return ReadBEInt(file, &h->id, pos);
}

// Applies one big-endian normalised float per parameter, in index order,
// from *pos on; a value the file ends before counts as 0.0. False at the
// first value that is not a number (the caller undoes what was applied).
bool ApplyNormalizedParams(IEffectBase* plug, const ByteChunk& file, int* pos)
{
  const int n = plug->NParams();
  for (int i = 0; i < n; ++i) {
    float v = 0.0f;
    *pos = ReadBEFloat(file, &v, *pos);
    if (*pos < 0) v = 0.0f;
    if (std::isnan(v)) return false;
    plug->GetParam(i)->SetNormalized(v);
  }
  return true;
}

}  // namespace

// ---- Saving ----

bool IEffectBase::MakeProgramFile(ByteChunk* pFile)
{
  if (!pFile) return false;
  BASE_MutexLock lock(mMutex);
  pFile->Clear();
  ByteChunk state;
  if (mStateChunks) {
    InitChunkWithFrameworkVer(&state);
    if (!SerializeState(&state)) return false;
  }
  const IPreset* current = mPresets.Get(mCurrentPresetIdx);
  AppendBEInt(pFile, kChunkMagic);
  AppendBEInt(pFile, mStateChunks ? state.Size() + 60 : 0);
  AppendBEInt(pFile, mStateChunks ? kProgramChunkForm : kProgramParamsForm);
  AppendBEInt(pFile, kProgramFormatVersion);
  AppendBEInt(pFile, mUniqueID);
  AppendBEInt(pFile, GetEffectVersion(true));
  AppendBEInt(pFile, NParams());
  AppendName(pFile, current ? current->mName : nullptr);
  if (mStateChunks) {
    AppendBEInt(pFile, state.Size());
    pFile->AppendChunk(&state);
    return pFile->Size() == kProgramHeaderSize + 4 + state.Size();
  }
  const int n = NParams();
  for (int i = 0; i < n; ++i) AppendBEFloat(pFile, static_cast<float>(GetParam(i)->GetNormalized()));
  return pFile->Size() == kProgramHeaderSize + 4 * n;
}

bool IEffectBase::MakeBankFile(ByteChunk* pFile)
{
  if (!pFile) return false;
  BASE_MutexLock lock(mMutex);
  pFile->Clear();
  ByteChunk bank;
  if (mStateChunks) {
    InitChunkWithFrameworkVer(&bank);
    if (!SerializePresets(&bank)) return false;
  }
  AppendBEInt(pFile, kChunkMagic);
  AppendBEInt(pFile, mStateChunks ? bank.Size() + 160 : 0);
  AppendBEInt(pFile, mStateChunks ? kBankChunkForm : kBankProgramsForm);
  AppendBEInt(pFile, kBankFormatVersion);
  AppendBEInt(pFile, mUniqueID);
  AppendBEInt(pFile, GetEffectVersion(true));
  AppendBEInt(pFile, NPresets());
  AppendBEInt(pFile, mCurrentPresetIdx);
  const unsigned char reserved[kBankReservedSize] = {};
  pFile->AppendBytes(reserved, kBankReservedSize);
  if (mStateChunks) {
    AppendBEInt(pFile, bank.Size());
    pFile->AppendChunk(&bank);
    return pFile->Size() == kBankHeaderSize + 4 + bank.Size();
  }
  const int nParams = NParams(), nPresets = NPresets();
  for (int p = 0; p < nPresets; ++p) {
    const IPreset* preset = mPresets.Get(p);
    AppendBEInt(pFile, kChunkMagic);
    AppendBEInt(pFile, 0);
    AppendBEInt(pFile, kProgramParamsForm);
    AppendBEInt(pFile, kProgramFormatVersion);
    AppendBEInt(pFile, mUniqueID);
    AppendBEInt(pFile, GetEffectVersion(true));
    AppendBEInt(pFile, nParams);
    AppendName(pFile, preset->mName);
    // The stored state read as a parameter block; missing values count as 0.
    for (int i = 0; i < nParams; ++i) {
      double v = 0.0;
      if (preset->mChunk.ReadValue(&v, i * 8) < 0) v = 0.0;
      AppendBEFloat(pFile, static_cast<float>(GetParam(i)->GetNormalized(v)));
    }
  }
  return pFile->Size() == kBankHeaderSize + nPresets * (kProgramHeaderSize + 4 * nParams);
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
  ByteChunk file;
  if (!CopyImage(data, size, &file)) return false;
  BASE_MutexLock lock(mMutex);

  FileHeader h;
  int pos = ReadFileHeader(file, &h);
  if (pos < 0 || h.magic != kChunkMagic || h.version != kProgramFormatVersion || h.id != mUniqueID)
    return false;
  const bool chunkForm = h.form == kProgramChunkForm && mStateChunks;
  if (!chunkForm && h.form != kProgramParamsForm) return false;

  char name[kNameFieldSize + 1];
  pos = file.Size() >= kProgramHeaderSize ? ReadName(file, name, 28) : -1;
  if (pos < 0) name[0] = '\0';

  return ApplyWhole([&] {
    if (chunkForm) {
      if (UnserializeState(&file, SkipChunkPrefix(file, pos)) < 0) return false;
    } else if (!ApplyNormalizedParams(this, file, &pos)) {
      return false;
    }
    ModifyCurrentPreset(name);
    RestorePreset(mCurrentPresetIdx);
    InformHostOfProgramChange();
    return true;
  });
}

bool IEffectBase::LoadBankFromMemory(const unsigned char* data, int size)
{
  ByteChunk file;
  if (!CopyImage(data, size, &file)) return false;
  BASE_MutexLock lock(mMutex);

  FileHeader h;
  int pos = ReadFileHeader(file, &h);
  if (pos < 0 || h.magic != kChunkMagic || h.id != mUniqueID) return false;
  const int bodyPos = file.Size() >= kBankHeaderSize ? kBankHeaderSize : -1;

  if (h.form == kBankChunkForm && mStateChunks) {
    return ApplyWhole([&] {
      if (UnserializePresets(&file, SkipChunkPrefix(file, bodyPos)) < 0) return false;
      InformHostOfProgramChange();
      return true;
    });
  }
  if (h.form != kBankProgramsForm) return false;

  int nPrograms = 0, currentProgram = 0;
  pos = ReadBEInt(file, &nPrograms, 24);
  pos = ReadBEInt(file, &currentProgram, pos);
  if (pos < 0) return false;

  pos = bodyPos;
  const int nParams = NParams();
  return ApplyWhole([&] {
    for (int p = 0; p < nPrograms; ++p) {
      int fields[7] = {};
      for (int f = 0; f < 7; ++f) pos = ReadBEInt(file, fields + f, pos);
      if (pos < 0 || fields[0] != kChunkMagic || fields[2] != kProgramParamsForm ||
          fields[3] != kProgramFormatVersion || fields[6] != nParams)
        return false;
      char name[kNameFieldSize + 1];
      pos = ReadName(file, name, pos);
      RestorePreset(p);
      if (!ApplyNormalizedParams(this, file, &pos)) return false;
      ModifyCurrentPreset(name);
    }
    RestorePreset(currentProgram);
    InformHostOfProgramChange();
    return true;
  });
}
