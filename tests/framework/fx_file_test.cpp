#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "base/string.h"
#include "framework/FxFile.h"
#include "tests/framework/test_plug.h"

namespace {

int BEInt(const unsigned char* p)
{
  return static_cast<int>((static_cast<unsigned>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3]);
}

float BEFloat(const unsigned char* p)
{
  const int bits = BEInt(p);
  float f;
  memcpy(&f, &bits, 4);
  return f;
}

void PutBEInt(std::vector<unsigned char>* bytes, size_t at, int value)
{
  const unsigned v = static_cast<unsigned>(value);
  (*bytes)[at] = static_cast<unsigned char>(v >> 24);
  (*bytes)[at + 1] = static_cast<unsigned char>(v >> 16);
  (*bytes)[at + 2] = static_cast<unsigned char>(v >> 8);
  (*bytes)[at + 3] = static_cast<unsigned char>(v);
}

void PutBEFloat(std::vector<unsigned char>* bytes, size_t at, float value)
{
  int bits;
  memcpy(&bits, &value, 4);
  PutBEInt(bytes, at, bits);
}

std::vector<unsigned char> Bytes(const ByteChunk& chunk)
{
  return std::vector<unsigned char>(chunk.Data(), chunk.Data() + chunk.Size());
}

// Everything a load may change: the live values, every preset's name, flag
// and state, and the current preset.
struct Observed {
  std::vector<unsigned char> live, presets;
  int current;
  bool operator==(const Observed& o) const
  {
    return live == o.live && presets == o.presets && current == o.current;
  }
};

Observed Observe(IEffectBase& plug)
{
  ByteChunk live, presets;
  plug.SerializeState(&live);
  plug.SerializePresets(&presets);
  return {Bytes(live), Bytes(presets), plug.GetCurrentPresetIdx()};
}

std::string TempPath(const char* name) { return std::string(::testing::TempDir()) + "core_fx_" + name; }

double StoredFirst(IEffectBase& plug)
{
  double v = 0.0;
  plug.GetPreset(plug.GetCurrentPresetIdx())->mChunk.ReadValue(&v, 0);
  return v;
}

TEST(FxProgram, ParameterFormIs72Bytes)
{
  QuarryLikePlug plug;
  ByteChunk file;
  ASSERT_TRUE(plug.MakeProgramFile(&file));
  ASSERT_EQ(file.Size(), 72);
  const unsigned char* p = file.Data();
  EXPECT_EQ(memcmp(p, "CcnK", 4), 0);
  EXPECT_EQ(BEInt(p + 4), 0);
  EXPECT_EQ(memcmp(p + 8, "FxCk", 4), 0);
  EXPECT_EQ(BEInt(p + 12), 1);
  EXPECT_EQ(memcmp(p + 16, "Qry1", 4), 0);
  EXPECT_EQ(BEInt(p + 20), 10000);
  EXPECT_EQ(BEInt(p + 24), 4);
  EXPECT_STREQ(reinterpret_cast<const char*>(p + 28), "-");
  for (int i = 29; i < 56; ++i) EXPECT_EQ(p[i], 0);
  EXPECT_FLOAT_EQ(BEFloat(p + 56), 0.25f);
  EXPECT_FLOAT_EQ(BEFloat(p + 60), 0.7f);
  EXPECT_FLOAT_EQ(BEFloat(p + 64), 0.3f);
  EXPECT_EQ(BEFloat(p + 68), 0.0f);
}

TEST(FxProgram, ChunkFormIs100Bytes)
{
  QuarryLikePlug plug(true);
  ByteChunk file;
  ASSERT_TRUE(plug.MakeProgramFile(&file));
  ASSERT_EQ(file.Size(), 100);
  EXPECT_EQ(memcmp(file.Data() + 8, "FPCh", 4), 0);
  EXPECT_EQ(BEInt(file.Data() + 4), 100);
  EXPECT_EQ(BEInt(file.Data() + 56), 40);
  EXPECT_EQ(memcmp(file.Data() + 60, "tffp", 4), 0);

  QuarryLikePlug other(true);
  plug.GetParam(1)->Set(0.1);
  ASSERT_TRUE(plug.MakeProgramFile(&file));
  ASSERT_TRUE(other.LoadProgramFromMemory(file.Data(), file.Size()));
  EXPECT_EQ(other.GetParam(1)->Value(), 0.1);
  EXPECT_EQ(other.GetParam(0)->Value(), -30.0);
  EXPECT_EQ(other.programChanges, 1);
}

TEST(FxProgram, LongNameIsCutToTheField)
{
  QuarryLikePlug plug;
  plug.ModifyCurrentPreset("a program name that is much longer than the field");
  ByteChunk file;
  ASSERT_TRUE(plug.MakeProgramFile(&file));
  EXPECT_EQ(file.Size(), 72);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.Data() + 28)), "a program name that is much");
  EXPECT_FLOAT_EQ(BEFloat(file.Data() + 56), 0.25f);
}

