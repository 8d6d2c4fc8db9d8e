#pragma once
// Trace logging and the small time services around it. Tracing is compiled
// out: TRACE calls stay where they are in the code, their arguments are
// type-checked against the format but never evaluated, and nothing is
// written. The opcode-name functions exist only to feed trace output and
// return "".
//
// Threads: TRACE and Trace may be used on any thread (they do nothing).
// CurrentTime and AppendTimestamp return one static buffer each that every
// call overwrites: for diagnostics on one thread at a time. Timer objects
// belong to the thread that uses them. No locks are taken.

class BASE_String;

#if defined(__GNUC__)
#define QUARRY_PRINTF_FORMAT(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define QUARRY_PRINTF_FORMAT(fmt, args)
#endif

// The trace sink: does nothing.
void Trace(const char* funcName, int line, const char* format, ...) QUARRY_PRINTF_FORMAT(3, 4);

// Trace from the named operation with a printf-style format and arguments,
// for example TRACE("VSTDispatcher", "%d(%s):%d:%d", op, VSTOpcodeStr(op), idx, v).
#define TRACE(funcName, ...)                           \
  do {                                                 \
    if (false) Trace(funcName, __LINE__, __VA_ARGS__); \
  } while (0)

// Names of host opcodes and selectors for trace output: "" for every value.
const char* VSTOpcodeStr(int opcode);
const char* AUSelectStr(int select);
const char* AUPropertyStr(int property);
const char* AUScopeStr(int scope);

// Local date and time with the offset from UTC, "20261207 02:15 +0100".
const char* CurrentTime();
// The same text for a given moment (seconds since the epoch), written into
// text (at least 32 bytes; shorter buffers get a cut, terminated text).
void FormatTimeWithOffset(long long when, char* text, int textSize);

// A short build stamp from the compiler's __DATE__ ("Dec 12 2026") and
// __TIME__ ("02:15:30") texts: "[Dec12 02:15]" (a space-padded day gives
// "[Dec 7 02:15]"). Null texts count as "".
void CompileTimestamp(const char* date, const char* time, BASE_String* str);

// text, a space and the build stamp of CompileTimestamp.
const char* AppendTimestamp(const char* date, const char* time, const char* text);

// Fires at most once per period of processor time.
class Timer {
public:
  // Records the current processor clock.
  Timer();
  // True, recording the clock anew, when the processor clock has advanced
  // by more than the given number of seconds since the last record.
  bool Every(double seconds);

private:
  long mLastClock;
};
