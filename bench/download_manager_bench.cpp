// The download manager showing 500 records in its downloading view while two of them transfer 100 MB
// each from the loopback stand-in (the service runs two at a time; the other 498 wait), on the real
// clock (the window is not drawn: the list benchmarks time drawing), until both files are complete
// and the main loop has handled every message the transfers queued (the manager shows them done).
// Against the same transfers with the manager hidden (another tab shown, so nobody reloads). Reports
// the manager's reloads per second,
// the time of each, the throughput of both runs, and tap latency: every 100 ms another thread posts a
// tap on a waiting row (pausing it, then resuming it) to the main queue; the latency is from posting to
// the end of the tap's handling.
//   download_manager_bench 2>/dev/null

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <set>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/controller/cmn/CmnViewClasses.h"
#include "app/controller/cms/CmsDetailViewClasses.h"
#include "app/controller/cms/CmsDownloadCourseViewController.h"
#include "app/controller/cms/CmsPlayerViewClasses.h"
#include "app/model/cms/CourseViewInfo.h"
#include "app/model/cms/ScoViewInfo.h"
#include "app/service/cms/CourseService.h"
#include "app/service/cms/CourseSyncService.h"
#include "app/service/cms/DownloadService.h"
#include "bench/support/AppBench.h"
#include "bench/support/LoopbackBench.h"
#include "bench/support/RatioReporter.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/RunLoop.h"
#include "platform/host/HeadlessHost.h"
#include "platform/net/ManualReachabilityProvider.h"
#include "platform/net/ReachabilityFlags.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Window.h"
#include "tests/app/support/DownloadManagerTabs.h"
#include "tools/devserver/demo/GeneratedCatalogue.h"

namespace {

constexpr int kRecords = 500;
constexpr int kBigSeconds = 51200;  // the stand-in's videos are 2048 bytes a second: 100 MB
constexpr char kUser[] = "U0001";
constexpr double kProbeEvery = 0.1;
constexpr long kTappedRow = 4;

using Clock = std::chrono::steady_clock;
double since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Two courses (one per run) of kRecords units: the first two 100 MB videos, the rest 30 s ones.
void writeCatalogue(const std::filesystem::path& dataFolder) {
  devserver::writeGeneratedCatalogue(dataFolder, 2, kRecords, kUser);
  const auto path = dataFolder / "cms" / "catalogue.json";
  nlohmann::json data = nlohmann::json::parse(std::ifstream(path));
  for (auto& course : data["courses"]) {
    int index = 0;
    for (auto& unit : course["units"]) unit["videoSeconds"] = index++ < 2 ? kBigSeconds : 30;
  }
  std::ofstream(path) << data.dump();
}

double percentile(std::vector<double> values, double at) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, size_t(at * double(values.size())))];
}

// Forwards the service's messages to the manager (when shown), timing those that reload its list, and
// keeps the units whose finish reached the main loop.
class TimingObserver : public DownloadDelegate {
 public:
  explicit TimingObserver(std::shared_ptr<DownloadDelegate> target) : target_(std::move(target)) {}
  void downloadRefreshDownloadedProgress() override {
    timed([&] { target_->downloadRefreshDownloadedProgress(); });
  }
  void downloadFinishedRequest(const HttpRequest::Ptr& request, const Unit& scoId) override {
    finished.insert(scoId.value_or(""));
    timed([&] { target_->downloadFinishedRequest(request, scoId); });
  }
  void downloadStartedRequest(const HttpRequest::Ptr& request, const Unit& scoId) override {
    if (target_) target_->downloadStartedRequest(request, scoId);
  }
  void downloadPausedRequest(const HttpRequest::Ptr& request, const Unit& scoId) override {
    timed([&] { target_->downloadPausedRequest(request, scoId); });
  }
  void downloadWaitRequest(const HttpRequest::Ptr& request, const Unit& scoId) override {
    timed([&] { target_->downloadWaitRequest(request, scoId); });
  }
  void downloadFailedRequest(const HttpRequest::Ptr& request, const Unit& scoId, const pf::ErrorPtr& error) override {
    timed([&] { target_->downloadFailedRequest(request, scoId, error); });
  }
  void downloadHasBeenRemovedRequest(const HttpRequest::Ptr& request, const Unit& scoId, int downType,
                                     const pf::ErrorPtr& error) override {
    if (target_) target_->downloadHasBeenRemovedRequest(request, scoId, downType, error);
  }

