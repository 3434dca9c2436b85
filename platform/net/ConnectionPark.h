#pragma once
// Kept-alive connections waiting for their next request. A stream that attempts a persistent connection
// parks its socket here when its response is complete and the server allows reuse; the next stream with
// the same stream id and the same server takes it. A parked socket goes with the stream that parked it:
// when that stream is closed before anyone took the socket, the socket is closed too. Sockets the server
// has closed, or that have waited longer than kMaxIdleSeconds, are never handed out. Thread-safe.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/net/SocketConnection.h"

namespace pf {

class ConnectionPark {
 public:
  static constexpr std::size_t kMaxParked = 32;
  static constexpr double kMaxIdleSeconds = 300;

  static ConnectionPark& shared();

  // server names the scheme, host, port and TLS checks the connection was made with; owner identifies
  // the parking stream. Replaces whatever was parked under the same id.
  void park(int streamId, std::string server, std::unique_ptr<SocketConnection> connection,
            std::uint64_t owner);
  // The connection parked under the id for that server, if it is still usable.
  std::unique_ptr<SocketConnection> take(int streamId, const std::string& server);
  // Closes what the owner parked and nobody took.
  void discard(std::uint64_t owner);

 private:
  struct Entry {
    int streamId;
    std::string server;
    std::unique_ptr<SocketConnection> connection;
    std::uint64_t owner;
    std::chrono::steady_clock::time_point parkedAt;
  };

  // Moves entries out for closing outside the lock.
  void removeStale(std::vector<Entry>& closing);

  std::mutex mutex_;
  std::vector<Entry> entries_;
};

}  // namespace pf
