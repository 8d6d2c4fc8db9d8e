#pragma once
// Starting helper programs (dialog programs, the desktop's URL opener)
// without a shell: the program is looked up on PATH and every argument
// reaches it as one argument, whatever quotes, spaces or semicolons it
// holds. The child reads /dev/null, its errors are discarded and it
// inherits no descriptor of the host beyond the standard three.
//
// Threads: the editor's thread calls these. LinuxRunProgram blocks that
// thread until the program ends (a dialog is modal, as on every desktop).
// The list of started, unwaited programs is guarded by its own mutex.

#include "base/string.h"

// What a program run to its end reported.
struct LinuxProgramResult {
  int exitCode = -1;   // -1 when it died of a signal or its status was lost
  BASE_String output;  // standard output, at most kLinuxMaxProgramOutput bytes
};
enum { kLinuxMaxProgramOutput = 65536 };

// Runs argv[0] (found on PATH) with argv (null-terminated) and waits for it.
// False, with nothing run, when the program cannot be started (not on
// PATH, not executable, no resources).
bool LinuxRunProgram(const char* const* argv, LinuxProgramResult* result);

// Starts argv[0] in a session of its own and returns at once; true when it
// could be started. Its exit is collected by later calls (see below).
bool LinuxStartProgram(const char* const* argv);

// Collects the exit of started programs that have ended, so none lingers
// as a zombie; cheap, never blocks. Called by LinuxStartProgram and meant
// for the editor's idle tick.
void LinuxReapPrograms();
