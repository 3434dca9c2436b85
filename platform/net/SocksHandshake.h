#pragma once
// The client's side of opening a connection through a SOCKS 5 proxy: the greeting, the user name and
// password sub-negotiation when the proxy asks for it, and the CONNECT to the server, as a state machine
// over bytes. The stream that owns the socket sends what takeOutgoing() answers and feeds back what the
// proxy sends; once done() the socket is a plain connection to the server. Failures carry StreamError
// codes of the network domain and say what the proxy refused.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Error.h"

namespace pf {

class SocksHandshake {
 public:
  struct Credentials {
    std::string user;
    std::string password;
  };

  // The server to reach: a host name (the proxy resolves it) or an address literal.
  SocksHandshake(const std::string& host, int port, std::optional<Credentials> credentials);

  // Bytes to send now; empty while the proxy's answer is awaited, once done, or after a failure.
  std::string takeOutgoing();
  // Bytes read from the proxy; answers how many belonged to the handshake (bytes beyond its end are
  // the server's, and are never taken).
  std::size_t feed(std::string_view bytes);

  bool done() const { return step_ == Step::Done; }
  // Set once the handshake failed; nothing more is sent then.
  const ErrorPtr& error() const { return error_; }

 private:
  enum class Step { Method, LoginReply, ConnectReply, Done, Failed };

  // Bytes the current step still waits for, given what has arrived of it.
  std::size_t needed() const;
  void takeReply();
  void sendConnect();
  void fail(long code, const std::string& why);

  std::string target_;
  std::optional<Credentials> credentials_;
  Step step_ = Step::Method;
  std::string outgoing_;
  std::string reply_;
  ErrorPtr error_;
};

}  // namespace pf
