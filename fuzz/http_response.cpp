// A response as it comes off a connection: the head parser (status line, fields, interim heads) and the
// body decoder (Content-Length, chunked coding, read until the close). The bytes are read twice, at
// once and in small pieces whose sizes come from the input: both readings must agree on the head, and
// on the body and where it ends when it ends well. Input: one byte of flags (bit 0: answer to a HEAD request, bits 1-4: the
// piece size), then the bytes from the server.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/net/HttpBodyDecoder.h"
#include "platform/net/HttpResponseHeadParser.h"

namespace {

struct Reading {
  pf::HttpResponseHeadParser::State head = pf::HttpResponseHeadParser::State::NeedMore;
  std::string statusLine;
  std::size_t fieldCount = 0;
  pf::HttpBodyDecoder::State body = pf::HttpBodyDecoder::State::Reading;
  std::string bodyBytes;
  std::size_t used = 0;  // bytes taken by the head and the body

  // After a failure the connection is dropped: where each reading stopped does not matter then.
  bool operator==(const Reading& other) const {
    if (head != other.head || statusLine != other.statusLine || fieldCount != other.fieldCount) return false;
    if (body != other.body) return false;
    return body != pf::HttpBodyDecoder::State::Done || (bodyBytes == other.bodyBytes && used == other.used);
  }
};

Reading read(std::string_view bytes, std::size_t piece, bool headRequest) {
  Reading reading;
  pf::HttpResponseHeadParser parser;
  std::size_t at = 0;
  while (at < bytes.size() && parser.state() == pf::HttpResponseHeadParser::State::NeedMore) {
    const std::string_view next = bytes.substr(at, piece);
    const std::size_t taken = parser.feed(next);
    if (taken > next.size()) std::abort();
    at += taken;
    if (taken < next.size()) break;
  }
  reading.head = parser.state();
  if (parser.state() != pf::HttpResponseHeadParser::State::Complete) return reading;
  const pf::HttpMessage& response = *parser.response();
  reading.statusLine = response.statusLine();
  reading.fieldCount = response.headerFields().size();
  (void)response.allHeaderFields();

  pf::HttpBodyDecoder decoder(response, headRequest);
  while (at < bytes.size() && decoder.state() == pf::HttpBodyDecoder::State::Reading) {
    const std::string_view next = bytes.substr(at, piece);
    const std::size_t taken = decoder.feed(next, reading.bodyBytes);
    if (taken > next.size()) std::abort();
    at += taken;
    if (taken < next.size()) break;
  }
  if (decoder.state() == pf::HttpBodyDecoder::State::Reading) decoder.finish();
  reading.body = decoder.state();
  reading.used = at;
  if (decoder.framing() == pf::HttpBodyDecoder::Framing::Length && reading.bodyBytes.size() > bytes.size()) std::abort();
  return reading;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool headRequest = data[0] & 1;
  const std::size_t piece = 1 + ((data[0] >> 1) & 0x0f);
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  const Reading whole = read(bytes, bytes.size() + 1, headRequest);
  const Reading pieces = read(bytes, piece, headRequest);
  if (!(whole == pieces)) {
    std::fprintf(stderr, "reading in pieces of %zu differs: head %d/%d body %d/%d used %zu/%zu body bytes %zu/%zu\n",
                 piece, int(whole.head), int(pieces.head), int(whole.body), int(pieces.body), whole.used,
                 pieces.used, whole.bodyBytes.size(), pieces.bodyBytes.size());
    std::abort();
  }
  return 0;
}
