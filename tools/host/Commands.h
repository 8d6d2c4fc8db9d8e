#pragma once
// The two commands of quarry-host. Each returns the process exit status and
// reports a failure as one line on stderr.
//
// Threads: main thread only.

#include <string>
#include <vector>

struct RenderOptions {
  std::string plugin;
  std::string input;  // empty: the built-in demo riff
  std::string output;
  std::string dry;                       // empty: not written
  std::vector<std::string> assignments;  // NAME=VALUE, in the order given
  double rate = 0.0;                     // 0: the input's rate, or 44100 for the demo riff
  int block = 512;
  bool doublePrecision = false;
  std::string loadFxp, loadFxb, saveFxp, saveFxb;
};

int RunInfo(const std::string& pluginPath);
int RunRender(const RenderOptions& options);

// "quarry-host: <message>" on stderr.
void ReportFailure(const std::string& message);
