#include "tools/host/Messages.h"

#include <cstdio>

namespace {
bool g_quiet = false;
}

void ReportFailure(const std::string& message) { std::fprintf(stderr, "quarry-host: %s\n", message.c_str()); }

void ReportWarning(const std::string& message)
{
  std::fprintf(stderr, "quarry-host: warning: %s\n", message.c_str());
}

void ReportNote(const std::string& message)
{
  if (!g_quiet) std::fprintf(stderr, "quarry-host: note: %s\n", message.c_str());
}

void SetQuiet(bool quiet) { g_quiet = quiet; }
bool IsQuiet() { return g_quiet; }
