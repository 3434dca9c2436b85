#pragma once
// Reads the requests a client sends on one connection, one after the other (keep-alive), bodies framed
// by Content-Length or chunked.

#include <cstddef>
#include <optional>
#include <string>

#include "tools/devserver/Request.h"
#include "tools/devserver/ServerConnection.h"

namespace devserver {

class RequestReader {
 public:
  static constexpr std::size_t kMaxHeadBytes = 64 * 1024;
  static constexpr std::size_t kMaxBodyBytes = 64 * 1024 * 1024;

  explicit RequestReader(ServerConnection& connection) : connection_(connection) {}

  // nullopt when the client closed the connection or sent something that is not a request.
  std::optional<Request> next();
  // The same in two steps: the request line and headers, then (false on failure) the body.
  std::optional<Request> nextHead();
  bool readBody(Request& request);

 private:
  bool fill();
  std::optional<std::string> readLine();
  bool readBytes(std::size_t count, std::string& out);
  bool readChunkedBody(Request& request);

  ServerConnection& connection_;
  std::string buffer_;
};

}  // namespace devserver
