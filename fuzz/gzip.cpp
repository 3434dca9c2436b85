// gzip and zlib data as a server sends it: inflated in one go within a size limit, and chunk by chunk as
// it arrives, which must give the same bytes; and any bytes deflated must inflate back to themselves.
// Input: one byte choosing the chunk size, then the compressed bytes.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/http/GzipCompressor.h"
#include "core/http/GzipDecompressor.h"

namespace {

constexpr std::uint64_t kMaxLength = 1 << 20;

void fail(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t chunk = 1 + bytes[0] % 64;
  const pf::Data input(bytes + 1, bytes + size);

  pf::ErrorPtr error;
  const std::optional<pf::Data> whole = GzipDecompressor::uncompressData(input, &error, kMaxLength);
  if (whole && whole->size() > kMaxLength) fail("inflated past the limit");

  auto stream = GzipDecompressor::decompressor();
  if (!stream) return 0;
  pf::Data pieces;
  bool failed = false;
  for (std::size_t at = 0; at < input.size() && !stream->reachedEnd(); at += chunk) {
    const std::size_t length = std::min(chunk, input.size() - at);
    const std::optional<pf::Data> inflated = stream->uncompressBytes(input.data() + at, length, &error, kMaxLength);
    if (!inflated) {
      failed = true;
      break;
    }
    pieces.insert(pieces.end(), inflated->begin(), inflated->end());
    if (pieces.size() > 4 * kMaxLength) break;
  }
  if (whole && (failed || !stream->reachedEnd() || pieces != *whole)) fail("chunk by chunk differs from at once");

  if (auto deflated = GzipCompressor::compressData(input, &error)) {
    const std::optional<pf::Data> back = GzipDecompressor::uncompressData(*deflated, &error);
    if (!back || *back != input) fail("deflated bytes do not inflate back");
  }
  return 0;
}
