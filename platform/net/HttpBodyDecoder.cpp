#include "platform/net/HttpBodyDecoder.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "platform/foundation/TextHelpers.h"

namespace pf {
namespace {

constexpr std::size_t kMaxLengthDigits = 18;  // stays below 2^63
constexpr std::size_t kMaxChunkSizeDigits = 15;

std::optional<std::uint64_t> parseDecimal(std::string_view text) {
  if (text.empty() || text.size() > kMaxLengthDigits) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return value;
}

// One length for all "Content-Length" values ("5", "5, 5"); nullopt when they are malformed or differ.
std::optional<std::uint64_t> contentLength(const std::string& joined) {
  std::optional<std::uint64_t> length;
  for (const std::string& piece : text::split(joined, ",")) {
    std::optional<std::uint64_t> value = parseDecimal(text::trimWhitespace(piece));
    if (!value || (length && *length != *value)) return std::nullopt;
    length = value;
  }
  return length;
}

}  // namespace

HttpBodyDecoder::HttpBodyDecoder(const HttpMessage& response, bool headRequest) {
  const int status = response.statusCode();
  if (headRequest || status < 200 || status == 204 || status == 304) {
    state_ = State::Done;
    return;
  }
  chooseFraming(response);
}

void HttpBodyDecoder::chooseFraming(const HttpMessage& response) {
  const std::optional<std::string> coding = response.headerField("Transfer-Encoding");
  const std::optional<std::string> length = response.headerField("Content-Length");
  if (coding && length) return fail("both Transfer-Encoding and Content-Length");
  if (coding) {
    if (!text::equalsIgnoringCase(text::trimWhitespace(*coding), "chunked")) {
      return fail("unsupported transfer coding");
    }
    framing_ = Framing::Chunked;
    return;
  }
  if (length) {
    std::optional<std::uint64_t> value = contentLength(*length);
    if (!value) return fail("malformed Content-Length");
    framing_ = Framing::Length;
    remaining_ = *value;
    if (remaining_ == 0) state_ = State::Done;
    return;
  }
  framing_ = Framing::UntilClose;
}

std::size_t HttpBodyDecoder::feed(std::string_view bytes, std::string& out) {
  if (state_ != State::Reading) return 0;
  switch (framing_) {
    case Framing::Length: {
      const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(remaining_, bytes.size()));
      out.append(bytes.substr(0, take));
      remaining_ -= take;
      if (remaining_ == 0) state_ = State::Done;
      return take;
    }
    case Framing::UntilClose:
      out.append(bytes);
      return bytes.size();
    case Framing::Chunked:
      return feedChunked(bytes, out);
    case Framing::None:
      break;
  }
  return 0;
}

void HttpBodyDecoder::finish() {
  if (state_ != State::Reading) return;
  if (framing_ == Framing::UntilClose) {
    state_ = State::Done;
  } else {
    fail("connection closed before the end of the body");
  }
}

std::size_t HttpBodyDecoder::feedChunked(std::string_view bytes, std::string& out) {
  std::size_t taken = 0;
  while (state_ == State::Reading && taken < bytes.size()) {
    switch (chunk_) {
      case Chunk::Size:
        if (gatherLine(bytes, taken, kMaxChunkLineBytes)) takeSizeLine();
        break;
      case Chunk::Data: {
        const std::size_t take =
            static_cast<std::size_t>(std::min<std::uint64_t>(remaining_, bytes.size() - taken));
        out.append(bytes.substr(taken, take));
        taken += take;
        remaining_ -= take;
        if (remaining_ == 0) chunk_ = Chunk::DataEnd;
        break;
      }
      case Chunk::DataEnd:
        if (gatherLine(bytes, taken, 2)) {
          if (!line_.empty()) {
            fail("malformed chunk");
            break;
          }
          chunk_ = Chunk::Size;
        }
        break;
      case Chunk::Trailer: {
        const std::size_t before = taken;
        const bool whole = gatherLine(bytes, taken, kMaxTrailerBytes);
        trailerBytes_ += taken - before;
        if (trailerBytes_ > kMaxTrailerBytes) {
          fail("trailer too long");
        } else if (whole) {
          takeTrailerLine();
        }
        break;
      }
    }
  }
  return taken;
}

bool HttpBodyDecoder::gatherLine(std::string_view bytes, std::size_t& taken, std::size_t limit) {
  const std::string_view rest = bytes.substr(taken);
  const std::size_t newline = rest.find('\n');
  const std::size_t piece = newline == std::string_view::npos ? rest.size() : newline + 1;
  taken += piece;
  line_.append(rest.substr(0, piece));
  if (line_.size() > limit) {
    fail("chunk framing line too long");
    return false;
  }
  if (newline == std::string_view::npos) return false;
  line_.pop_back();
  if (!line_.empty() && line_.back() == '\r') line_.pop_back();
  return true;
}

void HttpBodyDecoder::takeSizeLine() {
  std::string_view size(line_);
  size = size.substr(0, size.find(';'));
  while (!size.empty() && (size.back() == ' ' || size.back() == '\t')) size.remove_suffix(1);
  const bool valid = !size.empty() && size.size() <= kMaxChunkSizeDigits &&
                     std::all_of(size.begin(), size.end(),
                                 [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
  if (!valid) return fail("malformed chunk size");
  remaining_ = std::stoull(std::string(size), nullptr, 16);
  line_.clear();
  chunk_ = remaining_ == 0 ? Chunk::Trailer : Chunk::Data;
}

void HttpBodyDecoder::takeTrailerLine() {
  if (line_.empty()) state_ = State::Done;
  line_.clear();
}

void HttpBodyDecoder::fail(std::string why) {
  state_ = State::Failed;
  failure_ = std::move(why);
}

}  // namespace pf
