#pragma once
// A command of quarry-host ("info", "render", ...). Each command is one
// file holding one HostCommand, listed once in CommandTable.cpp; main
// gives it a subcommand of its own on the command line, lets it declare
// its options there, and runs it once the whole line has parsed.
//
// Threads: main thread only.

#include <memory>
#include <vector>

namespace CLI {
class App;
}

class HostCommand {
public:
  virtual ~HostCommand() = default;
  virtual const char* Name() const = 0;
  // One line for the list of commands in --help.
  virtual const char* Summary() const = 0;
  // Declares options and arguments on the command's subcommand; their
  // values land in the command object while the line is parsed.
  virtual void AddOptions(CLI::App* command) = 0;
  // Runs with the parsed values; returns the exit status: 0 done, 1 failed,
  // 2 options that cannot go together. Failures are reported on stderr.
  virtual int Run() = 0;
};

// Every command, in the order --help lists them.
std::vector<std::unique_ptr<HostCommand>> MakeHostCommands();

// The exit status for a command line that cannot be run as given.
constexpr int kUsageExitStatus = 2;
