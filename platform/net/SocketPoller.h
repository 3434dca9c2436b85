#pragma once
// One process-wide thread that waits on many sockets at once (epoll) and calls back when one becomes
// readable or writable. A watch fires once; the owner watches again when it needs to. Callbacks run on
// the poller's thread and must only hand work on (to a run loop), never do it there. A callback may
// arrive late or spuriously (a socket number is reused after close), so owners retry their step and
// watch again when it would still block. Should waiting itself ever fail, the thread says so in the log,
// wakes every watcher (each retries its step and watches again) and goes on: it never ends while the
// process runs. Thread-safe.

#include <functional>
#include <mutex>
#include <unordered_map>

#include "platform/foundation/Error.h"

namespace pf {

class SocketPoller {
 public:
  // Lives, with its thread, until the process ends.
  static SocketPoller& shared();
  // A poller with a thread of its own, for a test that must break one. It has to live until the
  // process ends too: its thread is never stopped.
  static SocketPoller* makeSeparate();

  // Replaces any earlier watch of the socket. An error (POSIX domain) when the kernel refuses to watch
  // it; ready is then dropped and will never run, so the owner must give up on the socket.
  ErrorPtr watch(int fd, bool forRead, bool forWrite, std::function<void()> ready);
  // Call before closing the socket.
  void unwatch(int fd);

 private:
  SocketPoller();
  void run();
  void recoverFromFailedWait(int cause);

  int epoll_ = -1;
  std::mutex mutex_;
  std::unordered_map<int, std::function<void()>> callbacks_;
};

}  // namespace pf
