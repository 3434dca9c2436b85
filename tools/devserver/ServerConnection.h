#pragma once
// One accepted connection, plain or TLS, used with blocking calls from the thread that serves it.
// shutdown() may come from any thread: it wakes a blocked read so the server can stop.

#include <cstddef>
#include <memory>
#include <mutex>
#include <string_view>

#include "tools/devserver/ServerTls.h"

namespace devserver {

class ServerConnection {
 public:
  // Takes ownership of the socket; tls may be null for plain HTTP.
  ServerConnection(int fd, std::shared_ptr<ServerTls> tls);
  ~ServerConnection();
  ServerConnection(const ServerConnection&) = delete;
  ServerConnection& operator=(const ServerConnection&) = delete;

  // The TLS handshake (true at once without TLS).
  bool accept();
  // Bytes read, 0 when the client closed, -1 on failure.
  long read(char* buffer, std::size_t length);
  bool write(std::string_view bytes);
  // Ends the connection abortively: the client sees a reset, not an orderly close.
  void reset();
  // An orderly close.
  void close();
  void shutdown();
  bool isClosed() const;
  // The socket, for relaying the raw bytes of a plain connection.
  int descriptor() const { return fd_; }

 private:
  void closeLocked();

  mutable std::mutex mutex_;
  int fd_;
  std::shared_ptr<ServerTls> tls_;
  void* ssl_ = nullptr;
};

}  // namespace devserver