TEST(FxProgram, FileRoundTripRenamesCurrentPreset)
{
  QuarryLikePlug plug;
  plug.GetParam(0)->Set(-10.0);
  plug.GetParam(3)->Set(1.0);
  ByteChunk image;
  plug.MakeProgramFile(&image);
  std::vector<unsigned char> bytes = Bytes(image);
  memcpy(&bytes[28], "Loud", 5);
  FILE* fp = fopen(TempPath("p.fxp").c_str(), "wb");
  ASSERT_NE(fp, nullptr);
  fwrite(bytes.data(), 1, bytes.size(), fp);
  fclose(fp);

  QuarryLikePlug other;
  BASE_String path(TempPath("p.fxp").c_str());
  ASSERT_TRUE(other.LoadProgramFromFXP(&path));
  EXPECT_NEAR(other.GetParam(0)->Value(), -10.0, 1e-5);
  EXPECT_EQ(other.GetParam(3)->Value(), 1.0);
  EXPECT_STREQ(other.GetPresetName(0), "Loud");
  EXPECT_NEAR(StoredFirst(other), -10.0, 1e-5);
  EXPECT_EQ(other.programChanges, 1);

  // Saving through a path writes the same bytes.
  BASE_String out(TempPath("q.fxp").c_str());
  ASSERT_TRUE(plug.SaveProgramAsFXP(&out));
  fp = fopen(out.Get(), "rb");
  ASSERT_NE(fp, nullptr);
  unsigned char buf[200];
  EXPECT_EQ(fread(buf, 1, sizeof(buf), fp), 72u);
  fclose(fp);
  EXPECT_EQ(memcmp(buf, image.Data(), 72), 0);
  remove(path.Get());
  remove(out.Get());
}

TEST(FxProgram, RefusalsChangeNothing)
{
  QuarryLikePlug plug;
  ByteChunk image;
  plug.MakeProgramFile(&image);
  const std::vector<unsigned char> good = Bytes(image);
  QuarryLikePlug target;

  std::vector<unsigned char> bad = good;
  PutBEInt(&bad, 16, 0x41424344);  // foreign plug-in
  EXPECT_FALSE(target.LoadProgramFromMemory(bad.data(), static_cast<int>(bad.size())));
  bad = good;
  PutBEInt(&bad, 12, 2);  // format version
  EXPECT_FALSE(target.LoadProgramFromMemory(bad.data(), static_cast<int>(bad.size())));
  bad = good;
  bad[0] = 'X';
  EXPECT_FALSE(target.LoadProgramFromMemory(bad.data(), static_cast<int>(bad.size())));
  bad = good;
  memcpy(&bad[8], "FPCh", 4);  // chunk form to a plug-in without chunks
  EXPECT_FALSE(target.LoadProgramFromMemory(bad.data(), static_cast<int>(bad.size())));
  memcpy(&bad[8], "Junk", 4);
  EXPECT_FALSE(target.LoadProgramFromMemory(bad.data(), static_cast<int>(bad.size())));
  EXPECT_FALSE(target.LoadProgramFromMemory(good.data(), 19));
  EXPECT_FALSE(target.LoadProgramFromMemory(nullptr, 72));

  BASE_String empty("");
  EXPECT_FALSE(target.LoadProgramFromFXP(&empty));
  EXPECT_FALSE(target.SaveProgramAsFXP(&empty));
  BASE_String missing("/nonexistent-dir/none.fxp");
  EXPECT_FALSE(target.LoadProgramFromFXP(&missing));
  EXPECT_FALSE(target.SaveProgramAsFXP(&missing));
  EXPECT_FALSE(target.SaveBankAsFXB(&missing));
  EXPECT_EQ(target.programChanges, 0);
  EXPECT_EQ(target.GetParam(0)->Value(), -30.0);
  EXPECT_STREQ(target.GetPresetName(0), "-");
}