  long reloads = 0;
  double seconds = 0, longest = 0;
  std::set<std::string> finished;

 private:
  void timed(const std::function<void()>& work) {
    if (!target_) return;
    const double time = bench::seconds(work);
    ++reloads;
    seconds += time;
    longest = std::max(longest, time);
  }
  std::shared_ptr<DownloadDelegate> target_;
};

struct Run {
  double seconds = 0;  // from the starts to both big files complete
  double megabytesPerSecond = 0;
  long reloads = 0;
  double reloadMilliseconds = 0, longestReloadMilliseconds = 0;
  std::vector<double> tapWaitMilliseconds;  // posted to handling begun, also when not shown
  std::vector<double> tapMilliseconds;      // posted to the tap handled
};


// One run on a fresh device: the manager in the fourth tab, shown or not, every unit of the run's
// course started, until the two big files are complete.
bool measure(bench::AppBench& app, const std::filesystem::path& folder, int course, bool shown, Run& run) {
  if (!app.start((folder / "data").string(), (folder / ("home" + std::to_string(course))).string(), kUser))
    return false;
  CourseSyncService().syncCourseInfoAndStudyRecord();
  CourseService courses;
  auto info = courses.getCourseViewInfoWithCourseID(devserver::generatedCourseId(course));
  if (!info) return false;
  if (auto units = courses.getScoViewInfosWithCourseViewInfo(info)) info->scoInfoList = *units;
  if (info->scoInfoList.size() != kRecords) {
    std::fprintf(stderr, "the course has %zu units\n", info->scoInfoList.size());
    return false;
  }
  auto loop = pf::RunLoop::main();
  auto window = std::make_shared<pf::Window>();
  window->makeKeyAndVisible();
  const DownloadManagerTabs screen = DownloadManagerTabs::show(*window);
  const auto manager = screen.manager;
  loop->runUntil(pf::Clock::now() + 0.3);
  if (!shown) screen.tabs->setSelectedIndex(0);
  loop->runUntil(pf::Clock::now() + 0.3);

  auto service = DownloadService::instance();
  for (const auto& unit : info->scoInfoList) service->startDownloadingSco(unit);
  manager->setDownType(CmsDownloadCourseViewController::kDownloading);
  auto observer = std::make_shared<TimingObserver>(
      shown ? std::static_pointer_cast<DownloadDelegate>(manager) : std::shared_ptr<DownloadDelegate>());
  service->setDownloadDelegete(observer);
  const std::string first = info->scoInfoList[0]->scoId.value_or("");
  const std::string second = info->scoInfoList[1]->scoId.value_or("");
  const auto complete = [&](const std::string& scoId) { return observer->finished.count(scoId) > 0; };

  pf::HeadlessHost host(window);
  // Taps from another thread, as the window's events arrive while the main loop is busy.
  std::atomic<bool> tapping{true};
  std::atomic<long> probes{0};
  std::thread tapper([&] {
    while (tapping) {
      std::this_thread::sleep_for(std::chrono::duration<double>(kProbeEvery));
      const auto posted = Clock::now();
      ++probes;
      pf::DispatchQueue::main()->async([&, posted] {
        run.tapWaitMilliseconds.push_back(since(posted) * 1e3);
        auto table = manager->downloadContentView.lock();
        if (!shown || !table || table->numberOfRowsInSection(0) <= kTappedRow) return;
        const pf::Rect row = table->convertRectToView(
            table->rectForRowAtIndexPath(pf::IndexPath::forRow(kTappedRow, 0)), nullptr);
        host.tap({row.midX(), row.midY()});
        run.tapMilliseconds.push_back(since(posted) * 1e3);
      });
    }
  });
  if (shown) {
    auto table = manager->downloadContentView.lock();
    std::printf("download manager: %zu records in the downloading view, %ld rows\n", manager->editableItems->size(),
                table ? table->numberOfRowsInSection(0) : -1L);
  }
  const auto start = Clock::now();
  bool done = loop->runUntilTrue([&] { return complete(first) && complete(second); }, 300);
  // Until the main loop has handled every message queued before the end: the manager shows both done.
  bool caughtUp = false;
  pf::DispatchQueue::main()->async([&] { caughtUp = true; });
  done = loop->runUntilTrue([&] { return caughtUp; }, 300) && done;
  run.seconds = since(start);
  std::printf("download manager: %s run, %ld taps posted, wait median %.2f ms, longest %.2f ms\n",
              shown ? "shown" : "hidden", probes.load(), percentile(run.tapWaitMilliseconds, 0.5),
              percentile(run.tapWaitMilliseconds, 1.0));
  tapping = false;
  tapper.join();
  service->pauseAllTasks();
  loop->runUntil(pf::Clock::now() + 0.5);
  if (shown) {
    run.reloads = observer->reloads;
    run.reloadMilliseconds = observer->reloads ? observer->seconds * 1e3 / double(observer->reloads) : 0;
    run.longestReloadMilliseconds = observer->longest * 1e3;
  }
  run.megabytesPerSecond = 2.0 * kBigSeconds * 2048 / (1 << 20) / run.seconds;
  service->setDownloadDelegete({});
  window.reset();
  app.stop();
  if (!done) std::fprintf(stderr, "the two transfers did not complete\n");
  return done;
}

}  // namespace

