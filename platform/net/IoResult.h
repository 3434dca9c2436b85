#pragma once
// The outcome of one non-blocking step on a connection (connect, handshake, read, write).

#include <cstddef>

#include "platform/foundation/Error.h"

namespace pf {

struct IoResult {
  enum class Status { Done, WouldBlock, Closed, Failed };

  Status status = Status::Done;
  // Bytes moved by a read or write that is Done.
  std::size_t count = 0;
  // For WouldBlock: the step waits until the socket can be written (else until it can be read).
  bool waitsForWrite = false;
  // For Failed.
  ErrorPtr error;

  static IoResult done(std::size_t count = 0) { return {Status::Done, count, false, nullptr}; }
  static IoResult wouldBlock(bool forWrite) { return {Status::WouldBlock, 0, forWrite, nullptr}; }
  static IoResult closed() { return {Status::Closed, 0, false, nullptr}; }
  static IoResult failed(ErrorPtr error) { return {Status::Failed, 0, false, std::move(error)}; }
};

}  // namespace pf