TEST(FxProgram, HeaderOnlyFileSetsNormalizedZeros)
{
  QuarryLikePlug plug;
  ByteChunk image;
  plug.MakeProgramFile(&image);
  QuarryLikePlug target;
  ASSERT_TRUE(target.LoadProgramFromMemory(image.Data(), 56));
  EXPECT_EQ(target.GetParam(0)->Value(), -40.0);
  EXPECT_EQ(target.GetParam(1)->Value(), 0.0);
  // Without the full header the name is empty and every value missing.
  target.GetParam(0)->Set(-5.0);
  ASSERT_TRUE(target.LoadProgramFromMemory(image.Data(), 40));
  EXPECT_EQ(target.GetParam(0)->Value(), -40.0);
  EXPECT_STREQ(target.GetPresetName(0), "-");
}

TEST(FxProgram, FullWidthNameIsKept)
{
  QuarryLikePlug plug;
  ByteChunk image;
  plug.MakeProgramFile(&image);
  std::vector<unsigned char> bytes = Bytes(image);
  memset(&bytes[28], 'z', 28);
  QuarryLikePlug target;
  ASSERT_TRUE(target.LoadProgramFromMemory(bytes.data(), static_cast<int>(bytes.size())));
  EXPECT_EQ(std::string(target.GetPresetName(0)), std::string(28, 'z'));
}

TEST(FxProgram, OversizedFileIsRefusedUnread)
{
  const std::string path = TempPath("huge.fxp");
  FILE* fp = fopen(path.c_str(), "wb");
  ASSERT_NE(fp, nullptr);
  QuarryLikePlug plug;
  ByteChunk image;
  plug.MakeProgramFile(&image);
  fwrite(image.Data(), 1, image.Size(), fp);
  // A sparse tail beyond 64 MiB.
  ASSERT_EQ(fseek(fp, 64L * 1024 * 1024, SEEK_SET), 0);
  fputc(0, fp);
  fclose(fp);
  BASE_String name(path.c_str());
  EXPECT_FALSE(plug.LoadProgramFromFXP(&name));
  EXPECT_FALSE(plug.LoadBankFromFXB(&name));
  remove(path.c_str());
}

TEST(FxBank, ProgramListFormIs228Bytes)
{
  QuarryLikePlug plug;
  plug.GetParam(0)->Set(-1.0);  // live only: the bank holds the stored preset
  ByteChunk file;
  ASSERT_TRUE(plug.MakeBankFile(&file));
  ASSERT_EQ(file.Size(), 228);
  const unsigned char* p = file.Data();
  EXPECT_EQ(memcmp(p + 8, "FxBk", 4), 0);
  EXPECT_EQ(BEInt(p + 12), 2);
  EXPECT_EQ(BEInt(p + 24), 1);
  EXPECT_EQ(BEInt(p + 28), 0);
  for (int i = 32; i < 156; ++i) EXPECT_EQ(p[i], 0);
  EXPECT_EQ(memcmp(p + 156, "CcnK", 4), 0);
  EXPECT_EQ(memcmp(p + 164, "FxCk", 4), 0);
  EXPECT_EQ(BEInt(p + 180), 4);
  EXPECT_STREQ(reinterpret_cast<const char*>(p + 184), "-");
  EXPECT_FLOAT_EQ(BEFloat(p + 212), 0.25f);
}

