#pragma once
// The download service on a device under test: the application launched in its sandbox, a signed-in
// learner, the test thread as main thread, and a loopback server with the stand-in's demo videos and
// its faults:
//   /v/<name>        the video, ranges answered (Range: bytes=N-)
//   /held/<name>     the same, but a first answer stops after half the video until the gate opens
//   /missing/<name>  404;  /error/<name> 500 with an error page
//   /broken/<name>   the whole length announced, 1000 bytes sent, then a reset
//   /norange/<name>  the whole video with 200, whatever the Range says
// Each path serves its own bytes (the name picks the video's length), so files never match by luck.

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "app/model/AppClasses.h"
#include "app/model/cms/CourseSco.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/cms/DownloadService.h"
#include "core/util/FileTool.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/AlertView.h"
#include "tests/app/support/AppSandbox.h"
#include "tools/devserver/Answers.h"
#include "tools/devserver/DevServer.h"
#include "tools/devserver/demo/DemoVideo.h"

namespace download_test {

// Holds the server's answers until the test lets them go (or ten seconds pass).
class Gate {
 public:
  void wait() {
    std::unique_lock lock(mutex_);
    opened_.wait_for(lock, std::chrono::seconds(10), [this] { return open_; });
  }
  void open() {
    {
      std::lock_guard lock(mutex_);
      open_ = true;
    }
    opened_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable opened_;
  bool open_ = false;
};

// What the observer heard, in order, and whether every call came on the main thread.
class Observer : public DownloadDelegate {
 public:
  void downloadRefreshDownloadedProgress() override {
    check();
    ++progressReports;
  }
  void downloadFinishedRequest(const HttpRequest::Ptr&, const Unit& scoId) override {
    add("finished", scoId);
  }
  void downloadStartedRequest(const HttpRequest::Ptr&, const Unit& scoId) override { add("started", scoId); }
  void downloadPausedRequest(const HttpRequest::Ptr&, const Unit& scoId) override { add("paused", scoId); }
  void downloadWaitRequest(const HttpRequest::Ptr&, const Unit& scoId) override { add("wait", scoId); }
  void downloadFailedRequest(const HttpRequest::Ptr&, const Unit& scoId, const pf::ErrorPtr&) override {
    add("failed", scoId);
  }
  void downloadHasBeenRemovedRequest(const HttpRequest::Ptr&, const Unit& scoId, int,
                                     const pf::ErrorPtr&) override {
    add("removed", scoId);
  }

  // The events of one kind, by unit ("-" for none).
  std::vector<std::string> of(const std::string& kind) const {
    std::vector<std::string> found;
    for (const auto& event : events) {
      if (event.starts_with(kind + " ")) found.push_back(event.substr(kind.size() + 1));
    }
    return found;
  }
  std::size_t count(const std::string& event) const {
    return std::count(events.begin(), events.end(), event);
  }

  std::vector<std::string> events;
  int progressReports = 0;
  std::atomic<bool> offMainThread{false};

 private:
  void check() {
    if (!pf::RunLoop::isMainThread()) offMainThread = true;
  }
  void add(const std::string& kind, const Unit& scoId) {
    check();
    events.push_back(kind + " " + scoId.value_or("-"));
  }
};

class DownloadFixture : public AppSandbox {
 protected:
  void SetUp() override {
    AppSandbox::SetUp();
    pf::RunLoop::setMainThread();
    pf::RunLoop::main()->clear();
    ASSERT_EQ(launch(), InitService::DatabaseStart::Created);
    registerAppClasses();
    pf::AlertView::resetVisibleAlerts();
    signIn("U1");
    routeServer();
    ASSERT_TRUE(server.start());
    service = DownloadService::instance();
    service->setDownloadDelegete(observer);
  }
  void TearDown() override {
    gate.open();
    DownloadService::unload();
    service.reset();
    server.stop();
    pf::AlertView::resetVisibleAlerts();
    pf::RunLoop::main()->clear();
    AppSandbox::TearDown();
  }

