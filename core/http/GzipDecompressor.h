#pragma once
// Inflates gzip or zlib data (the header tells which) from memory or from a file, in one go or chunk by
// chunk while a compressed answer arrives. Failures are errors of the engine's domain with code 11. One
// decompressor belongs to one thread; the class operations make their own.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/http/GzipStream.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Value.h"

class GzipDecompressor {
 public:
  // Files are read and inflated in chunks of this size.
  static constexpr std::size_t kChunkSize = 262144;

  // A decompressor with its stream set up; nullptr when zlib cannot set it up.
  static std::shared_ptr<GzipDecompressor> decompressor();
  GzipDecompressor();
  ~GzipDecompressor();
  GzipDecompressor(const GzipDecompressor&) = delete;
  GzipDecompressor& operator=(const GzipDecompressor&) = delete;

  // Both answer nil or the error; calling either twice does nothing more.
  pf::ErrorPtr setupStream();
  pf::ErrorPtr closeStream();

  // Everything this chunk inflates to, nothing held back; nil for empty input or on failure (then
  // error is set when given). More than maxLength bytes is a failure (code 12), found without
  // inflating much further.
  std::optional<pf::Data> uncompressBytes(const std::uint8_t* bytes, std::size_t length, pf::ErrorPtr* error,
                                          std::uint64_t maxLength = UINT64_MAX);
  // The compressed stream has ended: whatever follows is not part of it.
  bool reachedEnd() const { return reachedEnd_; }

  // Truncated input is a failure, not a shorter result.
  static std::optional<pf::Data> uncompressData(const pf::Data& compressedData, pf::ErrorPtr* error,
                                                std::uint64_t maxLength = UINT64_MAX);
  static bool uncompressDataFromFile(const std::string& sourcePath, const std::string& destinationPath,
                                     pf::ErrorPtr* error);
  // "Decompression of data failed with code %i".
  static pf::ErrorPtr inflateErrorWithCode(int code);

 private:
  GzipStream stream_;
  bool reachedEnd_ = false;
};
