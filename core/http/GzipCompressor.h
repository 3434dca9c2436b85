#pragma once
// Makes gzip data from memory or from a file, in one go or chunk by chunk, for request bodies sent
// compressed. Failures are errors of the engine's domain with code 11 (compression). One compressor
// belongs to one thread; the class operations make their own.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/http/GzipStream.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Value.h"

class GzipCompressor {
 public:
  // Files are read and compressed in chunks of this size.
  static constexpr std::size_t kChunkSize = 262144;

  // A compressor with its stream set up; nullptr when zlib cannot set it up.
  static std::shared_ptr<GzipCompressor> compressor();
  GzipCompressor();
  ~GzipCompressor();
  GzipCompressor(const GzipCompressor&) = delete;
  GzipCompressor& operator=(const GzipCompressor&) = delete;

  // Both answer nil or the error; calling either twice does nothing more.
  pf::ErrorPtr setupStream();
  pf::ErrorPtr closeStream();

  // The gzip bytes this chunk yields (finishing ends the gzip stream); nil for empty input or on failure
  // (then error is set when given).
  std::optional<pf::Data> compressBytes(const std::uint8_t* bytes, std::size_t length, pf::ErrorPtr* error,
                                        bool shouldFinish);

  static std::optional<pf::Data> compressData(const pf::Data& uncompressedData, pf::ErrorPtr* error);
  static bool compressDataFromFile(const std::string& sourcePath, const std::string& destinationPath,
                                   pf::ErrorPtr* error);
  // "Compression of data failed with code %i".
  static pf::ErrorPtr deflateErrorWithCode(int code);

 private:
  std::optional<pf::Data> deflateChunk(const std::uint8_t* bytes, std::size_t length, pf::ErrorPtr* error,
                                       bool shouldFinish);

  GzipStream stream_;
};
