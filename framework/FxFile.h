#pragma once
// Program (.fxp) and bank (.fxb) files in the VST 2.4 layouts, as a codec
// between a file image and a record of what it holds. Nothing here knows a
// plug-in: whether a file's unique ID, parameter count or chunk suit the
// plug-in is the caller's decision.
//
// A file is a sequence of big-endian 32-bit fields, four-character magics
// and a 28-byte name field; a program holds either one normalised float per
// parameter ("FxCk") or an opaque chunk ("FPCh"); a bank holds either a list
// of parameter-form programs ("FxBk") or an opaque chunk ("FBCh"). Chunks
// are kept byte for byte as they stand in the file.
//
// Parsing reads only inside the image and reports the first failure with
// its own code. On failure the record still holds every field read whole
// before it, the values and chunk bytes that were there, and in a bank every
// program whose seven header fields were read and open a parameter-form
// program with a count of zero or more, so that a lenient reader can apply
// what a damaged file still carries; a strict reader refuses it.
//
// A parse reads either by header, believing the counts, sizes and version
// the header announces, or by layout, for a reader that knows what it
// expects and takes only each field's place from the format (EFxReading).
//
// Threads: no state of its own; a record belongs to its caller, who
// serialises access to it. Nothing here locks.

#include <cstddef>

#include "base/heapbuf.h"
#include "base/ptrlist.h"
#include "framework/ByteChunk.h"

constexpr int FxFourCC(char a, char b, char c, char d)
{
  return static_cast<int>((static_cast<unsigned>(static_cast<unsigned char>(a)) << 24) |
                          (static_cast<unsigned>(static_cast<unsigned char>(b)) << 16) |
                          (static_cast<unsigned>(static_cast<unsigned char>(c)) << 8) |
                          static_cast<unsigned>(static_cast<unsigned char>(d)));
}

constexpr int kFxChunkMagic = FxFourCC('C', 'c', 'n', 'K');
constexpr int kFxProgramParamsForm = FxFourCC('F', 'x', 'C', 'k');
constexpr int kFxProgramChunkForm = FxFourCC('F', 'P', 'C', 'h');
constexpr int kFxBankProgramsForm = FxFourCC('F', 'x', 'B', 'k');
constexpr int kFxBankChunkForm = FxFourCC('F', 'B', 'C', 'h');
constexpr int kFxProgramFormatVersion = 1;
// Version 2 banks carry the current program; version 1 banks leave it 0.
constexpr int kFxBankFormatVersion = 2;

constexpr int kFxNameSize = 28;
// The five words every file opens with: magic, byte size, form, format
// version and plug-in ID.
constexpr int kFxIdentitySize = 20;
// A bank's header up to and with its program count and current program.
constexpr int kFxBankCountsSize = 32;
constexpr int kFxProgramHeaderSize = 56;
constexpr int kFxBankHeaderSize = 156;
constexpr int kFxBankReservedSize = 124;

// The one limit of the format: no image larger than this is read or built,
// and no count or chunk size that would need more is believed.
constexpr int kFxMaxFileSize = 64 * 1024 * 1024;

enum EFxFileError {
  kFxOK = 0,
  kFxTruncated,       // the image ends inside a field or before the data its header announces
  kFxNotFxFile,       // it does not start with "CcnK"
  kFxIsBank,          // a bank file where a program file was asked for
  kFxIsProgram,       // a program file where a bank file was asked for
  kFxUnknownForm,     // a form magic of neither kind
  kFxWrongVersion,    // a program format version other than 1
  kFxTooLarge,        // the image, a count or a chunk size beyond kFxMaxFileSize
  kFxBadCount,        // a negative count or chunk size; a record whose count and contents differ
  kFxBadBankProgram,  // a bank program that is not a version-1 "CcnK"/"FxCk" program
  kFxNoMemory         // the record or image could not be allocated
};

// How far a parse believes what a header announces.
enum EFxReading {
  // A program holds as many values as its parameter count says and a chunk
  // as many bytes as its chunk size says; a version-1 bank has no current
  // program (its place is reserved there) and reads as 0.
  kFxByHeader,
  // A program's values and a program's or bank's chunk run from their place
  // to the end of the image: the parameter count and chunk size are read
  // but neither checked nor used, and a last value cut short makes the
  // image truncated. A bank's current program is read from its place
  // whatever the bank's version. The programs of a list bank can only be
  // found through their counts and are read by header.
  kFxByLayout
};

// A short phrase for messages, read after the file's name ("is truncated").
const char* FxFileErrorText(EFxFileError error);

// One program: a program file, or one program of a parameter-list bank.
class IFxProgram {
public:
  IFxProgram() = default;
  IFxProgram(const IFxProgram&) = delete;
  IFxProgram& operator=(const IFxProgram&) = delete;

  bool IsChunkForm() const { return mForm == kFxProgramChunkForm; }
  // Stores name in the name field; longer names are cut to 27 characters so
  // that a zero always ends the field. Null counts as "".
  void SetName(const char* name);

  int mForm = kFxProgramParamsForm;
  int mFormatVersion = kFxProgramFormatVersion;
  int mByteSize = 0;  // as read; builders write the value the form calls for
  int mPluginID = 0;
  int mPluginVersion = 0;
  int mNumParams = 0;                // the header's parameter count
  char mName[kFxNameSize + 1] = {};  // a name filling all 28 bytes keeps all 28
  BASE_TypedBuf<float> mValues;      // parameter form: normalised values, in index order
  ByteChunk mChunk;                  // chunk form: the chunk as stored
};

// One bank: a chunk or a list of parameter-form programs.
class IFxBank {
public:
  IFxBank() = default;
  ~IFxBank();
  IFxBank(const IFxBank&) = delete;
  IFxBank& operator=(const IFxBank&) = delete;

  bool IsChunkForm() const { return mForm == kFxBankChunkForm; }
  int NPrograms() const { return mPrograms.GetSize(); }
  IFxProgram* GetProgram(int idx) const { return mPrograms.Get(idx); }
  // Appends an empty parameter-form program owned by the bank; null when the
  // list cannot grow.
  IFxProgram* AddProgram();
  void ClearPrograms();

  int mForm = kFxBankProgramsForm;
  int mFormatVersion = kFxBankFormatVersion;
  int mByteSize = 0;
  int mPluginID = 0;
  int mPluginVersion = 0;
  int mNumPrograms = 0;     // the header's program count
  int mCurrentProgram = 0;  // read as 0 from a version-1 bank
  ByteChunk mChunk;         // chunk form: the chunk as stored

private:
  BASE_PtrList<IFxProgram> mPrograms;  // program-list form
};

// Parses a program file image into program (which is reset first).
EFxFileError ParseFxProgram(const unsigned char* data, size_t size, IFxProgram* program,
                            EFxReading reading = kFxByHeader);

// Parses a bank file image into bank (which is reset first).
EFxFileError ParseFxBank(const unsigned char* data, size_t size, IFxBank* bank,
                         EFxReading reading = kFxByHeader);

// Builds the file image of a record into file (cleared first). The header's
// counts must match what the record holds: a parameter-form program's
// mNumParams its values, a list bank's mNumPrograms its programs, and each
// of those a parameter-form program; otherwise kFxBadCount and an empty file.
// The byte size field is 0 in the list forms and the whole file's length in
// the chunk forms.
EFxFileError BuildFxProgram(const IFxProgram& program, ByteChunk* file);
EFxFileError BuildFxBank(const IFxBank& bank, ByteChunk* file);
