// The shared poller: sockets the kernel refuses to watch are reported to the owner, and a watch that
// was accepted fires once the socket is ready.

#include "platform/net/SocketPoller.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

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

}  // namespace
}  // namespace pf