TEST(FxBank, ChunkFormRoundTrip)
{
  QuarryLikePlug plug(true);
  plug.GetParam(2)->Set(0.9);
  plug.ModifyCurrentPreset("stored");
  ByteChunk file;
  ASSERT_TRUE(plug.MakeBankFile(&file));
  ASSERT_EQ(file.Size(), 160 + 8 + 4 + 6 + 1 + 32);
  EXPECT_EQ(BEInt(file.Data() + 4), file.Size());
  EXPECT_EQ(memcmp(file.Data() + 8, "FBCh", 4), 0);

  const std::string path = TempPath("b.fxb");
  BASE_String name(path.c_str());
  ASSERT_TRUE(plug.SaveBankAsFXB(&name));
  QuarryLikePlug other(true);
  ASSERT_TRUE(other.LoadBankFromFXB(&name));
  EXPECT_STREQ(other.GetPresetName(0), "stored");
  EXPECT_EQ(other.GetParam(2)->Value(), 0.9);
  EXPECT_EQ(other.programChanges, 1);
  remove(path.c_str());

  QuarryLikePlug plain;
  EXPECT_FALSE(plain.LoadBankFromMemory(file.Data(), file.Size()));
}

// A two-preset plug-in for bank loading.
struct TwoPresetPlug : TestPlug {
  TwoPresetPlug() : TestPlug(4, "2-2", 2)
  {
    InitQuarryParams(this);
    MakeDefaultPreset("one", 1);
    GetParam(0)->Set(-20.0);
    MakeDefaultPreset("two", 1);
    GetParam(0)->Set(-30.0);
  }
};

TEST(FxBank, ProgramListRoundTripAndCurrentProgram)
{
  TwoPresetPlug plug;
  ASSERT_TRUE(plug.RestorePreset(1));
  ByteChunk file;
  ASSERT_TRUE(plug.MakeBankFile(&file));
  ASSERT_EQ(file.Size(), 156 + 2 * 72);
  EXPECT_EQ(BEInt(file.Data() + 28), 1);

  TestPlug other(4, "2-2", 2);
  InitQuarryParams(&other);
  ASSERT_TRUE(other.LoadBankFromMemory(file.Data(), file.Size()));
  EXPECT_STREQ(other.GetPresetName(0), "one");
  EXPECT_STREQ(other.GetPresetName(1), "two");
  EXPECT_EQ(other.GetCurrentPresetIdx(), 1);
  EXPECT_NEAR(other.GetParam(0)->Value(), -20.0, 1e-4);
  ASSERT_TRUE(other.RestorePreset(0));
  EXPECT_NEAR(other.GetParam(0)->Value(), -30.0, 1e-4);
  EXPECT_EQ(other.programChanges, 1);
}

TEST(FxBank, ProgramListRefusals)
{
  TwoPresetPlug plug;
  ByteChunk image;
  plug.MakeBankFile(&image);
  const std::vector<unsigned char> good = Bytes(image);
  TwoPresetPlug target;
  auto load = [&](const std::vector<unsigned char>& b, int size = -1) {
    return target.LoadBankFromMemory(b.data(), size < 0 ? static_cast<int>(b.size()) : size);
  };

  std::vector<unsigned char> bad = good;
  PutBEInt(&bad, 16, 1);
  EXPECT_FALSE(load(bad));
  EXPECT_FALSE(load(good, 31));
  bad = good;
  memcpy(&bad[8], "FBCh", 4);  // chunk form to a plug-in without chunks
  EXPECT_FALSE(load(bad));
  EXPECT_EQ(target.programChanges, 0);

  // The first program loads, the second does not match: refused half way.
  bad = good;
  PutBEInt(&bad, 156 + 72 + 24, 3);  // three parameters
  EXPECT_FALSE(load(bad));
  EXPECT_EQ(target.GetCurrentPresetIdx(), 0);
  EXPECT_EQ(target.programChanges, 0);

  // Every inner program of three parameters is refused for four.
  bad = good;
  PutBEInt(&bad, 156 + 24, 3);
  TwoPresetPlug fresh;
  EXPECT_FALSE(fresh.LoadBankFromMemory(bad.data(), static_cast<int>(bad.size())));
  EXPECT_NEAR(fresh.GetParam(0)->Value(), -30.0, 1e-9);
}

