#pragma once
// Watches the kernel's routing socket for link and address changes on a thread of its own and calls
// onChange once for each burst of messages. When the kernel drops messages (a burst overflowed the
// socket, ENOBUFS) onChange runs too, so the owner reads the whole state again, and watching goes on.
// stop() (or destruction) wakes the thread and joins it, so onChange never runs after stop() returns.

#include <functional>
#include <thread>

namespace pf {

class NetlinkWatcher {
 public:
  explicit NetlinkWatcher(std::function<void()> onChange);
  ~NetlinkWatcher();
  NetlinkWatcher(const NetlinkWatcher&) = delete;
  NetlinkWatcher& operator=(const NetlinkWatcher&) = delete;

  // false when the socket cannot be opened (the watcher then stays stopped).
  bool start();
  // Watches this datagram socket (its ownership passes here) in place of the kernel's routing socket.
  bool start(int socket);
  void stop();

 private:
  void run();
  bool drainSocket();

  std::function<void()> onChange_;
  int socket_ = -1;
  int wakeup_ = -1;
  std::thread thread_;
};

}  // namespace pf
