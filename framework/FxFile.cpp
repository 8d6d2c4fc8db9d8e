#include "framework/FxFile.h"

#include <cstring>

#include "base/cstring.h"

namespace {

// Sequential big-endian reads over an image. The first read that does not
// fit marks the reader truncated; every later read fails too.
class FxReader {
public:
  FxReader(const unsigned char* data, size_t size) : mData(data), mSize(size) {}

  bool Int(int* value)
  {
    if (!Take(4)) return false;
    const unsigned char* p = mData + mPos - 4;
    *value = static_cast<int>((static_cast<unsigned>(p[0]) << 24) | (static_cast<unsigned>(p[1]) << 16) |
                              (static_cast<unsigned>(p[2]) << 8) | static_cast<unsigned>(p[3]));
    return true;
  }

  bool Float(float* value)
  {
    int bits = 0;
    if (!Int(&bits)) return false;
    std::memcpy(value, &bits, sizeof bits);
    return true;
  }

  // The 28-byte name field into name (29 bytes, always terminated).
  bool Name(char* name)
  {
    if (!Take(kFxNameSize)) return false;
    std::memcpy(name, mData + mPos - kFxNameSize, kFxNameSize);
    name[kFxNameSize] = '\0';
    return true;
  }

  bool Skip(size_t count) { return Take(count); }

  // Up to count bytes into chunk; false (truncated) when fewer were there,
  // after keeping those that were.
  bool Bytes(size_t count, ByteChunk* chunk, bool* noMemory)
  {
    const size_t have = Left() < count ? Left() : count;
    if (have > 0 && chunk->AppendBytes(mData + mPos, static_cast<int>(have)) != static_cast<int>(have)) {
      *noMemory = true;
      return false;
    }
    mPos += have;
    return have == count || Fail();
  }

  size_t Left() const { return mTruncated ? 0 : mSize - mPos; }
  size_t Pos() const { return mPos; }

private:
  bool Take(size_t count)
  {
    if (mTruncated || count > mSize - mPos) return Fail();
    mPos += count;
    return true;
  }
  bool Fail()
  {
    mTruncated = true;
    return false;
  }

  const unsigned char* mData;
  size_t mSize;
  size_t mPos = 0;
  bool mTruncated = false;
};

// Big-endian image under construction; remembers an allocation failure.
class FxWriter {
public:
  explicit FxWriter(ByteChunk* file) : mFile(file) { mFile->Clear(); }

  void Int(int value)
  {
    const unsigned v = static_cast<unsigned>(value);
    const unsigned char bytes[4] = {static_cast<unsigned char>(v >> 24), static_cast<unsigned char>(v >> 16),
                                    static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v)};
    Bytes(bytes, 4);
  }
  void Float(float value)
  {
    int bits;
    std::memcpy(&bits, &value, sizeof bits);
    Int(bits);
  }
  void Name(const char* name)
  {
    char field[kFxNameSize] = {};
    BASE_CopyString(field, name, kFxNameSize);
    Bytes(field, kFxNameSize);
  }
  void Zeros(int count)
  {
    const unsigned char zeros[kFxBankReservedSize] = {};
    while (count > 0) {
      const int n = count < kFxBankReservedSize ? count : kFxBankReservedSize;
      Bytes(zeros, n);
      count -= n;
    }
  }
  void Bytes(const void* bytes, int count)
  {
    if (count <= 0) return;
    const int before = mFile->Size();
    if (mFile->AppendBytes(bytes, count) != before + count) mFailed = true;
  }

  EFxFileError Finish()
  {
    if (!mFailed) return kFxOK;
    mFile->Clear();
    return kFxNoMemory;
  }

private:
  ByteChunk* mFile;
  bool mFailed = false;
};

bool IsProgramForm(int form) { return form == kFxProgramParamsForm || form == kFxProgramChunkForm; }
bool IsBankForm(int form) { return form == kFxBankProgramsForm || form == kFxBankChunkForm; }