TEST(FxBank, ExtraProgramsLandInLastRestoredPreset)
{
  TwoPresetPlug plug;
  ByteChunk image;
  plug.MakeBankFile(&image);
  std::vector<unsigned char> bytes = Bytes(image);
  // Append a third program that is a copy of the first, renamed.
  bytes.insert(bytes.end(), bytes.begin() + 156, bytes.begin() + 228);
  memcpy(&bytes[156 + 144 + 28], "three", 6);
  PutBEInt(&bytes, 24, 3);
  TestPlug target(4, "2-2", 2);
  InitQuarryParams(&target);
  ASSERT_TRUE(target.LoadBankFromMemory(bytes.data(), static_cast<int>(bytes.size())));
  EXPECT_EQ(target.NPresets(), 2);
  EXPECT_STREQ(target.GetPresetName(1), "three");
  EXPECT_STREQ(target.GetPresetName(0), "one");
}

TEST(FxBank, ZeroProgramsAndTruncatedPrograms)
{
  TwoPresetPlug plug;
  ByteChunk image;
  plug.MakeBankFile(&image);
  std::vector<unsigned char> bytes = Bytes(image);
  PutBEInt(&bytes, 24, 0);
  PutBEInt(&bytes, 28, 1);
  TwoPresetPlug target;
  ASSERT_TRUE(target.LoadBankFromMemory(bytes.data(), 156));
  EXPECT_EQ(target.GetCurrentPresetIdx(), 1);
  EXPECT_EQ(target.programChanges, 1);
  // A cut second program: its header is missing, so the load fails.
  PutBEInt(&bytes, 24, 2);
  EXPECT_FALSE(target.LoadBankFromMemory(bytes.data(), 156 + 72 + 20));
  // Cut inside its floats: the missing values count as normalized 0.
  EXPECT_TRUE(target.LoadBankFromMemory(bytes.data(), 156 + 72 + 56));
  EXPECT_EQ(target.GetParam(0)->Value(), -40.0);
}

// ---- Loads apply whole or change nothing ----

// A two-preset plug-in whose presets, live values and current preset all
// differ from what the banks below carry.
struct OwnStatePlug : TestPlug {
  explicit OwnStatePlug(bool stateChunks = false) : TestPlug(4, "2-2", 2, stateChunks)
  {
    InitQuarryParams(this);
    GetParam(0)->Set(-11.0);
    MakeDefaultPreset("mine0", 1);
    GetParam(0)->Set(-12.0);
    MakeDefaultPreset("mine1", 1);
    RestorePreset(1);
    GetParam(0)->Set(-13.0);
    GetParam(2)->Set(0.55);
    programChanges = 0;
  }
};

// A two-preset bank file to load into it.
std::vector<unsigned char> TwoPresetBank(bool stateChunks)
{
  TestPlug source(4, "2-2", 2, stateChunks);
  InitQuarryParams(&source);
  source.GetParam(0)->Set(-20.0);
  source.MakeDefaultPreset("one", 1);
  source.GetParam(0)->Set(-25.0);
  source.MakeDefaultPreset("two", 1);
  ByteChunk file;
  EXPECT_TRUE(source.MakeBankFile(&file));
  return Bytes(file);
}

TEST(FxWhole, BankCutInsideItsLastPresetChangesNothing)
{
  for (bool stateChunks : {false, true}) {
    const std::vector<unsigned char> bank = TwoPresetBank(stateChunks);
    {
      OwnStatePlug intact(stateChunks);
      ASSERT_TRUE(intact.LoadBankFromMemory(bank.data(), static_cast<int>(bank.size())));
      EXPECT_STREQ(intact.GetPresetName(0), "one");
      EXPECT_STREQ(intact.GetPresetName(1), "two");
    }
    // The program list is cut inside the second program's header, the bank
    // chunk inside the second preset's state.
    const int cut = stateChunks ? static_cast<int>(bank.size()) - 12 : 156 + 72 + 20;
    OwnStatePlug plug(stateChunks);
    const Observed before = Observe(plug);
    EXPECT_FALSE(plug.LoadBankFromMemory(bank.data(), cut)) << stateChunks;
    EXPECT_TRUE(Observe(plug) == before) << stateChunks;
    EXPECT_STREQ(plug.GetPresetName(0), "mine0");
    EXPECT_EQ(plug.GetParam(0)->Value(), -13.0);
    EXPECT_EQ(plug.programChanges, 0);
  }
}

