#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/framework/test_plug.h"

namespace {

double StoredValue(const IPreset* preset, int i)
{
  double v = -999.0;
  preset->mChunk.ReadValue(&v, i * 8);
  return v;
}

std::string ReadText(const std::string& path)
{
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string TempPath(const char* name) { return std::string(::testing::TempDir()) + "core_" + name; }

// Three parameters of every argument kind, five empty presets.
struct PresetFixture : ::testing::Test {
  PresetFixture() : plug(3, "2-2", 5)
  {
    plug.GetParam(0)->InitDouble("gain", 0.5, 0.0, 1.0, 0.01);
    plug.GetParam(1)->InitEnum("mode", 1, 4);
    plug.GetParam(2)->InitBool("on", true);
  }
  TestPlug plug;
};

TEST_F(PresetFixture, MakeOperationsFillNextEmptySlot)
{
  plug.MakeDefaultPreset(nullptr, 2);
  EXPECT_STREQ(plug.GetPresetName(0), "Empty");
  EXPECT_STREQ(plug.GetPresetName(1), "Empty");
  EXPECT_EQ(plug.GetPreset(1)->mChunk.Size(), 24);
  plug.MakePreset("values", 2.5, 7, 0);  // stored unclamped
  EXPECT_EQ(StoredValue(plug.GetPreset(2), 0), 2.5);
  EXPECT_EQ(StoredValue(plug.GetPreset(2), 1), 7.0);
  EXPECT_EQ(StoredValue(plug.GetPreset(2), 2), 0.0);
  ByteChunk chunk;
  chunk.AppendValue(1.5);
  plug.MakePresetFromChunk("chunk", &chunk);
  EXPECT_EQ(plug.GetPreset(3)->mChunk.Size(), 8);
  plug.EnsureDefaultPreset();
  EXPECT_STREQ(plug.GetPresetName(4), "Empty");
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(plug.GetPreset(i)->mInitialized);
  // A full bank ignores further makes.
  plug.MakePreset("extra", 0.0, 0, 0);
  EXPECT_EQ(plug.NPresets(), 5);
  EXPECT_STREQ(plug.GetPresetName(4), "Empty");
}

TEST_F(PresetFixture, NamedParamsKeepCurrentValuesWhereUnset)
{
  plug.MakePresetFromNamedParams("none", 0);
  EXPECT_EQ(StoredValue(plug.GetPreset(0), 0), 0.5);
  EXPECT_EQ(StoredValue(plug.GetPreset(0), 1), 1.0);
  EXPECT_EQ(StoredValue(plug.GetPreset(0), 2), 1.0);

  // Any order, the later pair wins, the marker value means "current".
  plug.MakePresetFromNamedParams("pairs", 4, 2, 0, 0, 0.25, 0, 0.75, 1, 3);
  EXPECT_EQ(StoredValue(plug.GetPreset(1), 0), 0.75);
  EXPECT_EQ(StoredValue(plug.GetPreset(1), 1), 3.0);
  EXPECT_EQ(StoredValue(plug.GetPreset(1), 2), 0.0);
  plug.MakePresetFromNamedParams("marker", 1, 0, 9.999e-08);
  EXPECT_EQ(StoredValue(plug.GetPreset(2), 0), 0.5);
}

TEST_F(PresetFixture, NamedParamsSkipIndexOutsideRange)
{
  plug.MakePresetFromNamedParams("bad", 3, 0, 0.25, 3, 0.9, 1, 2);
  const IPreset* preset = plug.GetPreset(0);
  ASSERT_EQ(preset->mChunk.Size(), 24);
  EXPECT_EQ(StoredValue(preset, 0), 0.25);
  EXPECT_EQ(StoredValue(preset, 1), 1.0);  // behind the bad pair: current value
  plug.MakePresetFromNamedParams("negative", 1, -1, 0.9);
  EXPECT_EQ(plug.GetPreset(1)->mChunk.Size(), 24);
}

TEST_F(PresetFixture, BlobDecodesIntoExactSize)
{
  plug.MakePresetFromBlob("zeros", "AAAA", 3);
  ASSERT_EQ(plug.GetPreset(0)->mChunk.Size(), 3);
  plug.MakePresetFromBlob("short", "AAAA", 10);
  const IPreset* preset = plug.GetPreset(1);
  ASSERT_EQ(preset->mChunk.Size(), 10);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(preset->mChunk.Data()[i], 0);
  plug.MakePresetFromBlob("cut", "/////////w==", 2);
  ASSERT_EQ(plug.GetPreset(2)->mChunk.Size(), 2);
  EXPECT_EQ(plug.GetPreset(2)->mChunk.Data()[1], 0xff);
  plug.MakePresetFromBlob("stop", "//8=//8=", 4);  // decoding ends at the pad
  EXPECT_EQ(plug.GetPreset(3)->mChunk.Data()[1], 0xff);
  EXPECT_EQ(plug.GetPreset(3)->mChunk.Data()[2], 0);
}

TEST_F(PresetFixture, RestoreByIndexAndName)
{
  plug.MakePreset("low", 0.1, 0, 0);
  plug.MakePreset("high", 0.9, 3, 1);
  EXPECT_TRUE(plug.RestorePreset(1));
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 1);
  EXPECT_EQ(plug.GetParam(0)->Value(), 0.9);
  EXPECT_EQ(plug.presetChanges, 1);
  EXPECT_TRUE(plug.RestorePreset("low"));
  EXPECT_EQ(plug.GetParam(0)->Value(), 0.1);
  EXPECT_FALSE(plug.RestorePreset(""));
  EXPECT_FALSE(plug.RestorePreset(static_cast<const char*>(nullptr)));
  EXPECT_FALSE(plug.RestorePreset("missing"));
  EXPECT_FALSE(plug.RestorePreset(5));
  EXPECT_FALSE(plug.RestorePreset(-1));
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 0);
  EXPECT_STREQ(plug.GetPresetName(9), "");
}

