// The shared poller: sockets the kernel refuses to watch are reported to the owner, and a watch that
// was accepted fires once the socket is ready.

#include "platform/net/SocketPoller.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <set>
#include <thread>

#include "platform/foundation/Log.h"
#include "platform/net/StreamError.h"

namespace pf {
namespace {

TEST(SocketPollerTest, ASocketTheKernelRefusesToWatchIsReportedAndNeverCalledBack) {
  const int file = open("/proc/self/status", O_RDONLY | O_CLOEXEC);
  ASSERT_GE(file, 0);
  const struct {
    const char* name;
    int fd;
    long code;
  } cases[] = {{"a regular file", file, EPERM}, {"a closed descriptor", 1 << 20, EBADF}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    bool called = false;
    const ErrorPtr error = SocketPoller::shared().watch(c.fd, true, false, [&] { called = true; });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), StreamError::kPosixDomain);
    EXPECT_EQ(error->code(), c.code);
    EXPECT_FALSE(called);
  }
  close(file);
}

TEST(SocketPollerTest, AnAcceptedWatchFiresWhenTheSocketTurnsReadable) {
  int pair[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair), 0);
  std::mutex mutex;
  std::condition_variable changed;
  int calls = 0;
  ASSERT_FALSE(SocketPoller::shared().watch(pair[0], true, false, [&] {
    std::lock_guard lock(mutex);
    ++calls;
    changed.notify_all();
  }));
  ASSERT_EQ(write(pair[1], "x", 1), 1);
  {
    std::unique_lock lock(mutex);
    EXPECT_TRUE(changed.wait_for(lock, std::chrono::seconds(5), [&] { return calls == 1; }));
  }
  SocketPoller::shared().unwatch(pair[0]);
  close(pair[0]);
  close(pair[1]);
}

// The epoll instances this process holds, by descriptor.
std::set<int> epollDescriptors() {
  std::set<int> found;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    const auto target = std::filesystem::read_symlink(entry.path(), error);
    if (!error && target.string() == "anon_inode:[eventpoll]")
      found.insert(std::stoi(entry.path().filename()));
  }
  return found;
}

// Waiting fails once the poller's descriptor no longer names an epoll instance: the thread says so,
// takes a new instance and goes on serving watches.
TEST(SocketPollerTest, AFailedWaitIsLoggedAndThePollerGoesOn) {
  const std::set<int> before = epollDescriptors();
  SocketPoller* poller = SocketPoller::makeSeparate();  // lives on, as its thread does
  std::set<int> created;
  for (int fd : epollDescriptors()) {
    if (!before.contains(fd)) created.insert(fd);
  }
  ASSERT_EQ(created.size(), 1u);
  int first[2], second[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, first), 0);
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, second), 0);
  std::mutex mutex;
  std::condition_variable changed;
  int calls = 0;
  const auto count = [&] {
    std::lock_guard lock(mutex);
    ++calls;
    changed.notify_all();
  };
  ASSERT_FALSE(poller->watch(first[0], true, false, count));

  Log::Capture log;
  {
    // Under the lock the first callback takes, so the thread's later closing of the descriptor is seen
    // to follow (the sanitizer cannot see the order through the kernel).
    std::lock_guard lock(mutex);
    const int nothing = open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(dup2(nothing, *created.begin()), *created.begin());
    close(nothing);
  }
  ASSERT_EQ(write(first[1], "x", 1), 1);  // wakes the wait that still runs on the old instance
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!log.contains("could not wait") && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::yield();
  }
  ASSERT_TRUE(log.contains("could not wait"));

  ASSERT_FALSE(poller->watch(second[0], true, false, count));
  ASSERT_EQ(write(second[1], "y", 1), 1);
  {
    std::unique_lock lock(mutex);
    EXPECT_TRUE(changed.wait_for(lock, std::chrono::seconds(5), [&] { return calls == 2; }));
  }
  for (int fd : {first[0], first[1], second[0], second[1]}) close(fd);
}

}  // namespace
}  // namespace pf
