#pragma once
// TLS over a connected non-blocking socket, as the client: handshake, reads and writes that report when
// they would block and on which readiness to retry, and the certificate checks of TlsSettings. Failures
// carry StreamError codes (certificate problems in the TLS domain, socket errors as POSIX codes).
// Belongs to the thread that drives its connection.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/net/IoResult.h"
#include "platform/net/TlsSettings.h"

namespace pf {

class TlsChannel {
 public:
  // nullptr, with the reason in error, when TLS cannot be set up (bad anchor certificates included).
  static std::unique_ptr<TlsChannel> make(int fd, const TlsSettings& settings, const std::string& host,
                                          ErrorPtr& error);
  ~TlsChannel();
  TlsChannel(const TlsChannel&) = delete;
  TlsChannel& operator=(const TlsChannel&) = delete;

  // Done once the handshake has succeeded and the certificate passed.
  IoResult handshake();
  IoResult read(std::uint8_t* buffer, std::size_t length);
  IoResult write(const std::uint8_t* buffer, std::size_t length);
  // Whether decrypted bytes wait inside the channel (the socket may then never turn readable again).
  bool hasBufferedData() const;
  // For an idle kept-alive connection: true while the server has sent nothing but housekeeping records
  // and has not closed.
  bool isIdleAndOpen();

 private:
  struct Impl;
  explicit TlsChannel(std::unique_ptr<Impl> impl);
  IoResult failure(int sslResult, bool handshaking, int systemErrno);

  std::unique_ptr<Impl> impl_;
};

}  // namespace pf
