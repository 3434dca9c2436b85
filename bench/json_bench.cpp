// Mapping a page of 5,000 course records (about 1 MB) into entities and writing them back, against the
// raw JSON library parsing and dumping the same text (both written pretty-printed); prints the ratios.

#include <benchmark/benchmark.h>

#include <string>

#include <nlohmann/json.hpp>

#include "bench/support/RatioReporter.h"
#include "core/json/JsonUtil.h"
#include "core/reflect/ReflectionUtil.h"
#include "platform/runtime/ClassBuilder.h"

namespace {

class BenchLesson : public pf::Object {
  PF_OBJECT(BenchLesson, pf::Object)
  std::optional<std::string> lessonId;
  std::optional<std::string> title;
  int minutes = 0;
  static void declareProperties(pf::ClassBuilder<BenchLesson>& b) {
    PF_PROPERTY(b, lessonId);
    PF_PROPERTY(b, title);
    PF_PROPERTY(b, minutes);
  }
};

class BenchCourse : public pf::Object {
  PF_OBJECT(BenchCourse, pf::Object)
  std::optional<std::string> courseId;
  std::optional<std::string> courseTitle;
  std::optional<std::string> courseStandard;
  int studyHours = 0;
  double passRate = 0;
  bool required = false;
  std::optional<pf::Date> createTime;
  std::vector<std::string> tags;
  std::vector<std::shared_ptr<BenchLesson>> lessons;
  static void declareProperties(pf::ClassBuilder<BenchCourse>& b) {
    PF_PROPERTY(b, courseId);
    PF_PROPERTY(b, courseTitle);
    PF_PROPERTY(b, courseStandard);
    PF_PROPERTY(b, studyHours);
    PF_PROPERTY(b, passRate);
    PF_PROPERTY(b, required);
    PF_PROPERTY(b, createTime);
    PF_PROPERTY(b, tags);
    PF_PROPERTY(b, lessons);
  }
};

const std::string& answerText() {
  static const std::string text = [] {
    nlohmann::json rows = nlohmann::json::array();
    for (int i = 0; i < 5000; ++i) {
      nlohmann::json lessons = nlohmann::json::array();
      for (int j = 0; j < 2; ++j) {
        lessons.push_back({{"lessonId", std::string("L").append(std::to_string(i * 10 + j))},
                           {"title", "第" + std::to_string(j + 1) + "讲 Lesson"},
                           {"minutes", 20 + j}});
      }
      rows.push_back({{"courseId", "8A9F0C2E4B7D4E1A9C3B" + std::to_string(100000 + i)},
                      {"courseTitle", "安全生产培训 Course number " + std::to_string(i)},
                      {"courseStandard", "THREESCREEN"},
                      {"studyHours", i % 40},
                      {"passRate", 0.6},
                      {"required", i % 2 == 0},
                      {"createTime", 1700000000000LL + i},
                      {"unknownMember", "ignored"},
                      {"tags", {"safety", "required"}},
                      {"lessons", lessons}});
    }
    return rows.dump();
  }();
  return text;
}

void registerTypes() {
  pf::registerClass<BenchCourse>();
  pf::registerClass<BenchLesson>();
  ReflectionUtil::setArrayType("BenchLesson", "lessons", "BenchCourse");
  ReflectionUtil::setArrayType("NSString", "tags", "BenchCourse");
}

void BM_RawParse(benchmark::State& state) {
  const std::string& text = answerText();
  for (auto _ : state) benchmark::DoNotOptimize(nlohmann::json::parse(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_MapAnswer(benchmark::State& state) {
  registerTypes();
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
  registerTypes();
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