// What a header that announces byteCount more bytes at position needs.
EFxFileError CheckAnnounced(size_t position, long long byteCount)
{
  if (byteCount < 0) return kFxBadCount;
  return static_cast<long long>(position) + byteCount > kFxMaxFileSize ? kFxTooLarge : kFxOK;
}

// The magic, byte size and form that open every file. An image too short
// for its magic is a truncated file when what it holds could start one.
EFxFileError ReadOpening(FxReader* in, const unsigned char* data, size_t size, int* byteSize, int* form)
{
  if (size > static_cast<size_t>(kFxMaxFileSize)) return kFxTooLarge;
  int magic = 0;
  if (!in->Int(&magic)) {
    const char expected[4] = {'C', 'c', 'n', 'K'};
    return size == 0 || std::memcmp(data, expected, size) == 0 ? kFxTruncated : kFxNotFxFile;
  }
  if (magic != kFxChunkMagic) return kFxNotFxFile;
  if (!in->Int(byteSize) || !in->Int(form)) return kFxTruncated;
  if (!IsProgramForm(*form) && !IsBankForm(*form)) return kFxUnknownForm;
  return kFxOK;
}

// The parameter values behind a header: wanted of them, as many as the
// image holds whole.
EFxFileError ReadValues(FxReader* in, size_t wanted, IFxProgram* program)
{
  const size_t present = in->Left() / 4 < wanted ? in->Left() / 4 : wanted;
  float* values = program->mValues.Resize(static_cast<int>(present));
  if (present > 0 && !values) return kFxNoMemory;
  for (size_t i = 0; i < present; ++i) in->Float(values + i);
  return present == wanted ? kFxOK : kFxTruncated;
}

// The values a header's count announces.
EFxFileError ReadAnnouncedValues(FxReader* in, int count, IFxProgram* program)
{
  if (count < 0) return kFxBadCount;
  const EFxFileError announced = CheckAnnounced(in->Pos(), 4LL * count);
  if (announced != kFxOK) return announced;
  return ReadValues(in, static_cast<size_t>(count), program);
}

// The 32-bit chunk size and the chunk behind it: as many bytes as the size
// announces, or by layout every byte to the image's end.
EFxFileError ReadChunk(FxReader* in, EFxReading reading, ByteChunk* chunk)
{
  int chunkSize = 0;
  if (!in->Int(&chunkSize)) return kFxTruncated;
  size_t wanted = in->Left();
  if (reading == kFxByHeader) {
    const EFxFileError announced = CheckAnnounced(in->Pos(), chunkSize);
    if (announced != kFxOK) return announced;
    wanted = static_cast<size_t>(chunkSize);
  }
  bool noMemory = false;
  if (in->Bytes(wanted, chunk, &noMemory)) return kFxOK;
  return noMemory ? kFxNoMemory : kFxTruncated;
}

// The program fields after the opening words: version, ID, plug-in version,
// parameter count, name, then values or chunk.
EFxFileError ReadProgramBody(FxReader* in, EFxReading reading, IFxProgram* program)
{
  if (!in->Int(&program->mFormatVersion)) return kFxTruncated;
  if (program->mFormatVersion != kFxProgramFormatVersion) return kFxWrongVersion;
  if (!in->Int(&program->mPluginID) || !in->Int(&program->mPluginVersion) || !in->Int(&program->mNumParams))
    return kFxTruncated;
  if (!in->Name(program->mName)) return kFxTruncated;
  if (program->IsChunkForm()) return ReadChunk(in, reading, &program->mChunk);
  if (reading == kFxByLayout) return ReadValues(in, (in->Left() + 3) / 4, program);
  return ReadAnnouncedValues(in, program->mNumParams, program);
}

void ResetProgram(IFxProgram* program)
{
  program->mForm = kFxProgramParamsForm;
  program->mFormatVersion = 0;
  program->mByteSize = program->mPluginID = program->mPluginVersion = program->mNumParams = 0;
  std::memset(program->mName, 0, sizeof program->mName);
  program->mValues.Resize(0);
  program->mChunk.Clear();
}

