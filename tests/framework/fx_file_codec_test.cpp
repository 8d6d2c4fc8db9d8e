// The program and bank file codec on images built by hand.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/FxFile.h"

namespace {

using Image = std::vector<unsigned char>;

// Hand-written images: big-endian words, magics and raw bytes.
struct ImageWriter {
  Image bytes;
  ImageWriter& Int(unsigned v)
  {
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<unsigned char>(v >> shift));
    return *this;
  }
  ImageWriter& Magic(const char* text)
  {
    bytes.insert(bytes.end(), text, text + 4);
    return *this;
  }
  ImageWriter& Float(float f)
  {
    unsigned v;
    std::memcpy(&v, &f, 4);
    return Int(v);
  }
  ImageWriter& Name(const std::string& name)
  {
    Image field(kFxNameSize, 0);
    std::memcpy(field.data(), name.data(), name.size());
    bytes.insert(bytes.end(), field.begin(), field.end());
    return *this;
  }
  ImageWriter& Zeros(size_t n)
  {
    bytes.insert(bytes.end(), n, 0);
    return *this;
  }
  ImageWriter& Raw(const Image& raw)
  {
    bytes.insert(bytes.end(), raw.begin(), raw.end());
    return *this;
  }
};

const unsigned kQry1 = 0x51727931;  // "Qry1"

// A four-parameter program in the parameter form, as the effect saves it.
Image ParamsProgram(int count = 4)
{
  ImageWriter w;
  w.Magic("CcnK").Int(0).Magic("FxCk").Int(1).Int(kQry1).Int(10000).Int(count).Name("Crunch");
  for (int i = 0; i < count; ++i) w.Float(0.25f * i);
  return w.bytes;
}

Image ChunkProgram(const Image& chunk)
{
  ImageWriter w;
  w.Magic("CcnK")
      .Int(static_cast<unsigned>(chunk.size() + 60))
      .Magic("FPCh")
      .Int(1)
      .Int(kQry1)
      .Int(10000)
      .Int(4);
  w.Name("Chunky").Int(static_cast<unsigned>(chunk.size())).Raw(chunk);
  return w.bytes;
}

Image ListBank(int programs, int current)
{
  ImageWriter w;
  w.Magic("CcnK").Int(0).Magic("FxBk").Int(2).Int(kQry1).Int(10000).Int(programs).Int(current).Zeros(124);
  for (int p = 0; p < programs; ++p) {
    w.Magic("CcnK").Int(0).Magic("FxCk").Int(1).Int(kQry1).Int(10000).Int(2).Name("P" + std::to_string(p));
    w.Float(0.5f).Float(static_cast<float>(p));
  }
  return w.bytes;
}

Image ChunkBank(const Image& chunk)
{
  ImageWriter w;
  w.Magic("CcnK").Int(static_cast<unsigned>(chunk.size() + 160)).Magic("FBCh").Int(2).Int(kQry1).Int(10000);
  w.Int(3).Int(1).Zeros(124).Int(static_cast<unsigned>(chunk.size())).Raw(chunk);
  return w.bytes;
}

Image Bytes(const ByteChunk& chunk) { return Image(chunk.Data(), chunk.Data() + chunk.Size()); }

EFxFileError Program(const Image& image, IFxProgram* program)
{
  return ParseFxProgram(image.data(), image.size(), program);
}

EFxFileError Bank(const Image& image, IFxBank* bank) { return ParseFxBank(image.data(), image.size(), bank); }

TEST(FxFileCodec, ProgramFormsReadTheirFieldsAndRebuildByteForByte)
{
  IFxProgram program;
  const Image params = ParamsProgram();
  ASSERT_EQ(params.size(), 72u);
  ASSERT_EQ(Program(params, &program), kFxOK);
  EXPECT_FALSE(program.IsChunkForm());
  EXPECT_EQ(program.mPluginID, static_cast<int>(kQry1));
  EXPECT_EQ(program.mPluginVersion, 10000);
  EXPECT_EQ(program.mNumParams, 4);
  EXPECT_STREQ(program.mName, "Crunch");
  ASSERT_EQ(program.mValues.GetSize(), 4);
  EXPECT_EQ(program.mValues.Get()[3], 0.75f);
  ByteChunk rebuilt;
  ASSERT_EQ(BuildFxProgram(program, &rebuilt), kFxOK);
  EXPECT_EQ(Bytes(rebuilt), params);

  const Image chunk = {'t', 'f', 'f', 'p', 0, 0, 1, 0, 9, 8, 7};
  const Image chunked = ChunkProgram(chunk);
  ASSERT_EQ(Program(chunked, &program), kFxOK);  // the record is reset first
  EXPECT_TRUE(program.IsChunkForm());
  EXPECT_EQ(program.mValues.GetSize(), 0);
  EXPECT_EQ(Bytes(program.mChunk), chunk);
  ASSERT_EQ(BuildFxProgram(program, &rebuilt), kFxOK);
  EXPECT_EQ(Bytes(rebuilt), chunked);  // byte size = chunk + 60 = file length
}

