#include "platform/net/NetlinkWatcher.h"

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace pf {

namespace {

bool isLinkOrAddressMessage(const nlmsghdr* header) {
  switch (header->nlmsg_type) {
    case RTM_NEWLINK:
    case RTM_DELLINK:
    case RTM_NEWADDR:
    case RTM_DELADDR:
      return true;
    default:
      return false;
  }
}

int openRouteSocket() {
  int fd = socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_ROUTE);
  if (fd < 0) return -1;
  sockaddr_nl local{};
  local.nl_family = AF_NETLINK;
  local.nl_groups = RTMGRP_LINK | RTMGRP_IPV4_IFADDR | RTMGRP_IPV6_IFADDR;
  if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

NetlinkWatcher::NetlinkWatcher(std::function<void()> onChange) : onChange_(std::move(onChange)) {}

NetlinkWatcher::~NetlinkWatcher() {
  stop();
}

bool NetlinkWatcher::start() {
  if (thread_.joinable()) return true;
  return start(openRouteSocket());
}

bool NetlinkWatcher::start(int socket) {
  if (thread_.joinable()) {
    if (socket >= 0) close(socket);
    return true;
  }
  socket_ = socket;
  wakeup_ = eventfd(0, EFD_CLOEXEC);
  if (socket_ < 0 || wakeup_ < 0) {
    stop();
    return false;
  }
  thread_ = std::thread([this] { run(); });
  return true;
}

void NetlinkWatcher::stop() {
  if (thread_.joinable()) {
    std::uint64_t one = 1;
    while (write(wakeup_, &one, sizeof one) < 0 && errno == EINTR) {
    }
    thread_.join();
  }
  if (socket_ >= 0) close(socket_);
  if (wakeup_ >= 0) close(wakeup_);
  socket_ = wakeup_ = -1;
}

void NetlinkWatcher::run() {
  pollfd fds[2] = {{socket_, POLLIN, 0}, {wakeup_, POLLIN, 0}};
  while (true) {
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[1].revents) return;
    if (fds[0].revents & POLLNVAL) return;
    // A pending socket error (ENOBUFS after a burst) is taken by the next read, which says messages
    // were lost: the owner reads the state again.
    if (drainSocket()) onChange_();
  }
}

// Reads every pending message; true when one of them is about links or addresses, or when the
// socket reported an error (the kernel dropped messages: anything may have changed).
bool NetlinkWatcher::drainSocket() {
  alignas(nlmsghdr) char buffer[8192];
  bool changed = false;
  while (true) {
    ssize_t length = recv(socket_, buffer, sizeof buffer, 0);
    if (length < 0) {
      if (errno == EINTR) continue;
      return changed || (errno != EAGAIN && errno != EWOULDBLOCK);
    }
    if (length == 0) return changed;
    auto remaining = static_cast<unsigned>(length);
    for (auto* header = reinterpret_cast<nlmsghdr*>(buffer); NLMSG_OK(header, remaining);
         header = NLMSG_NEXT(header, remaining)) {
      changed = changed || isLinkOrAddressMessage(header);
    }
  }
}

}  // namespace pf