  static void signIn(const std::string& userId) {
    auto user = std::make_shared<User>();
    user->userId = userId;
    CommonService().updateCurrentUser(user);
  }

  // The bytes the server sends for a path: a demo video whose length follows from the name.
  // Only what follows the fault prefix counts: "/held/a.mp4" ends as "/v/a.mp4" would.
  static std::string videoOf(const std::string& path) {
    const std::string name = path.substr(path.find('/', 1));
    return devserver::DemoVideo::mp4(150 + static_cast<int>(std::hash<std::string>{}(name) % 100));
  }

  void routeServer() {
    server.route("/v/*",
                 [](devserver::Exchange& e) { devserver::answers::ranged(videoOf(e.request().path))(e); });
    server.route("/held/*", [this](devserver::Exchange& e) {
      const std::string video = videoOf(e.request().path);
      if (e.request().header("Range")) return devserver::answers::ranged(video)(e);
      e.sendHead(200, {{"Content-Length", std::to_string(video.size())}});
      e.write(std::string_view(video).substr(0, video.size() / 2));
      ++heldHalves;
      gate.wait();
      e.write(std::string_view(video).substr(video.size() / 2));
    });
    server.route("/missing/*", devserver::answers::text(404, "no such file\n"));
    server.route("/error/*",
                 devserver::answers::text(500, "<html>server busy</html>", {{"Content-Type", "text/html"}}));
    server.route("/broken/*", [](devserver::Exchange& e) {
      devserver::answers::resetMidBody(videoOf(e.request().path), 1000)(e);
    });
    server.route("/norange/*", [](devserver::Exchange& e) { e.respond(200, videoOf(e.request().path)); });
  }

  std::shared_ptr<CourseSco> unit(const std::string& scoId, const std::string& path,
                                  const std::string& courseId = "C1") {
    auto sco = std::make_shared<CourseSco>();
    sco->scoId = scoId;
    sco->courseId = courseId;
    sco->scoName = "unit " + scoId;
    sco->videoUrl = server.url(path);
    return sco;
  }

  static bool runUntil(const std::function<bool()>& done, double seconds = 10) {
    return pf::RunLoop::main()->runUntilTrue(done, seconds);
  }
  // Lets the main loop run for a while, for things that must not happen.
  static void runFor(double seconds) {
    pf::RunLoop::main()->runUntilTrue([] { return false; }, seconds);
  }

  int stateOf(const std::string& scoId) {
    const auto record = service->sdiWithScoId(scoId);
    return record ? record->downloadState : -1;
  }
  bool finished(const std::string& scoId) { return stateOf(scoId) == DownloadInfo::kFinished; }
  // The stored state of the learner's row, -1 without one.
  int storedState(const std::string& scoId, const std::string& userId = "U1") {
    const pf::Value state = VelkDBHelper::instance()->queryForSingleResult(
        101, "select download_state from sco_download_info where sco_id = ? and user_id = ?",
        {scoId, userId});
    return state.isNil() ? -1 : state.intValue();
  }
  int rowCount(const std::string& scoId) {
    return VelkDBHelper::instance()
        ->queryForSingleResult(101, "select count(*) from sco_download_info where sco_id = ?", {scoId})
        .intValue();
  }
  std::size_t requestsTo(const std::string& prefix) const {
    std::size_t count = 0;
    for (const auto& r : server.requests()) count += r.path.starts_with(prefix);
    return count;
  }
  std::vector<std::string> rangesSentTo(const std::string& path) const {
    std::vector<std::string> ranges;
    for (const auto& r : server.requests()) {
      if (r.path == path) ranges.push_back(r.header("Range").value_or("(none)"));
    }
    return ranges;
  }
  static std::string contentOf(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  static bool exists(const std::optional<std::string>& file) {
    return file && std::filesystem::exists(*file);
  }

  devserver::DevServer server;
  Gate gate;
  std::atomic<int> heldHalves{0};
  std::shared_ptr<DownloadService> service;
  std::shared_ptr<Observer> observer = std::make_shared<Observer>();
};

}  // namespace download_test