TEST(FxWhole, ProgramChunkCutShortIsRefused)
{
  OwnStatePlug source(true);
  ByteChunk file;
  ASSERT_TRUE(source.MakeProgramFile(&file));
  OwnStatePlug plug(true);
  plug.GetParam(0)->Set(-1.0);
  const Observed before = Observe(plug);
  EXPECT_FALSE(plug.LoadProgramFromMemory(file.Data(), file.Size() - 4));
  EXPECT_TRUE(Observe(plug) == before);
  EXPECT_TRUE(plug.LoadProgramFromMemory(file.Data(), file.Size()));
  EXPECT_EQ(plug.GetParam(0)->Value(), -13.0);
}

TEST(FxWhole, NotANumberAnywhereRefusesTheWholeFile)
{
  const float nan = std::numeric_limits<float>::quiet_NaN();
  // Parameter form: the second value of a program, the last of a bank.
  {
    OwnStatePlug source;
    ByteChunk program;
    source.MakeProgramFile(&program);
    std::vector<unsigned char> bytes = Bytes(program);
    PutBEFloat(&bytes, 56 + 4, nan);
    OwnStatePlug plug;
    const Observed before = Observe(plug);
    EXPECT_FALSE(plug.LoadProgramFromMemory(bytes.data(), static_cast<int>(bytes.size())));
    EXPECT_TRUE(Observe(plug) == before);

    std::vector<unsigned char> bank = TwoPresetBank(false);
    PutBEFloat(&bank, bank.size() - 4, -nan);
    EXPECT_FALSE(plug.LoadBankFromMemory(bank.data(), static_cast<int>(bank.size())));
    EXPECT_TRUE(Observe(plug) == before);
    EXPECT_EQ(plug.programChanges, 0);
  }
  // Chunk form: a NaN double in the state (program) or in a preset (bank).
  {
    OwnStatePlug source(true);
    ByteChunk program;
    source.MakeProgramFile(&program);
    std::vector<unsigned char> bytes = Bytes(program);
    const double dnan = std::numeric_limits<double>::quiet_NaN();
    memcpy(&bytes[60 + 8], &dnan, 8);  // parameter 0, behind size and header
    OwnStatePlug plug(true);
    const Observed before = Observe(plug);
    EXPECT_FALSE(plug.LoadProgramFromMemory(bytes.data(), static_cast<int>(bytes.size())));
    EXPECT_TRUE(Observe(plug) == before);

    std::vector<unsigned char> bank = TwoPresetBank(true);
    memcpy(&bank[bank.size() - 8], &dnan, 8);  // the second preset's last value
    EXPECT_FALSE(plug.LoadBankFromMemory(bank.data(), static_cast<int>(bank.size())));
    EXPECT_TRUE(Observe(plug) == before);
    for (int i = 0; i < plug.NParams(); ++i) EXPECT_FALSE(std::isnan(plug.GetParam(i)->Value()));
  }
}

TEST(FxWhole, NormalizedValuesOutsideZeroToOneAreClamped)
{
  QuarryLikePlug source;
  ByteChunk program;
  source.MakeProgramFile(&program);
  std::vector<unsigned char> bytes = Bytes(program);
  PutBEFloat(&bytes, 56 + 0, -1.0f);   // OUT
  PutBEFloat(&bytes, 56 + 4, 7.0f);    // GainM
  PutBEFloat(&bytes, 56 + 12, -0.6f);  // Bypass
  QuarryLikePlug plug;
  ASSERT_TRUE(plug.LoadProgramFromMemory(bytes.data(), static_cast<int>(bytes.size())));
  EXPECT_EQ(plug.GetParam(0)->Value(), -40.0);
  EXPECT_EQ(plug.GetParam(1)->Value(), 1.0);
  EXPECT_EQ(plug.GetParam(3)->Value(), 0.0);
}

// ---- The plug-in reads by place, not by what the header announces ----