// One program of a list bank: a complete version-1 parameter-form program.
EFxFileError ReadBankProgram(FxReader* in, IFxBank* bank)
{
  int fields[7] = {};
  for (int& field : fields)
    if (!in->Int(&field)) return kFxTruncated;
  if (fields[0] != kFxChunkMagic || fields[2] != kFxProgramParamsForm || fields[3] != kFxProgramFormatVersion)
    return kFxBadBankProgram;
  if (fields[6] < 0) return kFxBadCount;
  IFxProgram* program = bank->AddProgram();
  if (!program) return kFxNoMemory;
  program->mByteSize = fields[1];
  program->mFormatVersion = fields[3];
  program->mPluginID = fields[4];
  program->mPluginVersion = fields[5];
  program->mNumParams = fields[6];
  if (!in->Name(program->mName)) return kFxTruncated;
  return ReadAnnouncedValues(in, program->mNumParams, program);
}

EFxFileError WriteProgram(FxWriter* out, const IFxProgram& program)
{
  if (program.IsChunkForm()) {
    const long long fileSize = kFxProgramHeaderSize + 4LL + program.mChunk.Size();
    if (fileSize > kFxMaxFileSize) return kFxTooLarge;
    out->Int(kFxChunkMagic);
    out->Int(static_cast<int>(fileSize));
    out->Int(kFxProgramChunkForm);
  } else {
    if (program.mForm != kFxProgramParamsForm || program.mNumParams != program.mValues.GetSize())
      return kFxBadCount;
    if (kFxProgramHeaderSize + 4LL * program.mNumParams > kFxMaxFileSize) return kFxTooLarge;
    out->Int(kFxChunkMagic);
    out->Int(0);
    out->Int(kFxProgramParamsForm);
  }
  out->Int(kFxProgramFormatVersion);
  out->Int(program.mPluginID);
  out->Int(program.mPluginVersion);
  out->Int(program.mNumParams);
  out->Name(program.mName);
  if (program.IsChunkForm()) {
    out->Int(program.mChunk.Size());
    out->Bytes(program.mChunk.Data(), program.mChunk.Size());
  } else {
    const float* values = program.mValues.Get();
    for (int i = 0; i < program.mNumParams; ++i) out->Float(values[i]);
  }
  return kFxOK;
}

long long BankFileSize(const IFxBank& bank)
{
  if (bank.IsChunkForm()) return kFxBankHeaderSize + 4LL + bank.mChunk.Size();
  long long size = kFxBankHeaderSize;
  for (int i = 0; i < bank.NPrograms(); ++i)
    size += kFxProgramHeaderSize + 4LL * bank.GetProgram(i)->mValues.GetSize();
  return size;
}

}  // namespace

const char* FxFileErrorText(EFxFileError error)
{
  switch (error) {
    case kFxOK:
      return "is sound";
    case kFxTruncated:
      return "is truncated";
    case kFxNotFxFile:
      return "is not a VST program or bank file (no 'CcnK' header)";
    case kFxIsBank:
      return "is a bank file, not a program file";
    case kFxIsProgram:
      return "is a program file, not a bank file";
    case kFxUnknownForm:
      return "has a form that is neither a program nor a bank";
    case kFxWrongVersion:
      return "has a program format version other than 1";
    case kFxTooLarge:
      return "is too large for a program or bank file";
    case kFxBadCount:
      return "holds a negative or inconsistent count";
    case kFxBadBankProgram:
      return "holds a program that is not a parameter list";
    case kFxNoMemory:
      return "could not be held in memory";
  }
  return "is unreadable";
}

void IFxProgram::SetName(const char* name)
{
  std::memset(mName, 0, sizeof mName);
  BASE_CopyString(mName, name, kFxNameSize);
}

IFxBank::~IFxBank() { ClearPrograms(); }

IFxProgram* IFxBank::AddProgram()
{
  IFxProgram* program = new IFxProgram();
  if (mPrograms.Add(program)) return program;
  delete program;
  return nullptr;
}

void IFxBank::ClearPrograms() { mPrograms.Empty(true); }

