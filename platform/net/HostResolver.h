#pragma once
// Looks host names up without blocking the caller: the system lookup runs on a pool thread and the
// answer goes to a callback there, which hands it on to wherever the caller's work runs. A slow name
// server thus holds up only the request that needs the name.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/foundation/Error.h"

namespace pf {

// One address of a host as the socket calls take it (the bytes of a socket address).
struct SocketAddress {
  std::array<std::uint8_t, 128> bytes{};
  std::uint32_t length = 0;
};

class HostResolver {
 public:
  struct Answer {
    std::vector<SocketAddress> addresses;
    // Set when the host cannot be found (StreamError::kCannotFindHost).
    ErrorPtr error;
  };
  using Lookup = std::function<Answer(const std::string& host, int port)>;

  static void resolve(const std::string& host, int port, std::function<void(Answer)> done);
  // Replaces the system lookup, for tests that need a slow or failing name server; nullptr restores it.
  static void setLookup(Lookup lookup);
  static Answer systemLookup(const std::string& host, int port);
};

}  // namespace pf
