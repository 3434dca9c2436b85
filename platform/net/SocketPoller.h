#pragma once
// One process-wide thread that waits on many sockets at once (epoll) and calls back when one becomes
// readable or writable. A watch fires once; the owner watches again when it needs to. Callbacks run on
// the poller's thread and must only hand work on (to a run loop), never do it there. A callback may
// arrive late or spuriously (a socket number is reused after close), so owners retry their step and
// watch again when it would still block. Thread-safe.

#include <functional>
#include <mutex>
#include <unordered_map>

namespace pf {

class SocketPoller {
 public:
  // Lives, with its thread, until the process ends.
  static SocketPoller& shared();

  // Replaces any earlier watch of the socket.
  void watch(int fd, bool forRead, bool forWrite, std::function<void()> ready);
  // Call before closing the socket.
  void unwatch(int fd);

 private:
  SocketPoller();
  void run();

  int epoll_ = -1;
  std::mutex mutex_;
  std::unordered_map<int, std::function<void()>> callbacks_;
};

}  // namespace pf