EFxFileError ParseFxProgram(const unsigned char* data, size_t size, IFxProgram* program, EFxReading reading)
{
  ResetProgram(program);
  if (!data) size = 0;
  FxReader in(data, size);
  EFxFileError error = ReadOpening(&in, data, size, &program->mByteSize, &program->mForm);
  if (error != kFxOK) return error;
  if (IsBankForm(program->mForm)) return kFxIsBank;
  return ReadProgramBody(&in, reading, program);
}

EFxFileError ParseFxBank(const unsigned char* data, size_t size, IFxBank* bank, EFxReading reading)
{
  bank->ClearPrograms();
  bank->mChunk.Clear();
  bank->mForm = kFxBankProgramsForm;
  bank->mFormatVersion = bank->mByteSize = bank->mPluginID = bank->mPluginVersion = 0;
  bank->mNumPrograms = bank->mCurrentProgram = 0;
  if (!data) size = 0;
  FxReader in(data, size);
  EFxFileError error = ReadOpening(&in, data, size, &bank->mByteSize, &bank->mForm);
  if (error != kFxOK) return error;
  if (IsProgramForm(bank->mForm)) return kFxIsProgram;
  int current = 0;
  if (!in.Int(&bank->mFormatVersion) || !in.Int(&bank->mPluginID) || !in.Int(&bank->mPluginVersion) ||
      !in.Int(&bank->mNumPrograms) || !in.Int(&current))
    return kFxTruncated;
  bank->mCurrentProgram = bank->mFormatVersion >= 2 || reading == kFxByLayout ? current : 0;
  if (!in.Skip(kFxBankReservedSize)) return kFxTruncated;
  if (bank->IsChunkForm()) return ReadChunk(&in, reading, &bank->mChunk);

  if (bank->mNumPrograms < 0) return kFxBadCount;
  error = CheckAnnounced(in.Pos(), static_cast<long long>(kFxProgramHeaderSize) * bank->mNumPrograms);
  if (error != kFxOK) return error;
  for (int i = 0; i < bank->mNumPrograms; ++i) {
    error = ReadBankProgram(&in, bank);
    if (error != kFxOK) return error;
  }
  return kFxOK;
}

EFxFileError BuildFxProgram(const IFxProgram& program, ByteChunk* file)
{
  FxWriter out(file);
  const EFxFileError error = WriteProgram(&out, program);
  if (error != kFxOK) {
    file->Clear();
    return error;
  }
  return out.Finish();
}

EFxFileError BuildFxBank(const IFxBank& bank, ByteChunk* file)
{
  file->Clear();
  if (!bank.IsChunkForm()) {
    if (bank.mForm != kFxBankProgramsForm || bank.mNumPrograms != bank.NPrograms()) return kFxBadCount;
    for (int i = 0; i < bank.NPrograms(); ++i) {
      const IFxProgram* program = bank.GetProgram(i);
      if (program->IsChunkForm() || program->mNumParams != program->mValues.GetSize()) return kFxBadCount;
    }
  }
  const long long fileSize = BankFileSize(bank);
  if (fileSize > kFxMaxFileSize) return kFxTooLarge;

  FxWriter out(file);
  out.Int(kFxChunkMagic);
  out.Int(bank.IsChunkForm() ? static_cast<int>(fileSize) : 0);
  out.Int(bank.IsChunkForm() ? kFxBankChunkForm : kFxBankProgramsForm);
  out.Int(kFxBankFormatVersion);
  out.Int(bank.mPluginID);
  out.Int(bank.mPluginVersion);
  out.Int(bank.mNumPrograms);
  out.Int(bank.mCurrentProgram);
  out.Zeros(kFxBankReservedSize);
  if (bank.IsChunkForm()) {
    out.Int(bank.mChunk.Size());
    out.Bytes(bank.mChunk.Data(), bank.mChunk.Size());
  } else {
    for (int i = 0; i < bank.NPrograms(); ++i) WriteProgram(&out, *bank.GetProgram(i));
  }
  return out.Finish();
}
