#include "platform/net/SocketPoller.h"

#include <sys/epoll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <thread>

#include "platform/foundation/Log.h"
#include "platform/net/StreamError.h"

namespace pf {

SocketPoller& SocketPoller::shared() {
  // Never destroyed: its thread may be waiting while the process exits.
  static SocketPoller* poller = new SocketPoller();
  return *poller;
}

SocketPoller* SocketPoller::makeSeparate() {
  return new SocketPoller();
}

SocketPoller::SocketPoller() : epoll_(epoll_create1(EPOLL_CLOEXEC)) {
  if (epoll_ < 0) throw std::runtime_error("cannot create the socket poller");
  std::thread([this] { run(); }).detach();
}

ErrorPtr SocketPoller::watch(int fd, bool forRead, bool forWrite, std::function<void()> ready) {
  epoll_event event{};
  event.events = EPOLLONESHOT | (forRead ? EPOLLIN | EPOLLRDHUP : 0u) | (forWrite ? EPOLLOUT : 0u);
  event.data.fd = fd;
  std::lock_guard lock(mutex_);
  if (epoll_ctl(epoll_, EPOLL_CTL_MOD, fd, &event) != 0 &&
      (errno != ENOENT || epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event) != 0)) {
    const int cause = errno;
    callbacks_.erase(fd);
    return StreamError::posix(cause, std::string("cannot wait for the socket: ") + std::strerror(cause));
  }
  callbacks_[fd] = std::move(ready);
  return nullptr;
}

void SocketPoller::unwatch(int fd) {
  std::lock_guard lock(mutex_);
  callbacks_.erase(fd);
  epoll_ctl(epoll_, EPOLL_CTL_DEL, fd, nullptr);
}

void SocketPoller::run() {
  epoll_event events[64];
  while (true) {
    int instance;
    {
      std::lock_guard lock(mutex_);
      instance = epoll_;
    }
    const int count = epoll_wait(instance, events, 64, -1);
    if (count < 0) {
      if (errno != EINTR) recoverFromFailedWait(errno);
      continue;
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

// Every watcher retries its step (which watches again, or fails its transfer with the reason); an
// instance that can no longer be waited on is replaced first. The pause keeps a lasting fault from
// turning the thread into a busy loop.
void SocketPoller::recoverFromFailedWait(int cause) {
  std::unordered_map<int, std::function<void()>> waiting;
  {
    std::lock_guard lock(mutex_);
    if (cause == EBADF || cause == EINVAL) {
      const int replacement = epoll_create1(EPOLL_CLOEXEC);
      if (replacement >= 0) {
        close(epoll_);
        epoll_ = replacement;
      }
    }
    waiting.swap(callbacks_);
  }
  logf("The socket poller could not wait (%@); waking every watcher", std::string(std::strerror(cause)));
  for (auto& [fd, ready] : waiting) {
    if (ready) ready();
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

}  // namespace pf
