#pragma once
// The remote call's exchange over the application's HTTP engine: one synchronous HttpRequest per call,
// on the calling thread.

#include <cstdint>

#include "core/open/RemoteTransport.h"

class HttpRemoteTransport : public RemoteTransport {
 public:
  // Far above any real answer; a larger one fails the call instead of exhausting memory.
  static constexpr std::uint64_t kMaxAnswerBytes = 32ull * 1024 * 1024;

  Answer send(const Request& request) override;
};