TEST(FxFileCodec, BankFormsReadTheirProgramsAndRebuildByteForByte)
{
  IFxBank bank;
  const Image list = ListBank(3, 2);
  ASSERT_EQ(Bank(list, &bank), kFxOK);
  EXPECT_FALSE(bank.IsChunkForm());
  EXPECT_EQ(bank.mNumPrograms, 3);
  EXPECT_EQ(bank.mCurrentProgram, 2);
  ASSERT_EQ(bank.NPrograms(), 3);
  EXPECT_STREQ(bank.GetProgram(2)->mName, "P2");
  EXPECT_EQ(bank.GetProgram(2)->mValues.Get()[1], 2.0f);
  ByteChunk rebuilt;
  ASSERT_EQ(BuildFxBank(bank, &rebuilt), kFxOK);
  EXPECT_EQ(Bytes(rebuilt), list);

  const Image chunk(37, 0xA5);
  const Image chunked = ChunkBank(chunk);
  ASSERT_EQ(Bank(chunked, &bank), kFxOK);
  EXPECT_TRUE(bank.IsChunkForm());
  EXPECT_EQ(bank.NPrograms(), 0);
  EXPECT_EQ(bank.mNumPrograms, 3);
  EXPECT_EQ(bank.mCurrentProgram, 1);
  EXPECT_EQ(Bytes(bank.mChunk), chunk);
  ASSERT_EQ(BuildFxBank(bank, &rebuilt), kFxOK);
  EXPECT_EQ(Bytes(rebuilt), chunked);

  // A version-1 bank has no current program.
  Image old = ListBank(1, 5);
  old[15] = 1;
  ASSERT_EQ(Bank(old, &bank), kFxOK);
  EXPECT_EQ(bank.mCurrentProgram, 0);
}

TEST(FxFileCodec, EveryCutOfAValidImageIsReportedAsTruncated)
{
  const Image images[] = {ParamsProgram(), ChunkProgram(Image(20, 1)), ListBank(2, 0),
                          ChunkBank(Image(9, 2))};
  for (size_t k = 0; k < 4; ++k) {
    const Image& whole = images[k];
    for (size_t cut = 0; cut < whole.size(); ++cut) {
      const Image part(whole.begin(), whole.begin() + static_cast<long>(cut));
      IFxProgram program;
      IFxBank bank;
      const EFxFileError error = k < 2 ? Program(part, &program) : Bank(part, &bank);
      ASSERT_EQ(error, kFxTruncated) << "image " << k << " cut at " << cut;
    }
  }
}

TEST(FxFileCodec, ACutShortRecordKeepsWhatWasThere)
{
  Image cut = ParamsProgram();
  cut.resize(56 + 4 * 2 + 3);  // two whole values and part of a third
  IFxProgram program;
  ASSERT_EQ(Program(cut, &program), kFxTruncated);
  EXPECT_STREQ(program.mName, "Crunch");
  EXPECT_EQ(program.mNumParams, 4);
  ASSERT_EQ(program.mValues.GetSize(), 2);
  EXPECT_EQ(program.mValues.Get()[1], 0.25f);

  cut = ChunkProgram(Image(30, 7));
  cut.resize(cut.size() - 10);
  ASSERT_EQ(Program(cut, &program), kFxTruncated);
  EXPECT_EQ(program.mChunk.Size(), 20);

  // A bank cut inside its second program keeps the first whole and the
  // second's header; the third is not there at all.
  cut = ListBank(3, 0);
  cut.resize(156 + 64 + 56 + 2);
  IFxBank bank;
  ASSERT_EQ(Bank(cut, &bank), kFxTruncated);
  ASSERT_EQ(bank.NPrograms(), 2);
  EXPECT_EQ(bank.GetProgram(0)->mValues.GetSize(), 2);
  EXPECT_STREQ(bank.GetProgram(1)->mName, "P1");
  EXPECT_EQ(bank.GetProgram(1)->mValues.GetSize(), 0);
}

