// The module as a whole: its exported symbols, entry points, and instances
// living side by side or being created from several threads at once.

#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/framework/vst/probe_fixture.h"

namespace {

// The names of the symbols a module defines in its dynamic symbol table.
std::set<std::string> ExportedSymbols(const std::string& path)
{
  std::set<std::string> names;
  const std::string command = "nm -D --defined-only '" + path + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return names;
  char line[1024];
  while (std::fgets(line, sizeof line, pipe)) {
    char address[64], type[8], name[900];
    if (std::sscanf(line, "%63s %7s %899s", address, type, name) == 3) names.insert(name);
  }
  pclose(pipe);
  return names;
}

TEST(VstModule, ExportsOnlyTheTwoEntryPoints)
{
  const std::set<std::string> names = ExportedSymbols(VST_PROBE_PATH);
  EXPECT_EQ(names, std::set<std::string>({"VSTPluginMain", "main"}));
}

TEST(VstModule, MainIsASecondEntryPoint)
{
  ASSERT_TRUE(ProbeModule().Loaded());
  typedef AEffect* (*Entry)(audioMasterCallback);
  Entry viaMain = reinterpret_cast<Entry>(ProbeModule().Symbol("main"));
  ASSERT_NE(viaMain, nullptr);
  AEffect* e = viaMain(&RecordingHost::Callback);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->magic, kEffectMagic);
  EXPECT_EQ(e->numParams, 4);
  Close(e);
}

TEST(VstModule, InstancesKeepSeparateState)
{
  ASSERT_TRUE(ProbeModule().Loaded());
  AEffect* a = ProbeModule().Instantiate();
  AEffect* b = ProbeModule().Instantiate();
  ASSERT_NE(a, b);
  Dispatch(a, effOpen);
  Dispatch(b, effOpen);
  a->setParameter(a, kGain, 0.25f);
  b->setParameter(b, kGain, 0.75f);
  Dispatch(a, effSetProgram, 0, 1);
  EXPECT_FLOAT_EQ(b->getParameter(b, kGain), 0.75f);
  EXPECT_EQ(Dispatch(b, effGetProgram), 0);
  Dispatch(b, effSetProgramName, 0, 0, const_cast<char*>("B"));
  EXPECT_EQ(DispatchText(a, effGetProgramNameIndexed, 0), "First");
  Close(a);
  EXPECT_FLOAT_EQ(b->getParameter(b, kGain), 0.75f);
  Close(b);
}

TEST(VstModule, ManyThreadsInstantiateAtOnce)
{
  ASSERT_TRUE(ProbeModule().Loaded());
  const int kThreads = 8;
  const int kRounds = 20;
  std::vector<std::thread> threads;
  std::vector<int> failures(kThreads, 0);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &failures] {
      for (int r = 0; r < kRounds; ++r) {
        AEffect* e = ProbeModule().Instantiate();
        if (!e || e->magic != kEffectMagic || e->numPrograms != 3) {
          ++failures[t];
          continue;
        }
        Dispatch(e, effOpen);
        e->setParameter(e, kGain, 0.1f * (t % 10));
        if (std::fabs(e->getParameter(e, kGain) - 0.1f * (t % 10)) > 1e-6f) ++failures[t];
        Close(e);
      }
    });
  }
  for (auto& th : threads) th.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(failures[t], 0) << "thread " << t;
}

}  // namespace
