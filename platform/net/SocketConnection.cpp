#include "platform/net/SocketConnection.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/net/SocketPoller.h"
#include "platform/net/StreamError.h"

namespace pf {
namespace {

IoResult systemFailure(int code) {
  return IoResult::failed(StreamError::posix(code, std::strerror(code)));
}

}  // namespace

std::unique_ptr<SocketConnection> SocketConnection::connect(const SocketAddress& address, IoResult& result) {
  const auto* target = reinterpret_cast<const sockaddr*>(address.bytes.data());
  const int fd = socket(target->sa_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    result = systemFailure(errno);
    return nullptr;
  }
  std::unique_ptr<SocketConnection> connection(new SocketConnection(fd));
  const int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  if (::connect(fd, target, address.length) == 0) {
    result = IoResult::done();
  } else if (errno == EINPROGRESS) {
    result = IoResult::wouldBlock(true);
  } else {
    result = systemFailure(errno);
    return nullptr;
  }
  return connection;
}

SocketConnection::~SocketConnection() {
  SocketPoller::shared().unwatch(fd_);
  tls_.reset();
  ::close(fd_);
}

IoResult SocketConnection::finishConnect() {
  int error = 0;
  socklen_t length = sizeof error;
  if (getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
  if (error == EINPROGRESS || error == EALREADY) return IoResult::wouldBlock(true);
  return error == 0 ? IoResult::done() : systemFailure(error);
}

bool SocketConnection::startTls(const TlsSettings& settings, const std::string& host, ErrorPtr& error) {
  tls_ = TlsChannel::make(fd_, settings, host, error);
  return tls_ != nullptr;
}

IoResult SocketConnection::handshake() {
  return tls_ ? tls_->handshake() : IoResult::done();
}

IoResult SocketConnection::read(std::uint8_t* buffer, std::size_t length) {
  if (tls_) return tls_->read(buffer, length);
  ssize_t count;
  do {
    count = recv(fd_, buffer, length, 0);
  } while (count < 0 && errno == EINTR);
  if (count > 0) return IoResult::done(static_cast<std::size_t>(count));
  if (count == 0) return IoResult::closed();
  if (errno == EAGAIN || errno == EWOULDBLOCK) return IoResult::wouldBlock(false);
  return systemFailure(errno);
}

IoResult SocketConnection::write(const std::uint8_t* buffer, std::size_t length) {
  if (tls_) return tls_->write(buffer, length);
  ssize_t count;
  do {
    count = send(fd_, buffer, length, MSG_NOSIGNAL);
  } while (count < 0 && errno == EINTR);
  if (count >= 0) return IoResult::done(static_cast<std::size_t>(count));
  if (errno == EAGAIN || errno == EWOULDBLOCK) return IoResult::wouldBlock(true);
  return systemFailure(errno);
}

bool SocketConnection::hasBufferedData() const {
  return tls_ && tls_->hasBufferedData();
}

bool SocketConnection::isIdleAndOpen() {
  if (tls_) return tls_->isIdleAndOpen();
  char byte;
  const ssize_t waiting = recv(fd_, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
  return waiting < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
}

}  // namespace pf