TEST(FxFileCodec, EachKindOfDamageHasItsOwnError)
{
  IFxProgram program;
  IFxBank bank;
  EXPECT_EQ(Program(Image{'R', 'I', 'F', 'F', 0, 0, 0, 0}, &program), kFxNotFxFile);
  EXPECT_EQ(Program(Image{'R', 'I'}, &program), kFxNotFxFile);
  EXPECT_EQ(Program(Image{'C', 'c'}, &program), kFxTruncated);
  EXPECT_EQ(Program(ListBank(1, 0), &program), kFxIsBank);
  EXPECT_EQ(Bank(ParamsProgram(), &bank), kFxIsProgram);

  Image image = ParamsProgram();
  std::memcpy(&image[8], "FxXX", 4);
  EXPECT_EQ(Program(image, &program), kFxUnknownForm);
  image = ParamsProgram();
  image[15] = 2;
  EXPECT_EQ(Program(image, &program), kFxWrongVersion);
  image = ParamsProgram();
  image[24] = 0x80;  // a negative parameter count
  EXPECT_EQ(Program(image, &program), kFxBadCount);
  image = ParamsProgram();
  image[24] = 0x40;  // a billion parameters
  EXPECT_EQ(Program(image, &program), kFxTooLarge);
  EXPECT_EQ(program.mValues.GetSize(), 0);
  image = ChunkProgram(Image(4, 0));
  image[56] = 0xFF;  // a negative chunk size
  EXPECT_EQ(Program(image, &program), kFxBadCount);
  image[56] = 0x10;  // a 256 MiB chunk
  EXPECT_EQ(Program(image, &program), kFxTooLarge);

  image = ListBank(2, 0);
  std::memcpy(&image[156 + 64 + 8], "FPCh", 4);  // the second program is a chunk
  EXPECT_EQ(Bank(image, &bank), kFxBadBankProgram);
  EXPECT_EQ(bank.NPrograms(), 1);
  image = ListBank(1, 0);
  image[156 + 15] = 2;
  EXPECT_EQ(Bank(image, &bank), kFxBadBankProgram);
  image = ListBank(1, 0);
  image[24] = 0x01;  // sixteen million programs
  EXPECT_EQ(Bank(image, &bank), kFxTooLarge);
  image[24] = 0xF0;
  EXPECT_EQ(Bank(image, &bank), kFxBadCount);

  const Image huge(static_cast<size_t>(kFxMaxFileSize) + 1, 0);
  EXPECT_EQ(ParseFxProgram(huge.data(), huge.size(), &program), kFxTooLarge);
  EXPECT_EQ(ParseFxBank(huge.data(), huge.size(), &bank), kFxTooLarge);
  EXPECT_EQ(ParseFxProgram(nullptr, 100, &program), kFxTruncated);
}

TEST(FxFileCodec, NamesFillTheirFieldAndAreCutToFitWhenWritten)
{
  ImageWriter w;
  w.Magic("CcnK").Int(0).Magic("FxCk").Int(1).Int(kQry1).Int(1).Int(0);
  const std::string full(28, 'N');
  w.bytes.insert(w.bytes.end(), full.begin(), full.end());
  IFxProgram program;
  ASSERT_EQ(Program(w.bytes, &program), kFxOK);
  EXPECT_EQ(std::string(program.mName), full);  // all 28 characters, no zero needed

  program.SetName(std::string(40, 'x').c_str());
  EXPECT_EQ(std::strlen(program.mName), 27u);
  ByteChunk built;
  ASSERT_EQ(BuildFxProgram(program, &built), kFxOK);
  EXPECT_EQ(built.Data()[28 + 26], 'x');
  EXPECT_EQ(built.Data()[28 + 27], 0);
  program.SetName(nullptr);
  EXPECT_STREQ(program.mName, "");
}

TEST(FxFileCodec, BuildersRefuseRecordsWhoseCountsDoNotMatchTheirContents)
{
  IFxProgram program;
  program.mNumParams = 3;
  program.mValues.Resize(2);
  ByteChunk file;
  file.AppendValue(1);
  EXPECT_EQ(BuildFxProgram(program, &file), kFxBadCount);
  EXPECT_EQ(file.Size(), 0);

  IFxBank bank;
  bank.mNumPrograms = 2;
  bank.AddProgram();
  EXPECT_EQ(BuildFxBank(bank, &file), kFxBadCount);
  bank.AddProgram()->mForm = kFxProgramChunkForm;
  EXPECT_EQ(BuildFxBank(bank, &file), kFxBadCount);
  bank.GetProgram(1)->mForm = kFxProgramParamsForm;
  ASSERT_EQ(BuildFxBank(bank, &file), kFxOK);
  EXPECT_EQ(file.Size(), 156 + 2 * 56);

  program.mForm = kFxProgramChunkForm;
  program.mChunk.Resize(kFxMaxFileSize);
  EXPECT_EQ(BuildFxProgram(program, &file), kFxTooLarge);
}

}  // namespace
