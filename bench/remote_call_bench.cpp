// Remote calls through the whole client against the loopback server: the round trip of a small call,
// and one call answering a list of about 10 MB mapped into entities, timed against the raw JSON library
// parsing the same text. For the large call it prints the peak memory the call added, as a multiple of
// the answer's size. The client logs every answer in full, as it does in the app: send standard error
// elsewhere.
//   remote_call_bench 2>/dev/null

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/open/ServiceManager.h"
#include "core/reflect/ReflectionUtil.h"
#include "platform/foundation/RunLoop.h"
#include "platform/runtime/ClassBuilder.h"
#include "tools/devserver/DevServer.h"

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

constexpr int kCourses = 30000;
constexpr int kRounds = 3;
constexpr int kSmallCalls = 200;

std::string listAnswer() {
  nlohmann::json rows = nlohmann::json::array();
  for (int i = 0; i < kCourses; ++i) {
    nlohmann::json lessons = nlohmann::json::array();
    for (int j = 0; j < 2; ++j) {
      lessons.push_back({{"lessonId", "L" + std::to_string(i * 10 + j)},
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
                    {"tags", {"safety", "required"}},
                    {"lessons", lessons}});
  }
  return rows.dump();
}

long statusKilobytes(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::string(field).size()));
  }
  return -1;
}

// Gives memory freed so far back to the system and lets the next reading of the peak start from what
// the process holds now.
void resetPeak() {
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
}

double bestSeconds(int rounds, const std::function<void()>& work) {
  double best = 1e9;
  for (int i = 0; i < rounds; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

}  // namespace

int main() {
  pf::RunLoop::setMainThread();
  pf::registerClass<BenchCourse>();
  pf::registerClass<BenchLesson>();
  ReflectionUtil::setArrayType("BenchLesson", "lessons", "BenchCourse");
  ReflectionUtil::setArrayType("NSString", "tags", "BenchCourse");

  const std::string answer = listAnswer();
  devserver::DevServer server;
  server.route("/open/v1/bench/courses.html", [&answer](devserver::Exchange& e) {
    e.respond(200, answer, {{"Content-Type", "application/json"}});
  });
  server.route("/open/v1/bench/ping.html", [](devserver::Exchange& e) { e.respond(200, "1"); });
  if (!server.start()) {
    std::fprintf(stderr, "cannot start the loopback server\n");
    return 1;
  }
  ServiceConfiguration configuration;
  configuration.appKey = "0123456789ABCDEF0123456789ABCDEF";
  configuration.secret = "0123456789ABCDEF0123456789ABCDEF";
  configuration.baseUrl = "127.0.0.1:" + std::to_string(server.port());
  ServiceManager::initConfiguration(configuration);

  bool ok = true;
  const auto call = [&ok](const char* path, const char* type, std::size_t expected) {
    ServiceManager::ParamDic parameters{{"page", "1"}};
    const pf::Value result = ServiceManager::performRemoteMethod(path, parameters, type, nullptr);
    const std::size_t count = result.isArray() ? result.array()->size() : result.isNil() ? 0 : 1;
    if (count != expected) ok = false;
  };

  std::vector<double> smallTimes;
  for (int i = 0; i < kSmallCalls; ++i) {
    smallTimes.push_back(bestSeconds(1, [&] { call("/v1/bench/ping", "i", 1); }));
  }
  std::sort(smallTimes.begin(), smallTimes.end());

  resetPeak();
  const long before = statusKilobytes("VmRSS:");
  const double large = bestSeconds(1, [&] { call("/v1/bench/courses", "BenchCourse", kCourses); });
  const long peak = statusKilobytes("VmHWM:");
  const double largeBest =
      std::min(large, bestSeconds(kRounds - 1, [&] { call("/v1/bench/courses", "BenchCourse", kCourses); }));
  const double raw =
      bestSeconds(kRounds, [&] { ok = ok && nlohmann::json::parse(answer).size() == kCourses; });
  server.stop();
  if (!ok) {
    std::fprintf(stderr, "a call answered the wrong number of records\n");
    return 1;
  }
  const double megabytes = static_cast<double>(answer.size()) / (1024 * 1024);
  std::printf("small call round trip: median %.0f us, best %.0f us over %d calls\n",
              smallTimes[smallTimes.size() / 2] * 1e6, smallTimes.front() * 1e6, kSmallCalls);
  std::printf("list answer %.1f MB, %d records: call %.0f ms, raw parse %.0f ms, ratio %.2f\n", megabytes,
              kCourses, largeBest * 1e3, raw * 1e3, largeBest / raw);
  std::printf("peak memory added by the call %.1f MB = %.1f times the answer\n", (peak - before) / 1024.0,
              (peak - before) / 1024.0 / megabytes);
  return 0;
}
