// Two 100 MB downloads side by side from the loopback server: through the file downloader (its queue,
// resumable requests into temporary files, moved into place) and with two curl processes at once, in
// the same run from the same server. Prints the ratio of their times, both throughputs and the peak
// memory of this process and of curl. Files live in a private temporary folder; only processes it started are
// signalled.
//   file_downloader_bench [path/to/marlune-devserver] [megabytes per file]

#include <cstdio>
#include <filesystem>
#include <string>

#include "app/util/FileDownloader.h"
#include "bench/support/LoopbackBench.h"
#include "bench/support/RatioReporter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Sandbox.h"

namespace {

constexpr int kRounds = 3;
constexpr int kFiles = 2;

// Counts the transfers that ended and says why one failed.
class Ends : public HttpRequestDelegate, public HttpProgressDelegate {
 public:
  void requestFinished(const HttpRequest::Ptr&) override { ++finished; }
  void requestFailed(const HttpRequest::Ptr& request) override {
    ++failed;
    if (const pf::ErrorPtr error = request->error.get())
      std::fprintf(stderr, "downloader: %s\n", error->localizedDescription().c_str());
  }
  int finished = 0;
  int failed = 0;
};

bool downloaderRound(FileDownloader& downloader, const std::string& base,
                     const std::filesystem::path& folder) {
  auto ends = std::make_shared<Ends>();
  downloader.setDownloadDelegete(ends);
  for (int i = 0; i < kFiles; ++i) {
    DownloadInfo info;
    info.downloadId = "file" + std::to_string(i);
    info.downloadUrlStr = base + "file" + std::to_string(i) + ".bin";
    info.savePath = (folder / ("copy" + std::to_string(i))).string();
    info.tempSavePath = (folder / ("partial" + std::to_string(i))).string();
    downloader.startDownloadingResourceWithDownloadInfo(info, {});
  }
  pf::RunLoop::main()->runUntilTrue([&] { return ends->finished + ends->failed == kFiles; }, 600);
  return ends->finished == kFiles;
}

bool curlRound(const std::string& base, const std::filesystem::path& folder) {
  std::vector<bench::Child> curls;
  for (int i = 0; i < kFiles; ++i) {
    curls.push_back(
        bench::Child::spawn({"curl", "-sS", "-o", (folder / ("curl" + std::to_string(i))).string(),
                             base + "file" + std::to_string(i) + ".bin"}));
  }
  bool ok = true;
  for (auto& curl : curls) ok = curl.wait() && ok;
  return ok;
}

bool copiesAreWhole(const std::filesystem::path& folder, const char* prefix, std::uintmax_t bytes) {
  for (int i = 0; i < kFiles; ++i) {
    const auto copy = folder / (prefix + std::to_string(i));
    std::error_code error;
    if (std::filesystem::file_size(copy, error) != bytes) {
      std::fprintf(stderr, "%s is not %ju bytes\n", copy.c_str(), bytes);
      return false;
    }
    std::filesystem::remove(copy, error);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string binary = argc > 1 ? argv[1] : "tools/devserver/marlune-devserver";
  const std::size_t megabytes = argc > 2 ? std::stoul(argv[2]) : 100;
  pf::RunLoop::setMainThread();
  const bench::PrivateFolder folder("marlune-file-downloader-bench");
  if (folder.path().empty()) {
    std::fprintf(stderr, "cannot make a temporary folder\n");
    return 1;
  }
  const auto served = folder.path() / "served";
  std::filesystem::create_directories(served);
  pf::Sandbox::setHome(folder.path().string());
  for (int i = 0; i < kFiles; ++i)
    bench::writeRandomFile((served / ("file" + std::to_string(i) + ".bin")).string(), megabytes, 7 + i);

  std::string base;
  bench::Child server = bench::startFileServer(binary, served.string(), base);
  if (!server.started()) return 1;
  const std::uintmax_t bytes = static_cast<std::uintmax_t>(megabytes) * 1024 * 1024;

  auto downloader = FileDownloader::instance();
  downloader->setMaxConcurrentOperationCount(kFiles);
  const long memoryBefore = bench::peakMemoryKilobytes();
  double ours = 1e9;
  double curl = 1e9;
  bool ok = true;
  for (int round = 0; round < kRounds && ok; ++round) {
    ours = std::min(ours, bench::seconds([&] { ok = downloaderRound(*downloader, base, folder.path()); }));
    ok = ok && copiesAreWhole(folder.path(), "copy", bytes);
    if (!ok) break;
    curl = std::min(curl, bench::seconds([&] { ok = curlRound(base, folder.path()); }));
    ok = ok && copiesAreWhole(folder.path(), "curl", bytes);
  }
  const long memoryAfter = bench::peakMemoryKilobytes();
  // Only the curl processes have been waited for so far; the server comes after.
  const long curlMemory = bench::childrenPeakMemoryKilobytes();
  server.stop();
  if (!ok) return 1;
  const double total = static_cast<double>(bytes) * kFiles;
  std::printf(
      "%d files of %zu MB side by side, best of %d rounds: file downloader %.0f MB/s, curl %.0f MB/s\n",
      kFiles, megabytes, kRounds, total / ours / 1e6, total / curl / 1e6);
  std::printf("peak memory: this process %.1f MB (%.1f MB before the downloads), largest curl %.1f MB\n",
              memoryAfter / 1024.0, memoryBefore / 1024.0, curlMemory / 1024.0);
  bench::printRatioLine(
      "file downloader",
      std::to_string(kFiles) + " files of " + std::to_string(megabytes) + " MB side by side", ours * 1e3,
      "curl x" + std::to_string(kFiles), curl * 1e3);
  return 0;
}
