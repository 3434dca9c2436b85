#include "platform/net/SocketPoller.h"

#include <sys/epoll.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <thread>

namespace pf {

SocketPoller& SocketPoller::shared() {
  // Never destroyed: its thread may be waiting while the process exits.
  static SocketPoller* poller = new SocketPoller();
  return *poller;
}

SocketPoller::SocketPoller() : epoll_(epoll_create1(EPOLL_CLOEXEC)) {
  if (epoll_ < 0) throw std::runtime_error("cannot create the socket poller");
  std::thread([this] { run(); }).detach();
}

void SocketPoller::watch(int fd, bool forRead, bool forWrite, std::function<void()> ready) {
  epoll_event event{};
  event.events = EPOLLONESHOT | (forRead ? EPOLLIN | EPOLLRDHUP : 0u) | (forWrite ? EPOLLOUT : 0u);
  event.data.fd = fd;
  std::lock_guard lock(mutex_);
  callbacks_[fd] = std::move(ready);
  if (epoll_ctl(epoll_, EPOLL_CTL_MOD, fd, &event) != 0 && errno == ENOENT) {
    epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event);
  }
}

void SocketPoller::unwatch(int fd) {
  std::lock_guard lock(mutex_);
  callbacks_.erase(fd);
  epoll_ctl(epoll_, EPOLL_CTL_DEL, fd, nullptr);
}

void SocketPoller::run() {
  epoll_event events[64];
  while (true) {
    const int count = epoll_wait(epoll_, events, 64, -1);
    if (count < 0) {
      if (errno == EINTR) continue;
      return;
    }
    for (int i = 0; i < count; ++i) {
      std::function<void()> ready;
      {
        std::lock_guard lock(mutex_);
        auto it = callbacks_.find(events[i].data.fd);
        if (it == callbacks_.end()) continue;
        ready = std::move(it->second);
        callbacks_.erase(it);
      }
      if (ready) ready();
    }
  }
}

}  // namespace pf
