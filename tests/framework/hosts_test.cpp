#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "framework/Hosts.h"

namespace {

std::string HostName(int code)
{
  char name[kHostNameStrSize];
  std::memset(name, 'x', sizeof(name));
  GetHostNameStr(static_cast<EHost>(code), name);
  return name;
}

}  // namespace

TEST(HostLookup, RecognisesProductNamesIgnoringCase)
{
  EXPECT_EQ(LookUpHost("REAPER"), kHostReaper);
  EXPECT_EQ(LookUpHost("Ableton Live 9"), kHostAbletonLive);
  EXPECT_EQ(LookUpHost("Cakewalk SONAR"), kHostSonar);
  EXPECT_EQ(LookUpHost("Melodyne"), kHostMelodyne);
  EXPECT_EQ(LookUpHost("PreSonus Studio One"), kHostStudioOne);
  EXPECT_EQ(LookUpHost("VST3PluginTestHost"), kHostVST3TestHost);
  EXPECT_EQ(LookUpHost("Fruity Wrapper"), kHostFL);
  EXPECT_EQ(LookUpHost("Ardour"), kHostArdour);
  EXPECT_EQ(LookUpHost("OpenMPT"), kHostOpenMPT);
  EXPECT_EQ(LookUpHost("Renoise"), kHostRenoise);
  EXPECT_EQ(LookUpHost("Pro Tools"), kHostUnknown);  // only "protools" counts
  EXPECT_EQ(LookUpHost("ProTools"), kHostProTools);
  EXPECT_EQ(LookUpHost(""), kHostUnknown);
  EXPECT_EQ(LookUpHost(nullptr), kHostUnknown);
  EXPECT_EQ(LookUpHost("Bitwig Studio"), kHostUnknown);
}

TEST(HostLookup, FirstTextInTheFixedOrderWins)
{
  EXPECT_EQ(LookUpHost("Cubase Live Edition"), kHostCubase);
  EXPECT_EQ(LookUpHost("Live with Reaper"), kHostReaper);  // reaper before live
  EXPECT_EQ(LookUpHost("Nuendo Live"), kHostNuendo);
  EXPECT_EQ(LookUpHost("Logic Pro Live"), kHostAbletonLive);  // live before logic
  EXPECT_EQ(LookUpHost("Digital Performer"), kHostDigitalPerformer);
  EXPECT_EQ(LookUpHost("My Digital Audio Workstation"), kHostDigitalPerformer);
  EXPECT_EQ(LookUpHost("Garageband Standalone"), kHostGarageBand);
  EXPECT_EQ(LookUpHost("Oliver's Standalone"), kHostAbletonLive);  // "oLIVEr"
  EXPECT_EQ(LookUpHost("Forte Logic"), kHostForte);
}

TEST(HostLookup, OverlongNamesAreLookedAtUpToTheirLimit)
{
  std::string name(1000, 'x');
  name.replace(10, 6, "reaper");
  name.replace(900, 6, "cubase");  // beyond the looked-at part
  EXPECT_EQ(LookUpHost(name.c_str()), kHostReaper);
  std::string tail(kHostNameLookupSize - 1 - 6, 'y');
  EXPECT_EQ(LookUpHost((tail + "ardour").c_str()), kHostArdour);
  EXPECT_EQ(LookUpHost((tail + "zardour").c_str()), kHostUnknown);
}

TEST(HostNames, TableAndUnnamedCodes)
{
  EXPECT_EQ(HostName(kHostSonar), "Sonar");
  EXPECT_EQ(HostName(kHostMelodyne), "Unknown");
  EXPECT_EQ(HostName(kHostStudioOne), "StudioOne");
  EXPECT_EQ(HostName(kHostFL), "FLStudio");
  EXPECT_EQ(HostName(kHostVegas), "Vegas");
  EXPECT_EQ(HostName(kHostVSTScanner), "VSTScanner");
  EXPECT_EQ(HostName(kHostDigitalPerformer), "DigitalPerformer");
  EXPECT_EQ(HostName(kHostVST3TestHost), "VST3PluginTestHost");
  EXPECT_EQ(HostName(kHostOpenMPT), "OpenMPT");
  for (int code : {-1, 0, 10, 11, 19, 31, 1000, -7}) EXPECT_EQ(HostName(code), "Unknown") << code;
}

TEST(Versions, SplittingDecimalAndText)
{
  int major = -1, minor = -1, patch = -1;
  GetVersionParts(0x10000, &major, &minor, &patch);
  EXPECT_EQ(major, 1);
  EXPECT_EQ(minor, 0);
  EXPECT_EQ(patch, 0);
  EXPECT_EQ(GetDecimalVersion(0x10000), 10000);
  EXPECT_EQ(GetDecimalVersion(0x00020305), 20305);
  EXPECT_EQ(GetDecimalVersion(0x000C0A63), 121099);
  GetVersionParts(0x7fff0a03, nullptr, &minor, nullptr);
  EXPECT_EQ(minor, 10);

  char text[32];
  GetVersionStr(0x10000, text);
  EXPECT_STREQ(text, "v1.0.0");
  GetVersionStr(0x000B0C0D, text);
  EXPECT_STREQ(text, "v11.12.13");

  EXPECT_EQ(MakePackedVersion(1, 0, 0), 0x10000);
  EXPECT_EQ(MakePackedVersion(6, 1, 300), 0x000601FF);
  EXPECT_GT(GetSystemVersion(), 0x10000);  // any Linux kernel since 2.x
}

TEST(Versions, ApiAndArchitectureNames)
{
  EXPECT_STREQ(GetAPINameStr(kAPIVST2), "VST2");
  EXPECT_STREQ(GetAPINameStr(kAPIVST3), "VST3");
  EXPECT_STREQ(GetAPINameStr(kAPIAAX), "AAX");
  EXPECT_STREQ(GetAPINameStr(kAPISA), "Standalone");
  EXPECT_STREQ(GetAPINameStr(6), "");
  EXPECT_STREQ(GetAPINameStr(-1), "");
  EXPECT_STREQ(GetArchNameStr(), "x64");
}

TEST(CharacterHelpers, WhitespaceAndLowerCase)
{
  for (char c : {'\t', '\n', '\r', ' '}) EXPECT_TRUE(IsWhitespace(c));
  for (char c : {'\v', '\f', '\0', 'a', '_', static_cast<char>(0xA0)}) EXPECT_FALSE(IsWhitespace(c));

  char out[32];
  std::memset(out, 'x', sizeof(out));
  ToLower(out, "MiXeD 123 \xC4");
  EXPECT_STREQ(out, "mixed 123 \xC4");
  ToLower(out, "");
  EXPECT_STREQ(out, "");
  ToLower(out, nullptr);
  EXPECT_STREQ(out, "");
}
