#pragma once
// The zlib stream under both gzip coders: deflating to gzip, or inflating gzip or zlib (the header
// tells which), set up and ended at most once each. Failures are the owning coder's errors, made from
// zlib's code by the function it passes in. Belongs to its coder's thread.

#include <atomic>
#include <memory>

#include "platform/foundation/Error.h"

struct z_stream_s;

class GzipStream {
 public:
  enum class Direction { Deflate, Inflate };
  using ErrorWithCode = pf::ErrorPtr (*)(int code);

  GzipStream(Direction direction, ErrorWithCode errorWithCode);
  // Ends the stream when it is still set up.
  ~GzipStream();
  GzipStream(const GzipStream&) = delete;
  GzipStream& operator=(const GzipStream&) = delete;

  // Both answer nil or the error; calling either twice does nothing more.
  pf::ErrorPtr setup();
  pf::ErrorPtr close();
  bool isReady() const { return ready_; }
  z_stream_s& z() { return *z_; }
  pf::ErrorPtr errorWithCode(int code) const { return errorWithCode_(code); }

 private:
  const Direction direction_;
  const ErrorWithCode errorWithCode_;
  const std::unique_ptr<z_stream_s> z_;
  std::atomic<bool> ready_{false};
};
