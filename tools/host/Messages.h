#pragma once
// What quarry-host tells its user on stderr, one line each, prefixed
// "quarry-host: ". Failures and warnings always show; notes (and the
// progress bar and summaries, which ask IsQuiet) are silenced by -q.
//
// Threads: main thread only.

#include <string>

void ReportFailure(const std::string& message);
// "quarry-host: warning: <message>".
void ReportWarning(const std::string& message);
// "quarry-host: note: <message>", unless quiet.
void ReportNote(const std::string& message);

void SetQuiet(bool quiet);
bool IsQuiet();
