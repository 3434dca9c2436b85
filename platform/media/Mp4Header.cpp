#include "platform/media/Mp4Header.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <vector>

namespace pf {

namespace {

// The movie box holds only metadata; anything larger is not a header we will read into memory.
constexpr std::uint64_t kMaxMovieBox = 64u << 20;

std::uint64_t bigEndian(const unsigned char* bytes, int count) {
  std::uint64_t value = 0;
  for (int i = 0; i < count; ++i) value = (value << 8) | bytes[i];
  return value;
}

struct Box {
  std::string type;
  std::uint64_t start = 0;  // of the payload
  std::uint64_t size = 0;   // of the payload
};

std::optional<double> fail(std::string* error, const std::string& why) {
  if (error) *error = why;
  return std::nullopt;
}

// The box at `offset` in `data`, checked to lie inside [offset, end).
std::optional<Box> boxIn(const std::vector<unsigned char>& data, std::uint64_t offset, std::uint64_t end) {
  if (end - offset < 8) return std::nullopt;
  const unsigned char* p = data.data() + offset;
  std::uint64_t size = bigEndian(p, 4);
  std::uint64_t header = 8;
  if (size == 1) {
    if (end - offset < 16) return std::nullopt;
    size = bigEndian(p + 8, 8);
    header = 16;
  } else if (size == 0) {
    size = end - offset;
  }
  if (size < header || size > end - offset) return std::nullopt;
  return Box{std::string(reinterpret_cast<const char*>(p + 4), 4), offset + header, size - header};
}

}  // namespace

std::optional<double> Mp4Header::readDuration(const std::string& path, std::string* error) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return fail(error, "cannot open " + path);
  const std::uint64_t fileSize = static_cast<std::uint64_t>(in.tellg());
  // Walk the top-level boxes by their headers only; media data may be gigabytes.
  std::uint64_t offset = 0;
  std::vector<unsigned char> movie;
  while (offset < fileSize) {
    unsigned char head[16] = {};
    const std::uint64_t left = fileSize - offset;
    if (left < 8) return fail(error, "truncated box header");
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(reinterpret_cast<char*>(head), static_cast<std::streamsize>(std::min<std::uint64_t>(16, left)));
    std::uint64_t size = bigEndian(head, 4);
    std::uint64_t header = 8;
    if (size == 1) {
      if (left < 16) return fail(error, "truncated box header");
      size = bigEndian(head + 8, 8);
      header = 16;
    } else if (size == 0) {
      size = left;
    }
    if (size < header || size > left) return fail(error, "a box claims more bytes than the file holds");
    const std::string type(reinterpret_cast<const char*>(head + 4), 4);
    if (type == "moov") {
      if (size - header > kMaxMovieBox) return fail(error, "movie box too large");
      movie.resize(size - header);
      in.seekg(static_cast<std::streamoff>(offset + header));
      in.read(reinterpret_cast<char*>(movie.data()), static_cast<std::streamsize>(movie.size()));
      if (!in) return fail(error, "cannot read the movie box");
      break;
    }
    offset += size;
  }
  if (movie.empty()) return fail(error, "no movie box");
  return durationInMovie(movie, error);
}

std::optional<double> Mp4Header::durationInMovie(const std::vector<unsigned char>& movie, std::string* error) {
  std::uint64_t at = 0;
  while (at < movie.size()) {
    const auto box = boxIn(movie, at, movie.size());
    if (!box) return fail(error, "a box inside the movie box claims more bytes than it has");
    if (box->type == "mvhd") {
      const unsigned char* p = movie.data() + box->start;
      if (box->size < 4) return fail(error, "movie header too short");
      const int version = p[0];
      const std::uint64_t need = version == 1 ? 4 + 8 + 8 + 4 + 8 : 4 + 4 + 4 + 4 + 4;
      if (version > 1) return fail(error, "unknown movie header version");
      if (box->size < need) return fail(error, "movie header too short for its version");
      const std::uint64_t timescale = version == 1 ? bigEndian(p + 20, 4) : bigEndian(p + 12, 4);
      const std::uint64_t duration = version == 1 ? bigEndian(p + 24, 8) : bigEndian(p + 16, 4);
      if (timescale == 0) return fail(error, "movie header without a time scale");
      // All ones means the length is unknown.
      if ((version == 1 && duration == UINT64_MAX) || (version == 0 && duration == UINT32_MAX)) {
        return fail(error, "movie length unknown");
      }
      return static_cast<double>(duration) / static_cast<double>(timescale);
    }
    at = box->start + box->size;
  }
  return fail(error, "no movie header");
}

std::optional<double> Mp4Header::readDurationFromPrefix(const std::vector<unsigned char>& prefix,
                                                       std::string* error) {
  // A stream is read from its start only: the movie box must come before the media data.
  std::uint64_t offset = 0;
  const std::uint64_t end = prefix.size();
  while (end - offset >= 8) {
    const unsigned char* p = prefix.data() + offset;
    std::uint64_t size = bigEndian(p, 4);
    std::uint64_t header = 8;
    if (size == 1) {
      if (end - offset < 16) break;
      size = bigEndian(p + 8, 8);
      header = 16;
    }
    if (size != 0 && size < header) return fail(error, "a box claims fewer bytes than its header");
    const std::string type(reinterpret_cast<const char*>(p + 4), 4);
    if (type == "moov") {
      if (size == 0 || size > end - offset) return fail(error, "the movie box runs past the bytes read");
      const std::vector<unsigned char> movie(p + header, p + size);
      return durationInMovie(movie, error);
    }
    if (size == 0 || size > end - offset) break;
    offset += size;
  }
  return fail(error, "no movie box before the media data");
}

}  // namespace pf
