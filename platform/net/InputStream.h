#pragma once
// A source of bytes read in pieces: the body of a request the network code sends. Open before reading;
// a stream is read from one thread at a time.

#include <cstddef>
#include <cstdint>

#include "platform/foundation/Error.h"

namespace pf {

class InputStream {
 public:
  virtual ~InputStream() = default;

  // false when the source cannot be opened (see error()).
  virtual bool open() = 0;
  // Bytes read into buffer, 0 at the end, -1 on failure (see error()).
  virtual long long read(std::uint8_t* buffer, std::size_t maxLength) = 0;
  virtual void close() = 0;
  virtual ErrorPtr error() const = 0;
};

}  // namespace pf
