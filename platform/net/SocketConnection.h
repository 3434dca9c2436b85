#pragma once
// One TCP connection to a server, plain or with TLS on top: a non-blocking socket owned for its whole
// life (closed by the destructor), driven one step at a time by the stream that uses it. Belongs to one
// thread at a time; a parked connection belongs to the park.

#include <memory>
#include <string>

#include "platform/net/HostResolver.h"
#include "platform/net/IoResult.h"
#include "platform/net/TlsChannel.h"

namespace pf {

class SocketConnection {
 public:
  // Starts connecting to the address; result is Done, WouldBlock (wait for writable, then
  // finishConnect) or Failed, in which case nullptr comes back.
  static std::unique_ptr<SocketConnection> connect(const SocketAddress& address, IoResult& result);
  ~SocketConnection();
  SocketConnection(const SocketConnection&) = delete;
  SocketConnection& operator=(const SocketConnection&) = delete;

  IoResult finishConnect();
  // Puts TLS over the connected socket; false with the reason in error.
  bool startTls(const TlsSettings& settings, const std::string& host, ErrorPtr& error);
  // The TLS handshake (Done at once without TLS).
  IoResult handshake();
  IoResult read(std::uint8_t* buffer, std::size_t length);
  IoResult write(const std::uint8_t* buffer, std::size_t length);
  bool hasBufferedData() const;
  // For an idle kept-alive connection: the server has neither closed it nor sent anything unasked.
  bool isIdleAndOpen();
  int fd() const { return fd_; }

 private:
  explicit SocketConnection(int fd) : fd_(fd) {}

  int fd_;
  std::unique_ptr<TlsChannel> tls_;
};

}  // namespace pf
