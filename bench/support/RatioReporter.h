#pragma once
// Shared by the benchmarks that compare our layer with the raw library or tool doing the same work:
// seven runs each, and one ratio line per figure printed after the table, from the fastest runs (which
// the load of a shared machine disturbs least). scripts/bench collects those lines.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace bench {

inline double fastest(const std::vector<double>& times) {
  return *std::min_element(times.begin(), times.end());
}

inline void configure(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)->ComputeStatistics("min", fastest);
}

inline std::string formatMilliseconds(double milliseconds) {
  char text[32];
  if (milliseconds < 1) {
    std::snprintf(text, sizeof text, "%.0f us", milliseconds * 1000);
  } else if (milliseconds < 100) {
    std::snprintf(text, sizeof text, "%.2f ms", milliseconds);
  } else if (milliseconds < 10000) {
    std::snprintf(text, sizeof text, "%.0f ms", milliseconds);
  } else {
    std::snprintf(text, sizeof text, "%.1f s", milliseconds / 1000);
  }
  return text;
}

// The line of one figure: "json: map 1 MB ...  ours 12.3 ms  raw nlohmann 10.1 ms  ratio 1.22". The ratio
// is our time over the raw time, so above 1 ours is slower.
inline void printRatioLine(const std::string& benchmark, const std::string& figure, double oursMilliseconds,
                           const std::string& raw, double rawMilliseconds) {
  std::printf("%s: %s  ours %s  raw %s %s  ratio %.2f\n", benchmark.c_str(), figure.c_str(),
              formatMilliseconds(oursMilliseconds).c_str(), raw.c_str(),
              formatMilliseconds(rawMilliseconds).c_str(), oursMilliseconds / rawMilliseconds);
  std::fflush(stdout);
}

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // benchmark: the short name that starts each ratio line.
  explicit RatioReporter(std::string benchmark) : benchmark_(std::move(benchmark)) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.aggregate_name != "min") continue;
      const double toMilliseconds = 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit);
      milliseconds_[run.run_name.function_name] = run.GetAdjustedRealTime() * toMilliseconds;
    }
  }

  // Ours against raw, each a benchmark function's name; says so when either did not run.
  void printRatio(const std::string& figure, const std::string& ours, const std::string& rawName,
                  const std::string& raw) const {
    if (!milliseconds_.count(ours) || !milliseconds_.count(raw)) {
      std::printf("%s: %s  not measured (%s or %s did not run)\n", benchmark_.c_str(), figure.c_str(),
                  ours.c_str(), raw.c_str());
      return;
    }
    printRatioLine(benchmark_, figure, milliseconds_.at(ours), rawName, milliseconds_.at(raw));
  }

 private:
  std::string benchmark_;
  std::map<std::string, double> milliseconds_;
};

}  // namespace bench