// The plug-in's program or bank file, as bytes to alter.
std::vector<unsigned char> ProgramImage(IEffectBase& plug)
{
  ByteChunk file;
  EXPECT_TRUE(plug.MakeProgramFile(&file));
  return Bytes(file);
}

std::vector<unsigned char> BankImage(IEffectBase& plug)
{
  ByteChunk file;
  EXPECT_TRUE(plug.MakeBankFile(&file));
  return Bytes(file);
}

int Size(const std::vector<unsigned char>& bytes) { return static_cast<int>(bytes.size()); }

TEST(FxLayout, ProgramCountAndChunkSizeFieldsAreNotExamined)
{
  // A parameter count that does not match what follows: the plug-in takes
  // its own four values all the same.
  QuarryLikePlug source;
  source.GetParam(0)->Set(-10.0);
  source.GetParam(2)->Set(0.9);
  const std::vector<unsigned char> params = ProgramImage(source);
  for (int count : {2, 0, -5, 1 << 30}) {
    std::vector<unsigned char> bytes = params;
    PutBEInt(&bytes, 24, count);
    QuarryLikePlug plug;
    ASSERT_TRUE(plug.LoadProgramFromMemory(bytes.data(), Size(bytes))) << count;
    EXPECT_NEAR(plug.GetParam(0)->Value(), -10.0, 1e-4) << count;
    EXPECT_NEAR(plug.GetParam(2)->Value(), 0.9, 1e-6) << count;
    // Nor does a count of 2 let a fourth value that is not a number in.
    PutBEFloat(&bytes, 56 + 12, std::numeric_limits<float>::quiet_NaN());
    EXPECT_FALSE(plug.LoadProgramFromMemory(bytes.data(), Size(bytes))) << count;
  }

  // A chunk size that does not match the state behind it: the state is read
  // from where it lies.
  QuarryLikePlug chunkSource(true);
  chunkSource.GetParam(1)->Set(0.1);
  const std::vector<unsigned char> chunk = ProgramImage(chunkSource);
  for (int chunkSize : {0, 12, -1, 0x7FFFFFFF}) {
    std::vector<unsigned char> bytes = chunk;
    PutBEInt(&bytes, 56, chunkSize);
    QuarryLikePlug plug(true);
    ASSERT_TRUE(plug.LoadProgramFromMemory(bytes.data(), Size(bytes))) << chunkSize;
    EXPECT_EQ(plug.GetParam(1)->Value(), 0.1) << chunkSize;
  }
  // Without its chunk size field there is no state to read.
  QuarryLikePlug plug(true);
  EXPECT_FALSE(plug.LoadProgramFromMemory(chunk.data(), 58));
  EXPECT_EQ(plug.programChanges, 0);
}

TEST(FxLayout, BankVersionAndNegativeProgramCountAreNotExamined)
{
  TwoPresetPlug source;
  ASSERT_TRUE(source.RestorePreset(1));
  std::vector<unsigned char> bytes = BankImage(source);

  // A version-1 bank still names its current program in the same place.
  PutBEInt(&bytes, 12, 1);
  TestPlug plug(4, "2-2", 2);
  InitQuarryParams(&plug);
  ASSERT_TRUE(plug.LoadBankFromMemory(bytes.data(), Size(bytes)));
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 1);
  EXPECT_STREQ(plug.GetPresetName(0), "one");

  // A program count below zero holds no programs: only the current program
  // is restored, with or without the rest of the header.
  PutBEInt(&bytes, 24, -1);
  for (int size : {Size(bytes), 40}) {
    OwnStatePlug target;
    ASSERT_TRUE(target.RestorePreset(0));
    ASSERT_TRUE(target.LoadBankFromMemory(bytes.data(), size)) << size;
    EXPECT_EQ(target.GetCurrentPresetIdx(), 1) << size;
    EXPECT_STREQ(target.GetPresetName(0), "mine0");
    EXPECT_EQ(target.GetParam(0)->Value(), -12.0);
    EXPECT_EQ(target.programChanges, 1);
  }
  // Cut before its current program, the header is refused.
  OwnStatePlug target;
  EXPECT_FALSE(target.LoadBankFromMemory(bytes.data(), 31));
}

