#pragma once
// Shared by the benchmarks that compare our layer with the raw library: seven runs each, and the
// ratio of the fastest runs (which the load of a shared machine disturbs least) printed after the table.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace bench {

inline double fastest(const std::vector<double>& times) { return *std::min_element(times.begin(), times.end()); }

inline void configure(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)->ComputeStatistics("min", fastest);
}

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.aggregate_name == "min") milliseconds_[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
  }

  void printRatio(const char* what, const std::string& ours, const std::string& raw) const {
    if (!milliseconds_.count(ours) || !milliseconds_.count(raw)) return;
    std::printf("%s: ours %.2f ms, raw %.2f ms, ratio %.2fx\n", what, milliseconds_.at(ours),
                milliseconds_.at(raw), milliseconds_.at(ours) / milliseconds_.at(raw));
  }

 private:
  std::map<std::string, double> milliseconds_;
};

}  // namespace bench
