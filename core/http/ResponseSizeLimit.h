#pragma once
// How much of an answer may be kept in memory: a body, or what a compressed body inflates to. Past the
// limit a request fails with code 12 instead of growing without bound; files have no such limit.

#include <cstdint>

#include "platform/foundation/Error.h"

class ResponseSizeLimit {
 public:
  // Default for every request; remote calls and proxy scripts set lower ones.
  static constexpr std::uint64_t kDefaultBytes = 64ull * 1024 * 1024;
  static constexpr std::uint64_t kNone = UINT64_MAX;

  // "The response is larger than the %llu bytes that may be kept in memory".
  static pf::ErrorPtr exceededError(std::uint64_t limit);
};
