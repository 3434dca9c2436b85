#include "tools/devserver/Relay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace devserver {

int Relay::connectLoopback(const std::string& host, int port) {
  const bool here = host == "127.0.0.1" || host == "localhost" || host.ends_with(".test");
  if (!here || port < 1 || port > 65535) return -1;
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

void Relay::pass(int client, int upstream) {
  pollfd fds[2] = {{client, POLLIN, 0}, {upstream, POLLIN, 0}};
  char buffer[16384];
  while (true) {
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    for (int i = 0; i < 2; ++i) {
      if (!fds[i].revents) continue;
      const ssize_t count = recv(fds[i].fd, buffer, sizeof buffer, 0);
      if (count <= 0) return;
      for (ssize_t sent = 0; sent < count;) {
        const ssize_t written =
            send(fds[1 - i].fd, buffer + sent, static_cast<std::size_t>(count - sent), MSG_NOSIGNAL);
        if (written <= 0) return;
        sent += written;
      }
    }
  }
}

}  // namespace devserver
