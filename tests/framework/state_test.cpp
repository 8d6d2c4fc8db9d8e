#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "base/string.h"
#include "tests/framework/test_plug.h"

namespace {

double ParamValue(IEffectBase& plug, int i) { return plug.GetParam(i)->Value(); }

TEST(StateParams, FourParametersMakeAFortyByteProgramChunk)
{
  QuarryLikePlug plug;
  ByteChunk chunk;
  EXPECT_TRUE(plug.SerializeState(&chunk));
  EXPECT_EQ(chunk.Size(), 32);
  double first;
  memcpy(&first, chunk.Data(), 8);
  EXPECT_EQ(first, -30.0);

  ByteChunk program;
  InitChunkWithFrameworkVer(&program);
  plug.SerializeState(&program);
  EXPECT_EQ(program.Size(), 40);
  EXPECT_EQ(memcmp(program.Data(), "tffp\0\0\1\0", 8), 0);
}

TEST(StateParams, RoundTripRestoresValuesAndNotifies)
{
  QuarryLikePlug plug;
  plug.GetParam(0)->Set(-12.5);
  plug.GetParam(3)->Set(1.0);
  ByteChunk chunk;
  InitChunkWithFrameworkVer(&chunk);
  plug.SerializeState(&chunk);

  QuarryLikePlug other;
  int pos = 0;
  EXPECT_EQ(GetFrameworkVerFromChunk(&chunk, &pos), 0x10000);
  EXPECT_EQ(other.UnserializeState(&chunk, pos), 40);
  EXPECT_EQ(ParamValue(other, 0), -12.5);
  EXPECT_EQ(ParamValue(other, 3), 1.0);
  EXPECT_EQ(other.paramChanges, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_TRUE(other.CompareState(chunk.Data() + 8, 0));
}

TEST(StateParams, ShortBlockSetsFirstMissingToClampedZero)
{
  QuarryLikePlug plug;
  ByteChunk chunk;
  const double values[] = {-20.0, 0.9};
  chunk.AppendValue(values[0]);
  chunk.AppendValue(values[1]);
  chunk.AppendValue(0);  // 4 stray bytes: 20 in all
  plug.GetParam(2)->Set(0.5);
  plug.GetParam(3)->Set(1.0);
  EXPECT_EQ(plug.UnserializeParams(&chunk, 0), -1);
  EXPECT_EQ(ParamValue(plug, 0), -20.0);
  EXPECT_EQ(ParamValue(plug, 1), 0.9);
  EXPECT_EQ(ParamValue(plug, 2), 0.0);
  EXPECT_EQ(ParamValue(plug, 3), 1.0);
  EXPECT_EQ(plug.paramChanges, (std::vector<int>{0, 1, 2, 3}));
}

TEST(StateParams, ValuesAreClampedAndNotANumberIsUnreadable)
{
  QuarryLikePlug plug;
  ByteChunk chunk;
  chunk.AppendValue(5.0);   // above 0
  chunk.AppendValue(-3.0);  // below 0
  chunk.AppendValue(HUGE_VAL);
  chunk.AppendValue(-1e308);
  EXPECT_EQ(plug.UnserializeParams(&chunk, 0), 32);
  EXPECT_EQ(ParamValue(plug, 0), 0.0);
  EXPECT_EQ(ParamValue(plug, 1), 0.0);
  EXPECT_EQ(ParamValue(plug, 2), 1.0);
  EXPECT_EQ(ParamValue(plug, 3), 0.0);

  // A NaN (any payload, either sign) reads like a value cut off: the
  // parameter gets its clamped 0.0 and reading stops there.
  const unsigned char nanBytes[2][8] = {{0, 0, 0, 0, 0, 0, 0xf8, 0x7f}, {1, 0, 0, 0, 0, 0, 0xf0, 0xff}};
  for (const auto& bytes : nanBytes) {
    QuarryLikePlug other;
    other.GetParam(2)->Set(0.5);
    ByteChunk bad;
    bad.AppendValue(-20.0);
    bad.AppendBytes(bytes, 8);
    bad.AppendValue(0.25);
    bad.AppendValue(1.0);
    EXPECT_EQ(other.UnserializeParams(&bad, 0), -1);
    EXPECT_EQ(ParamValue(other, 0), -20.0);
    EXPECT_EQ(ParamValue(other, 1), 0.0);
    EXPECT_EQ(ParamValue(other, 2), 0.5);
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(std::isnan(ParamValue(other, i)));
  }
}

TEST(StateParams, NegativeStartReadsNothingButNotifies)
{
  QuarryLikePlug plug;
  ByteChunk chunk;
  chunk.Resize(32);
  EXPECT_EQ(plug.UnserializeParams(&chunk, -1), -1);
  EXPECT_EQ(ParamValue(plug, 0), -30.0);
  EXPECT_EQ(plug.paramChanges.size(), 4u);
}

TEST(StateHeader, MissingHeaderLeavesPositionAtStart)
{
  ByteChunk chunk;
  chunk.AppendValue(-30.0);
  int pos = 0;
  EXPECT_EQ(GetFrameworkVerFromChunk(&chunk, &pos), 0);
  EXPECT_EQ(pos, 0);
}

TEST(StateCompare, NarrowsToFloat)
{
  QuarryLikePlug plug;
  double state[6] = {99.0, 99.0, -30.0, 0.7, 0.3, 0.0};
  EXPECT_TRUE(plug.CompareState(reinterpret_cast<unsigned char*>(state), 2));
  state[3] = 0.7 + 4e-6;
  EXPECT_TRUE(plug.CompareState(reinterpret_cast<unsigned char*>(state), 2));
  state[3] = 0.7 + 2e-5;
  EXPECT_FALSE(plug.CompareState(reinterpret_cast<unsigned char*>(state), 2));
  state[3] = NAN;
  EXPECT_FALSE(plug.CompareState(reinterpret_cast<unsigned char*>(state), 2));
  TestPlug empty(0, "2-2", 0);
  EXPECT_TRUE(empty.CompareState(nullptr, 0));
}

TEST(StateBank, OnePresetBankIs38Bytes)
{
  QuarryLikePlug plug;
  ByteChunk bank;
  EXPECT_TRUE(plug.SerializePresets(&bank));
  ASSERT_EQ(bank.Size(), 38);
  int len = 0;
  bank.ReadValue(&len, 0);
  EXPECT_EQ(len, 1);
  EXPECT_EQ(bank.Data()[4], '-');
  EXPECT_EQ(bank.Data()[5], 1);
}

TEST(StateBank, RoundTripRestoresPresetsAndCurrent)
{
  TestPlug plug(2, "2-2", 3);
  plug.GetParam(0)->InitDouble("a", 1.0, 0.0, 10.0, 0.1);
  plug.GetParam(1)->InitInt("b", 0, 0, 5);
  plug.MakePreset("first", 2.0, 1);
  plug.MakePreset("second", 7.5, 4);
  ByteChunk bank;
  InitChunkWithFrameworkVer(&bank);
  ASSERT_TRUE(plug.SerializePresets(&bank));  // third preset stays empty: no state
  EXPECT_EQ(bank.Size(), 8 + (4 + 5 + 1 + 16) + (4 + 6 + 1 + 16) + (4 + 5 + 1));

  TestPlug other(2, "2-2", 3);
  other.GetParam(0)->InitDouble("a", 1.0, 0.0, 10.0, 0.1);
  other.GetParam(1)->InitInt("b", 0, 0, 5);
  other.EnsureDefaultPreset();
  int pos = 0;
  GetFrameworkVerFromChunk(&bank, &pos);
  EXPECT_EQ(other.UnserializePresets(&bank, pos), bank.Size());
  EXPECT_STREQ(other.GetPresetName(0), "first");
  EXPECT_STREQ(other.GetPresetName(1), "second");
  EXPECT_STREQ(other.GetPresetName(2), "empty");
  // The empty third slot is now flagged empty again; restoring the current
  // preset (0) left the parameters at its values.
  EXPECT_FALSE(other.GetPreset(2)->mInitialized);
  EXPECT_EQ(ParamValue(other, 0), 2.0);
  EXPECT_EQ(ParamValue(other, 1), 1.0);
  EXPECT_TRUE(other.RestorePreset(1));
  EXPECT_EQ(ParamValue(other, 0), 7.5);
  EXPECT_EQ(ParamValue(other, 1), 4.0);
}

TEST(StateBank, OverlongNameIsCutToTheNameField)
{
  TestPlug plug(1, "2-2", 1);
  plug.GetParam(0)->InitDouble("a", 1.0, 0.0, 10.0, 0.1);
  std::string longName(1000, 'q');
  ByteChunk bank;
  bank.AppendString(longName.c_str());
  bank.AppendValue(true);
  bank.AppendValue(3.0);
  EXPECT_EQ(plug.UnserializePresets(&bank, 0), bank.Size());
  EXPECT_EQ(strlen(plug.GetPresetName(0)), 255u);
  EXPECT_EQ(ParamValue(plug, 0), 3.0);
}

TEST(StateBank, TruncatedBankStopsAndStillRestoresCurrent)
{
  QuarryLikePlug plug;
  plug.GetParam(0)->Set(-10.0);  // live change, not in the preset
  ByteChunk bank;
  bank.AppendString("cut");
  bank.AppendValue(true);
  bank.AppendValue(-5.0);  // only one of four doubles
  EXPECT_EQ(plug.UnserializePresets(&bank, 0), -1);
  EXPECT_STREQ(plug.GetPresetName(0), "cut");
  // The preset kept its stored state, which the final restore applied.
  EXPECT_EQ(ParamValue(plug, 0), -30.0);
}

TEST(StateBank, GarbageNeverReadsOutside)
{
  QuarryLikePlug plug;
  const unsigned char junk[] = {0xff, 0xff, 0xff, 0x7f, 1, 2, 3};
  ByteChunk bank;
  bank.AppendBytes(junk, sizeof(junk));
  EXPECT_LT(plug.UnserializePresets(&bank, 0), 0);
  EXPECT_EQ(plug.UnserializePresets(&bank, -1), -1);
  EXPECT_EQ(plug.UnserializePresets(&bank, 1 << 30), -1);
}

}  // namespace
