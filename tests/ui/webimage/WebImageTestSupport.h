#pragma once
// Shared set-up of the picture loader's tests: the main loop on a virtual clock with a phone screen,
// a sandbox of their own (so the picture and URL caches start empty), a loopback server, and pictures
// made in code. Results that arrive on other threads are kept under a lock and wake the main loop.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/Error.h"
#include "platform/foundation/Sandbox.h"
#include "platform/net/Url.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/ImageContext.h"
#include "platform/ui/UiTest.h"
#include "tests/support/TemporaryFolder.h"
#include "tools/devserver/Answers.h"
#include "tools/devserver/DevServer.h"
#include "ui/webimage/ImageCache.h"

namespace webimagetest {

// A picture of one colour, w x h pixels.
inline std::shared_ptr<pf::Image> solidImage(int width, int height, pf::Color color, double scale = 1) {
  auto canvas = pf::ImageContext::create(pf::Size{width / scale, height / scale}, true, scale);
  canvas->context().setFillColor(color);
  canvas->context().fillRect(pf::Rect{0, 0, width / scale, height / scale});
  return canvas->image();
}

inline std::string asText(const std::vector<std::uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

inline std::string pngText(int width, int height, pf::Color color) {
  return asText(*solidImage(width, height, color)->pngData());
}

inline std::string jpegText(int width, int height, pf::Color color) {
  return asText(*solidImage(width, height, color)->jpegData(0.9));
}

// One call of a completion, as a test reads it back.
struct Call {
  std::shared_ptr<const pf::Image> image;
  pf::ErrorPtr error;
  int cacheType = -1;
  bool finished = false;
  std::thread::id thread;
};

// Calls recorded from any thread; each one wakes the main loop so a waiting test looks again.
class Calls {
 public:
  void add(Call call) {
    call.thread = std::this_thread::get_id();
    {
      std::lock_guard lock(mutex_);
      calls_.push_back(std::move(call));
    }
    pf::RunLoop::main()->wake();
  }
  std::vector<Call> all() const {
    std::lock_guard lock(mutex_);
    return calls_;
  }
  std::size_t size() const {
    std::lock_guard lock(mutex_);
    return calls_.size();
  }

 private:
  mutable std::mutex mutex_;
  std::vector<Call> calls_;
};

}  // namespace webimagetest

class WebImageTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    pf::Sandbox::setHome(home.path());
    ASSERT_TRUE(server.start());
  }
  void TearDown() override {
    server.stop();
    // Work the test left on other threads reports to this loop: let it land before the next test.
    loop->runUntilTrue([] { return false; }, 0.05);
    pf::Sandbox::setHome("");
    UiTest::TearDown();
  }

  // Runs the main loop until the condition holds; false after `seconds` of real waiting. Looks again
  // every few milliseconds, as state changed on other threads need not wake the loop.
  bool runMainUntil(const std::function<bool()>& done, double seconds = 5) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!loop->runUntilTrue(done, 0.005)) {
      if (std::chrono::steady_clock::now() > deadline) return false;
    }
    return true;
  }
  // Lets work under way settle: true when nothing more came in that time.
  void settle(double seconds = 0.3) { loop->runUntilTrue([] { return false; }, seconds); }

  std::string url(const std::string& path) const { return server.url(path); }
  pf::Url parsedUrl(const std::string& path) const { return *pf::Url::parse(server.url(path)); }
  std::size_t requestsTo(const std::string& path) const {
    std::size_t count = 0;
    for (const auto& request : server.requests()) count += request.path == path;
    return count;
  }

  pf_test::TemporaryFolder home;
  devserver::DevServer server;
};
