#include "tools/devserver/ServerConnection.h"

#include <openssl/ssl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace devserver {

ServerConnection::ServerConnection(int fd, std::shared_ptr<ServerTls> tls) : fd_(fd), tls_(std::move(tls)) {}

ServerConnection::~ServerConnection() {
  std::lock_guard lock(mutex_);
  closeLocked();
}

bool ServerConnection::accept() {
  if (!tls_) return true;
  SSL* ssl = SSL_new(static_cast<SSL_CTX*>(tls_->context()));
  ssl_ = ssl;
  return ssl && SSL_set_fd(ssl, fd_) == 1 && SSL_accept(ssl) == 1;
}

long ServerConnection::read(char* buffer, std::size_t length) {
  if (ssl_) {
    std::size_t count = 0;
    const int rc = SSL_read_ex(static_cast<SSL*>(ssl_), buffer, length, &count);
    if (rc == 1) return static_cast<long>(count);
    return SSL_get_error(static_cast<SSL*>(ssl_), rc) == SSL_ERROR_ZERO_RETURN ? 0 : -1;
  }
  ssize_t count;
  do {
    count = recv(fd_, buffer, length, 0);
  } while (count < 0 && errno == EINTR);
  return count;
}

bool ServerConnection::write(std::string_view bytes) {
  while (!bytes.empty()) {
    long count;
    if (ssl_) {
      std::size_t written = 0;
      count = SSL_write_ex(static_cast<SSL*>(ssl_), bytes.data(), bytes.size(), &written) == 1
                  ? static_cast<long>(written)
                  : -1;
    } else {
      do {
        count = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      } while (count < 0 && errno == EINTR);
    }
    if (count <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
  return true;
}

void ServerConnection::reset() {
  std::lock_guard lock(mutex_);
  if (fd_ < 0) return;
  linger abortive{1, 0};
  setsockopt(fd_, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
  closeLocked();
}

void ServerConnection::close() {
  std::lock_guard lock(mutex_);
  closeLocked();
}

void ServerConnection::shutdown() {
  std::lock_guard lock(mutex_);
  if (fd_ >= 0) ::shutdown(fd_, SHUT_RDWR);
}

bool ServerConnection::isClosed() const {
  std::lock_guard lock(mutex_);
  return fd_ < 0;
}

void ServerConnection::closeLocked() {
  if (ssl_) SSL_free(static_cast<SSL*>(ssl_));
  ssl_ = nullptr;
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

}  // namespace devserver
