#pragma once
// One server connection of the persistent-connection pool: which server it talks to, which request
// uses it now, the stream last opened on it (left open so its socket survives for the next request) and
// when it expires once idle. Read and written only under the pool's guard.

#include <memory>
#include <optional>
#include <string>

namespace pf {
class HttpReadStream;
}  // namespace pf

struct ConnectionRecord {
  int id = 0;
  std::string host;
  // The URL's explicit port, 0 when it names none.
  int port = 0;
  std::string scheme;
  // requestID of the request using the connection; nullopt while idle.
  std::optional<unsigned> request;
  std::shared_ptr<pf::HttpReadStream> stream;
  // Seconds since 1970 after which the idle connection is dropped.
  std::optional<double> expires;
};
