// Mapping a page of 5,000 course records (about 1 MB) into entities and writing them back, against the
// raw JSON library parsing and dumping the same text (both written pretty-printed); prints the ratios.

#include <benchmark/benchmark.h>

#include <string>

#include <nlohmann/json.hpp>

#include "bench/support/BenchCourses.h"
#include "bench/support/RatioReporter.h"
#include "core/json/JsonUtil.h"

namespace {

const std::string& answerText() {
  static const std::string text = bench::benchCoursesText(5000, true);
  return text;
}

void BM_RawParse(benchmark::State& state) {
  const std::string& text = answerText();
  for (auto _ : state) benchmark::DoNotOptimize(nlohmann::json::parse(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_MapAnswer(benchmark::State& state) {
  bench::registerBenchCourses();
  const std::string& text = answerText();
  for (auto _ : state) {
    pf::Value courses = JsonUtil::objectFromJsonString(text, "BenchCourse");
    if (courses.array()->size() != 5000) state.SkipWithError("wrong count");
    benchmark::DoNotOptimize(courses);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_RawDump(benchmark::State& state) {
  nlohmann::json parsed = nlohmann::json::parse(answerText());
  for (auto _ : state) benchmark::DoNotOptimize(parsed.dump(2));
}

void BM_WriteEntities(benchmark::State& state) {
  bench::registerBenchCourses();
  pf::Value courses = JsonUtil::objectFromJsonString(answerText(), "BenchCourse");
  for (auto _ : state) benchmark::DoNotOptimize(JsonUtil::jsonStringWithObject(courses));
}

BENCHMARK(BM_RawParse)->Apply(bench::configure);
BENCHMARK(BM_MapAnswer)->Apply(bench::configure);
BENCHMARK(BM_RawDump)->Apply(bench::configure);
BENCHMARK(BM_WriteEntities)->Apply(bench::configure);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  bench::RatioReporter reporter("json");
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const std::string size = std::to_string(answerText().size() / 1000) + " kB";
  reporter.printRatio("map a " + size + " list of 5,000 courses into entities", "BM_MapAnswer",
                      "nlohmann parse", "BM_RawParse");
  reporter.printRatio("write 5,000 course entities as JSON", "BM_WriteEntities", "nlohmann dump",
                      "BM_RawDump");
  benchmark::Shutdown();
  return 0;
}