TEST_F(PresetFixture, RestoreClampsStoredValues)
{
  plug.MakePreset("wild", 4.0, -2, 1);
  EXPECT_TRUE(plug.RestorePreset(0));
  EXPECT_EQ(plug.GetParam(0)->Value(), 1.0);
  EXPECT_EQ(plug.GetParam(1)->Value(), 0.0);
}

TEST_F(PresetFixture, APresetThatDoesNotReadWholeIsNotRestoredAtAll)
{
  // A short blob and a NaN in the middle: neither may leave the first
  // values applied.
  plug.MakePreset("fine", 0.25, 2, 0);
  plug.MakePresetFromBlob("short", "AAAAAAAAAAAAAAAAAAAA", 12);  // one and a half values
  plug.MakePresetFromNamedParams("nan", 2, 0, 0.75, 1, 3);
  IPreset* nan = plug.GetPreset(2);
  const double notANumber = std::nan("");
  ByteChunk bad;
  bad.AppendValue(0.75);
  bad.AppendValue(notANumber);
  bad.AppendValue(1.0);
  nan->mChunk.Clear();
  nan->mChunk.AppendChunk(&bad);

  ASSERT_TRUE(plug.RestorePreset(0));
  plug.presetChanges = 0;
  for (int idx : {1, 2}) {
    plug.paramChanges.clear();
    EXPECT_FALSE(plug.RestorePreset(idx)) << idx;
    EXPECT_EQ(plug.GetCurrentPresetIdx(), 0);
    EXPECT_EQ(plug.GetParam(0)->Value(), 0.25) << idx;
    EXPECT_EQ(plug.GetParam(1)->Value(), 2.0) << idx;
    EXPECT_EQ(plug.GetParam(2)->Value(), 0.0) << idx;
  }
  EXPECT_EQ(plug.presetChanges, 0);
}

TEST_F(PresetFixture, RestoringEmptySlotCapturesUserPreset)
{
  plug.GetParam(0)->Set(0.33);
  EXPECT_TRUE(plug.RestorePreset(2));
  EXPECT_STREQ(plug.GetPresetName(2), "user preset 1");
  EXPECT_TRUE(plug.GetPreset(2)->mInitialized);
  EXPECT_EQ(StoredValue(plug.GetPreset(2), 0), 0.33);
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 2);
  EXPECT_TRUE(plug.RestorePreset(0));
  EXPECT_TRUE(plug.RestorePreset(4));
  EXPECT_STREQ(plug.GetPresetName(4), "user preset 3");  // "user preset 1" and "... 2"
  // A slot counts itself when its old name already says "user preset".
  plug.GetPreset(3)->SetName("my user preset");
  EXPECT_TRUE(plug.RestorePreset(3));
  EXPECT_STREQ(plug.GetPresetName(3), "user preset 5");
}

TEST(PresetNames, DefaultUserPresetName)
{
  BASE_PtrList<IPreset> presets;
  char name[32];
  MakeDefaultUserPresetName(&presets, name);
  EXPECT_STREQ(name, "user preset 1");
  IPreset a, b, c;
  a.SetName("user preset 1");
  b.SetName("User Preset");
  c.SetName("xuser presety");
  presets.Add(&a);
  presets.Add(&b);
  presets.Add(&c);
  MakeDefaultUserPresetName(&presets, name);
  EXPECT_STREQ(name, "user preset 3");
  EXPECT_EQ(GetNextUninitializedPreset(&presets), &a);
  a.mInitialized = b.mInitialized = c.mInitialized = true;
  EXPECT_EQ(GetNextUninitializedPreset(&presets), nullptr);
  presets.Empty();
}

