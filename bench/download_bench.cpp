// Downloads one large file from the loopback server to disk with the engine and with the curl command
// line tool, in the same run from the same server (a separate process, so this process's peak memory is
// the engine's), and prints the ratio of their times, both throughputs and the engine's peak memory.
// The file and the copies live in a temporary folder of the run's own; only the processes it started
// are signalled.
//   download_bench [path/to/marlune-devserver] [megabytes]

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/support/LoopbackBench.h"
#include "bench/support/RatioReporter.h"
#include "core/http/HttpRequest.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Sandbox.h"

namespace {

constexpr int kRounds = 3;

double cpuSeconds(int who) {
  rusage usage{};
  getrusage(who, &usage);
  const auto toSeconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return toSeconds(usage.ru_utime) + toSeconds(usage.ru_stime);
}

bool engineDownload(const std::string& url, const std::string& destination) {
  auto request = HttpRequest::requestWithURL(pf::Url::parse(url));
  request->downloadDestinationPath.set(destination);
  request->timeOutSeconds = 60;
  request->startSynchronous();
  if (const pf::ErrorPtr error = request->error.get()) {
    std::fprintf(stderr, "engine: %s\n", error->localizedDescription().c_str());
    return false;
  }
  return true;
}

bool curlDownload(const std::string& url, const std::string& destination) {
  bench::Child curl = bench::Child::spawn({"curl", "-sS", "-o", destination, url});
  if (!curl.started()) return false;
  if (curl.wait()) return true;
  std::fprintf(stderr, "curl failed to download %s\n", url.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string binary = argc > 1 ? argv[1] : "tools/devserver/marlune-devserver";
  const std::size_t megabytes = argc > 2 ? std::stoul(argv[2]) : 256;
  pf::RunLoop::setMainThread();
  const bench::PrivateFolder folder("marlune-download-bench");
  if (folder.path().empty()) {
    std::fprintf(stderr, "cannot make a temporary folder\n");
    return 1;
  }
  std::filesystem::create_directories(folder.path() / "served");
  pf::Sandbox::setHome(folder.path().string());
  bench::writeRandomFile((folder.path() / "served" / "big.bin").string(), megabytes, 3);

  std::string base;
  bench::Child server = bench::startFileServer(binary, (folder.path() / "served").string(), base);
  if (!server.started()) return 1;
  const std::string url = base + "big.bin";
  const std::string destination = (folder.path() / "big.copy").string();
  const double bytes = static_cast<double>(megabytes) * 1024 * 1024;

  const long memoryBefore = bench::peakMemoryKilobytes();
  double engineBest = 1e9;
  double curlBest = 1e9;
  double engineCpu = 0;
  double curlCpu = 0;
  bool ok = true;
  for (int round = 0; round < kRounds && ok; ++round) {
    const double engineCpuBefore = cpuSeconds(RUSAGE_SELF);
    engineBest = std::min(engineBest, bench::seconds([&] { ok = ok && engineDownload(url, destination); }));
    engineCpu += cpuSeconds(RUSAGE_SELF) - engineCpuBefore;
    if (ok && std::filesystem::file_size(destination) != static_cast<std::uintmax_t>(bytes)) {
      std::fprintf(stderr, "the engine's copy has %ju bytes, not %.0f\n",
                   static_cast<std::uintmax_t>(std::filesystem::file_size(destination)), bytes);
      ok = false;
    }
    std::filesystem::remove(destination);
    const double curlCpuBefore = cpuSeconds(RUSAGE_CHILDREN);
    curlBest = std::min(curlBest, bench::seconds([&] { ok = ok && curlDownload(url, destination); }));
    curlCpu += cpuSeconds(RUSAGE_CHILDREN) - curlCpuBefore;
    std::filesystem::remove(destination);
  }
  const long memoryAfter = bench::peakMemoryKilobytes();
  server.stop();
  if (!ok) return 1;
  std::printf("file %zu MB, best of %d rounds: engine %.0f MB/s, curl %.0f MB/s\n", megabytes, kRounds,
              bytes / engineBest / 1e6, bytes / curlBest / 1e6);
  std::printf("CPU per download: engine %.2f s, curl %.2f s\n", engineCpu / kRounds, curlCpu / kRounds);
  std::printf("peak memory %.1f MB (%.1f MB before the downloads)\n", memoryAfter / 1024.0,
              memoryBefore / 1024.0);
  bench::printRatioLine("download", "one " + std::to_string(megabytes) + " MB file to disk", engineBest * 1e3,
                        "curl", curlBest * 1e3);
  return 0;
}
