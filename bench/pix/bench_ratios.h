// Side-by-side comparisons inside one benchmark process: benchmarks named
// "<Ours>_<op>" and "<Theirs>_<op>" form a pair, and after the run the
// reporter prints each pair's ratio. With --benchmark_repetitions the
// median of the repetitions is used. Ratios from one process are what to
// compare: other load on the machine slows both members of a pair alike.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

class BenchRatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override
  {
    for (const Run& r : runs) {
      // A plain run counts until a median of repetitions arrives.
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name != "median") continue;
      const std::string name = r.run_name.str();
      if (r.run_type == Run::RT_Aggregate || !m_hasMedian.count(name)) m_times[name] = r.GetAdjustedCPUTime();
      if (r.run_type == Run::RT_Aggregate) m_hasMedian[name] = true;
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // Prints theirs / ours for every op both prefixes have: above 1 ours is faster.
  void printSpeedup(const char* ours, const char* theirs, const char* title) const
  {
    printf("\n%s\n", title);
    forPairs(ours, theirs,
             [](const std::string& op, double o, double t) { printf("  %-28s %6.2f\n", op.c_str(), t / o); });
  }
  double time(const std::string& name) const
  {
    const auto it = m_times.find(name);
    return it == m_times.end() ? 0.0 : it->second;
  }

private:
  template <class F>
  void forPairs(const std::string& ours, const std::string& theirs, F&& f) const
  {
    for (const auto& kv : m_times) {
      if (kv.first.rfind(ours + "_", 0) != 0) continue;
      const std::string op = kv.first.substr(ours.size() + 1);
      const double t = time(theirs + "_" + op);
      if (t > 0 && kv.second > 0) f(op, kv.second, t);
    }
  }
  std::map<std::string, double> m_times;
  std::map<std::string, bool> m_hasMedian;
};
