#include "tools/devserver/SocksServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>

#include "tools/devserver/Relay.h"

namespace devserver {
namespace {

bool readAll(int fd, void* buffer, std::size_t length) {
  auto* at = static_cast<char*>(buffer);
  while (length > 0) {
    const ssize_t count = recv(fd, at, length, 0);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    at += count;
    length -= static_cast<std::size_t>(count);
  }
  return true;
}

bool writeAll(int fd, const std::string& bytes) {
  return send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
}

// A reply to CONNECT with this code and the address 0.0.0.0:0.
std::string reply(char code) {
  return std::string{5, code, 0, 1, 0, 0, 0, 0, 0, 0};
}

std::string readString(int fd) {
  unsigned char length = 0;
  std::string text;
  if (!readAll(fd, &length, 1)) return text;
  text.resize(length);
  if (length > 0 && !readAll(fd, text.data(), length)) text.clear();
  return text;
}

}  // namespace

SocksServer::~SocksServer() {
  stop();
}

bool SocksServer::start(std::optional<std::string> user, std::string password) {
  std::signal(SIGPIPE, SIG_IGN);
  user_ = std::move(user);
  password_ = std::move(password);
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener_ < 0) return false;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener_, 16) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close(listener_);
    listener_ = -1;
    return false;
  }
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { acceptLoop(); });
  return true;
}

void SocksServer::stop() {
  {
    std::lock_guard lock(mutex_);
    if (stopped_ || listener_ < 0) return;
    stopped_ = true;
    for (int client : clients_) shutdown(client, SHUT_RDWR);
  }
  shutdown(listener_, SHUT_RDWR);
  acceptor_.join();
  close(listener_);
  for (std::thread& worker : workers_) worker.join();
  for (int client : clients_) close(client);
}

std::vector<std::string> SocksServer::targets() const {
  std::lock_guard lock(mutex_);
  return targets_;
}

std::vector<std::string> SocksServer::users() const {
  std::lock_guard lock(mutex_);
  return users_;
}

void SocksServer::acceptLoop() {
  while (true) {
    const int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    std::lock_guard lock(mutex_);
    if (stopped_) {
      if (fd >= 0) close(fd);
      return;
    }
    if (fd < 0) continue;
    clients_.push_back(fd);
    workers_.emplace_back([this, fd] {
      serve(fd);
      shutdown(fd, SHUT_RDWR);  // the client hears the end; stop() closes the socket
    });
  }
}

void SocksServer::serve(int client) {
  if (!signIn(client)) return;
  unsigned char request[4];
  if (!readAll(client, request, sizeof request) || request[0] != 5 || request[1] != 1) return;
  std::string host;
  if (request[3] == 1) {
    unsigned char address[4];
    if (!readAll(client, address, sizeof address)) return;
    char text[INET_ADDRSTRLEN];
    host = inet_ntop(AF_INET, address, text, sizeof text);
  } else if (request[3] == 3) {
    host = readString(client);
  } else {
    writeAll(client, reply(8));
    return;
  }
  unsigned char portBytes[2];
  if (!readAll(client, portBytes, sizeof portBytes)) return;
  const int port = portBytes[0] << 8 | portBytes[1];
  note(targets_, host + ":" + std::to_string(port));
  const int upstream = Relay::connectLoopback(host, port);
  if (upstream < 0) {
    writeAll(client, reply(5));
    return;
  }
  if (writeAll(client, reply(0))) Relay::pass(client, upstream);
  close(upstream);
}

// The greeting and, when this proxy asks for it, the user name and password.
bool SocksServer::signIn(int client) {
  unsigned char greeting[2];
  if (!readAll(client, greeting, sizeof greeting) || greeting[0] != 5) return false;
  std::string methods(greeting[1], '\0');
  if (!readAll(client, methods.data(), methods.size())) return false;
  const char wanted = user_ ? 2 : 0;
  if (methods.find(wanted) == std::string::npos) {
    writeAll(client, std::string{5, static_cast<char>(0xff)});
    return false;
  }
  if (!writeAll(client, std::string{5, wanted})) return false;
  if (!user_) return true;
  unsigned char version = 0;
  if (!readAll(client, &version, 1) || version != 1) return false;
  const std::string user = readString(client);
  const std::string password = readString(client);
  note(users_, user);
  const bool accepted = user == *user_ && password == password_;
  return writeAll(client, std::string{1, static_cast<char>(accepted ? 0 : 1)}) && accepted;
}

void SocksServer::note(std::vector<std::string>& list, std::string entry) {
  std::lock_guard lock(mutex_);
  list.push_back(std::move(entry));
}

}  // namespace devserver
