#include "platform/foundation/Log.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <thread>

namespace pf {
namespace {

using testing::ElementsAre;

TEST(LogCaptureTest, KeepsMessagesWithoutPrefix) {
  Log::Capture capture;
  Log::write("first");
  logf("error opening!: %d", 14);
  EXPECT_THAT(capture.lines(), ElementsAre("first", "error opening!: 14"));
  EXPECT_TRUE(capture.contains("opening!"));
  EXPECT_FALSE(capture.contains("absent"));
}

TEST(LogCaptureTest, SeesOnlyWhatIsLoggedWhileAlive) {
  Log::write("before");
  Log::Capture outer;
  {
    Log::Capture inner;
    Log::write("both");
    EXPECT_THAT(inner.lines(), ElementsAre("both"));
  }
  Log::write("after");
  EXPECT_THAT(outer.lines(), ElementsAre("both", "after"));
}

TEST(LogCaptureTest, CollectsFromOtherThreads) {
  constexpr int kThreads = 4;
  constexpr int kMessages = 50;
  Log::Capture capture;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < kMessages; ++i) logf("thread %d message %d", t, i);
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(capture.lines().size(), static_cast<size_t>(kThreads * kMessages));
  EXPECT_TRUE(capture.contains("thread 3 message 49"));
}

TEST(LogStderrTest, PrefixesTimeAndProcess) {
  const char* setting = std::getenv("MARLUNE_LOG");
  if (setting && std::string_view(setting) == "quiet") GTEST_SKIP() << "log is quiet";
  testing::internal::CaptureStderr();
  Log::write("hello");
  std::string written = testing::internal::GetCapturedStderr();
  static const std::regex line(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} Marlune\[\d+:\d+\] hello\n)");
  EXPECT_TRUE(std::regex_match(written, line)) << written;
}

}  // namespace
}  // namespace pf
