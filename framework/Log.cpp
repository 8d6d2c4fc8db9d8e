#include "framework/Log.h"

#include <cstdio>
#include <cstring>
#include <ctime>

#include "base/cstring.h"
#include "base/string.h"

void Trace(const char*, int, const char*, ...) {}

const char* VSTOpcodeStr(int) { return ""; }
const char* AUSelectStr(int) { return ""; }
const char* AUPropertyStr(int) { return ""; }
const char* AUScopeStr(int) { return ""; }

namespace {

// Minutes by which local time is ahead of UTC at the given moment.
int UtcOffsetMinutes(const std::tm& local, const std::tm& utc)
{
  int offset = (local.tm_min - utc.tm_min) + (local.tm_hour - utc.tm_hour) * 60;
  const int dayDiff = local.tm_yday - utc.tm_yday;
  if (dayDiff >= 2) offset -= 1440;       // UTC has already reached the next year
  else if (dayDiff < -1) offset += 1440;  // local time has already reached it
  else offset += 1440 * dayDiff;
  return offset;
}

}  // namespace

void FormatTimeWithOffset(long long when, char* text, int textSize)
{
  if (!text || textSize < 1) return;
  const std::time_t moment = static_cast<std::time_t>(when);
  std::tm local{}, utc{};
  char formatted[48] = "";
  if (localtime_r(&moment, &local) && gmtime_r(&moment, &utc)) {
    if (std::strftime(formatted, 32, "%Y%m%d %H:%M ", &local) == 0) formatted[0] = '\0';
    const int offset = UtcOffsetMinutes(local, utc);
    const int magnitude = offset < 0 ? -offset : offset;
    const size_t used = std::strlen(formatted);
    std::snprintf(formatted + used, sizeof(formatted) - used, "%c%02d%02d", offset < 0 ? '-' : '+',
                  magnitude / 60, magnitude % 60);
  }
  BASE_CopyString(text, formatted, static_cast<size_t>(textSize));
}

const char* CurrentTime()
{
  static char buffer[48];
  FormatTimeWithOffset(static_cast<long long>(std::time(nullptr)), buffer, sizeof(buffer));
  return buffer;
}

void CompileTimestamp(const char* date, const char* time, BASE_String* str)
{
  if (!str) return;
  str->Set("[");
  str->Append(date ? date : "");
  str->SetLength(7);     // "[Mmm dd"
  str->DeleteSub(4, 1);  // the blank after the month
  str->Append(" ");
  str->Append(time ? time : "");
  str->SetLength(12);  // hours and minutes only
  str->Append("]");
}

const char* AppendTimestamp(const char* date, const char* time, const char* text)
{
  static BASE_String result;
  BASE_String stamp;
  CompileTimestamp(date, time, &stamp);
  result.Set(text ? text : "");
  result.Append(" ");
  result.Append(stamp.Get());
  return result.Get();
}

Timer::Timer() : mLastClock(static_cast<long>(std::clock())) {}

bool Timer::Every(double seconds)
{
  const long now = static_cast<long>(std::clock());
  if (static_cast<double>(now - mLastClock) > seconds * static_cast<double>(CLOCKS_PER_SEC)) {
    mLastClock = now;
    return true;
  }
  return false;
}