TEST(FxLayout, FilesThePlugInWritesAreSoundToAStrictReader)
{
  for (bool stateChunks : {false, true}) {
    OwnStatePlug plug(stateChunks);
    plug.ModifyCurrentPreset("a name longer than the twenty-eight bytes");
    const std::vector<unsigned char> programFile = ProgramImage(plug);
    IFxProgram program;
    ASSERT_EQ(ParseFxProgram(programFile.data(), programFile.size(), &program), kFxOK);
    EXPECT_EQ(program.IsChunkForm(), stateChunks);
    EXPECT_EQ(program.mPluginID, kTestUniqueID);
    EXPECT_EQ(program.mPluginVersion, 10000);
    EXPECT_EQ(program.mNumParams, 4);
    EXPECT_STREQ(program.mName, "a name longer than the twen");

    const std::vector<unsigned char> bankFile = BankImage(plug);
    IFxBank bank;
    ASSERT_EQ(ParseFxBank(bankFile.data(), bankFile.size(), &bank), kFxOK);
    EXPECT_EQ(bank.IsChunkForm(), stateChunks);
    EXPECT_EQ(bank.mNumPrograms, 2);
    EXPECT_EQ(bank.mCurrentProgram, 1);
    EXPECT_EQ(bank.NPrograms(), stateChunks ? 0 : 2);
  }
}

TEST(FxLayout, ByLayoutTheDataRunsToTheImageEnd)
{
  QuarryLikePlug source;
  std::vector<unsigned char> bytes = ProgramImage(source);
  PutBEInt(&bytes, 24, 1);
  bytes.push_back(0x3F);  // the first byte of a fifth value
  IFxProgram program;
  EXPECT_EQ(ParseFxProgram(bytes.data(), bytes.size(), &program, kFxByLayout), kFxTruncated);
  ASSERT_EQ(program.mValues.GetSize(), 4);
  EXPECT_FLOAT_EQ(program.mValues.Get()[2], 0.3f);
  EXPECT_EQ(ParseFxProgram(bytes.data(), bytes.size() - 1, &program, kFxByLayout), kFxOK);
  EXPECT_EQ(ParseFxProgram(bytes.data(), bytes.size() - 1, &program), kFxOK);
  EXPECT_EQ(program.mValues.GetSize(), 1);

  QuarryLikePlug chunkSource(true);
  bytes = BankImage(chunkSource);
  PutBEInt(&bytes, 12, 1);  // version 1
  PutBEInt(&bytes, 28, 7);
  PutBEInt(&bytes, 156, -3);
  IFxBank bank;
  ASSERT_EQ(ParseFxBank(bytes.data(), bytes.size(), &bank, kFxByLayout), kFxOK);
  EXPECT_EQ(bank.mCurrentProgram, 7);
  EXPECT_EQ(bank.mChunk.Size(), Size(bytes) - 160);
  EXPECT_EQ(ParseFxBank(bytes.data(), bytes.size(), &bank), kFxBadCount);
}

// A plug-in whose state is larger than any program file may be.
struct OutsizedStatePlug : TestPlug {
  OutsizedStatePlug() : TestPlug(4, "2-2", 1, true) { InitQuarryParams(this); }
  bool SerializeState(ByteChunk* chunk) override
  {
    if (!TestPlug::SerializeState(chunk)) return false;
    const int size = chunk->Size() + kFxMaxFileSize;
    return chunk->Resize(size) == size;
  }
};

TEST(FxLayout, AFileBeyondTheLimitIsNotWritten)
{
  OutsizedStatePlug plug;
  ByteChunk file;
  file.AppendValue(1);
  EXPECT_FALSE(plug.MakeProgramFile(&file));
  EXPECT_EQ(file.Size(), 0);
  const std::string path = TempPath("outsized.fxp");
  remove(path.c_str());
  BASE_String name(path.c_str());
  EXPECT_FALSE(plug.SaveProgramAsFXP(&name));
  FILE* written = fopen(path.c_str(), "rb");
  EXPECT_EQ(written, nullptr);
  if (written) fclose(written);
}

}  // namespace
