#pragma once
// Takes the framing off a response body: a fixed "Content-Length", chunked transfer coding, or all
// bytes until the server closes. Content codings (gzip) are left alone. Framing a hostile server could
// abuse fails instead of being guessed at: a Content-Length that is not one plain decimal number (or
// several equal ones), a transfer coding other than chunked, both headers at once, a chunk size that is
// not hexadecimal or too large, chunk lines or trailers beyond their bounds.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/net/HttpMessage.h"

namespace pf {

class HttpBodyDecoder {
 public:
  static constexpr std::size_t kMaxChunkLineBytes = 1024;
  static constexpr std::size_t kMaxTrailerBytes = 16 * 1024;

  enum class Framing { None, Length, Chunked, UntilClose };
  enum class State { Reading, Done, Failed };

  // The body that follows this head; a HEAD request, 1xx, 204 and 304 answers have none.
  HttpBodyDecoder(const HttpMessage& response, bool headRequest);

  // Takes framed bytes and appends the body bytes among them to out; answers how many it took (bytes
  // after the end of the body are not taken).
  std::size_t feed(std::string_view bytes, std::string& out);
  // The connection ended: complete for a body read until the close, a failure for any other unfinished body.
  void finish();

  Framing framing() const { return framing_; }
  State state() const { return state_; }
  const std::string& failure() const { return failure_; }

 private:
  enum class Chunk { Size, Data, DataEnd, Trailer };

  void chooseFraming(const HttpMessage& response);
  std::size_t feedChunked(std::string_view bytes, std::string& out);
  // Gathers one line of the chunk framing; true when line_ holds a whole line.
  bool gatherLine(std::string_view bytes, std::size_t& taken, std::size_t limit);
  void takeSizeLine();
  void takeTrailerLine();
  void fail(std::string why);

  Framing framing_ = Framing::None;
  State state_ = State::Reading;
  std::uint64_t remaining_ = 0;
  Chunk chunk_ = Chunk::Size;
  std::string line_;
  std::size_t trailerBytes_ = 0;
  std::string failure_;
};

}  // namespace pf