int main() {
  pf::RunLoop::setMainThread();
  const bench::PrivateFolder folder("marlune-download-manager-bench");
  if (folder.path().empty()) return 1;
  writeCatalogue(bench::AppBench::copyDemoData(folder.path()));
  auto reachability = std::make_shared<pf::ManualReachabilityProvider>();
  pf::ReachabilityProvider::install(reachability);
  reachability->setFlags(pf::kReachabilityFlagsReachable | pf::kReachabilityFlagsIsDirect);
  pf::Screen::configure(pf::Screen::Profile::Phone);
  registerCmnViewClasses();
  registerCmsDetailViewClasses();
  registerCmsPlayerViewClasses();

  bench::AppBench app;
  Run hidden, shown;
  if (!measure(app, folder.path(), 0, false, hidden) || !measure(app, folder.path(), 1, true, shown)) return 1;

  std::printf("two transfers of 100 MB with %d records in the downloading view\n", kRecords);
  std::printf("download manager: hidden  %.2f s  %.1f MB/s\n", hidden.seconds, hidden.megabytesPerSecond);
  std::printf("download manager: shown   %.2f s  %.1f MB/s\n", shown.seconds, shown.megabytesPerSecond);
  std::printf("download manager: reloads %ld, %.1f per second, %.3f ms each (longest %.2f ms)\n", shown.reloads,
              double(shown.reloads) / shown.seconds, shown.reloadMilliseconds, shown.longestReloadMilliseconds);
  std::printf("download manager: taps %zu, latency median %.2f ms, 95th %.2f ms, longest %.2f ms\n",
              shown.tapMilliseconds.size(), percentile(shown.tapMilliseconds, 0.5),
              percentile(shown.tapMilliseconds, 0.95), percentile(shown.tapMilliseconds, 1.0));
  bench::printRatioLine("download manager",
                        "two 100 MB transfers, 500 records shown in the downloading view (throughput cost)",
                        shown.seconds * 1e3, "manager hidden", hidden.seconds * 1e3);
  return 0;
}
