#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "base/string.h"
#include "framework/Log.h"

namespace {

// Runs body with the process time zone set to tz, restoring it afterwards.
template <class Body>
void WithTimeZone(const char* tz, Body body)
{
  const char* old = std::getenv("TZ");
  const std::string saved = old ? old : "";
  setenv("TZ", tz, 1);
  tzset();
  body();
  if (old) setenv("TZ", saved.c_str(), 1);
  else unsetenv("TZ");
  tzset();
}

std::string FormatAt(long long when)
{
  char text[48];
  FormatTimeWithOffset(when, text, sizeof(text));
  return text;
}

constexpr long long k20261207_0115Utc = 1796606100LL;  // 2026-12-07 01:15 UTC
constexpr long long k20261231_2330Utc = 1798759800LL;  // 2026-12-31 23:30 UTC
constexpr long long k20270101_0030Utc = 1798763400LL;  // 2027-01-01 00:30 UTC

}  // namespace

TEST(TraceFacility, CompiledOutCallsDoNotEvaluateTheirArguments)
{
  int evaluated = 0;
  auto sideEffect = [&evaluated]() { return ++evaluated; };
  TRACE("VSTDispatcher", "%d(%s):%d:%d", sideEffect(), VSTOpcodeStr(3), sideEffect(), 0);
  TRACE("SerializeParams", "%d %s %f", 1, "gain", 0.5);
  if (evaluated == 0) TRACE("Branch", "%s", "without braces");
  else FAIL();
  EXPECT_EQ(evaluated, 0);
  Trace("Direct", __LINE__, "%d", 1);  // the sink itself does nothing

  EXPECT_STREQ(VSTOpcodeStr(0), "");
  EXPECT_STREQ(VSTOpcodeStr(-5), "");
  EXPECT_STREQ(AUSelectStr(1), "");
  EXPECT_STREQ(AUPropertyStr(2), "");
  EXPECT_STREQ(AUScopeStr(3), "");
}

TEST(TimeStamps, LocalTimeWithUtcOffset)
{
  WithTimeZone("UTC-1", [] { EXPECT_EQ(FormatAt(k20261207_0115Utc), "20261207 02:15 +0100"); });
  WithTimeZone("UTC", [] { EXPECT_EQ(FormatAt(k20261207_0115Utc), "20261207 01:15 +0000"); });
  WithTimeZone("<-0330>3:30", [] { EXPECT_EQ(FormatAt(k20261207_0115Utc), "20261206 21:45 -0330"); });
  // Local and UTC dates on either side of a year boundary.
  WithTimeZone("UTC-13", [] { EXPECT_EQ(FormatAt(k20261231_2330Utc), "20270101 12:30 +1300"); });
  WithTimeZone("UTC+10", [] { EXPECT_EQ(FormatAt(k20270101_0030Utc), "20261231 14:30 -1000"); });

  const std::string now = CurrentTime();
  ASSERT_EQ(now.size(), 20u) << now;
  EXPECT_EQ(now[8], ' ');
  EXPECT_EQ(now[11], ':');
  EXPECT_TRUE(now[15] == '+' || now[15] == '-');

  char cut[10];
  FormatTimeWithOffset(k20261207_0115Utc, cut, sizeof(cut));
  EXPECT_EQ(std::strlen(cut), 9u);
}

TEST(TimeStamps, CompileStampFromCompilerTexts)
{
  BASE_String stamp;
  CompileTimestamp("Dec 12 2026", "02:15:30", &stamp);
  EXPECT_STREQ(stamp.Get(), "[Dec12 02:15]");
  CompileTimestamp("Dec  7 2026", "02:15:30", &stamp);
  EXPECT_STREQ(stamp.Get(), "[Dec 7 02:15]");
  CompileTimestamp(nullptr, nullptr, &stamp);
  EXPECT_STREQ(stamp.Get(), "[ ]");
  CompileTimestamp(__DATE__, __TIME__, &stamp);
  EXPECT_EQ(stamp.GetLength(), 13);

  EXPECT_STREQ(AppendTimestamp("Jan  1 2027", "23:59:59", "Quarry"), "Quarry [Jan 1 23:59]");
  EXPECT_STREQ(AppendTimestamp("Feb 28 2027", "00:00:00", nullptr), " [Feb28 00:00]");
}

TEST(PeriodicTimer, FiresOnlyAfterTheClockMoved)
{
  Timer timer;
  EXPECT_FALSE(timer.Every(3600.0));
  // Burn processor time until the clock moves by a tick.
  volatile double sink = 0.0;
  bool fired = false;
  for (long i = 0; i < 2000000000L && !fired; ++i) {
    sink = sink + 1.0;
    if ((i & 0xFFFF) == 0) fired = timer.Every(0.0);
  }
  EXPECT_TRUE(fired);
  EXPECT_FALSE(timer.Every(3600.0));
}
