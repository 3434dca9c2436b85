// The watcher's thread outlives errors on its socket: an error (the kernel dropping messages after a
// burst) asks the owner to read the state again, and later changes are still heard.

#include "platform/net/NetlinkWatcher.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

namespace pf {
namespace {

// A datagram socket connected to a loopback port nobody listens on: each datagram sent comes back as
// a pending socket error, as dropped messages do on the routing socket.
int socketWithErrorsOnDemand() {
  const int closed = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (bind(closed, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(closed, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return -1;
  }
  close(closed);
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

TEST(NetlinkWatcherTest, ASocketErrorAsksForTheStateAgainAndWatchingGoesOn) {
  std::mutex mutex;
  std::condition_variable changed;
  int changes = 0;
  NetlinkWatcher watcher([&] {
    std::lock_guard lock(mutex);
    ++changes;
    changed.notify_all();
  });
  const int fd = socketWithErrorsOnDemand();
  ASSERT_GE(fd, 0);
  const int sender = dup(fd);
  ASSERT_TRUE(watcher.start(fd));
  for (int expected = 1; expected <= 2; ++expected) {
    SCOPED_TRACE(expected);
    ASSERT_EQ(send(sender, "x", 1, 0), 1);
    std::unique_lock lock(mutex);
    EXPECT_TRUE(changed.wait_for(lock, std::chrono::seconds(5), [&] { return changes >= expected; }));
  }
  watcher.stop();
  close(sender);
}

}  // namespace
}  // namespace pf
