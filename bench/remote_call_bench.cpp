// Remote calls through the signed open-interface client against a plain POST of the same body through
// the same HTTP engine (same persistent connection, same loopback server), so the ratios are the
// client's own costs: signing, writing the parameters, logging, and mapping the answer into entities
// where the plain side only parses it with the raw JSON library. Two figures: the round trip of a small
// call, and one call answering a list of about 10 MB. It also prints the peak memory the large call
// adds, as a multiple of the answer's size. The client logs every answer in full, as it does in the
// app: send standard error elsewhere.
//   remote_call_bench 2>/dev/null

#include <malloc.h>

#include <cstdio>
#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "bench/support/BenchCourses.h"
#include "bench/support/RatioReporter.h"
#include "core/open/HttpRemoteTransport.h"
#include "core/open/ServiceManager.h"
#include "platform/foundation/RunLoop.h"
#include "tools/devserver/DevServer.h"

namespace {

constexpr int kCourses = 30000;
constexpr char kSmallPath[] = "/v1/bench/ping";
constexpr char kListPath[] = "/v1/bench/courses";

std::string listAnswer() {
  return bench::benchCoursesText(kCourses, false);
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

// What both sides post: the client's signed body as the server received it at the first call.
struct Plain {
  RemoteTransport::Request small;
  RemoteTransport::Request list;
};
Plain& plain() {
  static Plain requests;
  return requests;
}

std::size_t countOf(const pf::Value& result) {
  return result.isArray() ? result.array()->size() : result.isNil() ? 0 : 1;
}

pf::Value call(const char* path, const char* type) {
  ServiceManager::ParamDic parameters{{"page", "1"}};
  return ServiceManager::performRemoteMethod(path, parameters, type, nullptr);
}

std::size_t plainPost(const RemoteTransport::Request& request) {
  const RemoteTransport::Answer answer = HttpRemoteTransport().send(request);
  if (answer.error || answer.statusCode != 200) return 0;
  const nlohmann::json parsed = nlohmann::json::parse(answer.body.begin(), answer.body.end());
  return parsed.is_array() ? parsed.size() : 1;
}

void BM_CallSmall(benchmark::State& state) {
  for (auto _ : state)
    if (countOf(call(kSmallPath, "i")) != 1) state.SkipWithError("the call failed");
}

void BM_PostSmall(benchmark::State& state) {
  for (auto _ : state)
    if (plainPost(plain().small) != 1) state.SkipWithError("the post failed");
}

void BM_CallList(benchmark::State& state) {
  for (auto _ : state)
    if (countOf(call(kListPath, "BenchCourse")) != kCourses) state.SkipWithError("wrong number of records");
}

void BM_PostList(benchmark::State& state) {
  for (auto _ : state)
    if (plainPost(plain().list) != kCourses) state.SkipWithError("wrong number of records");
}

BENCHMARK(BM_CallSmall)->Apply(bench::configure);
BENCHMARK(BM_PostSmall)->Apply(bench::configure);
BENCHMARK(BM_CallList)->Apply(bench::configure);
BENCHMARK(BM_PostList)->Apply(bench::configure);

RemoteTransport::Request lastRequestOf(const devserver::DevServer& server) {
  const devserver::Request received = server.requests().back();
  RemoteTransport::Request request;
  request.url = server.url(received.target);
  request.method = "POST";
  request.headers = {{"Content-Type", "application/json"}};
  request.body = pf::Data(received.body.begin(), received.body.end());
  request.timeoutSeconds = ServiceManager::requireConfiguration()->timeoutInSeconds;
  return request;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  pf::RunLoop::setMainThread();
  bench::registerBenchCourses();

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

  if (countOf(call(kSmallPath, "i")) != 1) return 1;
  plain().small = lastRequestOf(server);
  resetPeak();
  const long before = statusKilobytes("VmRSS:");
  if (countOf(call(kListPath, "BenchCourse")) != kCourses) {
    std::fprintf(stderr, "the list call answered the wrong number of records\n");
    return 1;
  }
  const long peak = statusKilobytes("VmHWM:");
  plain().list = lastRequestOf(server);

  bench::RatioReporter reporter("remote call");
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const int connections = server.connectionCount();
  server.stop();
  const double megabytes = static_cast<double>(answer.size()) / (1024 * 1024);
  std::printf("peak memory added by the list call %.1f MB = %.1f times the answer; %d connection(s) in all\n",
              (peak - before) / 1024.0, (peak - before) / 1024.0 / megabytes, connections);
  reporter.printRatio("small call round trip", "BM_CallSmall", "plain POST", "BM_PostSmall");
  char figure[96];
  std::snprintf(figure, sizeof figure, "call answering %.1f MB, %d records into entities", megabytes,
                kCourses);
  reporter.printRatio(figure, "BM_CallList", "plain POST + nlohmann parse", "BM_PostList");
  benchmark::Shutdown();
  return 0;
}
