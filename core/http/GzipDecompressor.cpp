#include "core/http/GzipDecompressor.h"

#include <zlib.h>

#include <algorithm>

#include "core/http/GzipFileCoder.h"
#include "core/http/ResponseSizeLimit.h"
#include "platform/foundation/Format.h"

namespace {

constexpr std::size_t kMinimumInflateGrowth = 1024;

}  // namespace

std::shared_ptr<GzipDecompressor> GzipDecompressor::decompressor() {
  auto made = std::make_shared<GzipDecompressor>();
  return made->setupStream() ? nullptr : made;
}

GzipDecompressor::GzipDecompressor() : stream_(GzipStream::Direction::Inflate, &inflateErrorWithCode) {}

GzipDecompressor::~GzipDecompressor() = default;

pf::ErrorPtr GzipDecompressor::setupStream() {
  if (stream_.isReady()) return nullptr;
  pf::ErrorPtr failed = stream_.setup();
  if (!failed) reachedEnd_ = false;
  return failed;
}

pf::ErrorPtr GzipDecompressor::closeStream() {
  return stream_.close();
}

std::optional<pf::Data> GzipDecompressor::uncompressBytes(const std::uint8_t* bytes, std::size_t length,
                                                          pf::ErrorPtr* error, std::uint64_t maxLength) {
  if (length == 0) return std::nullopt;
  if (!stream_.isReady()) {
    if (error) *error = inflateErrorWithCode(Z_STREAM_ERROR);
    return std::nullopt;
  }
  z_stream& z = stream_.z();
  z.next_in = const_cast<Bytef*>(bytes);
  z.avail_in = static_cast<uInt>(length);
  const std::size_t growth = std::max(length / 2, kMinimumInflateGrowth);
  pf::Data out(length + growth);
  std::size_t produced = 0;
  // Stops only when the input is used up and inflate had room to spare, so nothing inflated stays in
  // the coder's window waiting for a later call.
  while (!reachedEnd_) {
    if (produced == out.size()) out.resize(out.size() + growth);
    z.next_out = out.data() + produced;
    z.avail_out = static_cast<uInt>(out.size() - produced);
    const int rc = inflate(&z, Z_NO_FLUSH);
    produced = out.size() - z.avail_out;
    if (produced > maxLength) {
      if (error) *error = ResponseSizeLimit::exceededError(maxLength);
      return std::nullopt;
    }
    if (rc == Z_STREAM_END) {
      reachedEnd_ = true;
    } else if (rc == Z_BUF_ERROR && z.avail_in == 0) {
      break;
    } else if (rc != Z_OK) {
      if (error) *error = inflateErrorWithCode(rc);
      return std::nullopt;
    } else if (z.avail_in == 0 && z.avail_out != 0) {
      break;
    }
  }
  out.resize(produced);
  return out;
}

std::optional<pf::Data> GzipDecompressor::uncompressData(const pf::Data& compressedData, pf::ErrorPtr* error,
                                                         std::uint64_t maxLength) {
  GzipDecompressor coder;
  if (pf::ErrorPtr setup = coder.setupStream()) {
    if (error) *error = setup;
    return std::nullopt;
  }
  std::optional<pf::Data> inflated =
      coder.uncompressBytes(compressedData.data(), compressedData.size(), error, maxLength);
  if (inflated && !coder.reachedEnd()) {
    if (error) *error = inflateErrorWithCode(Z_BUF_ERROR);
    return std::nullopt;
  }
  return inflated;
}

bool GzipDecompressor::uncompressDataFromFile(const std::string& sourcePath,
                                              const std::string& destinationPath, pf::ErrorPtr* error) {
  GzipDecompressor coder;
  // A source that ends before its compressed stream does is a failure, not a shorter file.
  const auto inflateChunk = [&coder](const std::uint8_t* bytes, std::size_t length, bool last,
                                     pf::ErrorPtr* chunkError) {
    std::optional<pf::Data> inflated = coder.uncompressBytes(bytes, length, chunkError);
    if (last && !*chunkError && !coder.reachedEnd()) *chunkError = inflateErrorWithCode(Z_BUF_ERROR);
    return inflated;
  };
  return GzipFileCoder::codeFile(coder.stream_, "Decompression", sourcePath, destinationPath, kChunkSize,
                                 inflateChunk, error);
}

pf::ErrorPtr GzipDecompressor::inflateErrorWithCode(int code) {
  return GzipFileCoder::error(pf::format("Decompression of data failed with code %i", code));
}