TEST_F(PresetFixture, ModifyCurrentPresetStoresLiveStateAndRenames)
{
  plug.MakeDefaultPreset("start", 1);
  plug.GetParam(0)->Set(0.8);
  plug.ModifyCurrentPreset(nullptr);
  EXPECT_STREQ(plug.GetPresetName(0), "start");
  EXPECT_EQ(StoredValue(plug.GetPreset(0), 0), 0.8);
  plug.ModifyCurrentPreset("");
  EXPECT_STREQ(plug.GetPresetName(0), "start");
  plug.ModifyCurrentPreset("renamed");
  EXPECT_STREQ(plug.GetPresetName(0), "renamed");
  EXPECT_EQ(plug.GetPreset(0)->mChunk.Size(), 24);
}

TEST_F(PresetFixture, PruneKeepsOrderAndCurrentPreset)
{
  plug.MakeDefaultPreset("a", 1);
  plug.MakeDefaultPreset("b", 1);
  plug.GetPreset(0)->mInitialized = false;  // as a bank load can leave it
  ASSERT_TRUE(plug.RestorePreset(1));
  plug.PruneUninitializedPresets();
  ASSERT_EQ(plug.NPresets(), 1);
  EXPECT_STREQ(plug.GetPresetName(0), "b");
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 0);
}

TEST_F(PresetFixture, ReusedSlotStartsWithEmptyState)
{
  plug.MakeDefaultPreset("a", 1);
  plug.GetPreset(0)->mInitialized = false;
  plug.MakePreset("again", 0.2, 2, 0);
  EXPECT_EQ(plug.GetPreset(0)->mChunk.Size(), 24);
  EXPECT_EQ(StoredValue(plug.GetPreset(0), 0), 0.2);
}

TEST_F(PresetFixture, SourceDump)
{
  const std::string path = TempPath("src.txt");
  const char* ids[] = {"kGain", "kMode", "kOn"};
  plug.GetParam(2)->Set(0.0);
  ASSERT_TRUE(plug.DumpPresetSrcCode(path.c_str(), ids));
  EXPECT_EQ(
      ReadText(path),
      "  MakePresetFromNamedParams(\"name\", 3,\n    kGain, 0.500000,\n    kMode, 1,\n    kOn, false);\n");
  EXPECT_FALSE(plug.DumpPresetSrcCode("/nonexistent-dir/x.txt", ids));
  remove(path.c_str());
}

TEST_F(PresetFixture, BlobDumpsRoundTrip)
{
  plug.MakePresetFromBlob("zeros", "AAAA", 3);
  plug.MakeDefaultPreset("-", 1);
  const std::string path = TempPath("blob.txt");
  ASSERT_TRUE(plug.DumpPresetBlob(path.c_str()));
  EXPECT_EQ(ReadText(path), "MakePresetFromBlob(\"name\", \"AAAA\", 3);\n");
  ASSERT_TRUE(plug.DumpBankBlob(path.c_str()));
  const std::string bank = ReadText(path);
  EXPECT_EQ(bank.find("MakePresetFromBlob(\"zeros\", \"AAAA\", 3);\n"), 0u);
  EXPECT_NE(bank.find("MakePresetFromBlob(\"-\", \"AAAAAAAA4D8AAAAAAADwPwAAAAAAAPA/\", 24);\n"),
            std::string::npos);
  EXPECT_NE(bank.find("MakePresetFromBlob(\"empty\", \"\", 0);\n"), std::string::npos);
  EXPECT_FALSE(plug.DumpBankBlob("/nonexistent-dir/x.txt"));
  remove(path.c_str());
}

TEST(PresetDumps, LargeStateIsWrittenWhole)
{
  TestPlug plug(300, "2-2", 1);  // 2400-byte state: beyond the usual buffer
  for (int i = 0; i < 300; ++i) plug.GetParam(i)->InitDouble("p", 0.25, 0.0, 1.0, 0.01);
  plug.MakeDefaultPreset("big", 1);
  const std::string path = TempPath("big.txt");
  ASSERT_TRUE(plug.DumpPresetBlob(path.c_str()));
  const std::string text = ReadText(path);
  const size_t open = text.find("\", \"") + 4;
  const size_t close = text.find('"', open);
  EXPECT_EQ(close - open, 3200u);
  EXPECT_NE(text.find("\", 2400);\n"), std::string::npos);

  // Pasting the dump back recreates the state byte for byte.
  TestPlug copy(300, "2-2", 1);
  for (int i = 0; i < 300; ++i) copy.GetParam(i)->InitDouble("p", 0.5, 0.0, 1.0, 0.01);
  copy.MakePresetFromBlob("big", text.substr(open, close - open).c_str(), 2400);
  ASSERT_EQ(copy.GetPreset(0)->mChunk.Size(), 2400);
  EXPECT_EQ(memcmp(copy.GetPreset(0)->mChunk.Data(), plug.GetPreset(0)->mChunk.Data(), 2400), 0);
  remove(path.c_str());
}

}  // namespace
